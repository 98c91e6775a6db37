#include "VariableStoreFixture.h"

#include <gtest/gtest.h>
#include <tuple>

namespace tomelet::test {
namespace {

TEST_F(VariableStoreTest, NotifiesChangesDeletionsAndAbsentVariablesButNotRepeats) {
    store.SetVariable("[Total]", "1");
    store.SetVariable("total", "1");
    store.SetVariable("[total]", "2");
    store.SetVariable("[Total]", "");
    store.SetVariable("[Gone]", "");
    const std::vector<Notification> expected{
        {"[TOTAL]", "1"}, {"[TOTAL]", "2"}, {"[TOTAL]", ""}, {"[GONE]", ""}};
    EXPECT_EQ(notifications, expected);
}

TEST_F(VariableStoreTest, TypedVariableNotifiesTheStoredTextAndNotAnEqualConversion) {
    store.DefineVariable("[n]", "Integer", "", false);
    notifications.clear();
    store.SetVariable("[n]", "07");
    store.SetVariable("[n]", "7");
    store.SetVariable("[n]", "+7");
    EXPECT_EQ(notifications, (std::vector<Notification>{{"[N]", "7"}}));
}

TEST_F(VariableStoreTest, NotificationWithoutValueReachesListeners) {
    store.notifyVariableChanged("PageNumber", std::nullopt);
    EXPECT_EQ(notifications, (std::vector<Notification>{{"[PAGENUMBER]", std::nullopt}}));
}

TEST_F(VariableStoreTest, ListenersMaySubscribeUnsubscribeAndAssignWhileNotified) {
    std::vector<std::string> seen;
    int second = 0;
    const int first = store.subscribe([&](std::string_view name, auto) {
        seen.emplace_back(name);
        if (name == "[A]") {
            store.unsubscribe(second);
            store.subscribe([&](std::string_view later, auto) {
                seen.push_back("late " + std::string(later));
            });
            store.SetVariable("[b]", "from listener");
        }
    });
    second = store.subscribe(
        [&](std::string_view name, auto) { seen.push_back("second " + std::string(name)); });
    store.SetVariable("[a]", "1");
    store.unsubscribe(first);
    store.SetVariable("[c]", "1");
    const std::vector<std::string> expected{"[A]", "[B]", "late [B]", "late [C]"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(store.LookupVariable("b"), "from listener");
}

using Report = std::tuple<VariableEvent, std::string, std::string, bool, char>;

TEST_F(VariableStoreTest, DebuggerHearsCreationsChangesAndDeletionsOfGlobals) {
    std::vector<Report> reports;
    store.setDebuggerReporter([&](VariableEvent event, std::string_view name,
                                  std::string_view value, bool local, char letter) {
        reports.emplace_back(event, std::string(name), std::string(value), local, letter);
    });
    store.SetVariable("[x]", "1");
    store.SetVariable("[x]", "2");
    store.SetVariable("[x]", "");
    store.DefineVariable("[c]", "Currency", "", false);
    store.SetVariable("[c]", "4");
    const std::vector<Report> expected{
        {VariableEvent::Created, "x", "1", false, 'U'},
        {VariableEvent::Changed, "x", "2", false, 'U'},
        {VariableEvent::Deleted, "x", "", false, 'U'},
        {VariableEvent::Created, "c", "0.00", false, 'C'},
        {VariableEvent::Changed, "c", "4.00", false, 'C'},
    };
    EXPECT_EQ(reports, expected);
}

} // namespace
} // namespace tomelet::test
