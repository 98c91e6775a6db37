#include "engine/ScriptText.h"

#include "platform/CodePage.h"

namespace tomelet {

std::string_view trimScriptLeft(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isScriptWhiteSpace(text[start]))
        ++start;
    return text.substr(start);
}

std::string_view trimScript(std::string_view text) {
    text = trimScriptLeft(text);
    std::size_t end = text.size();
    while (end > 0 && isScriptWhiteSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}

ScriptLines SplitScript(std::string_view text) {
    ScriptLines lines;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(position));
            break;
        }
        lines.emplace_back(text.substr(position, end - position));
        position = end + 1;
        if (text[end] == '\r' && position < text.size() && text[position] == '\n') ++position;
    }
    return lines;
}

std::string_view GetLine(const ScriptLines& lines, int number) {
    if (number < 1 || static_cast<std::size_t>(number) > lines.size()) return {};
    return trimScriptLeft(lines[static_cast<std::size_t>(number) - 1]);
}

bool beginsWithDebugOff(std::string_view scriptText) {
    constexpr std::string_view keyword = "DebugOff";
    return scriptText.size() >= keyword.size() &&
           equalsIgnoreCase(scriptText.substr(0, keyword.size()), keyword);
}

} // namespace tomelet
