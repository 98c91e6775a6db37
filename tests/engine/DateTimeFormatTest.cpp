#include "engine/DateTimeFormat.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string_view>

namespace tomelet {
namespace {

// Tuesday 5 March 2024, 14:07:09.045.
constexpr DateTimeParts kAfternoon{2024, 3, 5, 14, 7, 9, 45};
// Sunday 31 December 1999, 00:30:05.
constexpr DateTimeParts kJustAfterMidnight{1999, 12, 31, 0, 30, 5, 0};

struct FormatCase {
    std::string_view format;
    std::string_view afternoon;
    std::string_view midnight;
};

TEST(DateTimeFormatTest, WritesEverySpecifier) {
    const FormatCase cases[] = {
        {"d", "5", "31"},
        {"dd", "05", "31"},
        {"ddd", "Tue", "Fri"},
        {"dddd", "Tuesday", "Friday"},
        {"ddddd", "3/5/2024", "12/31/1999"},
        {"dddddd", "Tuesday, March 5, 2024", "Friday, December 31, 1999"},
        {"m", "3", "12"},
        {"mm", "03", "12"},
        {"mmm", "Mar", "Dec"},
        {"mmmm", "March", "December"},
        {"yy", "24", "99"},
        {"yyyy", "2024", "1999"},
        {"y", "24", "99"},
        {"h", "14", "0"},
        {"hh", "14", "00"},
        {"n", "7", "30"},
        {"nn", "07", "30"},
        {"s", "9", "5"},
        {"ss", "09", "05"},
        {"z", "45", "0"},
        {"zzz", "045", "000"},
        {"h:nn:ss ampm", "2:07:09 PM", "12:30:05 AM"},
        {"h:nn:ss", "14:07:09", "0:30:05"},
        {"hh:mm", "14:07", "00:30"},
        {"h am/pm", "2 pm", "12 am"},
        {"h AM/PM", "2 PM", "12 AM"},
        {"h a/p", "2 p", "12 a"},
        {"h\" ampm\"", "14 ampm", "0 ampm"},
        {"hh 'h' ampm", "02 h PM", "12 h AM"},
        {"yyyy-mm-dd", "2024-03-05", "1999-12-31"},
        {"dd/mm/yyyy", "05/03/2024", "31/12/1999"},
        {"DD.MM.YY", "05.03.24", "31.12.99"},
        {"t", "2:07 PM", "12:30 AM"},
        {"tt", "2:07:09 PM", "12:30:05 AM"},
        {"c", "3/5/2024 2:07:09 PM", "12/31/1999 12:30:05 AM"},
        {"'unterminated", "unterminated", "unterminated"},
        {"x#", "x#", "x#"},
        {"", "", ""},
    };
    for (const FormatCase& testCase : cases) {
        EXPECT_EQ(formatDateTime(testCase.format, kAfternoon), testCase.afternoon)
            << testCase.format;
        EXPECT_EQ(formatDateTime(testCase.format, kJustAfterMidnight), testCase.midnight)
            << testCase.format;
    }
}

TEST(DateTimeFormatTest, UsesTheLocaleSeparatorsNamesAndTexts) {
    LocaleSettings german;
    german.dateSeparator = ".";
    german.timeSeparator = "-";
    german.morningText = "vorm.";
    german.afternoonText = "nachm.";
    german.longMonthNames[2] = "M\xE4rz";
    german.shortDayNames[2] = "Di";
    german.shortDateFormat = "dd/mm/yyyy";
    EXPECT_EQ(formatDateTime("d/m/yyyy h:nn ampm", kAfternoon, german), "5.3.2024 2-07 nachm.");
    EXPECT_EQ(formatDateTime("ddd mmmm", kAfternoon, german), "Di M\xE4rz");
    EXPECT_EQ(formatDateTime("ddddd", kAfternoon, german), "05.03.2024");
}

TEST(DateTimeFormatTest, LocaleFormatsThatNameThemselvesStop) {
    LocaleSettings looping;
    looping.shortDateFormat = "ddddd!";
    EXPECT_EQ(formatDateTime("ddddd", kAfternoon, looping), "!!");
}

TEST(DateTimeFormatTest, CountsDaysFromTheEndOf1899) {
    EXPECT_EQ(dayNumber(DateTimeParts{1899, 12, 30}), 0);
    EXPECT_EQ(dayNumber(DateTimeParts{1999, 12, 31}), 36525);
    EXPECT_EQ(dayNumber(DateTimeParts{1900, 3, 1}), 61);
    EXPECT_EQ(dayNumber(DateTimeParts{1899, 12, 1}), -29);
    for (std::int64_t days : {-693593LL, -1LL, 0LL, 59LL, 60LL, 36525LL, 2958465LL}) {
        const auto date = dateFromDayNumber(days);
        ASSERT_TRUE(date) << days;
        EXPECT_EQ(dayNumber(*date), days);
    }
    const auto date = dateFromDayNumber(36525);
    EXPECT_EQ(formatDateTime("yyyy-mm-dd", *date), "1999-12-31");
    EXPECT_FALSE(dateFromDayNumber(-693594));
    EXPECT_FALSE(dateFromDayNumber(2958466));
    EXPECT_FALSE(dateFromDayNumber(INT64_MAX));
    EXPECT_FALSE(dateFromDayNumber(INT64_MIN));
}

TEST(DateTimeFormatTest, KnowsTheWeekday) {
    EXPECT_EQ(dayOfWeek(DateTimeParts{1899, 12, 30}), 6);
    EXPECT_EQ(dayOfWeek(DateTimeParts{2024, 3, 5}), 2);
    EXPECT_EQ(dayOfWeek(DateTimeParts{1899, 12, 24}), 0);
}

struct OrderCase {
    std::string_view format;
    DateOrder expected;
};

TEST(DateTimeFormatTest, TakesTheOrderFromTheFirstDateLetter) {
    const OrderCase cases[] = {
        {"dd.mm.yyyy", DateOrder::DayMonthYear}, {"m/d/y", DateOrder::MonthDayYear},
        {"yyyy-mm-dd", DateOrder::YearMonthDay}, {"ee/mm/dd", DateOrder::YearMonthDay},
        {"Default", DateOrder::MonthDayYear},    {"DEFAULT", DateOrder::MonthDayYear},
        {"#", DateOrder::MonthDayYear},          {"", DateOrder::MonthDayYear},
    };
    for (const OrderCase& testCase : cases) {
        EXPECT_EQ(dateOrderOfFormat(testCase.format), testCase.expected) << testCase.format;
    }
    LocaleSettings british;
    british.shortDateFormat = "dd/mm/yyyy";
    EXPECT_EQ(dateOrderOfFormat("Default", british), DateOrder::DayMonthYear);
    EXPECT_EQ(dateOrderOfFormat("x", british), DateOrder::DayMonthYear);
    british.shortDateFormat = "#";
    EXPECT_EQ(dateOrderOfFormat("Default", british), DateOrder::MonthDayYear);
    EXPECT_EQ(effectiveDateFormat("default", british), "#");
    EXPECT_EQ(effectiveDateFormat("yyyy", british), "yyyy");
}

struct ReadCase {
    std::string_view text;
    DateOrder order;
    std::optional<std::string_view> expected; // yyyy-mm-dd
};

TEST(DateTimeFormatTest, ReadsDatesInTheGivenOrder) {
    const ReadCase cases[] = {
        {"12/31/1999", DateOrder::MonthDayYear, "1999-12-31"},
        {"31/12/1999", DateOrder::DayMonthYear, "1999-12-31"},
        {"1999/12/31", DateOrder::YearMonthDay, "1999-12-31"},
        {"1999-12-31", DateOrder::YearMonthDay, "1999-12-31"},
        {"31\\12\\1999", DateOrder::DayMonthYear, "1999-12-31"},
        {" 3 / 4 / 2020 ", DateOrder::MonthDayYear, "2020-03-04"},
        {"3/4", DateOrder::MonthDayYear, "2024-03-04"},
        {"3/4", DateOrder::DayMonthYear, "2024-04-03"},
        {"3/4", DateOrder::YearMonthDay, "2024-03-04"},
        {"1/2/99", DateOrder::MonthDayYear, "1999-01-02"},
        {"1/2/73", DateOrder::MonthDayYear, "2073-01-02"},
        {"1/2/74", DateOrder::MonthDayYear, "1974-01-02"},
        {"1/2/75", DateOrder::MonthDayYear, "1975-01-02"},
        {"1/2/0075", DateOrder::MonthDayYear, "0075-01-02"},
        {"2/29/2024", DateOrder::MonthDayYear, "2024-02-29"},
        {"2/29/2023", DateOrder::MonthDayYear, std::nullopt},
        {"13/1/2020", DateOrder::MonthDayYear, std::nullopt},
        {"0/1/2020", DateOrder::MonthDayYear, std::nullopt},
        {"4/31/2020", DateOrder::MonthDayYear, std::nullopt},
        {"1/1/10000", DateOrder::MonthDayYear, std::nullopt},
        {"1/1/0", DateOrder::MonthDayYear, "2000-01-01"},
        {"1/1/1/1", DateOrder::MonthDayYear, std::nullopt},
        {"1", DateOrder::MonthDayYear, std::nullopt},
        {"1/", DateOrder::MonthDayYear, std::nullopt},
        {"/1/2", DateOrder::MonthDayYear, std::nullopt},
        {"1.2.2020", DateOrder::MonthDayYear, std::nullopt},
        {"1/2/2020 10:00", DateOrder::MonthDayYear, std::nullopt},
        {"1/2/99999999999999", DateOrder::MonthDayYear, std::nullopt},
        {"", DateOrder::MonthDayYear, std::nullopt},
    };
    for (const ReadCase& testCase : cases) {
        const auto date = readDate(testCase.text, testCase.order, 2024);
        if (!testCase.expected) {
            EXPECT_FALSE(date) << testCase.text;
            continue;
        }
        ASSERT_TRUE(date) << testCase.text;
        EXPECT_EQ(formatDateTime("yyyy-mm-dd", *date), *testCase.expected) << testCase.text;
    }
}

TEST(DateTimeFormatTest, ReadsWithTheLocaleSeparator) {
    LocaleSettings german;
    german.dateSeparator = ".";
    const auto dotted = readDate("24.12.2023", DateOrder::DayMonthYear, 2024, german);
    ASSERT_TRUE(dotted);
    EXPECT_EQ(dayNumber(*dotted), dayNumber(DateTimeParts{2023, 12, 24}));
    EXPECT_TRUE(readDate("24/12/2023", DateOrder::DayMonthYear, 2024, german));
}

TEST(DateTimeFormatTest, ConvertsValuesForDateVariables) {
    EXPECT_EQ(convertDateValue("12/31/1999", "m/d/y", 2024), "12/31/99");
    EXPECT_EQ(convertDateValue("31-12-1999", "dd.mm.yyyy", 2024), "31.12.1999");
    EXPECT_EQ(convertDateValue("2024/3/5", "Default", 2024), std::nullopt);
    EXPECT_EQ(convertDateValue("3/5/2024", "Default", 2024), "3/5/2024");
    EXPECT_EQ(convertDateValue("soon", "Default", 2024), std::nullopt);
}

TEST(DateTimeFormatTest, TakesTheLocalClock) {
    const char* zone = std::getenv("TZ");
    const std::string saved = zone ? zone : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const auto moment = std::chrono::system_clock::time_point(
        std::chrono::milliseconds(951782400123LL)); // 2000-02-29 00:00:00.123 UTC
    const DateTimeParts parts = localDateTime(moment);
    if (zone) {
        ::setenv("TZ", saved.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
    EXPECT_EQ(formatDateTime("yyyy-mm-dd hh:nn:ss.zzz", parts), "2000-02-29 00:00:00.123");
}

} // namespace
} // namespace tomelet
