#include "engine/BooleanWords.h"

#include "platform/CodePage.h"

#include <array>

namespace tomelet {

namespace {

constexpr std::array<std::string_view, 7> kTrueWords{"True", "T", "Yes", "Checked",
                                                     "OK",   "1", "On"};
constexpr std::array<std::string_view, 7> kFalseWords{"False",  "F", "No", "UnChecked",
                                                      "Cancel", "0", "Off"};

std::string_view beforePlus(std::string_view text) {
    return text.substr(0, text.find('+'));
}

bool isOneOf(std::string_view text, const std::array<std::string_view, 7>& words) {
    const std::string_view word = beforePlus(text);
    for (std::string_view candidate : words) {
        if (equalsIgnoreCase(word, candidate)) return true;
    }
    return false;
}

} // namespace

bool isTrueWord(std::string_view text) {
    return isOneOf(text, kTrueWords);
}

bool isFalseWord(std::string_view text) {
    return isOneOf(text, kFalseWords);
}

std::optional<bool> parseBooleanWord(std::string_view text) {
    if (isTrueWord(text)) return true;
    if (isFalseWord(text)) return false;
    return std::nullopt;
}

std::string_view booleanText(bool value) {
    return value ? "True" : "False";
}

} // namespace tomelet
