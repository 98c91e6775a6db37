#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace tomelet {
namespace {

std::string byteString(unsigned value) {
    return std::string(1, static_cast<char>(value));
}

TEST(CodePageTest, EveryWindows1252ByteSurvivesTheRoundTripThroughUtf8) {
    const CodePage& codePage = CodePage::windows1252();
    for (unsigned value = 0; value < 256; ++value) {
        const std::string byte = byteString(value);
        EXPECT_EQ(codePage.fromUtf8(codePage.toUtf8(byte)), byte) << "byte " << value;
    }
}

TEST(CodePageTest, EveryLatin1ByteSurvivesTheRoundTripThroughUtf8) {
    const CodePage& codePage = CodePage::latin1();
    for (unsigned value = 0; value < 256; ++value) {
        const std::string byte = byteString(value);
        EXPECT_EQ(codePage.fromUtf8(codePage.toUtf8(byte)), byte) << "byte " << value;
    }
}

struct ByteToUtf8Case {
    unsigned byte;
    const char* utf8;
};

TEST(CodePageTest, Windows1252BytesBecomeTheirCharacters) {
    const ByteToUtf8Case cases[] = {
        {0x41, "A"},      {0x80, "\u20AC"}, {0x81, "\u0081"}, {0x8A, "\u0160"},
        {0x8D, "\u008D"}, {0x8F, "\u008F"}, {0x90, "\u0090"}, {0x92, "\u2019"},
        {0x99, "\u2122"}, {0x9D, "\u009D"}, {0x9F, "\u0178"}, {0xA0, "\u00A0"},
        {0xB6, "\u00B6"}, {0xE9, "\u00E9"}, {0xFF, "\u00FF"}, {0x00, "\0"},
    };
    for (const ByteToUtf8Case& c : cases) {
        const std::string expected = c.byte == 0 ? std::string(1, '\0') : std::string(c.utf8);
        EXPECT_EQ(CodePage::windows1252().toUtf8(byteString(c.byte)), expected) << c.byte;
    }
}

TEST(CodePageTest, Latin1BytesAreTheirOwnCodePoints) {
    EXPECT_EQ(CodePage::latin1().toUtf8("\x80\xE9"), "\u0080\u00E9");
    EXPECT_EQ(CodePage::latin1().fromUtf8("\u20AC"), "?");
}

struct Utf8ToBytesCase {
    const char* name;
    std::string utf8;
    std::string bytes;
};

TEST(CodePageTest, Utf8BecomesWindows1252WithQuestionMarksForWhatItLacks) {
    const Utf8ToBytesCase cases[] = {
        {"ascii", "Page 1", "Page 1"},
        {"euro and quotes", "\u20AC \u201Cx\u201D", "\x80 \x93x\x94"},
        {"greek omega", "\u03A9", "?"},
        {"chinese", "a\u6F22b", "a?b"},
        {"four-byte emoji is one character", "\U0001F600", "?"},
        {"lone continuation byte", "a\x80z", "a?z"},
        {"truncated sequence at the end", "a\xC3", "a?"},
        {"truncated sequence before ascii",
         "\xE2\x82"
         "A",
         "?A"},
        {"overlong encoding", "\xC0\xAF", "??"},
        {"surrogate", "\xED\xA0\x80", "?"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "?"},
        {"C1 control kept for the undefined byte", "\u0081", "\x81"},
        {"C1 control that 1252 lacks", "\u0080", "?"},
    };
    for (const Utf8ToBytesCase& c : cases)
        EXPECT_EQ(CodePage::windows1252().fromUtf8(c.utf8), c.bytes) << c.name;
}

// The Windows-1252 case pairs, written out independently of how the code page derives them.
unsigned expectedUpper1252(unsigned byte) {
    if (byte >= 'a' && byte <= 'z') return byte - 0x20;
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return byte - 0x20;
    switch (byte) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return byte;
    }
}

unsigned expectedLower1252(unsigned byte) {
    if (byte >= 'A' && byte <= 'Z') return byte + 0x20;
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return byte + 0x20;
    switch (byte) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return byte;
    }
}

