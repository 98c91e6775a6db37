#pragma once

#include <optional>
#include <string_view>

namespace tomelet {

// The words scripts use for yes and no: "True", "T", "Yes", "Checked", "OK", "1", "On" and
// "False", "F", "No", "UnChecked", "Cancel", "0", "Off", compared without case. Only the text
// before a first "+" counts, so "Yes+Beep" is a yes; nothing is trimmed.
bool isTrueWord(std::string_view text);
bool isFalseWord(std::string_view text);
// True or false for a boolean word, nothing for any other text.
std::optional<bool> parseBooleanWord(std::string_view text);
// How a Boolean value is stored: "True" or "False".
std::string_view booleanText(bool value);

} // namespace tomelet
