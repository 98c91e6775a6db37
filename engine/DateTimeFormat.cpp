#include "engine/DateTimeFormat.h"

#include "platform/CodePage.h"

#include <ctime>
#include <vector>

namespace tomelet {

namespace {

// Days from 1 January 1970 to 30 December 1899, the day count's origin.
constexpr std::int64_t kOriginFromUnixEpoch = -25569;
constexpr int kMaximumNesting = 2;
constexpr int kCenturyWindow = 50;

char upperAscii(char character) {
    return (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A')
                                                  : character;
}

bool isDigit(char character) {
    return character >= '0' && character <= '9';
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (month == 2 && isLeapYear(year)) ? 29 : kDays[month - 1];
}

// Proleptic Gregorian calendar, after H. Hinnant's days_from_civil.
std::int64_t daysFromUnixEpoch(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::string padded(int value, int width) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    }
    return text;
}

bool startsWithIgnoreCase(std::string_view text, std::size_t position, std::string_view word) {
    return text.size() - position >= word.size() &&
           equalsIgnoreCase(text.substr(position, word.size()), word);
}

// An hour uses the 12-hour clock when an am/pm specifier follows before the next hour.
bool twelveHourClockFollows(std::string_view format, std::size_t position) {
    while (position < format.size()) {
        const char character = format[position];
        if (character == '"' || character == '\'') {
            const std::size_t close = format.find(character, position + 1);
            if (close == std::string_view::npos) return false;
            position = close + 1;
            continue;
        }
        if (upperAscii(character) == 'H') return false;
        if (startsWithIgnoreCase(format, position, "ampm") ||
            startsWithIgnoreCase(format, position, "am/pm") ||
            startsWithIgnoreCase(format, position, "a/p")) {
            return true;
        }
        ++position;
    }
    return false;
}

class DateTimeWriter {
public:
    DateTimeWriter(const DateTimeParts& date, const LocaleSettings& locale)
        : date_(date), locale_(locale) {}

    void write(std::string_view format, int nesting) {
        char lastLetter = 0;
        std::size_t position = 0;
        while (position < format.size()) {
            const char written = format[position];
            char token = upperAscii(written);
            std::size_t count = 1;
            while (position + count < format.size() &&
                   upperAscii(format[position + count]) == token) {
                ++count;
            }
            if (token >= 'A' && token <= 'Z') {
                if (token == 'M' && lastLetter == 'H') token = 'N';
                lastLetter = token;
            }
            switch (token) {
            case 'Y':
                output_ += count <= 2 ? padded(date_.year % 100, 2) : padded(date_.year, 4);
                break;
            case 'M':
                writeMonth(count);
                break;
            case 'D':
                writeDay(count, nesting);
                break;
            case 'H': {
                int hour = date_.hour;
                if (twelveHourClockFollows(format, position + count)) {
                    hour %= 12;
                    if (hour == 0) hour = 12;
                }
                output_ += padded(hour, count >= 2 ? 2 : 1);
                break;
            }
            case 'N':
                output_ += padded(date_.minute, count >= 2 ? 2 : 1);
                break;
            case 'S':
                output_ += padded(date_.second, count >= 2 ? 2 : 1);
                break;
            case 'Z':
                output_ += padded(date_.millisecond, count >= 2 ? 3 : 1);
                break;
            case 'T':
                nested(count == 1 ? locale_.shortTimeFormat : locale_.longTimeFormat, nesting);
                break;
            case 'C':
                count = 1;
                nested(locale_.shortDateFormat, nesting);
                if (date_.hour != 0 || date_.minute != 0 || date_.second != 0 ||
                    date_.millisecond != 0) {
                    output_ += ' ';
                    nested(locale_.longTimeFormat, nesting);
                }
                break;
            case 'A':
                count = writeMorningOrAfternoon(format, position);
                break;
            case '/':
                count = 1;
                output_ += locale_.dateSeparator;
                break;
            case ':':
                count = 1;
                output_ += locale_.timeSeparator;
                break;
            case '"':
            case '\'': {
                const std::size_t close = format.find(written, position + 1);
                const std::size_t end = close == std::string_view::npos ? format.size() : close;
                output_.append(format.substr(position + 1, end - position - 1));
                count = (end == format.size() ? end : end + 1) - position;
                break;
            }
            default:
                count = 1;
                output_ += written;
                break;
            }
            position += count;
        }
    }

