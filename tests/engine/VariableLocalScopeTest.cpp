#include "VariableStoreFixture.h"
#include "engine/LocalVariableScope.h"

#include <gtest/gtest.h>
#include <tuple>

namespace tomelet::test {
namespace {

TEST_F(VariableStoreTest, LocalIsSeenOnlyByTheRunThatMadeIt) {
    store.SetVariable("[n]", "global");
    {
        LocalVariableScope run(store);
        ASSERT_TRUE(store.DefineVariable("[n]", "String", "", true));
        store.SetVariable("[n]", "outer local");
        EXPECT_EQ(store.LookupVariable("n"), "outer local");
        {
            LocalVariableScope nested(store);
            EXPECT_EQ(store.LookupVariable("n"), "global");
            ASSERT_TRUE(store.DefineVariable("[n]", "Integer", "", true));
            EXPECT_EQ(store.GetVariableType("[n]"), VariableType::Integer);
        }
        EXPECT_EQ(store.LookupVariable("n"), "outer local");
        EXPECT_EQ(store.GetVariableType("[n]"), VariableType::String);
    }
    EXPECT_EQ(store.LookupVariable("n"), "global");
    EXPECT_EQ(store.locals(), nullptr);
}

TEST_F(VariableStoreTest, UntypedLocalSurvivesTheEmptyText) {
    LocalVariableScope run(store);
    ASSERT_TRUE(store.DefineVariable("[tmp]", "Undefined", "", true));
    store.SetVariable("[tmp]", "x");
    store.SetVariable("[tmp]", "");
    store.SetVariable("[tmp]", "y");
    EXPECT_FALSE(exists("tmp"));
    EXPECT_EQ(store.LookupVariable("tmp"), "y");
}

TEST_F(VariableStoreTest, ArgumentlessClearLeavesLocalsAlone) {
    store.SetVariable("[n]", "global");
    LocalVariableScope run(store);
    ASSERT_TRUE(store.DefineVariable("[n]", "String", "", true));
    store.SetVariable("[n]", "local");
    store.ClearVariables("");
    EXPECT_FALSE(exists("n"));
    EXPECT_EQ(store.LookupVariable("n"), "local");
}

using Report = std::tuple<VariableEvent, std::string, std::string, bool, char>;

TEST_F(VariableStoreTest, DebuggerFollowsLocalsOutOfAndBackIntoView) {
    std::vector<Report> reports;
    store.setDebuggerReporter([&](VariableEvent event, std::string_view name,
                                  std::string_view value, bool local, char letter) {
        reports.emplace_back(event, std::string(name), std::string(value), local, letter);
    });
    LocalVariableScope run(store);
    store.DefineVariable("[n]", "Integer", "", true);
    {
        LocalVariableScope nested(store);
        store.DefineVariable("[b]", "Boolean", "", true);
    }
    const std::vector<Report> expected{
        {VariableEvent::Created, "n", "0", true, 'I'},
        {VariableEvent::Deleted, "n", "0", true, 'I'},
        {VariableEvent::Created, "b", "False", true, 'B'},
        {VariableEvent::Deleted, "b", "False", true, 'B'},
        {VariableEvent::Created, "n", "0", true, 'I'},
    };
    EXPECT_EQ(reports, expected);
}

} // namespace
} // namespace tomelet::test
