#include "VariableStoreFixture.h"
#include "engine/LocalVariableScope.h"

#include <gtest/gtest.h>

namespace tomelet::test {
namespace {

TEST_F(VariableStoreTest, ArrayRangeCountsMatchingNamesOfBothLists) {
    for (const char* name : {"a1", "A2", "a5", "ab", "a", "b3", "a-4"})
        store.SetVariable(name, "x");
    LocalVariableScope run(store);
    store.DefineVariable("[a3]", "String", "", true);
    store.DefineVariable("[a1]", "String", "", true);
    const ArrayRange range = store.FindArrayRange("A");
    EXPECT_EQ(range.lowest, -4);
    EXPECT_EQ(range.highest, 5);
    EXPECT_EQ(range.count, 6);
}

TEST_F(VariableStoreTest, ArrayRangeOfNothingKeepsTheStartingValues) {
    store.SetVariable("other1", "x");
    const ArrayRange range = store.FindArrayRange("a");
    EXPECT_EQ(range.lowest, 2147483647);
    EXPECT_EQ(range.highest, -2147483647);
    EXPECT_EQ(range.count, 0);
}

TEST_F(VariableStoreTest, ClearingAHugeSparseRangeTouchesOnlyTheElements) {
    store.SetVariable("a1", "first");
    store.SetVariable("a2000000000", "last");
    store.DefineVariable("[a7]", "Integer", "", false);
    store.SetVariable("a7", "7");
    store.SetVariable("keep", "k");
    const ArrayRange range = store.FindArrayRange("a");
    ASSERT_EQ(range.lowest, 1);
    ASSERT_EQ(range.highest, 2000000000);
    notifications.clear();
    store.clearArrayElements("a", range.lowest, range.highest);
    EXPECT_FALSE(exists("a1"));
    EXPECT_FALSE(exists("a2000000000"));
    EXPECT_EQ(store.LookupVariable("a7"), "0");
    EXPECT_EQ(store.LookupVariable("keep"), "k");
    EXPECT_EQ(notifications,
              (std::vector<Notification>{{"[A1]", ""}, {"[A7]", "0"}, {"[A2000000000]", ""}}));
}

TEST_F(VariableStoreTest, ClearingStopsAtTheLastIndexAndUsesDecimalNames) {
    for (const char* name : {"a1", "a2", "a5", "a05"})
        store.SetVariable(name, "x");
    store.clearArrayElements("a", 1, 2);
    EXPECT_FALSE(exists("a1"));
    EXPECT_FALSE(exists("a2"));
    EXPECT_TRUE(exists("a5"));
    store.clearArrayElements("a", 1, 5);
    EXPECT_FALSE(exists("a5"));
    // "a05" counts as element 5, but the element name of 5 is "a5".
    EXPECT_TRUE(exists("a05"));
}

TEST_F(VariableStoreTest, ClearVariablesWithAListEmptiesEachItem) {
    for (const char* name : {"a", "b", "c", "d"})
        store.SetVariable(name, "x");
    store.DefineVariable("[flag]", "Boolean", "", false);
    store.SetVariable("flag", "yes");
    store.ClearVariables("a,[b]|c,,flag");
    EXPECT_FALSE(exists("a"));
    EXPECT_FALSE(exists("b"));
    EXPECT_FALSE(exists("c"));
    EXPECT_TRUE(exists("d"));
    EXPECT_EQ(store.LookupVariable("flag"), "False");
}

TEST_F(VariableStoreTest, ClearVariablesWithoutAListKeepsOnlyTypedGlobals) {
    store.SetVariable("a", "x");
    store.DefineVariable("[n]", "Integer", "", false);
    store.SetVariable("n", "3");
    store.SetVariable("z", "y");
    store.ClearVariables("");
    ASSERT_EQ(store.globals().size(), 1u);
    EXPECT_EQ(store.LookupVariable("n"), "0");
}

} // namespace
} // namespace tomelet::test
