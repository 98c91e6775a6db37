#include "package/PublicationValues.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace tomelet {
namespace {

bool isBlankOrControl(char byte) {
    return static_cast<unsigned char>(byte) <= ' ' || byte == '\x7F';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

int hexDigitValue(char byte) {
    if (byte >= '0' && byte <= '9') return byte - '0';
    if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
    if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
    return -1;
}

} // namespace

PublicationLine splitPublicationLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {trim(line), {}};
    return {trim(line.substr(0, equals + 1)), line.substr(equals + 1)};
}

std::optional<std::int32_t> readIntegerValue(std::string_view value) {
    std::size_t position = 0;
    while (position < value.size() && value[position] == ' ')
        ++position;
    bool negative = false;
    if (position < value.size() && (value[position] == '-' || value[position] == '+'))
        negative = value[position++] == '-';

    const std::string_view rest = value.substr(position);
    std::string_view digits = rest;
    bool hexadecimal = true;
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X'))
        digits = rest.substr(1);
    else if (rest.starts_with("0x") || rest.starts_with("0X"))
        digits = rest.substr(2);
    else
        hexadecimal = false;
    if (digits.empty()) return std::nullopt;

    // Accumulate the magnitude in 64 bits; stop as soon as it leaves the 32-bit range.
    const std::uint64_t limit =
        hexadecimal ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    std::uint64_t magnitude = 0;
    for (const char byte : digits) {
        const int digit =
            hexadecimal ? hexDigitValue(byte) : (byte >= '0' && byte <= '9' ? byte - '0' : -1);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * (hexadecimal ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    return static_cast<std::int32_t>(bits);
}

bool readBooleanValue(std::string_view value) {
    return equalsIgnoreCase(value, "Yes");
}

std::string readLinesValue(std::string_view value) {
    std::string lines;
    lines.reserve(value.size() +
                  static_cast<std::size_t>(std::ranges::count(value, kLineSeparator)));
    for (const char byte : value) {
        if (byte == kLineSeparator)
            lines += "\r\n";
        else
            lines.push_back(byte);
    }
    return lines;
}

std::string readVariableNameValue(std::string_view value) {
    std::string name(value);
    if (!name.starts_with('[')) name.insert(name.begin(), '[');
    if (!name.ends_with(']')) name.push_back(']');
    const auto opening = std::ranges::count(name, '[');
    const auto closing = std::ranges::count(name, ']');
    if (opening > closing)
        name.push_back(']');
    else if (closing > opening)
        name.insert(name.begin(), '[');
    return name;
}

PagePalette readPaletteValue(std::string_view value) {
    PagePalette palette{};
    std::size_t position = 0;
    for (Colour& entry : palette) {
        const std::size_t blank = value.find(' ', position);
        if (blank == std::string_view::npos) break;
        entry = readIntegerValue(value.substr(position, blank - position)).value_or(0);
        position = blank + 1;
    }
    return palette;
}

std::string readTextValue(KeyValueType type, std::string_view value) {
    switch (type) {
    case KeyValueType::Lines:
        return readLinesValue(value);
    case KeyValueType::VariableName:
        return readVariableNameValue(value);
    default:
        return std::string(value);
    }
}

} // namespace tomelet
