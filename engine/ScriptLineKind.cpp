#include "engine/ScriptLineKind.h"

#include "engine/ScriptCommandWord.h"

#include <array>
#include <utility>

namespace tomelet {

namespace {

constexpr std::array<std::pair<std::string_view, LineKind>, 6> keywords{{
    {"ELSE", LineKind::Else},
    {"ENDIF", LineKind::EndIf},
    {"ENDWHILE", LineKind::EndWhile},
    {"ENDLOOP", LineKind::EndLoop},
    {"DEBUGOFF", LineKind::DebugOff},
    {"DEBUGON", LineKind::DebugOn},
}};

LineKind kindOfWord(std::string_view upperWord) {
    if (upperWord.empty()) return LineKind::Empty;
    if (upperWord.front() == '.') return LineKind::Comment;
    if (upperWord.front() == ':') return LineKind::Label;
    for (const auto& [keyword, kind] : keywords)
        if (upperWord == keyword) return kind;
    return LineKind::Command;
}

} // namespace

ClassifiedLine ClassifyLine(std::string_view line) {
    ClassifiedLine classified;
    classified.word = UpperCommandWord(line);
    classified.kind = kindOfWord(classified.word);
    return classified;
}

} // namespace tomelet
