#include "package/Package.h"
#include "tests/package/PackageFixture.h"

namespace tomelet {
namespace {

using testing::TemporaryFolder;

class PackageLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::writePackage(path_, {
                                         testing::stored("RUNTIME.PUB", "[Publication]"),
                                         testing::stored("C:\\Authoring\\Pics\\Logo.png", "logo"),
                                         testing::stored("embedded:\\\\\\flash.ocx", "ocx"),
                                         testing::stored(":Short.txt", "colon"),
                                         testing::stored("sounds\\click.wav", "click"),
                                         testing::stored("click.wav", "plain click"),
                                         testing::stored("\xC4rger.txt", "umlaut"),
                                     });
        ASSERT_EQ(package_.OpenPackage(path_), 0) << package_.failureReason();
    }

    std::string read(std::string_view name) {
        std::string data;
        return package_.ReadEntryToMemory(name, data) == PackageResult::entryFound ? data
                                                                                   : "<none>";
    }

    TemporaryFolder folder_;
    std::filesystem::path path_ = folder_ / "lookup.pkg";
    Package package_;
};

TEST_F(PackageLookupTest, NamesCompareWithoutCaseAndSlashesStandForBackslashes) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"C:\\Authoring\\Pics\\Logo.png", "logo"},
        {"c:\\authoring\\pics\\LOGO.PNG", "logo"},
        {"C:/Authoring/Pics/Logo.png", "logo"},
        {"c:/AUTHORING\\pics/logo.png", "logo"},
        {"embedded:\\\\\\FLASH.OCX", "ocx"},
        {"embedded:///flash.ocx", "ocx"},
        {"sounds/click.wav", "click"},
        {"\xE4rger.txt", "umlaut"},
        {"Logo.png", "<none>"},
        {"C:\\Authoring\\Pics\\Logo.png ", "<none>"},
        {"", "<none>"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(read(name), expected) << name;
}

TEST_F(PackageLookupTest, ThePublicationTextIsHiddenOnceLoaded) {
    EXPECT_EQ(read("runtime.pub"), "[Publication]");
    package_.markPublicationTextLoaded();
    EXPECT_EQ(package_.FindEntry("RUNTIME.PUB"), nullptr);
    EXPECT_EQ(package_.FindEntryByDirectoryName("Runtime.Pub"), nullptr);
    EXPECT_EQ(read("RUNTIME.PUB"), "<none>");
    char buffer[4];
    EXPECT_EQ(package_.ReadEntryRaw("RUNTIME.PUB", 0, buffer, 4), PackageResult::rawNotFound);
    EXPECT_EQ(package_.GetFile("RUNTIME.PUB", true).result, 0);
    EXPECT_EQ(read("click.wav"), "plain click");
}

TEST_F(PackageLookupTest, ShortNamesResolveToTheFirstEntryWithThatFileName) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"logo.png", "C:\\Authoring\\Pics\\Logo.png"},
        {"Flash.ocx", "embedded:\\\\\\flash.ocx"},
        {"short.txt", ":Short.txt"},
        // The later stored entry comes first; the exact name itself does not stop the walk.
        {"CLICK.WAV", "click.wav"},
        {"click.wav", "sounds\\click.wav"},
        {"missing.png", "missing.png"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(package_.ResolveShortName(name), expected) << name;
}

TEST_F(PackageLookupTest, AWrittenEntryIsFoundByItsFilePathAndItsDirectoryName) {
    TemporaryFolder extraction;
    package_.chooseExtractionFolder(8, extraction.path().string());
    const FoundFile found = package_.GetFile("C:\\Authoring\\Pics\\Logo.png", false);
    ASSERT_EQ(found.result, PackageResult::written);
    EXPECT_EQ(found.path, extraction.folder() + "Logo.png");
    EXPECT_EQ(package_.FindEntry(found.path)->directoryName, "C:\\Authoring\\Pics\\Logo.png");
    EXPECT_EQ(package_.FindEntry("C:\\Authoring\\Pics\\Logo.png"), nullptr);
    EXPECT_EQ(package_.FindEntryByDirectoryName("c:/authoring/pics/logo.png")->currentName,
              found.path);
    package_.ClosePackage(true);
}

} // namespace
} // namespace tomelet
