#include "engine/VariableExpansion.h"

#include "VariableStoreFixture.h"

#include <gtest/gtest.h>

namespace tomelet::test {
namespace {

struct ExpansionCase {
    std::string text;
    bool numeric;
    bool nameOnly;
    std::string expected;
};

class VariableExpansionTest : public VariableStoreTest,
                              public ::testing::WithParamInterface<ExpansionCase> {
protected:
    VariableExpansionTest() {
        store.SetVariable("b", "2");
        store.SetVariable("a2", "two");
        store.SetVariable("a2x", "two-x");
        store.SetVariable("[2]", "named by b");
        store.SetVariable("x", "5");
        store.SetVariable("y", "why");
    }
};

TEST_P(VariableExpansionTest, ExpandsAsScriptsExpect) {
    const ExpansionCase& expansion = GetParam();
    EXPECT_EQ(store.ExpandVariables(expansion.text, expansion.numeric, expansion.nameOnly),
              expansion.expected);
}

INSTANTIATE_TEST_SUITE_P(
    References, VariableExpansionTest,
    ::testing::Values(ExpansionCase{"[a[b]]", false, false, "two"},
                      ExpansionCase{"[a[b]x]", false, false, "two-x"},
                      ExpansionCase{"[[b]]", false, false, "named by b"},
                      ExpansionCase{"[A[B]]", false, false, "two"},
                      ExpansionCase{"<[unknown]>", false, false, "<>"},
                      ExpansionCase{"<[unknown]>", true, false, "<0>"},
                      ExpansionCase{"[x]+[unknown]", true, false, "5+0"},
                      // An empty inner value is no "0": only whole references are numbers.
                      ExpansionCase{"[a[unknown]]", true, false, "0"},
                      ExpansionCase{"Total: [x] EUR]", false, false, "Total: 5 EUR"},
                      ExpansionCase{"Total: [x] EUR] and [y]", false, false, "Total: 5 EUR"},
                      ExpansionCase{"abc [x", false, false, "abc "},
                      ExpansionCase{"abc [a[b", false, false, "abc "},
                      ExpansionCase{"[]y]", false, false, "why"},
                      ExpansionCase{"[]", false, false, ""},
                      ExpansionCase{"no references", false, false, "no references"},
                      ExpansionCase{"[PageTitle]/[pagetitle]", false, false, "Start/Start"},
                      ExpansionCase{"[#65][#66]", false, false, "AB"},
                      ExpansionCase{"[#300]", false, false, "\xFF"},
                      ExpansionCase{"[#x]", false, false, std::string(1, '\0')},
                      ExpansionCase{"[#-7]", false, false, std::string(1, '\0')},
                      ExpansionCase{"[#91]x[#93]", false, false, "[x]"},
                      ExpansionCase{"[x][y]", false, true, "xy"},
                      ExpansionCase{"[a[b]]", false, true, "a2"},
                      ExpansionCase{"[Arr[x]] is [y]", false, true, "Arr5 is y"}));

TEST_F(VariableStoreTest, UserVariableNamedLikeACharacterEscapeWins) {
    store.SetVariable("[#65]", "user value");
    EXPECT_EQ(store.ExpandVariables("[#65]"), "user value");
    EXPECT_EQ(store.ExpandVariables("[#66]"), "B");
}

TEST_F(VariableStoreTest, ClockIsReadOnceForEveryReferenceOfOneText) {
    const std::string expanded = store.ExpandVariables("[Ticks]|[Ticks]|[Ticks]");
    const auto first = expanded.substr(0, expanded.find('|'));
    EXPECT_EQ(expanded, first + "|" + first + "|" + first);
    EXPECT_EQ(system.clockReads, 3);
}

TEST_F(VariableStoreTest, ManyReferencesInALongText) {
    store.SetVariable("x", "5");
    std::string text;
    for (int index = 0; index < 100000; ++index)
        text += "[x]-";
    const std::string expanded = store.ExpandVariables(text);
    ASSERT_EQ(expanded.size(), 200000u);
    EXPECT_EQ(expanded.substr(0, 6), "5-5-5-");
}

TEST_F(VariableStoreTest, VeryDeepNestingNeitherOverflowsNorLosesTheValue) {
    // Every level reads the variable named by the level inside it: "5" names itself.
    store.SetVariable("x", "5");
    store.SetVariable("[5]", "5");
    constexpr std::size_t depth = 200000;
    const std::string text = std::string(depth, '[') + "x" + std::string(depth, ']') + "!";
    EXPECT_EQ(store.ExpandVariables(text), "5!");
    EXPECT_EQ(store.ExpandVariables(std::string(depth, '[') + "x"), "");
}

struct BracketCase {
    std::string text;
    std::string expected;
};

class BracketNameTest : public ::testing::TestWithParam<BracketCase> {};

TEST_P(BracketNameTest, NormalisesTheReference) {
    EXPECT_EQ(BracketName(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BracketNameTest,
    ::testing::Values(BracketCase{"", ""}, BracketCase{"Total", "[Total]"},
                      BracketCase{"[Total]", "[Total]"}, BracketCase{"[a[b]", "[a[b]]"},
                      BracketCase{"a[b]]", "[a[b]]"}, BracketCase{"[a]]", "[[a]]"},
                      BracketCase{"a]b", "[[a]b]"}, BracketCase{"]", "[]"}, BracketCase{"[", "[]"},
                      // The first character counts as "[" whatever it is.
                      BracketCase{"x]", "[x]"}));

} // namespace
} // namespace tomelet::test
