#pragma once

#include <string>
#include <string_view>

namespace tomelet {

// What a line is to the interpreter. Keywords are whole command words: `Else .otherwise`
// is a Command (one that names nothing), not Else.
enum class LineKind {
    Empty,
    Comment,
    Label,
    Else,
    EndIf,
    EndWhile,
    EndLoop,
    DebugOff,
    DebugOn,
    Command,
};

struct ClassifiedLine {
    LineKind kind = LineKind::Empty;
    // The command word in upper case (empty for an empty line).
    std::string word;
};

ClassifiedLine ClassifyLine(std::string_view line);

} // namespace tomelet
