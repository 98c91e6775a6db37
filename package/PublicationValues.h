#pragma once

#include "package/PublicationKeys.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// The lexical rules of the publication text, shared by the reader and by the object classes
// that interpret their own keys.

// A colour integer: blue*65536 + green*256 + red, or a platform system colour (negative).
using Colour = std::int32_t;
// Transparent-colour values with a meaning of their own.
inline constexpr Colour kImageOwnTransparentColour = 536870912;
inline constexpr Colour kNoTransparentColour = 536870911;

// The byte that separates the lines of a multi-line value.
inline constexpr char kLineSeparator = '\xB6';

struct PublicationLine {
    // A key line's key up to and including its first "=", or a marker line's marker; trimmed
    // of blanks and control characters (bytes up to 0x20 and 0x7F).
    std::string_view key;
    // Everything after the first "=", untouched; empty for a marker line.
    std::string_view value;
};

PublicationLine splitPublicationLine(std::string_view line);

// Decimal with optional leading blanks and sign; "$", "x" or "0x" (any case) after the sign
// make it hexadecimal, up to 32 bits, which wrap to a negative number above 0x7FFFFFFF. Any
// other text, trailing characters, an empty number or a decimal outside the 32-bit range is
// malformed and yields none: the key line is then ignored like one with an empty value.
// Colours are read the same way.
std::optional<std::int32_t> readIntegerValue(std::string_view value);

// True exactly for "Yes" in any case; everything else is false.
bool readBooleanValue(std::string_view value);

// Every line separator becomes CR LF.
std::string readLinesValue(std::string_view value);

// Completes the brackets of a variable name: "[" in front and "]" at the end when missing,
// then one "]" appended when "[" outnumber "]", or one "[" prepended when "]" outnumber "[".
std::string readVariableNameValue(std::string_view value);

// A page's 256 palette colours.
using PagePalette = std::array<Colour, 256>;

// PAGEPALETTE=: each colour is a decimal integer followed by one blank. An entry without a
// following blank, a missing entry and a malformed one are black.
PagePalette readPaletteValue(std::string_view value);

// A value as the model keeps it: lines and variable names converted, others unchanged.
std::string readTextValue(KeyValueType type, std::string_view value);

} // namespace tomelet
