#include "package/ExtractionFolder.h"
#include "package/ExtractionTempName.h"
#include "package/Package.h"
#include "platform/Paths.h"
#include "tests/package/PackageFixture.h"
#include "tests/support/ScopedEnvironment.h"

namespace tomelet {
namespace {

using testing::TemporaryFolder;

class RecordingFontHost : public PackageFontHost {
public:
    bool addFont(const std::string& path) override {
        added.push_back(path);
        return true;
    }
    void removeFont(const std::string& path) override { removed.push_back(path); }
    void fontsChanged() override { ++changes; }

    std::vector<std::string> added;
    std::vector<std::string> removed;
    int changes = 0;
};

class RecordingPluginLoader : public PackagePluginLoader {
public:
    void loadPlugin(const LibRec& entry, const std::string& libraryPath) override {
        loaded.emplace_back(entry.directoryName, libraryPath);
    }
    std::vector<std::pair<std::string, std::string>> loaded;
};

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// The package lives in its own folder; entries go to a separate extraction folder.
class PackageExtractionTest : public ::testing::Test {
protected:
    void open(const std::vector<testing::FixtureEntry>& entries,
              const PackageDirectory& directory = {}) {
        std::filesystem::create_directories(packageFolder_);
        testing::writePackage(packagePath_, entries, directory);
        ASSERT_EQ(package_.OpenPackage(packagePath_), 0) << package_.failureReason();
        useOptions(4);
    }

    // Temp folder bits, with TMPDIR pointing at the test's extraction folder.
    void useOptions(int options) {
        package_.chooseExtractionFolder(options, {});
        ASSERT_EQ(package_.extractionFolder(), extraction_.folder());
    }

    // Runs `write`, retrying when the two-second clock of temp names moved meanwhile, and
    // returns the stamp it ran under.
    template <typename Write> std::uint32_t underOneStamp(Write write) {
        for (;;) {
            const std::uint32_t stamp = currentPackedDosDateTime();
            write(stamp);
            if (currentPackedDosDateTime() == stamp) return stamp;
        }
    }

