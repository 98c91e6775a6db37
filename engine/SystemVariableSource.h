#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace tomelet {

// The moment an expansion reads the clock, taken once per expanded text so that every clock
// variable in one text shows the same time.
using ExpansionTime = std::chrono::system_clock::time_point;

// The system variables ([PageTitle], [Time], [WindowWidth], ...): never stored, computed on
// every read, and some act when written. The variable store asks this source after its
// local and global lists.
class SystemVariableSource {
public:
    enum class Access { None, ReadOnly, Writable };

    virtual ~SystemVariableSource() = default;
    // None for a name that is not a system variable (names compare without case).
    virtual Access access(std::string_view name) const = 0;
    // The current value of a system variable.
    virtual std::string read(std::string_view name, ExpansionTime now) const = 0;
    // Applies the effect of writing a writable system variable.
    virtual void write(std::string_view name, std::string_view value) = 0;
};

} // namespace tomelet
