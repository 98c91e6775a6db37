#pragma once

#include "engine/ScriptError.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

inline constexpr int MaximumArgumentCount = 10;

struct ScriptArguments {
    // Arguments 1..count in values[0..count-1]; the rest are empty.
    std::array<std::string, MaximumArgumentCount> values;
    int count = 0;
    // Set (code -1) when the line ends inside an open argument.
    std::optional<ScriptError> error;

    bool ok() const { return !error; }
    // Argument `number` (1-based); empty outside 1..10.
    const std::string& operator[](int number) const;
};

// Takes the double-quoted texts of a line; text outside quotes, the command word included, is
// ignored. A double quote cannot be written inside an argument (scripts use [#34]). Reading
// stops after the tenth argument, so what follows it is never examined.
ScriptArguments SplitArguments(std::string_view line);

// Error -2 naming `minimum` when `count` lies outside minimum..maximum.
std::optional<ScriptError> CheckArgumentCount(int count, int minimum, int maximum);

} // namespace tomelet
