#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tomelet {

// The fixed English message table, addressed by number (202-256, 300-349). A "|" inside a
// text is a line break when shown. Empty for a number the table does not hold.
std::string GetMessageText(int number);

// The text for a file error code (Windows codes, see fileErrorFromErrno in platform/Paths.h):
// empty for 0, the table's message for the codes it lists, two network texts for 64 and
// 1231, and otherwise message 227 "Unknown Error #" followed directly by the code.
std::string FileErrorText(int code);

// Texts for dialogs, pop-ups and menus separate lines with "|": "a||b" is three lines, the
// middle one empty. An empty text is one empty line.
std::vector<std::string> splitDisplayLines(std::string_view text);
// The same text with every "|" replaced by "\n", for widgets that break lines themselves.
std::string expandLineBreaks(std::string_view text);

} // namespace tomelet
