#include "engine/ScriptText.h"

#include <gtest/gtest.h>

namespace tomelet {
namespace {

struct SplitCase {
    std::string_view text;
    ScriptLines lines;
};

TEST(ScriptTextTest, SplitsAtEveryKindOfLineBreak) {
    const SplitCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"\r\n", {""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        // LF CR is two breaks, not one.
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\n", {"a", ""}},
        {"\ta \r\n  b", {"\ta ", "  b"}},
        {std::string_view("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitScript(c.text), c.lines) << testing::PrintToString(std::string(c.text));
}

TEST(ScriptTextTest, GetLineTrimsTheLeftAndIsEmptyOutsideTheScript) {
    const ScriptLines lines = SplitScript(" \t\x01\x1F"
                                          "Alert \"x\"  \r\n\r\n   \n\xA0X");
    EXPECT_EQ(GetLine(lines, 1), "Alert \"x\"  ");
    EXPECT_EQ(GetLine(lines, 2), "");
    EXPECT_EQ(GetLine(lines, 3), "");
    // 0xA0 (no-break space in Windows-1252) is above the space: not white space.
    EXPECT_EQ(GetLine(lines, 4), "\xA0X");
    for (const int outside : {0, -1, 5, 1000})
        EXPECT_EQ(GetLine(lines, outside), "") << outside;
}

TEST(ScriptTextTest, DebugOffMustBeTheFirstEightCharacters) {
    EXPECT_TRUE(beginsWithDebugOff("DebugOff"));
    EXPECT_TRUE(beginsWithDebugOff("DEBUGOFF\r\nAlertBox \"a\" \"b\""));
    EXPECT_TRUE(beginsWithDebugOff("debugoffX"));
    EXPECT_FALSE(beginsWithDebugOff(" DebugOff"));
    EXPECT_FALSE(beginsWithDebugOff("\r\nDebugOff"));
    EXPECT_FALSE(beginsWithDebugOff("DebugOf"));
    EXPECT_FALSE(beginsWithDebugOff("DebugOn"));
    EXPECT_FALSE(beginsWithDebugOff(""));
}

} // namespace
} // namespace tomelet
