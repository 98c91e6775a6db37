#include "engine/ScriptLabels.h"

#include "platform/CodePage.h"

#include <limits>
#include <string>

namespace tomelet {

namespace {

// An integer too large for a line number saturates: it still reads as a number, not a label.
std::optional<int> readLineNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    constexpr long long limit = std::numeric_limits<int>::max();
    long long value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') return std::nullopt;
        if (value < limit) value = value * 10 + (digit - '0');
    }
    if (value > limit) value = limit;
    return static_cast<int>(negative ? -value : value);
}

} // namespace

std::optional<int> FindLabel(const ScriptLines& lines, std::string_view label) {
    std::string wanted(trimScript(label));
    if (wanted.empty() || wanted.front() != ':') wanted.insert(0, 1, ':');
    for (std::size_t index = 0; index < lines.size(); ++index)
        if (equalsIgnoreCase(trimScript(lines[index]), wanted)) return static_cast<int>(index + 1);
    return std::nullopt;
}

std::optional<int> GotoLineDestination(const ScriptLines& lines, std::string_view argument) {
    if (const std::optional<int> number = readLineNumber(argument))
        return *number < 1 ? 1 : *number;
    const std::optional<int> label = FindLabel(lines, argument);
    if (!label) return std::nullopt;
    return *label + 1;
}

} // namespace tomelet
