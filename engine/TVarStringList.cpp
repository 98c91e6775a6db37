#include "engine/TVarStringList.h"

namespace tomelet {

VarLine* TVarStringList::find(std::string_view name) {
    const auto found = index_.find(name);
    return found == index_.end() ? nullptr : &*found->second;
}

const VarLine* TVarStringList::find(std::string_view name) const {
    const auto found = index_.find(name);
    return found == index_.end() ? nullptr : &*found->second;
}

VarLine& TVarStringList::add(std::string_view name, std::string_view value,
                             std::unique_ptr<TGenericVarInfo> info) {
    if (VarLine* existing = find(name)) {
        existing->value = value;
        existing->info = std::move(info);
        return *existing;
    }
    lines_.push_back(VarLine{std::string(name), std::string(value), std::move(info)});
    const auto line = std::prev(lines_.end());
    index_.emplace(std::string_view(line->name), line);
    return *line;
}

bool TVarStringList::remove(std::string_view name) {
    const auto found = index_.find(name);
    if (found == index_.end()) return false;
    const auto line = found->second;
    index_.erase(found);
    lines_.erase(line);
    return true;
}

void TVarStringList::clear() {
    index_.clear();
    lines_.clear();
}

} // namespace tomelet
