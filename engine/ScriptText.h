#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tomelet {

// A script's lines as written, numbered from 1 (index 0 holds line 1).
using ScriptLines = std::vector<std::string>;

// Every byte up to and including the space counts as white space in script text.
constexpr bool isScriptWhiteSpace(char byte) {
    return static_cast<unsigned char>(byte) <= 0x20;
}

std::string_view trimScriptLeft(std::string_view text);
std::string_view trimScript(std::string_view text);

// Lines end at CR, LF or CR LF. A break at the very end starts no further line, so "a\r\n"
// is one line and "" none.
ScriptLines SplitScript(std::string_view text);

// The left-trimmed text of line `number`; empty outside 1..lines.size().
std::string_view GetLine(const ScriptLines& lines, int number);

// Such a script is never announced to the debugger. Only the first eight bytes count: no
// white space may stand before them.
bool beginsWithDebugOff(std::string_view scriptText);

} // namespace tomelet
