#include "package/LocalisedTexts.h"

#include <cctype>
#include <gtest/gtest.h>

namespace tomelet {
namespace {

TEST(LocalisedTextsTest, KeysInPublicationOrder) {
    EXPECT_EQ(localisedTextKey(LocalisedText::Ok), "L_OK=");
    EXPECT_EQ(localisedTextKey(LocalisedText::PasswordMessage), "L_PWORDMSG=");
    EXPECT_EQ(localisedTextKey(LocalisedText::InstallSubtitle), "L_INSTSUBTITLE=");
    EXPECT_EQ(localisedTextKey(LocalisedText::DownloadFile), "L_DONWLOADFILE=");
    EXPECT_EQ(localisedTextKey(LocalisedText::PleaseWait), "L_PLEASEWAIT=");
    EXPECT_EQ(static_cast<std::size_t>(LocalisedText::PleaseWait) + 1, kLocalisedTextCount);
}

TEST(LocalisedTextsTest, EveryKeyIsFoundAgainWithoutCaseAndWithoutItsEqualsSign) {
    for (std::size_t index = 0; index < kLocalisedTextCount; ++index) {
        const auto id = static_cast<LocalisedText>(index);
        const std::string key(localisedTextKey(id));
        ASSERT_EQ(key.substr(0, 2), "L_");
        ASSERT_EQ(key.back(), '=');
        EXPECT_EQ(findLocalisedText(key), id) << key;
        std::string lowered = key.substr(0, key.size() - 1);
        for (char& c : lowered)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(findLocalisedText(lowered), id) << lowered;
    }
}

TEST(LocalisedTextsTest, OtherTextsAreNoKeys) {
    for (const char* text : {"", "=", "L_", "L_OK==", "L_DOWNLOADFILE=", "OK", " L_OK", "L_OKAY"})
        EXPECT_EQ(findLocalisedText(text), std::nullopt) << text;
}

TEST(LocalisedTextsTest, StandardTexts) {
    EXPECT_EQ(standardLocalisedText(LocalisedText::Ok), "OK");
    EXPECT_EQ(standardLocalisedText(LocalisedText::FindPrompt), "Find &What");
    EXPECT_EQ(standardLocalisedText(LocalisedText::PasswordMessage),
              "Before continuing, you must first|enter the correct password.");
    EXPECT_EQ(standardLocalisedText(LocalisedText::PasswordError),
              "That's not the right password!");
    EXPECT_EQ(standardLocalisedText(LocalisedText::InstallSubtitle), "");
    EXPECT_EQ(standardLocalisedText(LocalisedText::DownloadFile), "Downloading: %s");
    EXPECT_EQ(standardLocalisedText(LocalisedText::PleaseWait), "Please wait...");
}

} // namespace
} // namespace tomelet
