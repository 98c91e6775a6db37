#include "tools/Manifest.h"

#include <gtest/gtest.h>

namespace tomelet {
namespace {

PackageDirectory directoryWith(void (*change)(PackageDirectory&)) {
    PackageDirectory directory;
    change(directory);
    return directory;
}

struct SettingsCase {
    const char* text;
    PackageDirectory expected;
};

class ManifestSettingsTest : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(ManifestSettingsTest, FillTheDirectory) {
    const Manifest manifest = parseManifest(GetParam().text, "package.manifest");
    EXPECT_EQ(manifest.directory, GetParam().expected) << GetParam().text;
    EXPECT_TRUE(manifest.entries.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ManifestSettingsTest,
    ::testing::Values(
        SettingsCase{"", PackageDirectory{}},
        SettingsCase{"# nothing but a comment\n\n   \t\n", PackageDirectory{}},
        SettingsCase{"KIND Screen-Saver",
                     directoryWith([](PackageDirectory& d) { d.publicationKind = 1; })},
        SettingsCase{"kind tray   # a tray icon\r\nsingle-instance YES\r\n",
                     directoryWith([](PackageDirectory& d) {
                         d.publicationKind = 2;
                         d.singleInstance = true;
                     })},
        SettingsCase{"display 1024 768 32", directoryWith([](PackageDirectory& d) {
                         d.changeDisplay = true;
                         d.displayWidth = 1024;
                         d.displayHeight = 768;
                         d.displayDepth = 32;
                     })},
        SettingsCase{"splash embedded:\\\\\\splash.png frame progress-bar",
                     directoryWith([](PackageDirectory& d) {
                         d.splashImage = "embedded:\\\\\\splash.png";
                         d.splashOptions = 3;
                     })},
        SettingsCase{"preview \"C:\\My Pictures\\p.bmp\"\nkind screen-saver",
                     directoryWith([](PackageDirectory& d) {
                         d.publicationKind = 1;
                         d.previewImage = "C:\\My Pictures\\p.bmp";
                     })},
        SettingsCase{"start-page 4\ntest-run on\ndebugger-folder \"C:\\Tool\\\"\nicon app.ico",
                     directoryWith([](PackageDirectory& d) {
                         d.testRunMode = 2;
                         d.startPage = 4;
                         d.testRunTexts = {"C:\\Tool\\", "", "", "app.ico"};
                     })},
        SettingsCase{"test-run single-page\nfunction-folder f\nbutton-folder b",
                     directoryWith([](PackageDirectory& d) {
                         d.testRunMode = 1;
                         d.testRunTexts = {"", "f", "b", ""};
                     })},
        // UTF-8 in the manifest, Windows-1252 in the package.
        SettingsCase{"splash caf\xC3\xA9.png",
                     directoryWith([](PackageDirectory& d) { d.splashImage = "caf\xE9.png"; })}));

ManifestEntry entryNamed(std::string name, int line = 1) {
    ManifestEntry entry;
    entry.name = std::move(name);
    entry.line = line;
    return entry;
}

struct EntryCase {
    const char* text;
    ManifestEntry expected;
};

class ManifestEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(ManifestEntryTest, ReadsTheEntryLine) {
    const Manifest manifest = parseManifest(GetParam().text, "m");
    ASSERT_EQ(manifest.entries.size(), 1u) << GetParam().text;
    EXPECT_EQ(manifest.entries[0], GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ManifestEntryTest,
    ::testing::Values(EntryCase{"entry RUNTIME.PUB", entryNamed("RUNTIME.PUB")},
                      EntryCase{"\n# pictures\nentry embedded:\\\\\\logo.png   # the logo",
                                entryNamed("embedded:\\\\\\logo.png", 3)},
                      EntryCase{
                          "entry \"C:\\Work\\my pics\\photo.jpg\" source=\"pics/my photo.jpg\"",
                          [] {
                              ManifestEntry entry = entryNamed("C:\\Work\\my pics\\photo.jpg");
                              entry.source = "pics/my photo.jpg";
                              return entry;
                          }()},
                      EntryCase{"entry data#1.bin type=11 COMPRESS=no",
                                [] {
                                    ManifestEntry entry = entryNamed("data#1.bin");
                                    entry.type = 11;
                                    entry.compress = false;
                                    return entry;
                                }()},
                      EntryCase{"entry sprite.ico type=3 size=32X16 transparent=yes",
                                [] {
                                    ManifestEntry entry = entryNamed("sprite.ico");
                                    entry.type = 3;
                                    entry.imageWidth = 32;
                                    entry.imageHeight = 16;
                                    entry.imageHasTransparency = true;
                                    return entry;
                                }()},
                      EntryCase{"entry C:\\Plugins\\TLPlugin.dll no-data", [] {
                                    ManifestEntry entry = entryNamed("C:\\Plugins\\TLPlugin.dll");
                                    entry.withoutData = true;
                                    return entry;
                                }()}));

struct FaultCase {
    const char* text;
    const char* message; // the whole message must contain it
};

class ManifestFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ManifestFaultTest, NamesTheLineAndTheFault) {
    try {
        parseManifest(GetParam().text, "demo/package.manifest");
        ADD_FAILURE() << "accepted: " << GetParam().text;
    } catch (const ManifestError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
            << "message: " << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ManifestFaultTest,
    ::testing::Values(
        FaultCase{"frobnicate 1", "demo/package.manifest:1: unknown setting \"frobnicate\""},
        FaultCase{"kind desktop", ":1: kind must be application, screen-saver or tray"},
        FaultCase{"kind tray\r\n\r\nkind tray", ":3: kind is already given on line 1"},
        FaultCase{"single-instance true", ":1: single-instance must be yes or no"},
        FaultCase{"display 800 600", ":1: expected: display WIDTH HEIGHT DEPTH"},
        FaultCase{"display 800 600 0", ":1: the depth must be between 1 and 255"},
        FaultCase{"display 80x 600 32", ":1: the width must be a whole number, not \"80x\""},
        FaultCase{"display 99999999999 600 32", ":1: the width must be between 1 and 2147483647"},
        FaultCase{"kind tray\ndisplay 800 600 32", ":2: display applies to applications only"},
        FaultCase{"preview p.png", ":1: preview applies to screen savers only"},
        FaultCase{"test-run single-page\nstart-page 2", ":2: start-page needs test-run on"},
        FaultCase{"\nicon a.ico", ":2: icon applies to test runs only"},
        FaultCase{"splash s.png sparkle", ":1: splash options are progress-bar and frame"},
        FaultCase{"splash s.png frame frame", ":1: frame is given twice"},
        FaultCase{"entry", ":1: expected: entry NAME"},
        FaultCase{"entry \"\"", ":1: the entry name is empty"},
        FaultCase{"entry \"C:\\a b.png", ":1: a double quote is not closed"},
        FaultCase{"entry a.txt compress=maybe", ":1: compress must be yes or no"},
        FaultCase{"entry a.txt type=300", ":1: type must be between 0 and 255"},
        FaultCase{"entry a.png size=10", ":1: size must be WIDTHxHEIGHT"},
        FaultCase{"entry a.png size=0x10", ":1: the width must be between 1"},
        FaultCase{"entry a.txt colour=red", ":1: unknown entry option \"colour\""},
        FaultCase{"entry a.txt type=1 TYPE=3", ":1: type is given twice"},
        FaultCase{"entry a.txt source", ":1: source needs a value"},
        FaultCase{"entry a.txt no-data=yes", ":1: no-data takes no value"},
        FaultCase{"entry x.dll no-data source=x.dll", ":1: an entry with no-data takes neither"},
        FaultCase{"entry a.txt\n# second\nentry A.TXT",
                  ":3: entry \"A.TXT\" is already listed on line 1"},
        FaultCase{"entry \xE6\x97\xA5.txt",
                  ":1: the entry name \"\xE6\x97\xA5.txt\" has characters "
                  "the windows-1252 code page cannot hold"}));

TEST(ManifestTest, RefusesANameTooLongForThePackage) {
    const std::string text = "entry " + std::string(65536, 'n');
    EXPECT_THROW(
        {
            try {
                parseManifest(text, "m");
            } catch (const ManifestError& error) {
                EXPECT_STREQ(error.what(), "m:1: the entry name is 65536 bytes long; a package "
                                           "holds at most 65535");
                throw;
            }
        },
        ManifestError);
    EXPECT_NO_THROW(parseManifest("entry " + std::string(65535, 'n'), "m"));
}

TEST(ManifestTest, ReadingAMissingFileSaysWhich) {
    try {
        readManifest("/nonexistent/package.manifest");
        ADD_FAILURE();
    } catch (const ManifestError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot read /nonexistent/package.manifest"),
                  std::string::npos);
    }
}

} // namespace
} // namespace tomelet
