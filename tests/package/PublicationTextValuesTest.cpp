#include "package/PublicationValues.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tomelet {
namespace {

struct IntegerCase {
    std::string value;
    std::optional<std::int32_t> expected;
};

void PrintTo(const IntegerCase& integer, std::ostream* out) {
    *out << '"' << integer.value << '"';
}

class IntegerValueTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerValueTest, ReadsAsTheFormatSays) {
    EXPECT_EQ(readIntegerValue(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, IntegerValueTest,
    testing::Values(IntegerCase{"42", 42}, IntegerCase{"   42", 42}, IntegerCase{"-17", -17},
                    IntegerCase{"+17", 17}, IntegerCase{"  -0", 0}, IntegerCase{"$FF", 255},
                    IntegerCase{"$ff", 255}, IntegerCase{"x1F", 31}, IntegerCase{"X1f", 31},
                    IntegerCase{"0x1f", 31}, IntegerCase{"0X1F", 31}, IntegerCase{"-$10", -16},
                    IntegerCase{"2147483647", 2147483647},
                    IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"$FFFFFFFF", -1},
                    IntegerCase{"0x80000000", -2147483647 - 1}, IntegerCase{"536870912", 536870912},
                    IntegerCase{"007", 7}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, IntegerValueTest,
    testing::Values(IntegerCase{"", std::nullopt}, IntegerCase{" ", std::nullopt},
                    IntegerCase{"-", std::nullopt}, IntegerCase{"$", std::nullopt},
                    IntegerCase{"0x", std::nullopt}, IntegerCase{"12abc", std::nullopt},
                    IntegerCase{"12 ", std::nullopt}, IntegerCase{"1.5", std::nullopt},
                    IntegerCase{"$FG", std::nullopt}, IntegerCase{"\t5", std::nullopt},
                    IntegerCase{"2147483648", std::nullopt},
                    IntegerCase{"-2147483649", std::nullopt},
                    IntegerCase{"$100000000", std::nullopt},
                    IntegerCase{"99999999999999999999999", std::nullopt},
                    IntegerCase{"--5", std::nullopt}));

TEST(BooleanValueTest, TrueExactlyForYesInAnyCase) {
    EXPECT_TRUE(readBooleanValue("Yes"));
    EXPECT_TRUE(readBooleanValue("yes"));
    EXPECT_TRUE(readBooleanValue("YES"));
    for (const char* value : {"True", "1", "On", "Yes ", " Yes", "Y", "No"})
        EXPECT_FALSE(readBooleanValue(value)) << value;
}

TEST(LinesValueTest, SeparatorBecomesCrLfOnlyForLinesValues) {
    EXPECT_EQ(readLinesValue("a\xB6"
                             "b\xB6\xB6"),
              "a\r\nb\r\n\r\n");
    EXPECT_EQ(readTextValue(KeyValueType::Lines, "x\xB6y"), "x\r\ny");
    EXPECT_EQ(readTextValue(KeyValueType::Text, "x\xB6y"), "x\xB6y");
}

TEST(VariableNameValueTest, CompletesAndBalancesBrackets) {
    const std::pair<const char*, const char*> cases[] = {
        {"Name", "[Name]"},
        {"[Name]", "[Name]"},
        {"[Name", "[Name]"},
        {"Name]", "[Name]"},
        {"[", "[]"},
        {"]", "[]"},
        {"A[B", "[A[B]]"},
        {"A]B", "[[A]B]"},
        {"[[A]", "[[A]]"},
        {"A]]B", "[[A]]B]"},
        {"Item[Index]", "[Item[Index]]"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(readVariableNameValue(value), expected) << value;
    EXPECT_EQ(readTextValue(KeyValueType::VariableName, "Status"), "[Status]");
}

TEST(PaletteValueTest, EntriesNeedAFollowingBlank) {
    const PagePalette palette = readPaletteValue("255 65280 $FF0000 bad  16711680");
    EXPECT_EQ(palette[0], 255);
    EXPECT_EQ(palette[1], 65280);
    EXPECT_EQ(palette[2], 16711680);
    EXPECT_EQ(palette[3], 0); // malformed
    EXPECT_EQ(palette[4], 0); // empty between two blanks
    EXPECT_EQ(palette[5], 0); // no blank after it
    EXPECT_EQ(palette[255], 0);
}

TEST(PaletteValueTest, TakesAtMost256Entries) {
    std::string value;
    for (int index = 0; index < 300; ++index)
        value += std::to_string(index + 1) + " ";
    const PagePalette palette = readPaletteValue(value);
    EXPECT_EQ(palette[0], 1);
    EXPECT_EQ(palette[255], 256);
}

TEST(PublicationLineTest, SplitsAtTheFirstEqualsSign) {
    const PublicationLine keyLine = splitPublicationLine(" \t\x01TITLE=a = b ");
    EXPECT_EQ(keyLine.key, "TITLE=");
    EXPECT_EQ(keyLine.value, "a = b ");

    // A blank before "=" stays inside the key.
    EXPECT_EQ(splitPublicationLine("TITLE =x").key, "TITLE =");

    const PublicationLine marker = splitPublicationLine("  MASTERPAGE \x7F\t");
    EXPECT_EQ(marker.key, "MASTERPAGE");
    EXPECT_TRUE(marker.value.empty());
    EXPECT_EQ(splitPublicationLine("\tGROUPEND  ").key, "GROUPEND");
}

} // namespace
} // namespace tomelet