    TemporaryFolder root_;
    TemporaryFolder extraction_;
    ScopedEnvironment temp_{"TMPDIR", extraction_.path().string()};
    std::filesystem::path packageFolder_ = root_ / "publication";
    std::filesystem::path packagePath_ = packageFolder_ / "Show.exe";
    Package package_;
};

TEST(ExtractionTempNameTest, TempNamesAreEightHexDigitsOfTheDosStampPlusTheBias) {
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 13;
    local.tm_min = 45;
    local.tm_sec = 31;
    EXPECT_EQ(packedDosDateTime(local), 0x58656DAFu);
    EXPECT_EQ(tempFileName(0x58656DAF, 0, "$$$"), "9400B8BC.$$$");
    EXPECT_EQ(tempFileName(0x58656DAF, 3, "ttf"), "9400B8BF.ttf");
    EXPECT_EQ(tempFileName(0xFFFFFFFF, 0, ""), "3B9B4B0C");
}

TEST_F(PackageExtractionTest, TempNamesSkipEveryNameAlreadyTaken) {
    open({testing::compressed("C:\\Authoring\\logo.png", "picture")});
    LibRec& entry = *package_.FindEntry("C:\\Authoring\\logo.png");
    WrittenFile first;
    WrittenFile second;
    const std::uint32_t stamp = underOneStamp([&](std::uint32_t stamp) {
        for (const auto& name : testing::folderContents(extraction_.path()))
            std::filesystem::remove(extraction_ / name);
        testing::writeFile(extraction_ / tempFileName(stamp, 0, "png"), "someone else's");
        first = package_.WriteEntryToFile(entry, true);
        second = package_.WriteEntryToFile(entry, true, ".p.n.g");
    });
    EXPECT_EQ(first.result, PackageResult::written);
    EXPECT_EQ(first.path, extraction_.folder() + tempFileName(stamp, 1, "png"));
    EXPECT_EQ(second.path, extraction_.folder() + tempFileName(stamp, 2, "png"));
    EXPECT_EQ(testing::readFile(extraction_ / tempFileName(stamp, 0, "png")), "someone else's");
    EXPECT_EQ(testing::readFile(first.path), "picture");
    EXPECT_EQ(testing::readFile(second.path), "picture");
    EXPECT_TRUE(entry.extracted);
}

TEST_F(PackageExtractionTest, WithoutATempNameAnExistingFileIsUsedAsItIs) {
    open({testing::stored("C:\\Authoring\\Readme.TXT", "new text")});
    testing::writeFile(extraction_ / "readme.txt", "old text");
    LibRec& entry = *package_.FindEntry("C:\\Authoring\\Readme.TXT");
    const WrittenFile kept = package_.WriteEntryToFile(entry, false);
    EXPECT_EQ(kept.result, PackageResult::existingFileUsed);
    EXPECT_EQ(kept.path, extraction_.folder() + "readme.txt");
    EXPECT_EQ(testing::readFile(kept.path), "old text");
    EXPECT_FALSE(entry.extracted);

    std::filesystem::remove(extraction_ / "readme.txt");
    const WrittenFile written = package_.WriteEntryToFile(entry, false);
    EXPECT_EQ(written.result, PackageResult::written);
    EXPECT_EQ(written.path, extraction_.folder() + "Readme.TXT");
    EXPECT_EQ(testing::readFile(written.path), "new text");
}

TEST_F(PackageExtractionTest, AnEmptyEntryGivesAnEmptyFileAndAnEmptyStream) {
    open({testing::stored("empty.dat", "")});
    const LibRec& entry = *package_.FindEntry("empty.dat");
    ASSERT_EQ(entry.size, 0);
    ASSERT_EQ(entry.storedSize, 0);
    char byte;
    EXPECT_EQ(package_.openEntry(entry)->read(&byte, 1), 0u);
    std::string data = "x";
    EXPECT_EQ(package_.ReadEntryToMemory("empty.dat", data), PackageResult::entryFound);
    EXPECT_EQ(data, "");
    const FoundFile found = package_.GetFile("empty.dat", true);
    ASSERT_EQ(found.result, PackageResult::written);
    EXPECT_TRUE(found.path.ends_with(".$$$"));
    EXPECT_TRUE(exists(found.path));
    EXPECT_EQ(std::filesystem::file_size(found.path), 0u);
}

TEST_F(PackageExtractionTest, GetFileWritesAnEntryOnceAndReusesItsFile) {
    open({testing::compressed("embedded:\\\\\\movie.avi", "frames")});
    const FoundFile first = package_.GetFile("EMBEDDED:\\\\\\MOVIE.AVI", false);
    EXPECT_EQ(first.result, PackageResult::written);
    EXPECT_EQ(first.path, extraction_.folder() + "movie.avi");
    EXPECT_EQ(testing::readFile(first.path), "frames");
    testing::writeFile(first.path, "changed since");
    const FoundFile again = package_.GetFile("embedded:\\\\\\movie.avi", true);
    EXPECT_EQ(again.result, PackageResult::written);
    EXPECT_EQ(again.path, first.path);
    EXPECT_EQ(testing::readFile(first.path), "changed since");
}

TEST_F(PackageExtractionTest, GetFileFindsDiskFilesBesideThePackage) {
    open({testing::stored("inside.txt", "packaged")});
    testing::writeFile(packageFolder_ / "media" / "deep" / "Song.MP3", "deep song");
    testing::writeFile(packageFolder_ / "a" / "song.mp3", "first subfolder");
    testing::writeFile(packageFolder_ / ".cache" / "hidden.txt", "skipped");
    testing::writeFile(packageFolder_ / "direct.txt", "direct");
    const std::filesystem::path elsewhere = root_ / "elsewhere.txt";
    testing::writeFile(elsewhere, "elsewhere");
    std::filesystem::create_directory_symlink(packageFolder_, packageFolder_ / "media" / "loop");

    struct Case {
        std::string name;
        int result;
        std::string path;
    };
    const std::string folder = toPublicationPath(packageFolder_.string());
    const Case cases[] = {
        {"song.mp3", 2, folder + "/a/song.mp3"},
        {"C:\\Authoring\\Media\\Deep\\song.mp3", 2, folder + "/a/song.mp3"},
        {"deep/Song.MP3", 2, folder + "/a/song.mp3"},
        {folder + "\\media\\deep\\Song.MP3", 2, folder + "\\media\\deep\\Song.MP3"},
        {"DIRECT.TXT", 2, folder + "/direct.txt"},
        {"hidden.txt", 0, ""},
        {elsewhere.string(), 2, elsewhere.string()},
        {"missing.txt", 0, ""},
    };
    for (const Case& c : cases) {
        const FoundFile found = package_.GetFile(c.name, true);
        EXPECT_EQ(found.result, c.result) << c.name;
        EXPECT_EQ(found.path, c.path) << c.name;
        EXPECT_EQ(found.error, c.result == 0 ? 2 : 0) << c.name;
    }
    EXPECT_TRUE(testing::folderContents(extraction_.path()).empty());
}

TEST_F(PackageExtractionTest, ExtractionFilesAreDeletedAtCloseWhenTheOptionsSaySo) {
    struct Case {
        int options;
        bool deleteFiles;
        bool gone;
    };
    const Case cases[] = {{132, true, true}, {128 | 4, false, false}, {4, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        open({testing::stored("notes.txt", "notes"),
              testing::compressed("C:\\Fonts\\Nice Font.TTF", "font", EntryType::font)});
        useOptions(c.options);
        RecordingFontHost fonts;
        EXPECT_EQ(package_.InstallFonts(fonts), 1);
        ASSERT_EQ(fonts.added.size(), 1u);
        EXPECT_TRUE(fonts.added[0].ends_with(".TTF"));
        EXPECT_EQ(testing::readFile(fonts.added[0]), "font");
        EXPECT_EQ(fonts.changes, 1);
        const std::string notes = package_.GetFile("notes.txt", true).path;
        ASSERT_TRUE(exists(notes));

        package_.ClosePackage(c.deleteFiles);
        EXPECT_EQ(fonts.removed, fonts.added);
        EXPECT_EQ(fonts.changes, 2);
        EXPECT_FALSE(exists(fonts.added[0]));
        EXPECT_EQ(exists(notes), !c.gone);
        EXPECT_FALSE(package_.isOpen());
        EXPECT_TRUE(package_.entries().empty());
        std::filesystem::remove(notes);
    }
}

TEST_F(PackageExtractionTest, AFileThatWasThereBeforeIsNeverDeleted) {
    open({testing::stored("keep.txt", "package copy")});
    testing::writeFile(extraction_ / "keep.txt", "user's file");
    EXPECT_EQ(package_.GetFile("keep.txt", false).result, PackageResult::existingFileUsed);
    package_.ClosePackage(true);
    EXPECT_EQ(testing::readFile(extraction_ / "keep.txt"), "user's file");
}

TEST_F(PackageExtractionTest, ExtractEntryAsWritesToTheTargetOrExplains) {
    open({testing::compressed("embedded:\\\\\\data.csv", "a;b")});
    const std::string target = (root_ / "out" / "copy.csv").string();
    std::filesystem::create_directories(root_ / "out");
    EXPECT_TRUE(package_.ExtractEntryAs("embedded:\\\\\\data.csv", target, false).success);
    EXPECT_EQ(testing::readFile(target), "a;b");

    const ExtractOutcome missing = package_.ExtractEntryAs("nothing.csv", target, false);
    EXPECT_FALSE(missing.success);
    EXPECT_EQ(missing.error, "File does not exist.");
    EXPECT_EQ(testing::readFile(target), "a;b");

    EXPECT_TRUE(package_.ExtractEntryAs("nothing.csv", target, true).success);
    EXPECT_TRUE(exists(target));
    EXPECT_EQ(std::filesystem::file_size(target), 0u);

    const ExtractOutcome unwritable = package_.ExtractEntryAs(
        "embedded:\\\\\\data.csv", (root_ / "no" / "x.csv").string(), false);
    EXPECT_FALSE(unwritable.success);
    EXPECT_FALSE(unwritable.error.empty());
}

TEST_F(PackageExtractionTest, PluginsAndTheirSupportFilesAreWrittenBeforeLoading) {
    open({testing::stored("C:\\Dev\\helper.dll", "support", EntryType::pluginSupportFile),
          testing::stored("C:\\Dev\\Effects.DLL", "MZ effects", EntryType::plugin),
          testing::stored("C:\\Dev\\beside.dll", "", EntryType::pluginAlternative),
          testing::stored("C:\\Dev\\empty-support.dll", "", EntryType::pluginSupportFile)});
    RecordingPluginLoader loader;
    package_.LoadPlugins(loader);
    EXPECT_EQ(testing::readFile(extraction_ / "helper.dll"), "support");
    EXPECT_FALSE(exists(extraction_.folder() + "empty-support.dll"));
    ASSERT_EQ(loader.loaded.size(), 2u);
    EXPECT_EQ(loader.loaded[0].first, "C:\\Dev\\beside.dll");
    EXPECT_EQ(loader.loaded[0].second, toPublicationPath(packageFolder_.string()) + "/beside.dll");
    EXPECT_EQ(loader.loaded[1].first, "C:\\Dev\\Effects.DLL");
    EXPECT_TRUE(loader.loaded[1].second.ends_with(".DLL"));
    EXPECT_EQ(testing::readFile(loader.loaded[1].second), "MZ effects");
    EXPECT_EQ(package_.FindEntry(loader.loaded[1].second)->directoryName, "C:\\Dev\\Effects.DLL");
}

TEST_F(PackageExtractionTest, ATestRunLoadsPluginsFromTheirOwnPathsAndMapsEmbeddedNames) {
    PackageDirectory testRun;
    testRun.testRunMode = TestRunMode::testRun;
    open({testing::stored("C:\\Dev\\Effects.dll", "", EntryType::plugin)}, testRun);
    RecordingPluginLoader loader;
    package_.LoadPlugins(loader);
    ASSERT_EQ(loader.loaded.size(), 1u);
    EXPECT_EQ(loader.loaded[0].second, "C:\\Dev\\Effects.dll");

    package_.setEmbeddedFileMap(EmbeddedFileMap::parse("flash.ocx=/srv/authoring/flash.ocx"));
    const FoundFile mapped = package_.GetFile("embedded:\\\\\\Flash.ocx", true);
    EXPECT_EQ(mapped.result, PackageResult::existingFileUsed);
    EXPECT_EQ(mapped.path, "/srv/authoring/flash.ocx");
    EXPECT_EQ(package_.GetFile("embedded:\\\\\\other.ocx", true).result, 0);
}

TEST_F(PackageExtractionTest, OutsideATestRunTheFileMapIsNotUsed) {
    open({testing::stored("x", "y")});
    package_.setEmbeddedFileMap(EmbeddedFileMap::parse("flash.ocx=/srv/authoring/flash.ocx"));
    EXPECT_EQ(package_.resolveEmbeddedName("embedded:\\\\\\flash.ocx"), std::nullopt);
}

struct FolderCase {
    const char* name;
    int options;
    std::string extractFolder;
    std::string expected; // "temp", "windows", "package", or a path under the root
};

TEST_F(PackageExtractionTest, TheExtractionFolderFollowsTheOptionBitsInOrder) {
    open({testing::stored("x", "y")});
    ScopedEnvironment drive("TOMELET_DRIVE_C", (root_ / "drive-c").string());
    const std::string custom = (root_ / "custom" / "nested").string();
    const FolderCase cases[] = {
        {"default", 132, "", "temp"},
        {"windows first", 2 | 4 | 1, "", "windows"},
        {"temp before package", 4 | 1 | 8, custom, "temp"},
        {"package folder", 1 | 8, custom, "package"},
        {"custom folder, created", 8, custom, custom + "/"},
        {"custom folder with backslashes", 8 | 64, (root_ / "custom").string() + "\\other",
         (root_ / "custom" / "other").string() + "/"},
        {"custom folder empty", 8, "", "temp"},
        {"custom folder under a file", 8, (root_ / "file" / "sub").string(), "temp"},
        {"nothing chosen", 0, "", "temp"},
        {"only other bits", 64 | 128, "", "temp"},
    };
    testing::writeFile(root_ / "file", "not a folder");
    for (const FolderCase& c : cases) {
        package_.chooseExtractionFolder(c.options, c.extractFolder);
        std::string expected = c.expected;
        if (expected == "temp") expected = extraction_.folder();
        if (expected == "windows") expected = (root_ / "drive-c").string() + "/Windows/";
        if (expected == "package") expected = packageFolder_.string() + "/";
        EXPECT_EQ(package_.extractionFolder(), expected) << c.name;
        EXPECT_EQ(package_.extractOptions(), c.options) << c.name;
        EXPECT_TRUE(std::filesystem::is_directory(package_.extractionFolder())) << c.name;
    }
}

TEST_F(PackageExtractionTest, AFileThatCannotBeCreatedFailsWithItsFileError) {
    open({testing::stored("a.txt", "data")});
    const std::filesystem::path vanished = root_ / "vanished";
    std::filesystem::create_directories(vanished);
    package_.chooseExtractionFolder(8, vanished.string());
    std::filesystem::remove(vanished);
    for (const bool tempName : {true, false}) {
        const FoundFile found = package_.GetFile("a.txt", tempName);
        EXPECT_EQ(found.result, PackageResult::writeFailed);
        EXPECT_EQ(found.error, 2);
        EXPECT_EQ(found.path, "");
        EXPECT_FALSE(package_.FindEntry("a.txt")->extracted);
    }
}

} // namespace
} // namespace tomelet
