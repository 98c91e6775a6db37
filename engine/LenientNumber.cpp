#include "engine/LenientNumber.h"

#include "engine/LocaleSettings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tomelet {

namespace {

std::optional<char>& assignedDecimalSymbol() {
    static std::optional<char> symbol;
    return symbol;
}

bool isDigit(char character) {
    return character >= '0' && character <= '9';
}

// "-", digits with at most one decimal point, at least one digit, nothing else.
std::optional<double> readPlainDecimal(const std::string& text) {
    std::size_t position = 0;
    if (position < text.size() && text[position] == '-') ++position;
    bool sawDigit = false;
    bool sawPoint = false;
    for (; position < text.size(); ++position) {
        if (isDigit(text[position])) {
            sawDigit = true;
        } else if (text[position] == '.' && !sawPoint) {
            sawPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (!sawDigit) return std::nullopt;
    errno = 0;
    const double value = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(value)) return std::nullopt;
    return value;
}

} // namespace

char decimalSymbol() {
    if (assignedDecimalSymbol()) return *assignedDecimalSymbol();
    const std::string& separator = currentLocale().decimalSeparator;
    return separator.empty() ? '.' : separator.front();
}

void assignDecimalSymbol(std::string_view value) {
    if (value.size() == 1) {
        assignedDecimalSymbol() = value.front();
    } else {
        assignedDecimalSymbol().reset();
    }
}

double readLenientNumber(std::string_view text) {
    const char symbol = decimalSymbol();
    // Built with "." for the decimal symbol so that strtod reads it in the "C" locale.
    std::string kept;
    kept.reserve(text.size());
    for (char character : text) {
        if (character == '.' || character == ',' || character == symbol) {
            kept += '.';
        } else if (isDigit(character) || character == '-') {
            kept += character;
        }
    }
    return readPlainDecimal(kept).value_or(0.0);
}

std::optional<std::int32_t> readInteger(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ')
        ++start;
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::int32_t readIntegerOrZero(std::string_view text) {
    return readInteger(text).value_or(0);
}

std::string formatFixed(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 18);
    if (!std::isfinite(value)) value = 0.0;
    constexpr int kSignificantDigits = 15;
    // d.dddddddddddddde+XX: the value at 15 significant digits.
    char scientific[40];
    std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1, std::fabs(value));
    std::string digits;
    const char* cursor = scientific;
    for (; *cursor != 'e'; ++cursor) {
        if (isDigit(*cursor)) digits += *cursor;
    }
    const int exponent = std::atoi(cursor + 1);
    // The digits are 0.d1d2...d15 x 10^(exponent + 1); keep those down to the last decimal.
    int integerDigits = exponent + 1;
    const int kept = integerDigits + decimals;
    if (kept < 0) {
        digits.clear();
    } else if (kept < kSignificantDigits) {
        const bool roundUp = digits[static_cast<std::size_t>(kept)] >= '5';
        digits.resize(static_cast<std::size_t>(kept));
        if (roundUp) {
            int position = kept - 1;
            while (position >= 0 && digits[static_cast<std::size_t>(position)] == '9') {
                digits[static_cast<std::size_t>(position)] = '0';
                --position;
            }
            if (position >= 0) {
                ++digits[static_cast<std::size_t>(position)];
            } else {
                digits.insert(digits.begin(), '1');
                ++integerDigits;
            }
        }
    } else {
        digits.append(static_cast<std::size_t>(kept - kSignificantDigits), '0');
    }
    // Leading zeros so that the integer part has at least one digit.
    if (integerDigits < 1) {
        digits.insert(0, static_cast<std::size_t>(1 - integerDigits), '0');
        integerDigits = 1;
    }
    digits.resize(static_cast<std::size_t>(integerDigits + decimals), '0');
    const bool isZero = digits.find_first_not_of('0') == std::string::npos;
    std::string result = (value < 0 && !isZero) ? "-" : "";
    result.append(digits, 0, static_cast<std::size_t>(integerDigits));
    if (decimals > 0) {
        result += decimalSymbol();
        result.append(digits, static_cast<std::size_t>(integerDigits), std::string::npos);
    }
    return result;
}

} // namespace tomelet
