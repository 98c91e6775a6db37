#pragma once

#include "engine/SystemVariableProviders.h"
#include "engine/SystemVariableSource.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// The 69 system variables, in the order of their table. Each value is computed on reading,
// from the bound providers or, for the clock, the version texts, the decimal symbol, the page
// number offset and the current folder, here.
class SystemVariables : public SystemVariableSource {
public:
    struct Entry {
        std::string_view name;
        Access access;
    };
    static constexpr std::size_t kCount = 69;
    static const std::array<Entry, kCount>& table();

    // Told after writing [PageNumberOffset], once for each variable that shows a page number:
    // the upper-case bracketed name ("[PAGENUMBER]") and its new value.
    using VariableChanged = std::function<void(std::string_view name, std::string_view value)>;
    // Sets [LastError] when writing fails.
    using LastErrorSetter = std::function<void(std::string_view message)>;

    SystemVariables() = default;

    void bind(const SystemVariableProviders& providers) { providers_ = providers; }
    const SystemVariableProviders& providers() const { return providers_; }
    void setVariableChangedCallback(VariableChanged callback) {
        variableChanged_ = std::move(callback);
    }
    void setLastErrorSetter(LastErrorSetter setter) { setLastError_ = std::move(setter); }

    // The table line of a name, without case.
    static std::optional<std::size_t> indexOf(std::string_view name);

    Access access(std::string_view name) const override;
    // Empty for a name that is not a system variable.
    std::string read(std::string_view name, ExpansionTime now) const override;
    // Does nothing for a read-only or unknown name; the store reports those.
    void write(std::string_view name, std::string_view value) override;

    int pageNumberOffset() const { return pageNumberOffset_; }

private:
    std::string readEntry(std::size_t index, ExpansionTime now) const;
    int pageIndex() const;
    void writePageNumberOffset(std::string_view value);
    void writeCurrentDirectory(std::string_view value);

    SystemVariableProviders providers_;
    VariableChanged variableChanged_;
    LastErrorSetter setLastError_;
    int pageNumberOffset_ = 0;
};

} // namespace tomelet
