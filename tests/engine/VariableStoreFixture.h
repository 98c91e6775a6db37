#pragma once

#include "engine/SystemVariableSource.h"
#include "engine/VariableStore.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tomelet::test {

// Three system variables: a read-only one, a writable one and a clock that shows the moment
// the store hands it.
class FakeSystemVariables : public SystemVariableSource {
public:
    Access access(std::string_view name) const override {
        if (equalsIgnoreCase(name, "PageTitle") || equalsIgnoreCase(name, "Ticks")) {
            return Access::ReadOnly;
        }
        if (equalsIgnoreCase(name, "WindowWidth")) return Access::Writable;
        return Access::None;
    }
    std::string read(std::string_view name, ExpansionTime now) const override {
        if (equalsIgnoreCase(name, "Ticks")) {
            ++clockReads;
            return std::to_string(now.time_since_epoch().count());
        }
        if (equalsIgnoreCase(name, "WindowWidth")) return windowWidth;
        return "Start";
    }
    void write(std::string_view name, std::string_view value) override {
        writes.emplace_back(name, value);
        windowWidth = value;
    }

    std::string windowWidth = "800";
    std::vector<std::pair<std::string, std::string>> writes;
    mutable int clockReads = 0;
};

using Notification = std::pair<std::string, std::optional<std::string>>;

class VariableStoreTest : public ::testing::Test {
protected:
    VariableStoreTest() {
        store.setSystemVariables(&system);
        store.subscribe([this](std::string_view name, std::optional<std::string_view> value) {
            notifications.emplace_back(std::string(name),
                                       value ? std::optional<std::string>(*value) : std::nullopt);
        });
    }

    std::string lastError() const { return store.LookupVariable("LastError"); }
    bool exists(std::string_view name) const { return store.globals().find(name) != nullptr; }

    FakeSystemVariables system;
    VariableStore store;
    std::vector<Notification> notifications;
};

} // namespace tomelet::test
