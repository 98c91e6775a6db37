#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// The types DefineVar gives a variable; the numbers are the codes GetVariableType returns.
enum class VariableType : std::uint8_t {
    Undefined = 0,
    String = 1,
    Integer = 2,
    Currency = 3,
    Decimal = 4,
    Boolean = 5,
    Date = 6,
};

// The type a DefineVar type name stands for ("Integer", "currency", " Date "), or nothing.
std::optional<VariableType> variableTypeFromName(std::string_view name);
std::string_view variableTypeName(VariableType type);
// The letter the debugger shows for the type: U, S, I, C, P, B, D.
char variableTypeLetter(VariableType type);

// The value of a new variable of the type; `format` gives a Decimal's number of decimals.
std::string defaultVariableValue(VariableType type, std::string_view format);

// A value as a variable of the type stores it, or the message for [LastError] when the value
// does not fit the type.
struct TypedValue {
    std::optional<std::string> value;
    std::string error;
};

// Converts a value for a variable of `type` with `format` (decimals for Decimal, the date
// format for Date). An empty value becomes the type's default.
TypedValue convertValueToType(std::string_view value, VariableType type, std::string_view format);

// A variable's value when DefineVar changes its type or format: converted without any report,
// a Date read with its old format and written with the new one, and the new type's default
// when the value does not fit.
std::string convertValueOnTypeChange(std::string_view value, VariableType oldType,
                                     std::string_view oldFormat, VariableType newType,
                                     std::string_view newFormat);

} // namespace tomelet
