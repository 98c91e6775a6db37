#include "engine/ScriptCommandWord.h"

#include "engine/ScriptText.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace tomelet {

std::string_view CommandWord(std::string_view line) {
    const std::string_view trimmed = trimScript(line);
    const std::size_t space = trimmed.find(' ');
    const std::size_t quote = trimmed.find('"');
    if (space == std::string_view::npos || quote == std::string_view::npos) return trimmed;
    return trimmed.substr(0, std::min(space, quote));
}

std::string UpperCommandWord(std::string_view line) {
    return upper(CommandWord(line));
}

} // namespace tomelet
