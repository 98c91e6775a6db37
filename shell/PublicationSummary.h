#pragma once

#include "package/Package.h"
#include "package/PublicationModel.h"

#include <string>

namespace tomelet {

// What the player prints until it has a window: the title, each page with its objects by
// class, the menus and the package's entries. UTF-8, one item a line.
std::string describePublication(const PublicationModel& model, const Package& package);

} // namespace tomelet
