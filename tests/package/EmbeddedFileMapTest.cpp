#include "package/EmbeddedFileMap.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tomelet {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs entriesOf(std::string_view value) {
    Pairs pairs;
    const EmbeddedFileMap map = EmbeddedFileMap::parse(value);
    for (const EmbeddedFileMap::Entry& entry : map.entries())
        pairs.emplace_back(entry.name, entry.path);
    return pairs;
}

TEST(EmbeddedFileMapTest, ReadsTheDelimitedList) {
    const std::pair<std::string, Pairs> cases[] = {
        {"a.png=C:\\p\\a.png\xB6"
         "b.wav=C:\\p\\b.wav",
         {{"a.png", "C:\\p\\a.png"}, {"b.wav", "C:\\p\\b.wav"}}},
        // Blanks separate items; the second half has no "=" and is dropped.
        {"a.png=C:\\My Files\\a.png", {{"a.png", "C:\\My"}}},
        {"\"a.png=C:\\My Files\\a.png\"\xB6 \"b.png=C:\\x\"",
         {{"a.png", "C:\\My Files\\a.png"}, {"b.png", "C:\\x"}}},
        {"\"q.txt=C:\\say \"\"hi\"\".txt\"", {{"q.txt", "C:\\say \"hi\".txt"}}},
        // The path keeps every "=" after the first.
        {"eq.txt=C:\\a=b", {{"eq.txt", "C:\\a=b"}}},
        {"  \xB6\xB6noequals\xB6=C:\\nameless\xB6"
         "empty=\xB6",
         {}},
        {"A.png=first\xB6"
         "a.PNG=second",
         {{"A.png", "first"}}},
        {"\"open.png=C:\\no closing quote", {{"open.png", "C:\\no closing quote"}}},
        {"", {}},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(entriesOf(value), expected) << value;
}

TEST(EmbeddedFileMapTest, FindsNamesAndEmbeddedReferencesWithoutCase) {
    const EmbeddedFileMap map = EmbeddedFileMap::parse("Logo.PNG=C:\\pub\\logo.png");
    EXPECT_EQ(map.find("logo.png"), "C:\\pub\\logo.png");
    EXPECT_EQ(map.resolve("embedded:\\\\\\logo.png"), "C:\\pub\\logo.png");
    EXPECT_EQ(map.resolve("EMBEDDED:\\\\\\LOGO.png"), "C:\\pub\\logo.png");
    EXPECT_EQ(map.find("other.png"), std::nullopt);
    EXPECT_EQ(map.resolve("logo.png"), std::nullopt);
    EXPECT_EQ(map.resolve("embedded:\\\\\\"), std::nullopt);
    EXPECT_EQ(map.resolve("embedded:\\\\logo.png"), std::nullopt);
}

} // namespace
} // namespace tomelet
