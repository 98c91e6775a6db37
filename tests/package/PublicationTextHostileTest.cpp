#include "package/PublicationTextReader.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace tomelet {
namespace {

PublicationReadResult readText(const std::string& text) {
    MemoryInputStream stream(text);
    return readPublicationText(stream);
}

std::string repeated(std::string_view piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t index = 0; index < count; ++index)
        text += piece;
    return text;
}

TEST(PublicationTextHostileTest, DeepNestingFailsCleanly) {
    const std::string texts[] = {
        "MASTERPAGE\r\n" + repeated("OBJECTTYPE=20\r\nGROUPBEGIN\r\n", 100000),
        "MASTERPAGE\r\nOBJECTTYPE=21\r\n" + repeated("CONTAINERBEGIN\r\n", 100000),
        repeated("MENUBEGIN\r\nMENUNAME=x\r\n", 100000),
        repeated("MENUBEGIN\r\n", 100000),
    };
    for (const std::string& text : texts) {
        const PublicationReadResult result = readText(text);
        EXPECT_FALSE(result.success);
        EXPECT_FALSE(result.errorMessage.empty());
    }
}

TEST(PublicationTextHostileTest, HugeValueIsKept) {
    const std::string value(4 * 1024 * 1024, '\xB6');
    const PublicationReadResult result = readText("STARTUPACTION=" + value);
    ASSERT_TRUE(result.success);
    EXPECT_EQ(result.model.settings.startupAction.size(), 2 * value.size());
}

// Lines built from the format's own words with random values, and plain random bytes.
TEST(PublicationTextHostileTest, RandomTextsNeverBreakTheReader) {
    const char* const words[] = {
        "MASTERPAGE",
        "NEWPAGE=",
        "OBJECTTYPE=",
        "GROUPBEGIN",
        "GROUPEND",
        "CONTAINERBEGIN",
        "CONTAINEREND",
        "MENUBEGIN",
        "TRAYMENUBEGIN",
        "MENUEND",
        "MENUNAME=",
        "MENUSTATE=",
        "X1=",
        "Y2=",
        "TEXT=",
        "VARNAME=",
        "PAGEPALETTE=",
        "EMBEDDEDFILES=",
        "TITLE=",
        "SCREENCOLORS=",
        "FILLCOLOR=",
        "L_OK=",
        "=",
        "",
    };
    const char* const values[] = {"",  "7",  "20",       "21",  "-1", "$FFFFFFFF", "x",     "0x",
                                  "[", "]]", "\xB6\xB6", "a=b", "\"", "Yes",       "1 2 3 "};
    std::mt19937 random(20240611);
    const auto pick = [&random](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
    };
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const std::size_t lineCount = pick(400);
        for (std::size_t line = 0; line < lineCount; ++line) {
            if (pick(10) == 0) {
                for (std::size_t byte = pick(40); byte > 0; --byte)
                    text.push_back(static_cast<char>(pick(256)));
            } else {
                text += words[pick(std::size(words))];
                text += values[pick(std::size(values))];
            }
            text += pick(8) == 0 ? "\r" : "\r\n";
        }
        const PublicationReadResult result = readText(text);
        EXPECT_TRUE(result.success) << result.errorMessage;
        EXPECT_FALSE(result.model.pages.empty());
    }
}

} // namespace
} // namespace tomelet
