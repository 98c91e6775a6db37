#include "ToolsFixture.h"
#include "package/Package.h"
#include "package/PublicationTextReader.h"
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

} // namespace
} // namespace tomelet
