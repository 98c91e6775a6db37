#include "engine/ScriptBlocks.h"

#include "engine/ScriptBlockSkipper.h"

#include <gtest/gtest.h>
#include <set>

namespace tomelet {
namespace {

// Line numbers are in the comments; indentation means nothing to the matching.
const ScriptLines loops = SplitScript("While \"[a]\" \"<\" \"3\"\n"  // 1
                                      "  Loop \"1\" \"3\" \"[i]\"\n" // 2
                                      "    WhileEx \"[b]<2\"\n"      // 3
                                      "    EndWhile\n"               // 4
                                      "\n"                           // 5
                                      "    .EndLoop in a comment\n"  // 6
                                      "  EndLoop\n"                  // 7
                                      "  loop \"3\" \"1\" \"[j]\"\n" // 8
                                      "  :While\n"                   // 9
                                      "  EndLoop .x\n"               // 10
                                      "  endloop\n"                  // 11
                                      "EndWhile\n"                   // 12
                                      "EndLoop\n"                    // 13
                                      "While\"x\"\n"                 // 14
                                      "EndWhile");                   // 15

struct MatchCase {
    int from;
    BlockKind kind;
    std::optional<int> opener;
};

TEST(ScriptBlocksTest, MatchBackwardCountsNestedBlocksOfItsKind) {
    const MatchCase cases[] = {
        {4, BlockKind::While, 3},
        {7, BlockKind::Loop, 2},
        // The EndLoop .x line is a command of its own, so it does not nest.
        {11, BlockKind::Loop, 8},
        {12, BlockKind::While, 1},
        {13, BlockKind::Loop, std::nullopt},
        // While"x" is a word of its own.
        {15, BlockKind::While, std::nullopt},
        // From inside a body (ExitWhile, ExitLoop): the enclosing opener.
        {6, BlockKind::Loop, 2},
        {9, BlockKind::Loop, 8},
        {10, BlockKind::While, 1},
        {3, BlockKind::While, 1},
        {1, BlockKind::While, std::nullopt},
        {0, BlockKind::While, std::nullopt},
        {-7, BlockKind::Loop, std::nullopt},
        // A start past the end examines the last line too: its EndWhile nests.
        {100, BlockKind::While, std::nullopt},
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(MatchBackward(loops, c.from, c.kind), c.opener)
            << c.from << " kind " << static_cast<int>(c.kind);
}

// Feeds the skipper the lines after `start` the way a run does, and gives the line at which
// the skip ended (the line after which execution resumes), or none at the end of the script.
std::optional<int> skipEnd(const ScriptLines& lines, int start, SkipState state,
                           const std::set<std::string>& pluginWords = {}) {
    BlockSkipper skipper;
    skipper.begin(state);
    for (int number = start + 1; number <= static_cast<int>(lines.size()); ++number) {
        const ClassifiedLine line = ClassifyLine(GetLine(lines, number));
        if (line.kind == LineKind::Command)
            skipper.command(line.word, !pluginWords.contains(line.word));
        else
            EXPECT_EQ(skipper.keyword(line.kind), KeywordEffect::None) << number;
        if (!skipper.skipping()) return number;
    }
    return std::nullopt;
}

const ScriptLines nestedIfs = SplitScript("If \"[a]\" \"=\" \"1\"\n"     // 1
                                          "  IfEx \"[b]=1\"\n"           // 2
                                          "    If \"x\" \"=\" \"y\"\n"   // 3
                                          "    Else\n"                   // 4
                                          "    EndIf\n"                  // 5
                                          "  Else\n"                     // 6
                                          "  EndIf\n"                    // 7
                                          "  While \"1\" \"=\" \"1\"\n"  // 8
                                          "  EndWhile\n"                 // 9
                                          "Else\n"                       // 10
                                          "  If \"c\" \"=\" \"d\"\n"     // 11
                                          "  EndIf\n"                    // 12
                                          "EndIf\n"                      // 13
                                          "Loop \"1\" \"2\" \"[i]\"\n"   // 14
                                          "  If \"1\" \"=\" \"1\"\n"     // 15
                                          "    ExitLoop\n"               // 16
                                          "  Else\n"                     // 17
                                          "  EndIf\n"                    // 18
                                          "  Loop \"1\" \"2\" \"[j]\"\n" // 19
                                          "  EndLoop\n"                  // 20
                                          "EndLoop\n"                    // 21
                                          "Else .otherwise\n"            // 22
                                          "If \"a\" \"=\" \"b\"\n"       // 23
                                          "  PlugIf\n"                   // 24
                                          "Else\n");                     // 25

struct SkipCase {
    int start;
    SkipState state;
    std::optional<int> end;
    std::set<std::string> pluginWords = {};
};

TEST(ScriptBlocksTest, ForwardSkipsEndAtTheirOwnKeyword) {
    const SkipCase cases[] = {
        // A false outer If: inner Else and EndIf lines belong to the inner blocks.
        {1, SkipState::ToElseOrEndIf, 10},
        // The outer branch ran and reached Else: only EndIf ends it.
        {10, SkipState::ToEndIf, 13},
        {2, SkipState::ToElseOrEndIf, 6},
        {6, SkipState::ToEndIf, 7},
        {3, SkipState::ToElseOrEndIf, 4},
        {11, SkipState::ToElseOrEndIf, 12},
        // An If skip passes over While blocks untouched; a While skip over If blocks.
        {8, SkipState::ToEndWhile, 9},
        // Begun before line 8, the skip sees that While nest and its EndWhile close it.
        {1, SkipState::ToEndWhile, std::nullopt},
        // ExitLoop inside an If: Else and EndIf do not end a Loop skip, nested loops count.
        {16, SkipState::ToEndLoop, 21},
        {14, SkipState::ToEndLoop, 21},
        // Plug-in commands never nest, whatever their names; unknown words are no keywords.
        {23, SkipState::ToElseOrEndIf, 25, {"PLUGIF"}},
        {21, SkipState::ToElseOrEndIf, 25, {"IF"}},
        {21, SkipState::ToElseOrEndIf, std::nullopt},
    };
    for (const SkipCase& c : cases)
        EXPECT_EQ(skipEnd(nestedIfs, c.start, c.state, c.pluginWords), c.end)
            << "from " << c.start << " state " << static_cast<int>(c.state);
}

TEST(ScriptBlocksTest, KeywordsWhileExecuting) {
    BlockSkipper skipper;
    EXPECT_EQ(skipper.keyword(LineKind::EndIf), KeywordEffect::None);
    EXPECT_EQ(skipper.state(), SkipState::Executing);
    EXPECT_EQ(skipper.keyword(LineKind::EndWhile), KeywordEffect::LoopBack);
    EXPECT_EQ(skipper.keyword(LineKind::EndLoop), KeywordEffect::LoopBack);
    EXPECT_EQ(skipper.state(), SkipState::Executing);
    // Commands never start a skip by themselves; the interpreter decides.
    skipper.command("IF", true);
    EXPECT_EQ(skipper.state(), SkipState::Executing);
    // An executed branch that reaches Else skips to its EndIf.
    EXPECT_EQ(skipper.keyword(LineKind::Else), KeywordEffect::None);
    EXPECT_EQ(skipper.state(), SkipState::ToEndIf);
    EXPECT_EQ(skipper.keyword(LineKind::Else), KeywordEffect::None);
    EXPECT_EQ(skipper.state(), SkipState::ToEndIf);
    EXPECT_EQ(skipper.keyword(LineKind::EndIf), KeywordEffect::None);
    EXPECT_EQ(skipper.state(), SkipState::Executing);
}

TEST(ScriptBlocksTest, CountersAreBackToZeroAfterASkip) {
    BlockSkipper skipper;
    skipper.begin(SkipState::ToElseOrEndIf);
    skipper.command("IF", true);
    skipper.keyword(LineKind::EndIf);
    skipper.keyword(LineKind::EndIf);
    ASSERT_FALSE(skipper.skipping());
    // A fresh skip must end at the first Else, not be held by an earlier nesting.
    skipper.begin(SkipState::ToElseOrEndIf);
    skipper.keyword(LineKind::Else);
    EXPECT_FALSE(skipper.skipping());
}

} // namespace
} // namespace tomelet