    std::string take() { return std::move(output_); }

private:
    void writeMonth(std::size_t count) {
        if (count <= 2) {
            output_ += padded(date_.month, static_cast<int>(count));
        } else {
            const auto& names = count == 3 ? locale_.shortMonthNames : locale_.longMonthNames;
            output_ += names[static_cast<std::size_t>(date_.month - 1)];
        }
    }

    void writeDay(std::size_t count, int nesting) {
        const auto weekday = static_cast<std::size_t>(dayOfWeek(date_));
        switch (count) {
        case 1:
        case 2:
            output_ += padded(date_.day, static_cast<int>(count));
            break;
        case 3:
            output_ += locale_.shortDayNames[weekday];
            break;
        case 4:
            output_ += locale_.longDayNames[weekday];
            break;
        case 5:
            nested(locale_.shortDateFormat, nesting);
            break;
        default:
            nested(locale_.longDateFormat, nesting);
            break;
        }
    }

    // The characters of the format it used.
    std::size_t writeMorningOrAfternoon(std::string_view format, std::size_t position) {
        const bool afternoon = date_.hour >= 12;
        if (startsWithIgnoreCase(format, position, "ampm")) {
            output_ += afternoon ? locale_.afternoonText : locale_.morningText;
            return 4;
        }
        if (startsWithIgnoreCase(format, position, "am/pm")) {
            output_.append(format.substr(position + (afternoon ? 3 : 0), 2));
            return 5;
        }
        if (startsWithIgnoreCase(format, position, "a/p")) {
            output_ += format[position + (afternoon ? 2 : 0)];
            return 3;
        }
        output_ += format[position];
        return 1;
    }

    // The locale's own formats may name one another; the nesting bound stops a loop.
    void nested(std::string_view format, int nesting) {
        if (nesting < kMaximumNesting) write(format, nesting + 1);
    }

    const DateTimeParts& date_;
    const LocaleSettings& locale_;
    std::string output_;
};

std::optional<DateOrder> orderOfFirstLetter(std::string_view format) {
    for (char character : format) {
        switch (upperAscii(character)) {
        case 'D':
            return DateOrder::DayMonthYear;
        case 'E':
        case 'Y':
            return DateOrder::YearMonthDay;
        case 'M':
            return DateOrder::MonthDayYear;
        default:
            break;
        }
    }
    return std::nullopt;
}

bool isDefaultWord(std::string_view format) {
    return equalsIgnoreCase(format, "Default");
}

struct DateNumber {
    int value = 0;
    std::size_t digits = 0;
};

} // namespace

DateTimeParts localDateTime(std::chrono::system_clock::time_point moment) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto sinceEpoch = moment.time_since_epoch();
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000;
    return DateTimeParts{local.tm_year + 1900,
                         local.tm_mon + 1,
                         local.tm_mday,
                         local.tm_hour,
                         local.tm_min,
                         local.tm_sec,
                         static_cast<int>(milliseconds < 0 ? milliseconds + 1000 : milliseconds)};
}

int dayOfWeek(const DateTimeParts& date) {
    // 30 December 1899 was a Saturday.
    const std::int64_t days = dayNumber(date);
    return static_cast<int>(((days % 7) + 7 + 6) % 7);
}

std::int64_t dayNumber(const DateTimeParts& date) {
    return daysFromUnixEpoch(date.year, date.month, date.day) - kOriginFromUnixEpoch;
}

