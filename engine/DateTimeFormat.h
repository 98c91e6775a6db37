#pragma once

#include "engine/LocaleSettings.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// A moment on the local calendar and clock.
struct DateTimeParts {
    int year = 1899;
    int month = 12; // 1-12
    int day = 30;   // 1-31
    int hour = 0;   // 0-23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The local time of `moment` (the time zone of the process).
DateTimeParts localDateTime(std::chrono::system_clock::time_point moment);

// 0 Sunday ... 6 Saturday.
int dayOfWeek(const DateTimeParts& date);

// Days since 30 December 1899, the day count of DateToNum and NumToDate (the time is
// ignored): 31 December 1999 is 36525.
std::int64_t dayNumber(const DateTimeParts& date);
// The date of a day count, at midnight; nothing outside the years 1 to 9999.
std::optional<DateTimeParts> dateFromDayNumber(std::int64_t days);

// Writes `date` by a format text of the platform's date-format language, letters without
// case:
//   d dd          day of the month, without / with leading zero
//   ddd dddd      short / long weekday name
//   ddddd dddddd  the locale's short / long date format
//   m mm          month, without / with leading zero (minutes right after an hour: "h:mm")
//   mmm mmmm      short / long month name
//   y yy          two-digit year; yyy yyyy four digits
//   h hh          hour, without / with leading zero; 12-hour clock when an am/pm
//                 specifier follows before the next hour
//   n nn  s ss    minutes, seconds, without / with leading zero
//   z zzz         milliseconds, without / with leading zeros
//   ampm          the locale's morning or afternoon text
//   am/pm a/p     "am"/"pm" ("a"/"p") in the letter case written
//   c t tt        short date and long time; short time; long time
//   /  :          the locale's date and time separators
//   "..." '...'   copied as written
// Any other character is copied.
std::string formatDateTime(std::string_view format, const DateTimeParts& date,
                           const LocaleSettings& locale = currentLocale());

// The order in which a date text gives its numbers.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The order a Date format asks for: its first letter that is D (day first), E or Y (year
// first) or M (month first), without case. A format with none of them, or "Default", takes
// the order of the locale's short date format, and month first when that names none.
DateOrder dateOrderOfFormat(std::string_view format,
                            const LocaleSettings& locale = currentLocale());

// The format a Date variable writes with: "Default" (without case) is the locale's short
// date format, any other text itself.
std::string effectiveDateFormat(std::string_view format,
                                const LocaleSettings& locale = currentLocale());

// Reads a date given as numbers in `order`, separated by the locale's date separator (every
// "-", "\" and "/" counts as one). Spaces around the numbers are allowed. Two numbers are the
// day and month of `currentYear`; a year of one or two digits lies within 50 years before
// and after `currentYear`. Nothing when the text is not a valid date.
std::optional<DateTimeParts> readDate(std::string_view text, DateOrder order, int currentYear,
                                      const LocaleSettings& locale = currentLocale());

// A value converted for a Date variable of format `format`: read in the format's order,
// written with the format. Nothing when the value is not a date.
std::optional<std::string> convertDateValue(std::string_view value, std::string_view format,
                                            int currentYear,
                                            const LocaleSettings& locale = currentLocale());

} // namespace tomelet
