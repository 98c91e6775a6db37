#include "engine/VariableTypes.h"

#include "engine/BooleanWords.h"
#include "engine/DateTimeFormat.h"
#include "engine/LenientNumber.h"
#include "platform/CodePage.h"
#include "services/Messages.h"

#include <array>
#include <chrono>

namespace tomelet {

namespace {

struct TypeDescription {
    VariableType type;
    std::string_view name;
    char letter;
};

constexpr std::array<TypeDescription, 7> typeDescriptions{{
    {VariableType::Undefined, "Undefined", 'U'},
    {VariableType::String, "String", 'S'},
    {VariableType::Integer, "Integer", 'I'},
    {VariableType::Currency, "Currency", 'C'},
    {VariableType::Decimal, "Decimal", 'P'},
    {VariableType::Boolean, "Boolean", 'B'},
    {VariableType::Date, "Date", 'D'},
}};

const TypeDescription& describe(VariableType type) {
    return typeDescriptions[static_cast<std::size_t>(type)];
}

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

constexpr int defaultDecimals = 2;

int decimalsOfFormat(std::string_view format) {
    return readInteger(format).value_or(defaultDecimals);
}

std::string messageWithValue(int number, std::string_view value) {
    std::string text = GetMessageText(number);
    const auto placeholder = text.find("%s");
    if (placeholder != std::string::npos) text.replace(placeholder, 2, value);
    return text;
}

int currentYear() {
    return localDateTime(std::chrono::system_clock::now()).year;
}

} // namespace

std::optional<VariableType> variableTypeFromName(std::string_view name) {
    const std::string_view trimmed = trimSpaces(name);
    for (const TypeDescription& description : typeDescriptions) {
        if (equalsIgnoreCase(trimmed, description.name)) return description.type;
    }
    return std::nullopt;
}

std::string_view variableTypeName(VariableType type) {
    return describe(type).name;
}

char variableTypeLetter(VariableType type) {
    return describe(type).letter;
}

std::string defaultVariableValue(VariableType type, std::string_view format) {
    switch (type) {
    case VariableType::Integer:
        return "0";
    case VariableType::Currency:
        return formatFixed(0, 2);
    case VariableType::Decimal:
        return formatFixed(0, decimalsOfFormat(format));
    case VariableType::Boolean:
        return std::string(booleanText(false));
    case VariableType::Undefined:
    case VariableType::String:
    case VariableType::Date:
        break;
    }
    return {};
}

TypedValue convertValueToType(std::string_view value, VariableType type, std::string_view format) {
    if (value.empty()) return {defaultVariableValue(type, format), {}};
    switch (type) {
    case VariableType::Undefined:
    case VariableType::String:
        return {std::string(value), {}};
    case VariableType::Integer:
        if (const auto number = readInteger(value)) return {std::to_string(*number), {}};
        return {std::nullopt, messageWithValue(324, value)};
    case VariableType::Currency:
        return {formatFixed(readLenientNumber(value), 2), {}};
    case VariableType::Decimal:
        return {formatFixed(readLenientNumber(value), decimalsOfFormat(format)), {}};
    case VariableType::Boolean:
        if (const auto truth = parseBooleanWord(value)) {
            return {std::string(booleanText(*truth)), {}};
        }
        return {std::nullopt, messageWithValue(327, value)};
    case VariableType::Date:
        if (auto date = convertDateValue(value, format, currentYear()))
            return {std::move(date), {}};
        return {std::nullopt, messageWithValue(328, value)};
    }
    return {std::string(value), {}};
}

std::string convertValueOnTypeChange(std::string_view value, VariableType oldType,
                                     std::string_view oldFormat, VariableType newType,
                                     std::string_view newFormat) {
    if (oldType == VariableType::Date && newType == VariableType::Date && !value.empty()) {
        const auto date = readDate(value, dateOrderOfFormat(oldFormat), currentYear());
        if (!date) return defaultVariableValue(newType, newFormat);
        return formatDateTime(effectiveDateFormat(newFormat), *date);
    }
    TypedValue converted = convertValueToType(value, newType, newFormat);
    if (!converted.value) return defaultVariableValue(newType, newFormat);
    return std::move(*converted.value);
}

} // namespace tomelet
