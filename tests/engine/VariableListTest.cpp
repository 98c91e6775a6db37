#include "engine/TVarStringList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tomelet::test {
namespace {

std::vector<std::string> namesInOrder(const TVarStringList& list) {
    std::vector<std::string> names;
    for (const VarLine& line : list)
        names.push_back(line.name);
    return names;
}

TEST(VariableListTest, RemovalKeepsOrderAndLookupsOfTheOthers) {
    TVarStringList list;
    for (const char* name : {"One", "Two", "Three", "Four"})
        list.add(name, name);
    VarLine* four = list.find("four");
    EXPECT_TRUE(list.remove("TWO"));
    EXPECT_FALSE(list.remove("two"));
    list.add("two", "again");
    EXPECT_EQ(namesInOrder(list), (std::vector<std::string>{"One", "Three", "Four", "two"}));
    EXPECT_EQ(list.find("FOUR"), four);
    EXPECT_EQ(list.find("Two")->value, "again");
    EXPECT_EQ(list.find("Five"), nullptr);
}

TEST(VariableListTest, AddingAnExistingNameReplacesInPlace) {
    TVarStringList list;
    list.add("a", "1");
    list.add("b", "2");
    list.add("A", "3",
             std::make_unique<TGenericVarInfo>(TGenericVarInfo{VariableType::Integer, ""}));
    EXPECT_EQ(namesInOrder(list), (std::vector<std::string>{"a", "b"}));
    ASSERT_NE(list.find("a")->info, nullptr);
    EXPECT_EQ(list.find("a")->value, "3");
}

TEST(VariableListTest, ManyNamesStayFoundAfterInterleavedRemovals) {
    TVarStringList list;
    constexpr int count = 100000;
    for (int index = 0; index < count; ++index)
        list.add("v" + std::to_string(index), std::to_string(index));
    for (int index = 0; index < count; index += 2)
        list.remove("V" + std::to_string(index));
    ASSERT_EQ(list.size(), static_cast<std::size_t>(count / 2));
    for (int index = 1; index < count; index += 2) {
        const VarLine* line = list.find("V" + std::to_string(index));
        ASSERT_NE(line, nullptr);
        ASSERT_EQ(line->value, std::to_string(index));
    }
    EXPECT_EQ(list.find("v0"), nullptr);
    EXPECT_EQ(list.begin()->name, "v1");
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.find("v1"), nullptr);
}

} // namespace
} // namespace tomelet::test
