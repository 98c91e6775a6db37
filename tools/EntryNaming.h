#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// How the packer ties entry names, as the publication writes them, to files and types.

// A Text16 field holds at most this many bytes.
inline constexpr std::size_t largestEntryName = std::numeric_limits<std::uint16_t>::max();

inline constexpr std::string_view publicationTextName = "RUNTIME.PUB";

// The UTF-8 text in the publication's code page, or none when the code page lacks one of
// its characters (the name would turn into "?" and never match the publication's).
std::optional<std::string> toCodePageExactly(std::string_view utf8);

// The entry type an entry gets when none is given, by the name's extension: pictures 3,
// fonts 6, plug-in libraries 10, everything else 1.
std::uint8_t defaultEntryType(std::string_view name);

// The "/"-separated file, relative to the publication folder, that holds an entry's data
// when none is given: "embedded:\\\logo.png" and "C:\Work\logo.png" -> "logo.png";
// "pics\logo.png" -> "pics/logo.png". The result is UTF-8.
std::string defaultSourcePath(std::string_view name);

} // namespace tomelet
