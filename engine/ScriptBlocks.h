#pragma once

#include "engine/ScriptText.h"

#include <optional>
#include <string_view>

namespace tomelet {

// The three kinds of block: If/IfEx ... EndIf, While/WhileEx ... EndWhile, Loop ... EndLoop.
enum class BlockKind { If, While, Loop };

// Whether an upper-case command word opens or closes a block of `kind`.
bool opensBlock(BlockKind kind, std::string_view upperWord);
bool closesBlock(BlockKind kind, std::string_view upperWord);

// The line of the opener that the end keyword at line `from` closes, searching the lines
// before it, nearest first, and counting nested blocks of the same kind by their words alone.
// None when no opener is left unmatched.
std::optional<int> MatchBackward(const ScriptLines& lines, int from, BlockKind kind);

} // namespace tomelet
