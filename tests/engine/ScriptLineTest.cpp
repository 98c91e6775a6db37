#include "engine/ScriptArguments.h"
#include "engine/ScriptCommandWord.h"
#include "engine/ScriptLineKind.h"

#include <gtest/gtest.h>
#include <vector>

namespace tomelet {
namespace {

struct LineCase {
    std::string_view line;
    std::string_view word;
    LineKind kind;
    std::vector<std::string> arguments;
    bool ok = true;
};

// One row per line as the interpreter reads it (already left-trimmed or not: both must work).
const LineCase lineCases[] = {
    {"", "", LineKind::Empty, {}},
    {" \t ", "", LineKind::Empty, {}},
    {".a comment \"with\" quotes", ".A", LineKind::Comment, {"with"}},
    {"  .done", ".DONE", LineKind::Comment, {}},
    {":start", ":START", LineKind::Label, {}},
    {":Name .comment", ":NAME .COMMENT", LineKind::Label, {}},
    {"SetVar \"[a]\" \"x\"", "SETVAR", LineKind::Command, {"[a]", "x"}},
    {"If \"[a]\" = \"1\"", "IF", LineKind::Command, {"[a]", "1"}},
    {"If \"[a]\" \">\" \"1\"", "IF", LineKind::Command, {"[a]", ">", "1"}},
    {"GotoPage\"Intro\"", "GOTOPAGE\"INTRO\"", LineKind::Command, {"Intro"}},
    {"  GotoNextPage", "GOTONEXTPAGE", LineKind::Command, {}},
    {"GotoNextPage .next", "GOTONEXTPAGE .NEXT", LineKind::Command, {}},
    {"EndIf", "ENDIF", LineKind::EndIf, {}},
    {"endif  ", "ENDIF", LineKind::EndIf, {}},
    {"EndIf  .done", "ENDIF  .DONE", LineKind::Command, {}},
    {"Else", "ELSE", LineKind::Else, {}},
    {"Else .otherwise", "ELSE .OTHERWISE", LineKind::Command, {}},
    {"Else \"x\"", "ELSE", LineKind::Else, {"x"}},
    {"ENDWHILE", "ENDWHILE", LineKind::EndWhile, {}},
    {"EndLoop", "ENDLOOP", LineKind::EndLoop, {}},
    {"DebugOff", "DEBUGOFF", LineKind::DebugOff, {}},
    {"debugon", "DEBUGON", LineKind::DebugOn, {}},
    {"EndIfs", "ENDIFS", LineKind::Command, {}},
    // The quote comes before the space: the word ends at the quote.
    {"Alert\"a\" \"b\"", "ALERT", LineKind::Command, {"a", "b"}},
    // A tab is not the space that ends the word.
    {"SetVar\t\"[a]\" \"x\"", "SETVAR\t", LineKind::Command, {"[a]", "x"}},
    {"Run \"a\tb\"\t\"c\"", "RUN", LineKind::Command, {"a\tb", "c"}},
    {"SetVar \"[a]\" \"\"", "SETVAR", LineKind::Command, {"[a]", ""}},
    {"SetVar \"[a]\" \"x\" trailing text", "SETVAR", LineKind::Command, {"[a]", "x"}},
    {"SetVar \"[a]\"\"x\"", "SETVAR", LineKind::Command, {"[a]", "x"}},
    {"AlertBox \"a\" \"b\" \"c", "ALERTBOX", LineKind::Command, {"a", "b"}, false},
    {"AlertBox \"", "ALERTBOX", LineKind::Command, {}, false},
    {"StrParse \"a b\" \"[#13]\" \"[p]\" \"[n]\"",
     "STRPARSE",
     LineKind::Command,
     {"a b", "[#13]", "[p]", "[n]"}},
    {"Do \"1\" \"2\" \"3\" \"4\" \"5\" \"6\" \"7\" \"8\" \"9\" \"10\" \"11\" \"12\"",
     "DO",
     LineKind::Command,
     {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
    // Reading stops after ten arguments, so an eleventh quote left open is no error.
    {"Do \"1\" \"2\" \"3\" \"4\" \"5\" \"6\" \"7\" \"8\" \"9\" \"10\" \"open",
     "DO",
     LineKind::Command,
     {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
    {"do \"\xE9t\xE9\"", "DO", LineKind::Command, {"\xE9t\xE9"}},
    // Upper case follows the code page (Windows-1252 here).
    {"\xE9t\xE9 \"a\"", "\xC9T\xC9", LineKind::Command, {"a"}},
};

TEST(ScriptLineTest, WordKindAndArgumentsOfEachLine) {
    for (const LineCase& c : lineCases) {
        SCOPED_TRACE(std::string(c.line));
        EXPECT_EQ(UpperCommandWord(c.line), c.word);
        const ClassifiedLine classified = ClassifyLine(c.line);
        EXPECT_EQ(classified.kind, c.kind);
        EXPECT_EQ(classified.word, c.word);

        const ScriptArguments arguments = SplitArguments(c.line);
        EXPECT_EQ(arguments.ok(), c.ok);
        ASSERT_EQ(arguments.count, static_cast<int>(c.arguments.size()));
        for (int number = 1; number <= MaximumArgumentCount; ++number) {
            const std::size_t index = static_cast<std::size_t>(number) - 1;
            EXPECT_EQ(arguments[number], index < c.arguments.size() ? c.arguments[index] : "")
                << number;
        }
    }
}

TEST(ScriptLineTest, CommandWordKeepsItsCase) {
    EXPECT_EQ(CommandWord("  GotoPage \"Intro\""), "GotoPage");
    EXPECT_EQ(CommandWord("\tEndIf  .done \t"), "EndIf  .done");
}

TEST(ScriptLineTest, AnOpenQuoteIsErrorMinusOne) {
    const ScriptArguments arguments = SplitArguments("AlertBox \"Title\" \"Message\" \"");
    ASSERT_TRUE(arguments.error);
    EXPECT_EQ(*arguments.error, (ScriptError{-1, "This expression is missing a quotation mark."}));
}

TEST(ScriptLineTest, ArgumentsOutsideOneToTenAreEmpty) {
    const ScriptArguments arguments = SplitArguments("SetVar \"a\" \"b\"");
    EXPECT_EQ(arguments[0], "");
    EXPECT_EQ(arguments[-3], "");
    EXPECT_EQ(arguments[11], "");
}

struct CountCase {
    int count;
    int minimum;
    int maximum;
    std::optional<std::string> message;
};

TEST(ScriptLineTest, ArgumentCountNamesTheMinimum) {
    const CountCase cases[] = {
        {2, 2, 2, std::nullopt},
        {3, 2, 2, "This action requires 2 parameter(s)."},
        {1, 2, 2, "This action requires 2 parameter(s)."},
        // Balloon: one to four arguments; five names the minimum, not the maximum.
        {5, 1, 4, "This action requires 1 parameter(s)."},
        {0, 1, 4, "This action requires 1 parameter(s)."},
        {4, 1, 4, std::nullopt},
        {0, 0, 0, std::nullopt},
        {1, 0, 0, "This action requires 0 parameter(s)."},
        {10, 3, 10, std::nullopt},
    };
    for (const CountCase& c : cases) {
        const std::optional<ScriptError> error = CheckArgumentCount(c.count, c.minimum, c.maximum);
        SCOPED_TRACE(testing::Message() << c.count << " in " << c.minimum << ".." << c.maximum);
        ASSERT_EQ(error.has_value(), c.message.has_value());
        if (error) {
            EXPECT_EQ(*error, (ScriptError{-2, *c.message}));
        }
    }
}

} // namespace
} // namespace tomelet
