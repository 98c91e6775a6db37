#pragma once

#include <string>
#include <string_view>

namespace tomelet {

// A script-level error: a negative code and the text the interpreter reports for it.
struct ScriptError {
    int code = 0;
    std::string message;

    friend bool operator==(const ScriptError&, const ScriptError&) = default;
};

// Codes of the errors found while reading a line's arguments.
inline constexpr int MissingQuotationMarkCode = -1;
inline constexpr int WrongArgumentCountCode = -2;

// The error with message `messageNumber` of the message table, its first "%s" (if any)
// replaced by `insertion`.
ScriptError MakeScriptError(int code, int messageNumber, std::string_view insertion = {});

} // namespace tomelet
