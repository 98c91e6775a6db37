#include "package/EmbeddedFileMap.h"

#include "package/PublicationValues.h"

namespace tomelet {
namespace {

constexpr std::string_view kEmbeddedPrefix = "embedded:\\\\\\";

bool isBlank(char byte) {
    return static_cast<unsigned char>(byte) <= ' ';
}

// A quoted item starting at `position` (on the opening quote); leaves `position` after the
// closing quote. An item without closing quote runs to the end of the text.
std::string readQuotedItem(std::string_view text, std::size_t& position) {
    std::string item;
    ++position;
    while (position < text.size()) {
        const char byte = text[position++];
        if (byte != '"') {
            item.push_back(byte);
        } else if (position < text.size() && text[position] == '"') {
            item.push_back('"');
            ++position;
        } else {
            break;
        }
    }
    return item;
}

std::vector<std::string> splitDelimitedList(std::string_view text, char delimiter) {
    std::vector<std::string> items;
    std::size_t position = 0;
    const auto skipBlanks = [&] {
        while (position < text.size() && isBlank(text[position]))
            ++position;
    };
    skipBlanks();
    while (position < text.size()) {
        if (text[position] == '"') {
            items.push_back(readQuotedItem(text, position));
        } else {
            const std::size_t start = position;
            while (position < text.size() && !isBlank(text[position]) &&
                   text[position] != delimiter)
                ++position;
            items.emplace_back(text.substr(start, position - start));
        }
        skipBlanks();
        if (position < text.size() && text[position] == delimiter) {
            ++position;
            if (position == text.size()) items.emplace_back();
            skipBlanks();
        }
    }
    return items;
}

} // namespace

EmbeddedFileMap EmbeddedFileMap::parse(std::string_view value) {
    EmbeddedFileMap map;
    for (std::string& item : splitDelimitedList(value, kLineSeparator)) {
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == item.size()) continue;
        Entry entry{item.substr(0, equals), item.substr(equals + 1)};
        if (map.indexByName_.contains(entry.name)) continue;
        map.indexByName_.emplace(entry.name, map.entries_.size());
        map.entries_.push_back(std::move(entry));
    }
    return map;
}

std::optional<std::string_view> EmbeddedFileMap::find(std::string_view name) const {
    const auto found = indexByName_.find(name);
    if (found == indexByName_.end()) return std::nullopt;
    return entries_[found->second].path;
}

std::optional<std::string_view> EmbeddedFileMap::resolve(std::string_view reference) const {
    if (reference.size() <= kEmbeddedPrefix.size() ||
        !equalsIgnoreCase(reference.substr(0, kEmbeddedPrefix.size()), kEmbeddedPrefix))
        return std::nullopt;
    return find(reference.substr(kEmbeddedPrefix.size()));
}

} // namespace tomelet