std::optional<DateTimeParts> dateFromDayNumber(std::int64_t days) {
    const std::int64_t first = dayNumber(DateTimeParts{1, 1, 1});
    const std::int64_t last = dayNumber(DateTimeParts{9999, 12, 31});
    if (days < first || days > last) return std::nullopt;
    // H. Hinnant's civil_from_days.
    const std::int64_t z = days + kOriginFromUnixEpoch + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return DateTimeParts{year, month, day};
}

std::string formatDateTime(std::string_view format, const DateTimeParts& date,
                           const LocaleSettings& locale) {
    DateTimeWriter writer(date, locale);
    writer.write(format, 0);
    return writer.take();
}

DateOrder dateOrderOfFormat(std::string_view format, const LocaleSettings& locale) {
    if (!isDefaultWord(format)) {
        if (auto order = orderOfFirstLetter(format)) return *order;
    }
    return orderOfFirstLetter(locale.shortDateFormat).value_or(DateOrder::MonthDayYear);
}

std::string effectiveDateFormat(std::string_view format, const LocaleSettings& locale) {
    return isDefaultWord(format) ? locale.shortDateFormat : std::string(format);
}

std::optional<DateTimeParts> readDate(std::string_view text, DateOrder order, int currentYear,
                                      const LocaleSettings& locale) {
    const std::string separator = locale.dateSeparator.empty() ? "/" : locale.dateSeparator;
    std::string unified;
    for (char character : text) {
        if (character == '-' || character == '\\' || character == '/') {
            unified += separator;
        } else {
            unified += character;
        }
    }
    constexpr std::size_t kMaximumDigits = 9;
    std::vector<DateNumber> numbers;
    std::size_t position = 0;
    auto skipSpaces = [&] {
        while (position < unified.size() && unified[position] == ' ')
            ++position;
    };
    while (true) {
        skipSpaces();
        DateNumber number;
        while (position < unified.size() && isDigit(unified[position])) {
            if (++number.digits > kMaximumDigits) return std::nullopt;
            number.value = number.value * 10 + (unified[position] - '0');
            ++position;
        }
        if (number.digits == 0 || numbers.size() == 3) return std::nullopt;
        numbers.push_back(number);
        skipSpaces();
        if (position == unified.size()) break;
        if (unified.compare(position, separator.size(), separator) != 0) return std::nullopt;
        position += separator.size();
    }
    if (numbers.size() < 2) return std::nullopt;

    DateNumber year{currentYear, 4};
    int month = 0;
    int day = 0;
    if (numbers.size() == 2) {
        const bool dayFirst = order == DateOrder::DayMonthYear;
        day = numbers[dayFirst ? 0 : 1].value;
        month = numbers[dayFirst ? 1 : 0].value;
    } else if (order == DateOrder::MonthDayYear) {
        month = numbers[0].value, day = numbers[1].value, year = numbers[2];
    } else if (order == DateOrder::DayMonthYear) {
        day = numbers[0].value, month = numbers[1].value, year = numbers[2];
    } else {
        year = numbers[0], month = numbers[1].value, day = numbers[2].value;
    }
    if (year.digits <= 2) {
        const int centuryBase = currentYear - kCenturyWindow;
        year.value += centuryBase / 100 * 100;
        if (year.value < centuryBase) year.value += 100;
    }
    if (year.value < 1 || year.value > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year.value, month)) {
        return std::nullopt;
    }
    return DateTimeParts{year.value, month, day};
}

std::optional<std::string> convertDateValue(std::string_view value, std::string_view format,
                                            int currentYear, const LocaleSettings& locale) {
    const auto date = readDate(value, dateOrderOfFormat(format, locale), currentYear, locale);
    if (!date) return std::nullopt;
    return formatDateTime(effectiveDateFormat(format, locale), *date, locale);
}

} // namespace tomelet
