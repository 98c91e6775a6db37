#pragma once

#include "engine/ScriptLineKind.h"

#include <cstdint>
#include <string_view>

namespace tomelet {

// Where a run is between its lines: executing, or passing over lines up to the keyword that
// ends a block. Nested blocks are found by counting command words, never by indentation.
enum class SkipState : std::uint8_t {
    Executing = 0,
    // After a false If or IfEx: ends at its Else or EndIf.
    ToElseOrEndIf = 1,
    // After the executed branch reached Else: ends at its EndIf.
    ToEndIf = 2,
    // After a false While or WhileEx, or ExitWhile: ends at its EndWhile.
    ToEndWhile = 3,
    // After a finished Loop, or ExitLoop: ends at its EndLoop.
    ToEndLoop = 4,
};

enum class KeywordEffect {
    None,
    // An EndWhile or EndLoop reached while executing: execution goes back to the opener that
    // MatchBackward finds.
    LoopBack,
};

// The forward-skip state of one run. The interpreter feeds it every line it reaches: the block
// keywords through keyword(), and every recognised command through command().
class BlockSkipper {
public:
    SkipState state() const { return state_; }
    bool skipping() const { return state_ != SkipState::Executing; }

    // Starts a skip from an executing line (a false condition, a finished loop, an exit).
    void begin(SkipState state) { state_ = state; }

    // Else, EndIf, EndWhile or EndLoop; other kinds have no effect.
    KeywordEffect keyword(LineKind kind);

    // A command the registry knows, met while skipping: built-in openers of the kind being
    // skipped nest; plug-in commands never count, whatever their names.
    void command(std::string_view upperWord, bool builtIn);

private:
    void closeNested(std::uint32_t& nesting);

    SkipState state_ = SkipState::Executing;
    std::uint32_t ifNesting_ = 0;
    std::uint32_t whileNesting_ = 0;
    std::uint32_t loopNesting_ = 0;
};

} // namespace tomelet
