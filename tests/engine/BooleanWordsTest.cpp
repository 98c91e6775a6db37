#include "engine/BooleanWords.h"

#include <gtest/gtest.h>
#include <optional>
#include <string_view>

namespace tomelet {
namespace {

struct BooleanCase {
    std::string_view text;
    std::optional<bool> expected;
};

class BooleanWordsTest : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(BooleanWordsTest, ReadsTheWordBeforeAFirstPlusWithoutCase) {
    const BooleanCase& testCase = GetParam();
    EXPECT_EQ(parseBooleanWord(testCase.text), testCase.expected) << testCase.text;
    EXPECT_EQ(isTrueWord(testCase.text), testCase.expected == true) << testCase.text;
    EXPECT_EQ(isFalseWord(testCase.text), testCase.expected == false) << testCase.text;
}

INSTANTIATE_TEST_SUITE_P(
    Words, BooleanWordsTest,
    ::testing::Values(BooleanCase{"True", true}, BooleanCase{"t", true}, BooleanCase{"YES", true},
                      BooleanCase{"checked", true}, BooleanCase{"Ok", true}, BooleanCase{"1", true},
                      BooleanCase{"oN", true}, BooleanCase{"false", false}, BooleanCase{"F", false},
                      BooleanCase{"no", false}, BooleanCase{"UNCHECKED", false},
                      BooleanCase{"cancel", false}, BooleanCase{"0", false},
                      BooleanCase{"OFF", false}, BooleanCase{"Yes+Beep", true},
                      BooleanCase{"Cancel+", false}, BooleanCase{"On+Off", true},
                      BooleanCase{"+Yes", std::nullopt}, BooleanCase{"", std::nullopt},
                      BooleanCase{" Yes", std::nullopt}, BooleanCase{"Yes ", std::nullopt},
                      BooleanCase{"Ye", std::nullopt}, BooleanCase{"Yess", std::nullopt},
                      BooleanCase{"2", std::nullopt}, BooleanCase{"00", std::nullopt},
                      BooleanCase{"Check", std::nullopt}));

TEST(BooleanTextTest, StoresTheCanonicalWords) {
    EXPECT_EQ(booleanText(true), "True");
    EXPECT_EQ(booleanText(false), "False");
}

} // namespace
} // namespace tomelet
