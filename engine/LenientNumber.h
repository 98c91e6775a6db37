#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// The decimal symbol every number reading and writing uses: the one set through
// [DecimalSymbol], else the locale's decimal separator, else ".".
char decimalSymbol();
// What writing [DecimalSymbol] does: a one-character value becomes the decimal symbol; any
// other value goes back to the locale's.
void assignDecimalSymbol(std::string_view value);

// The forgiving reading of money and user input: digits, "-" and the decimal symbol are
// kept, every "." and "," becomes the decimal symbol, anything else is dropped, and the rest
// is read as a number. 0 when the rest does not read ("$1,234.50" has two separators left)
// or is out of range. "$12.5" -> 12.5, "1,5" -> 1.5, "-3" -> -3.
double readLenientNumber(std::string_view text);

// A 32-bit integer written in decimal: leading spaces, an optional sign, digits, nothing
// after. Nothing for any other text or a value out of range.
std::optional<std::int32_t> readInteger(std::string_view text);
// The same with 0 for a text that does not read, as values written to system variables are.
std::int32_t readIntegerOrZero(std::string_view text);

// `value` in fixed notation with exactly `decimals` decimals (0 to 18, clamped) and the
// current decimal symbol, halves rounded away from zero. The value is taken at 15
// significant digits first so that binary fractions do not leak: 2.675 gives "2.68".
std::string formatFixed(double value, int decimals);

} // namespace tomelet
