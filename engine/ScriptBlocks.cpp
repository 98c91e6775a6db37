#include "engine/ScriptBlocks.h"

#include "engine/ScriptCommandWord.h"

#include <algorithm>
#include <limits>

namespace tomelet {

bool opensBlock(BlockKind kind, std::string_view upperWord) {
    switch (kind) {
    case BlockKind::If:
        return upperWord == "IF" || upperWord == "IFEX";
    case BlockKind::While:
        return upperWord == "WHILE" || upperWord == "WHILEEX";
    case BlockKind::Loop:
        return upperWord == "LOOP";
    }
    return false;
}

bool closesBlock(BlockKind kind, std::string_view upperWord) {
    switch (kind) {
    case BlockKind::If:
        return upperWord == "ENDIF";
    case BlockKind::While:
        return upperWord == "ENDWHILE";
    case BlockKind::Loop:
        return upperWord == "ENDLOOP";
    }
    return false;
}

std::optional<int> MatchBackward(const ScriptLines& lines, int from, BlockKind kind) {
    if (from <= 1) return std::nullopt;
    const int last =
        static_cast<int>(std::min<std::size_t>(lines.size(), std::numeric_limits<int>::max()));
    long long depth = 0;
    for (int number = std::min(from - 1, last); number >= 1; --number) {
        const std::string_view line = GetLine(lines, number);
        if (line.empty()) continue;
        const std::string word = UpperCommandWord(line);
        if (closesBlock(kind, word)) {
            ++depth;
        } else if (opensBlock(kind, word)) {
            if (depth == 0) return number;
            --depth;
        }
    }
    return std::nullopt;
}

} // namespace tomelet
