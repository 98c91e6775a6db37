#include "VariableStoreFixture.h"

#include <gtest/gtest.h>

namespace tomelet::test {
namespace {

TEST_F(VariableStoreTest, NamesCompareWithoutCaseAndKeepTheCreatingCase) {
    store.SetVariable("[Total]", "1");
    store.SetVariable("TOTAL", "2");
    EXPECT_EQ(store.LookupVariable("total"), "2");
    ASSERT_EQ(store.globals().size(), 1u);
    EXPECT_EQ(store.globals().begin()->name, "Total");
}

TEST_F(VariableStoreTest, NestedReferenceNamesTheVariableAssigned) {
    store.SetVariable("i", "3");
    store.SetVariable("[Arr[i]]", "third");
    EXPECT_EQ(store.LookupVariable("Arr3"), "third");
}

TEST_F(VariableStoreTest, EmptyValueDeletesAnUntypedVariableAndCreatesNothing) {
    store.SetVariable("[Count]", "4");
    store.SetVariable("[Count]", "");
    EXPECT_FALSE(exists("Count"));
    store.SetVariable("[Never]", "");
    EXPECT_FALSE(exists("Never"));
    EXPECT_TRUE(store.globals().empty());
}

TEST_F(VariableStoreTest, EmptyValueOfAnIntegerVariableIsZero) {
    ASSERT_TRUE(store.DefineVariable("[Count]", "Integer", "", false));
    store.SetVariable("[Count]", "12");
    store.SetVariable("[Count]", "");
    EXPECT_EQ(store.LookupVariable("Count"), "0");
}

struct TypedCase {
    std::string type;
    std::string format;
    std::string value;
    std::string stored;
};

class VariableTypedAssignmentTest : public VariableStoreTest,
                                    public ::testing::WithParamInterface<TypedCase> {};

TEST_P(VariableTypedAssignmentTest, StoresTheConvertedText) {
    const TypedCase& typed = GetParam();
    ASSERT_TRUE(store.DefineVariable("[v]", typed.type, typed.format, false));
    store.SetVariable("[v]", typed.value);
    EXPECT_EQ(store.LookupVariable("v"), typed.stored);
    EXPECT_EQ(lastError(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, VariableTypedAssignmentTest,
    ::testing::Values(
        TypedCase{"Integer", "", "007", "7"}, TypedCase{"Integer", "", "-12", "-12"},
        TypedCase{"Currency", "", "$1,234.50", "0.00"}, TypedCase{"Currency", "", "$12.5", "12.50"},
        TypedCase{"Currency", "", "1,5", "1.50"}, TypedCase{"Currency", "", "", "0.00"},
        TypedCase{"Decimal", "3", "2.5", "2.500"}, TypedCase{"Decimal", "", "2.5", "2.50"},
        TypedCase{"Boolean", "", "yes", "True"}, TypedCase{"Boolean", "", "Yes+Beep", "True"},
        TypedCase{"Boolean", "", "UNCHECKED", "False"}, TypedCase{"Boolean", "", "", "False"},
        TypedCase{"String", "", "[not expanded]", "[not expanded]"},
        TypedCase{"Date", "yyyy-mm-dd", "2024/1/2", "2024-01-02"},
        TypedCase{"Date", "dd.mm.yyyy", "3-4-2024", "03.04.2024"}));

struct RefusedCase {
    std::string type;
    std::string format;
    std::string value;
    std::string error;
};

class VariableRefusedAssignmentTest : public VariableStoreTest,
                                      public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(VariableRefusedAssignmentTest, KeepsTheOldValueAndReportsWithoutNotifying) {
    const RefusedCase& refused = GetParam();
    ASSERT_TRUE(store.DefineVariable("[v]", refused.type, refused.format, false));
    const std::string before = store.LookupVariable("v");
    notifications.clear();
    store.SetVariable("[v]", refused.value);
    EXPECT_EQ(store.LookupVariable("v"), before);
    EXPECT_EQ(lastError(), refused.error);
    EXPECT_EQ(notifications, (std::vector<Notification>{{"[LASTERROR]", refused.error}}));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, VariableRefusedAssignmentTest,
    ::testing::Values(
        RefusedCase{"Integer", "", "1.5", "\"1.5\" is not a valid integer value."},
        RefusedCase{"Integer", "", "99999999999", "\"99999999999\" is not a valid integer value."},
        RefusedCase{"Boolean", "", "maybe", "\"maybe\" is not a valid boolean value."},
        RefusedCase{"Date", "yyyy-mm-dd", "someday", "\"someday\" is not a valid date value."}));

TEST_F(VariableStoreTest, ReadOnlySystemVariableRefusesWithMessageAndNoNotification) {
    store.SetVariable("[PageTitle]", "Other");
    EXPECT_EQ(lastError(), "Cannot modify value of read-only global variable [PageTitle].");
    EXPECT_EQ(store.LookupVariable("PageTitle"), "Start");
    EXPECT_FALSE(exists("PageTitle"));
    for (const Notification& notification : notifications) {
        EXPECT_NE(notification.first, "[PAGETITLE]");
    }
}

TEST_F(VariableStoreTest, WritableSystemVariableActsAndIsNeverStored) {
    store.SetVariable("[windowwidth]", "640");
    EXPECT_EQ(system.writes,
              (std::vector<std::pair<std::string, std::string>>{{"windowwidth", "640"}}));
    EXPECT_FALSE(exists("WindowWidth"));
    EXPECT_EQ(store.LookupVariable("WindowWidth"), "640");
    EXPECT_EQ(notifications, (std::vector<Notification>{{"[WINDOWWIDTH]", "640"}}));
}

TEST_F(VariableStoreTest, LastErrorHandlerSeesEveryNonEmptyErrorBeforeItIsStored) {
    std::vector<std::string> shown;
    store.setLastErrorHandler([&](std::string_view text) {
        shown.emplace_back(text);
        // What a dialog's message loop may do meanwhile.
        store.SetVariable("[during]", store.LookupVariable("LastError") + "!");
    });
    store.SetLastError("first");
    store.SetLastError("");
    store.SetVariable("[lasterror]", "second");
    EXPECT_EQ(shown, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(lastError(), "second");
    EXPECT_EQ(store.LookupVariable("during"), "!");
}

TEST_F(VariableStoreTest, SystemSourceMayBeAbsent) {
    VariableStore bare;
    bare.SetVariable("[PageTitle]", "mine");
    EXPECT_EQ(bare.ExpandVariables("[PageTitle][#33]"), "mine!");
}

} // namespace
} // namespace tomelet::test
