#include "engine/VariableExpansion.h"

#include <vector>

namespace tomelet {

std::string BracketName(std::string_view text) {
    if (text.empty()) return {};
    std::string name;
    name.reserve(text.size() + 3);
    if (text.front() != '[') name += '[';
    name += text;
    if (name.back() != ']') name += ']';
    // The leading "[" is counted once, whatever the first character of `text` was.
    std::size_t opening = 1;
    std::size_t closing = 0;
    for (std::size_t index = 1; index < name.size(); ++index) {
        if (name[index] == '[') ++opening;
        if (name[index] == ']') ++closing;
    }
    if (opening > closing) name += ']';
    if (closing > opening) name.insert(name.begin(), '[');
    return name;
}

std::string expandVariableReferences(std::string_view text, bool numeric, bool nameOnly,
                                     const VariableValueAppender& appendValue) {
    std::string expanded;
    // The names of all open references, innermost last, share one buffer; each open
    // reference remembers where its name starts. A closed inner reference is replaced in
    // the buffer by its value, which so becomes part of the enclosing name.
    std::string openNames;
    std::vector<std::size_t> nameStarts;
    std::string name;
    for (const char character : text) {
        if (character == '[') {
            nameStarts.push_back(openNames.size());
            continue;
        }
        if (nameStarts.empty()) {
            if (character == ']') break;
            expanded += character;
            continue;
        }
        if (character != ']') {
            openNames += character;
            continue;
        }
        const std::size_t start = nameStarts.back();
        if (start == openNames.size()) continue; // "[]": the name goes on accumulating
        name.assign(openNames, start);
        openNames.resize(start);
        nameStarts.pop_back();
        if (!nameStarts.empty()) {
            appendValue(name, openNames);
        } else if (nameOnly) {
            expanded += name;
        } else {
            const std::size_t before = expanded.size();
            appendValue(name, expanded);
            if (numeric && expanded.size() == before) expanded += '0';
        }
    }
    return expanded;
}

} // namespace tomelet
