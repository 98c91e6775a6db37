#pragma once

#include <array>
#include <string>

namespace tomelet {

// What dates, times and numbers look like for the user. The defaults are English (United
// States) as Windows gives it; the platform replaces the record at start-up with the user's
// locale. Format texts use the date-format language of DateTimeFormat.h.
struct LocaleSettings {
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    // Empty when the locale gives none; numbers then use ".".
    std::string decimalSeparator = ".";
    std::string currencySymbol = "$";
    std::string shortDateFormat = "m/d/yyyy";
    std::string longDateFormat = "dddd, mmmm d, yyyy";
    std::string shortTimeFormat = "h:nn ampm";
    std::string longTimeFormat = "h:nn:ss ampm";
    std::string morningText = "AM";
    std::string afternoonText = "PM";
    // January first.
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    // Sunday first.
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

// The locale of the process; English (United States) until the platform sets another.
const LocaleSettings& currentLocale();
void setCurrentLocale(LocaleSettings locale);

} // namespace tomelet
