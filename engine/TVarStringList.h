#pragma once

#include "engine/VariableTypes.h"
#include "platform/CodePage.h"

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tomelet {

// What DefineVar gave a variable: its type and format (decimals for Decimal, the date format
// for Date). A variable without one is untyped.
struct TGenericVarInfo {
    VariableType type = VariableType::Undefined;
    std::string format;
};

// One Name=Value line. The value may hold line breaks; it is one line all the same.
struct VarLine {
    std::string name;
    std::string value;
    std::unique_ptr<TGenericVarInfo> info;
};

// Name=Value lines in the order they were added, found by name without case through a hash
// index. Removing a line leaves the order of the others and every other line's address as
// they were.
class TVarStringList {
public:
    using Lines = std::list<VarLine>;

    TVarStringList() = default;
    TVarStringList(const TVarStringList&) = delete;
    TVarStringList& operator=(const TVarStringList&) = delete;

    // The line of that name, or null.
    VarLine* find(std::string_view name);
    const VarLine* find(std::string_view name) const;
    // Adds a line at the end; when a line of that name exists, that line takes the value and
    // the info instead and keeps its place.
    VarLine& add(std::string_view name, std::string_view value,
                 std::unique_ptr<TGenericVarInfo> info = nullptr);
    // False when no line has that name.
    bool remove(std::string_view name);
    void clear();

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    Lines::const_iterator begin() const { return lines_.begin(); }
    Lines::const_iterator end() const { return lines_.end(); }

private:
    Lines lines_;
    // Keys view the names inside the lines, which never move while their line exists.
    std::unordered_map<std::string_view, Lines::iterator, CaseInsensitiveHash, CaseInsensitiveEqual>
        index_;
};

} // namespace tomelet
