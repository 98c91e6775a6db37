#include "package/Package.h"
#include "package/PublicationKeys.h"
#include "package/PublicationTextReader.h"
#include "package/PublicationValues.h"
#include "tests/tools/ToolsFixture.h"
#include "tools/Packer.h"

#include <gtest/gtest.h>

namespace tomelet {
namespace {

namespace fs = std::filesystem;

const fs::path demoFolder = fs::path(TOMELET_SOURCE_DIR) / "examples" / "demo";

// Every name the publication text uses with the "embedded:" prefix or a drive letter, as
// FILENAME= and PAGEWALLPAPER= values.
std::vector<std::string> referencedFiles(const std::string& text) {
    std::vector<std::string> names;
    for (const std::string_view key : {"\r\nFILENAME=", "\r\nPAGEWALLPAPER="})
        for (std::size_t at = text.find(key); at != std::string::npos;
             at = text.find(key, at + 1)) {
            const std::size_t start = at + key.size();
            names.push_back(text.substr(start, text.find("\r\n", start) - start));
        }
    return names;
}

TEST(DemoPublicationTest, PacksAndEveryFileItNamesIsInThePackage) {
    testing::TemporaryFolder temporary;
    PackRequest request;
    request.folder = demoFolder;
    request.output = temporary / "demo.pkg";
    packPublication(request);

    Package package;
    ASSERT_EQ(package.OpenPackage(request.output), 0) << package.failureReason();
    std::string text;
    ASSERT_EQ(package.ReadEntryToMemory("RUNTIME.PUB", text), 0);
    EXPECT_EQ(text, testing::readFile(demoFolder / "RUNTIME.PUB"));
    const std::vector<std::string> files = referencedFiles(text);
    EXPECT_EQ(files.size(), 4u);
    for (const std::string& name : files) {
        const LibRec* entry = package.FindEntry(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->type, EntryType::picture) << name;
        EXPECT_GT(entry->imageWidth, 0) << name;
    }
}

TEST(DemoPublicationTest, TextIsWhatTheAuthoringToolWrites) {
    const std::string text = testing::readFile(demoFolder / "RUNTIME.PUB");
    // Every line ends with CR LF; a lone LF would merge lines for the player.
    std::size_t lineFeeds = 0;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        ++lineFeeds;
        ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "bare LF at byte " << at;
    }
    EXPECT_GT(lineFeeds, 100u);
    EXPECT_NE(text.find("\xB6"), std::string::npos) << "scripts keep 0xB6 between their lines";

    MemoryInputStream stream(text);
    const PublicationReadResult result = readPublicationText(stream);
    ASSERT_TRUE(result.success) << result.errorMessage;
    const PublicationModel& model = result.model;
    EXPECT_EQ(model.settings.title, "Tomelet Demo");
    EXPECT_EQ(model.settings.screenWidth, 800);
    EXPECT_EQ(model.settings.screenHeight, 600);
    for (std::size_t index = 0; index < kLocalisedTextCount; ++index) {
        const auto id = static_cast<LocalisedText>(index);
        EXPECT_EQ(model.localisedTexts[index], standardLocalisedText(id)) << localisedTextKey(id);
    }
    std::vector<std::string> pageNames;
    for (const PageDefinition& page : model.pages)
        pageNames.push_back(page.name);
    EXPECT_EQ(pageNames, (std::vector<std::string>{"", "Welcome", "Pictures", "Form", "About"}));
    EXPECT_FALSE(model.mainMenu.empty());
    EXPECT_FALSE(model.settings.startupAction.empty());
    EXPECT_FALSE(model.settings.subroutineAction.empty());
}

// The reader ignores what it does not know, so a misspelt key or a key given to the wrong
// class would silently drop part of the demo: every line must be a key the player applies.
TEST(DemoPublicationTest, EveryLineIsAKeyThePlayerApplies) {
    const std::string text = testing::readFile(demoFolder / "RUNTIME.PUB");
    std::optional<ObjectType> currentObject;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 2;
        ++lineNumber;
        const PublicationLine parsed = splitPublicationLine(line);
        const KeyDefinition* key = findPublicationKey(parsed.key);
        ASSERT_NE(key, nullptr) << "line " << lineNumber << ": " << line;
        if (key->key == PublicationKey::ObjectType) {
            currentObject = objectTypeFromNumber(readIntegerValue(parsed.value).value_or(0));
            ASSERT_TRUE(currentObject.has_value()) << "line " << lineNumber << ": " << line;
        }
        if (key->section == KeySection::ObjectClass && !parsed.value.empty()) {
            ASSERT_TRUE(currentObject.has_value()) << "line " << lineNumber;
            EXPECT_TRUE(objectClassTakesKey(*currentObject, key->key))
                << "line " << lineNumber << ": " << line;
        }
    }
}

} // namespace
} // namespace tomelet
