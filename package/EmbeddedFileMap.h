#pragma once

#include "platform/CodePage.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tomelet {

// A test run's map from embedded file names to the disk files that stand in for them (the
// authoring tool does not copy embedded files into a test run's package).
class EmbeddedFileMap {
public:
    struct Entry {
        std::string name;
        std::string path;
    };

    // EMBEDDEDFILES=: name=path items separated by 0xB6, read as a delimited list (blanks
    // separate items too unless the item is in double quotes; "" inside quotes is one quote).
    // Items without "=", with an empty name or with an empty path are dropped; of items with
    // the same name (without case) the first counts.
    static EmbeddedFileMap parse(std::string_view value);

    bool empty() const { return entries_.empty(); }
    // In the order the list gives them.
    const std::vector<Entry>& entries() const { return entries_; }

    // The disk path for a file name, without case.
    std::optional<std::string_view> find(std::string_view name) const;
    // The disk path for an "embedded:\\\" reference (the prefix without case), or none when the
    // text is not such a reference or names no file of the map.
    std::optional<std::string_view> resolve(std::string_view reference) const;

private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t, CaseInsensitiveHash, CaseInsensitiveEqual>
        indexByName_;
};

} // namespace tomelet
