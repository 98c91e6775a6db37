#include "engine/ScriptArguments.h"

#include <string>

namespace tomelet {

namespace {

constexpr int MissingQuotationMarkMessage = 241;
constexpr int WrongArgumentCountMessage = 239;

} // namespace

const std::string& ScriptArguments::operator[](int number) const {
    static const std::string none;
    if (number < 1 || number > MaximumArgumentCount) return none;
    return values[static_cast<std::size_t>(number) - 1];
}

ScriptArguments SplitArguments(std::string_view line) {
    ScriptArguments arguments;
    std::size_t position = 0;
    while (arguments.count < MaximumArgumentCount) {
        const std::size_t open = line.find('"', position);
        if (open == std::string_view::npos) break;
        const std::size_t close = line.find('"', open + 1);
        if (close == std::string_view::npos) {
            arguments.error =
                MakeScriptError(MissingQuotationMarkCode, MissingQuotationMarkMessage);
            break;
        }
        arguments.values[static_cast<std::size_t>(arguments.count++)] =
            line.substr(open + 1, close - open - 1);
        position = close + 1;
    }
    return arguments;
}

std::optional<ScriptError> CheckArgumentCount(int count, int minimum, int maximum) {
    if (count >= minimum && count <= maximum) return std::nullopt;
    return MakeScriptError(WrongArgumentCountCode, WrongArgumentCountMessage,
                           std::to_string(minimum));
}

} // namespace tomelet