TEST(CodePageTest, Windows1252CaseMappingOfEveryByte) {
    const CodePage& codePage = CodePage::windows1252();
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        EXPECT_EQ(static_cast<unsigned char>(codePage.upper(c)), expectedUpper1252(byte)) << byte;
        EXPECT_EQ(static_cast<unsigned char>(codePage.lower(c)), expectedLower1252(byte)) << byte;
    }
}

TEST(CodePageTest, Latin1HasNoUpperCaseForYWithDiaeresis) {
    EXPECT_EQ(CodePage::latin1().upper("\xFF\xE9\xDF"), "\xFF\xC9\xDF");
    EXPECT_EQ(CodePage::latin1().lower("\x9F\xC9"), "\x9F\xE9");
}

TEST(CodePageTest, StringCaseMappingKeepsLengthAndLettersWithoutAnUpperForm) {
    EXPECT_EQ(upper("Stra\xDF"
                    "e \xB5m \x9Cuvre"),
              "STRA\xDF"
              "E \xB5M \x8CUVRE");
    EXPECT_EQ(lower("\xC9"
                    "COLE \x8A"),
              "\xE9"
              "cole \x9A");
}

struct CompareCase {
    std::string first;
    std::string second;
    int sign;
};

TEST(CodePageTest, CaseInsensitiveComparison) {
    const CompareCase cases[] = {
        {"Pictures", "PICTURES", 0},
        {"\xE9"
         "cole",
         "\xC9"
         "COLE",
         0},
        {"\xFF", "\x9F", 0},
        {"Stra\xDF"
         "e",
         "STRASSE", 1},
        {"a", "B", -1},
        {"B", "a", 1},
        {"abc", "ABCD", -1},
        {"", "", 0},
        {"", "a", -1},
        // Bytes above 0x7F order after ASCII, as unsigned values.
        {"z", "\xE9", -1},
        {std::string("a\0b", 3), std::string("A\0B", 3), 0},
    };
    for (const CompareCase& c : cases) {
        const int result = compareIgnoreCase(c.first, c.second);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.first << " / " << c.second;
        EXPECT_EQ(equalsIgnoreCase(c.first, c.second), c.sign == 0) << c.first << " / " << c.second;
    }
}

TEST(CodePageTest, UnorderedMapKeyedByNamesIgnoresCase) {
    std::unordered_map<std::string, int, CaseInsensitiveHash, CaseInsensitiveEqual> objects;
    objects["Button1"] = 1;
    objects["\xC9t\xE9"] = 2;
    objects["BUTTON1"] = 3;
    EXPECT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects.at("button1"), 3);
    EXPECT_EQ(objects.find(std::string_view("\xE9T\xC9"))->second, 2);
    EXPECT_EQ(objects.count("Button2"), 0u);
}

TEST(CodePageTest, OrderedSetOfNamesIgnoresCase) {
    std::set<std::string, CaseInsensitiveLess> names{"beta", "Alpha", "ALPHA", "\xE9t\xE9", "Zulu"};
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.end()),
              (std::vector<std::string>{"Alpha", "beta", "Zulu", "\xE9t\xE9"}));
    EXPECT_EQ(names.count(std::string_view("\xC9T\xC9")), 1u);
}

class CurrentCodePageTest : public ::testing::Test {
protected:
    void TearDown() override { CodePage::setCurrent(CodePage::windows1252()); }
};

TEST_F(CurrentCodePageTest, FreeFunctionsFollowTheCurrentCodePage) {
    EXPECT_EQ(CodePage::current().name(), "windows-1252");
    EXPECT_EQ(toUtf8("\x80"), "\u20AC");
    EXPECT_EQ(upper('\xFF'), '\x9F');
    CodePage::setCurrent(CodePage::latin1());
    EXPECT_EQ(toUtf8("\x80"), "\u0080");
    EXPECT_EQ(fromUtf8("\u20AC"), "?");
    EXPECT_EQ(upper('\xFF'), '\xFF');
    EXPECT_FALSE(equalsIgnoreCase("\xFF", "\x9F"));
}

} // namespace
} // namespace tomelet
