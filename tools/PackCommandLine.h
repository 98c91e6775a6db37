#pragma once

#include "tools/Packer.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tomelet {

struct PackCommand {
    bool help = false;
    bool verbose = false;
    PackRequest request; // the player is the default one unless --player or --bare
};

// Reads tomelet-pack's arguments (without the program name). `defaultPlayer` is the player
// used without --player and --bare. Throws PackError for a wrong command line.
PackCommand parsePackCommandLine(const std::vector<std::string>& arguments,
                                 const std::filesystem::path& defaultPlayer);

// The --help text: options and the manifest format.
std::string packUsage();

} // namespace tomelet
