#pragma once

#include <string>
#include <string_view>

namespace tomelet {

// The word that names a line's command, taken from the line trimmed at both ends: the text
// before the first space or the first double quote, whichever comes first, but only when the
// line holds both; otherwise the whole trimmed line. So `GotoPage"Intro"` and
// `EndIf  .done` are words of their own that name nothing.
std::string_view CommandWord(std::string_view line);

// The command word in upper case, the form in which words are compared.
std::string UpperCommandWord(std::string_view line);

} // namespace tomelet
