#include "VariableStoreFixture.h"

#include <gtest/gtest.h>

namespace tomelet::test {
namespace {

struct DefaultCase {
    std::string type;
    std::string format;
    std::string value;
    VariableType code;
};

class VariableDefaultTest : public VariableStoreTest,
                            public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(VariableDefaultTest, NewTypedVariableTakesTheDefaultOfItsType) {
    const DefaultCase& definition = GetParam();
    EXPECT_TRUE(store.DefineVariable("[v]", definition.type, definition.format, false));
    ASSERT_TRUE(exists("v"));
    EXPECT_EQ(store.LookupVariable("v"), definition.value);
    EXPECT_EQ(store.GetVariableType("[V]"), definition.code);
    EXPECT_EQ(notifications, (std::vector<Notification>{{"[V]", definition.value}}));
}

INSTANTIATE_TEST_SUITE_P(
    Types, VariableDefaultTest,
    ::testing::Values(DefaultCase{"String", "", "", VariableType::String},
                      DefaultCase{" integer ", "", "0", VariableType::Integer},
                      DefaultCase{"CURRENCY", "", "0.00", VariableType::Currency},
                      DefaultCase{"Decimal", "", "0.00", VariableType::Decimal},
                      DefaultCase{"Decimal", "4", "0.0000", VariableType::Decimal},
                      DefaultCase{"Decimal", "0", "0", VariableType::Decimal},
                      DefaultCase{"Boolean", "", "False", VariableType::Boolean},
                      DefaultCase{"Date", "Default", "", VariableType::Date}));

TEST_F(VariableStoreTest, UnknownTypeNameIsRefused) {
    EXPECT_FALSE(store.DefineVariable("[v]", "Float", "", false));
    EXPECT_EQ(lastError(), "\"Float\" is not a valid variable type.");
    EXPECT_FALSE(exists("v"));
}

TEST_F(VariableStoreTest, UndefinedTypeCreatesOnlyLocals) {
    EXPECT_FALSE(store.DefineVariable("[v]", "Undefined", "", false));
    EXPECT_FALSE(exists("v"));
    EXPECT_TRUE(store.DefineVariable("[v]", "Undefined", "", true));
    ASSERT_NE(store.locals(), nullptr);
    EXPECT_NE(store.locals()->find("v"), nullptr);
}

TEST_F(VariableStoreTest, SameTypeAndFormatAgainChangesNothing) {
    ASSERT_TRUE(store.DefineVariable("[n]", "Integer", "", false));
    store.SetVariable("[n]", "5");
    notifications.clear();
    EXPECT_FALSE(store.DefineVariable("[n]", "integer", "", false));
    EXPECT_EQ(store.LookupVariable("n"), "5");
    EXPECT_TRUE(notifications.empty());
}

struct ChangeCase {
    std::string oldType;
    std::string oldFormat;
    std::string value;
    std::string newType;
    std::string newFormat;
    std::string converted;
};

class VariableTypeChangeTest : public VariableStoreTest,
                               public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(VariableTypeChangeTest, ConvertsWithoutReportingAndFallsBackToTheDefault) {
    const ChangeCase& change = GetParam();
    if (change.oldType.empty()) {
        store.SetVariable("[v]", change.value);
    } else {
        ASSERT_TRUE(store.DefineVariable("[v]", change.oldType, change.oldFormat, false));
        store.SetVariable("[v]", change.value);
    }
    notifications.clear();
    EXPECT_TRUE(store.DefineVariable("[v]", change.newType, change.newFormat, false));
    EXPECT_EQ(store.LookupVariable("v"), change.converted);
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(notifications, (std::vector<Notification>{{"[V]", change.converted}}));
}

INSTANTIATE_TEST_SUITE_P(Changes, VariableTypeChangeTest,
                         ::testing::Values(ChangeCase{"", "", "12", "Currency", "", "12.00"},
                                           ChangeCase{"String", "", "abc", "Integer", "", "0"},
                                           ChangeCase{"String", "", "yes", "Boolean", "", "True"},
                                           ChangeCase{"Decimal", "2", "2.5", "Decimal", "1", "2.5"},
                                           ChangeCase{"Currency", "", "3.25", "String", "", "3.25"},
                                           ChangeCase{"Date", "yyyy-mm-dd", "2024-03-04", "Date",
                                                      "dd.mm.yyyy", "04.03.2024"}));

TEST_F(VariableStoreTest, UndefinedTypeMakesAGlobalUntypedAgain) {
    ASSERT_TRUE(store.DefineVariable("[v]", "Integer", "", false));
    EXPECT_TRUE(store.DefineVariable("[v]", "Undefined", "", false));
    EXPECT_EQ(store.GetVariableType("[v]"), VariableType::Undefined);
    store.SetVariable("[v]", "");
    EXPECT_FALSE(exists("v"));
}

TEST_F(VariableStoreTest, SystemVariablesAndLastErrorCannotBeTyped) {
    EXPECT_FALSE(store.DefineVariable("[PageTitle]", "String", "", true));
    EXPECT_EQ(lastError(), "Cannot change the type of global variable \"[PageTitle]\".");
    // Even once it exists: a typed [LastError] could refuse the very errors it reports.
    EXPECT_FALSE(store.DefineVariable("[LastError]", "Integer", "", false));
    EXPECT_EQ(lastError(), "Cannot change the type of global variable \"[LastError]\".");
    EXPECT_EQ(store.GetVariableType("[LastError]"), VariableType::Undefined);
}

TEST_F(VariableStoreTest, TypeIsUndefinedForUntypedAndMissingVariables) {
    store.SetVariable("[plain]", "1");
    EXPECT_EQ(store.GetVariableType("[plain]"), VariableType::Undefined);
    EXPECT_EQ(store.GetVariableType("[missing]"), VariableType::Undefined);
    EXPECT_EQ(store.GetVariableType(""), VariableType::Undefined);
}

} // namespace
} // namespace tomelet::test
