#include "engine/ScriptBlockSkipper.h"

#include "engine/ScriptBlocks.h"

namespace tomelet {

void BlockSkipper::closeNested(std::uint32_t& nesting) {
    if (nesting > 0)
        --nesting;
    else
        state_ = SkipState::Executing;
}

KeywordEffect BlockSkipper::keyword(LineKind kind) {
    switch (kind) {
    case LineKind::Else:
        if (state_ == SkipState::Executing)
            state_ = SkipState::ToEndIf;
        else if (state_ == SkipState::ToElseOrEndIf && ifNesting_ == 0)
            state_ = SkipState::Executing;
        break;
    case LineKind::EndIf:
        if (state_ == SkipState::ToElseOrEndIf || state_ == SkipState::ToEndIf)
            closeNested(ifNesting_);
        break;
    case LineKind::EndWhile:
        if (state_ == SkipState::Executing) return KeywordEffect::LoopBack;
        if (state_ == SkipState::ToEndWhile) closeNested(whileNesting_);
        break;
    case LineKind::EndLoop:
        if (state_ == SkipState::Executing) return KeywordEffect::LoopBack;
        if (state_ == SkipState::ToEndLoop) closeNested(loopNesting_);
        break;
    default:
        break;
    }
    return KeywordEffect::None;
}

void BlockSkipper::command(std::string_view upperWord, bool builtIn) {
    if (!builtIn) return;
    switch (state_) {
    case SkipState::ToElseOrEndIf:
    case SkipState::ToEndIf:
        if (opensBlock(BlockKind::If, upperWord)) ++ifNesting_;
        break;
    case SkipState::ToEndWhile:
        if (opensBlock(BlockKind::While, upperWord)) ++whileNesting_;
        break;
    case SkipState::ToEndLoop:
        if (opensBlock(BlockKind::Loop, upperWord)) ++loopNesting_;
        break;
    case SkipState::Executing:
        break;
    }
}

} // namespace tomelet
