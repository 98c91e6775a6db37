#include "engine/ScriptLabels.h"

#include <gtest/gtest.h>
#include <limits>

namespace tomelet {
namespace {

const ScriptLines script = SplitScript("AlertBox \"a\" \"b\"\r\n" // 1
                                       "  :start  \r\n"           // 2
                                       ".comment\r\n"             // 3
                                       ":Name .comment\r\n"       // 4
                                       ":3x\r\n"                  // 5
                                       "\t:Start\r\n"             // 6
                                       ":\xC9t\xE9\r\n"           // 7
                                       "start\r\n"                // 8
                                       "Return");                 // 9

struct LabelCase {
    std::string_view label;
    std::optional<int> line;
};

TEST(ScriptLabelsTest, FindsTheFirstTrimmedLineWithoutCase) {
    const LabelCase cases[] = {
        {"start", 2},
        {":START", 2},
        {"  Start \t", 2},
        {"Name .comment", 4},
        {":name .COMMENT", 4},
        {"Name", std::nullopt},
        {"3x", 5},
        {"\xE9t\xC9", 7},
        {"comment", std::nullopt},
        {"", std::nullopt},
        {"missing", std::nullopt},
    };
    for (const LabelCase& c : cases)
        EXPECT_EQ(FindLabel(script, c.label), c.line) << c.label;
}

TEST(ScriptLabelsTest, GotoLineTakesIntegersAsLineNumbersAndAnythingElseAsLabels) {
    const LabelCase cases[] = {
        {"4", 4},
        {"+4", 4},
        {"0", 1},
        {"-5", 1},
        {"1", 1},
        // Beyond the end is a line number still: the run simply ends.
        {"50", 50},
        {"99999999999999999999", std::numeric_limits<int>::max()},
        {"-99999999999999999999", 1},
        // The line after the label.
        {"3x", 6},
        {"START", 3},
        {"4 ", std::nullopt},
        {" 4", std::nullopt},
        {"-", std::nullopt},
        {"", std::nullopt},
        {"missing", std::nullopt},
    };
    for (const LabelCase& c : cases)
        EXPECT_EQ(GotoLineDestination(script, c.label), c.line) << c.label;
}

TEST(ScriptLabelsTest, AnEmptyLabelFindsALoneColon) {
    const ScriptLines lines = SplitScript("Return\r\n :\r\n");
    EXPECT_EQ(FindLabel(lines, ""), 2);
    EXPECT_EQ(FindLabel(lines, "   "), 2);
}

} // namespace
} // namespace tomelet
