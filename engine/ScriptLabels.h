#pragma once

#include "engine/ScriptText.h"

#include <optional>
#include <string_view>

namespace tomelet {

// The number of the first line that, trimmed at both ends, is the label without regard to
// case. The label is trimmed and gains a leading ":" when it has none, so "start", ":start"
// and " :START " find the same line; `:Name .comment` is found only as "Name .comment".
std::optional<int> FindLabel(const ScriptLines& lines, std::string_view label);

// Where `GotoLine` continues: an argument that is an integer n (an optional sign and decimal
// digits, nothing else) gives line max(n, 1), even beyond the last line; any other argument
// ("3x" too) names a label and gives the line after it. None when the label does not exist.
std::optional<int> GotoLineDestination(const ScriptLines& lines, std::string_view argument);

} // namespace tomelet
