#include "engine/LenientNumber.h"

#include "engine/LocaleSettings.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string_view>

namespace tomelet {
namespace {

// Each test starts and ends with the English locale and no assigned decimal symbol.
class LenientNumberTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        setCurrentLocale(LocaleSettings{});
        assignDecimalSymbol("");
    }
};

struct ReadCase {
    std::string_view text;
    double expected;
};

TEST_F(LenientNumberTest, ReadsMoneyAndUserInputForgivingly) {
    const ReadCase cases[] = {
        {"$1,234.50", 0.0},
        {"$12.5", 12.5},
        {"1,5", 1.5},
        {"-3", -3.0},
        {"", 0.0},
        {"abc", 0.0},
        {"12 345", 12345.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"-", 0.0},
        {"1-2", 0.0},
        {"--3", 0.0},
        {"1e5", 15.0},
        {"EUR 7,25", 7.25},
        {"0.1.", 0.0},
        {"-0", 0.0},
        {std::string_view("1\0"
                          "2",
                          3),
         12.0},
    };
    for (const ReadCase& testCase : cases) {
        EXPECT_DOUBLE_EQ(readLenientNumber(testCase.text), testCase.expected) << testCase.text;
    }
}

TEST_F(LenientNumberTest, ANumberBeyondTheRangeOfADoubleReadsAsZero) {
    EXPECT_EQ(readLenientNumber(std::string(400, '9')), 0.0);
    EXPECT_DOUBLE_EQ(readLenientNumber("1" + std::string(300, '0')), 1e300);
}

TEST_F(LenientNumberTest, TheAssignedDecimalSymbolIsReadAndWritten) {
    assignDecimalSymbol(",");
    EXPECT_EQ(decimalSymbol(), ',');
    EXPECT_DOUBLE_EQ(readLenientNumber("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(readLenientNumber("12.5"), 12.5);
    EXPECT_EQ(formatFixed(12.5, 2), "12,50");

    assignDecimalSymbol("#");
    EXPECT_DOUBLE_EQ(readLenientNumber("3#25"), 3.25);
    EXPECT_EQ(formatFixed(3.25, 1), "3#3");
}

TEST_F(LenientNumberTest, AnyOtherValueRestoresTheLocaleSeparator) {
    LocaleSettings german;
    german.decimalSeparator = ",";
    setCurrentLocale(german);
    EXPECT_EQ(decimalSymbol(), ',');
    assignDecimalSymbol(".");
    EXPECT_EQ(decimalSymbol(), '.');
    assignDecimalSymbol("..");
    EXPECT_EQ(decimalSymbol(), ',');

    german.decimalSeparator.clear();
    setCurrentLocale(german);
    EXPECT_EQ(decimalSymbol(), '.');
}

struct FormatCase {
    double value;
    int decimals;
    std::string_view expected;
};

TEST_F(LenientNumberTest, FormatsWithExactlyTheGivenDecimals) {
    const FormatCase cases[] = {
        {0.0, 2, "0.00"},
        {12.5, 2, "12.50"},
        {2.675, 2, "2.68"},
        {1.005, 2, "1.01"},
        {0.125, 2, "0.13"},
        {-0.125, 2, "-0.13"},
        {-0.001, 2, "0.00"},
        {0.005, 2, "0.01"},
        {0.0049, 2, "0.00"},
        {9.995, 2, "10.00"},
        {999.5, 0, "1000"},
        {-2.5, 0, "-3"},
        {1234567.891, 1, "1234567.9"},
        {1e20, 2, "100000000000000000000.00"},
        {0.000001, 3, "0.000"},
        {7.0, -4, "7"},
        {1.5, 40, "1.500000000000000000"},
    };
    for (const FormatCase& testCase : cases) {
        EXPECT_EQ(formatFixed(testCase.value, testCase.decimals), testCase.expected)
            << testCase.value << " with " << testCase.decimals;
    }
}

TEST_F(LenientNumberTest, NonFiniteValuesFormatAsZero) {
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::infinity(), 2), "0.00");
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::quiet_NaN(), 0), "0");
}

struct IntegerCase {
    std::string_view text;
    std::optional<std::int32_t> expected;
};

TEST_F(LenientNumberTest, ReadsIntegersStrictly) {
    const IntegerCase cases[] = {
        {"007", 7},
        {"-12", -12},
        {"+5", 5},
        {"  42", 42},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"1.5", std::nullopt},
        {"42 ", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"0x10", std::nullopt},
        {"abc", std::nullopt},
    };
    for (const IntegerCase& testCase : cases) {
        EXPECT_EQ(readInteger(testCase.text), testCase.expected) << testCase.text;
    }
    EXPECT_EQ(readIntegerOrZero("abc"), 0);
    EXPECT_EQ(readIntegerOrZero("-9"), -9);
}

} // namespace
} // namespace tomelet
