#include "tools/Packer.h"

#include "package/Package.h"
#include "tests/tools/ToolsFixture.h"
#include "tools/PackError.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

namespace tomelet {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TemporaryFolder;
using testing::writeFile;
using namespace testing::pictures;

const std::string publicationText = "TITLE=Packed\r\nNEWPAGE=One\r\n";

// What a reader of the written package sees.
struct ReadBack {
    PackageDirectory directory;
    std::vector<LibRec> entries; // in directory order
    std::map<std::string, std::string> data;
};

ReadBack readPackage(const fs::path& path) {
    Package package;
    EXPECT_EQ(package.OpenPackage(path), 0) << package.failureReason();
    ReadBack result{package.directory(), package.entries(), {}};
    std::reverse(result.entries.begin(), result.entries.end());
    for (const LibRec& entry : result.entries) {
        std::string bytes;
        EXPECT_EQ(package.ReadEntryToMemory(entry.directoryName, bytes), 0) << entry.directoryName;
        result.data[entry.directoryName] = bytes;
    }
    return result;
}

std::vector<std::string> names(const ReadBack& package) {
    std::vector<std::string> result;
    for (const LibRec& entry : package.entries)
        result.push_back(entry.directoryName);
    return result;
}

const LibRec& entryNamed(const ReadBack& package, std::string_view name) {
    const auto found =
        std::find_if(package.entries.begin(), package.entries.end(),
                     [&](const LibRec& entry) { return entry.directoryName == name; });
    if (found == package.entries.end()) throw std::runtime_error("no entry " + std::string(name));
    return *found;
}

class PackerTest : public ::testing::Test {
protected:
    fs::path folder() const { return temporary_ / "publication"; }

    PackRequest bareRequest() const {
        PackRequest request;
        request.folder = folder();
        request.output = temporary_ / "out.pkg";
        return request;
    }

    std::string packFailure(const PackRequest& request) {
        try {
            packPublication(request);
        } catch (const PackError& error) {
            EXPECT_FALSE(fs::exists(request.output.string() + ".partial"));
            return error.what();
        }
        ADD_FAILURE() << "packed without an error";
        return {};
    }

    TemporaryFolder temporary_;
};

TEST_F(PackerTest, WithoutManifestPacksEveryFileUnderItsRelativeName) {
    writeFile(folder() / "runtime.pub", publicationText);
    writeFile(folder() / "pics" / "logo.png", png(48, 32, 6));
    writeFile(folder() / "notes.txt", "some notes");
    writeFile(folder() / "fonts" / "Demo.TTF", "not really a font");
    writeFile(folder() / "caf\xC3\xA9.txt", "accented");
    writeFile(folder() / ".hidden", "left out");
    writeFile(folder() / ".git" / "config", "left out");
    // A package written into the folder earlier must not end up inside the next one.
    PackRequest request = bareRequest();
    request.output = folder() / "previous.pkg";
    packPublication(request);
    packPublication(request);

    const ReadBack package = readPackage(request.output);
    EXPECT_EQ(names(package),
              (std::vector<std::string>{"RUNTIME.PUB", "caf\xE9.txt", "fonts\\Demo.TTF",
                                        "notes.txt", "pics\\logo.png"}));
    EXPECT_EQ(package.directory, PackageDirectory{});
    EXPECT_EQ(package.data.at("RUNTIME.PUB"), publicationText);
    EXPECT_EQ(package.data.at("pics\\logo.png"), png(48, 32, 6));
    EXPECT_EQ(entryNamed(package, "fonts\\Demo.TTF").type, EntryType::font);
    const LibRec& logo = entryNamed(package, "pics\\logo.png");
    EXPECT_EQ(logo.type, EntryType::picture);
    EXPECT_EQ(logo.imageWidth, 48);
    EXPECT_EQ(logo.imageHeight, 32);
    EXPECT_TRUE(logo.imageHasTransparency);
    for (const LibRec& entry : package.entries)
        EXPECT_TRUE(entry.isCompressed()) << entry.directoryName;
}

TEST_F(PackerTest, PlayerExecutableIsThePlayerFollowedByThePackage) {
    writeFile(folder() / "RUNTIME.PUB", publicationText);
    const std::string player = "\x7F"
                               "ELF pretend player\n" +
                               std::string(5000, 'p');
    writeFile(temporary_ / "tomelet", player);
    PackRequest request = bareRequest();
    request.player = temporary_ / "tomelet";
    request.output = temporary_ / "Demo";
    const PackResult result = packPublication(request);

    const std::string written = readFile(request.output);
    EXPECT_EQ(written.substr(0, player.size()), player);
    EXPECT_EQ(result.fileSize, written.size());
    EXPECT_EQ(fs::status(request.output).permissions() & fs::perms::all, fs::perms(0755));
    EXPECT_EQ(readPackage(request.output).data.at("RUNTIME.PUB"), publicationText);
}

TEST_F(PackerTest, ManifestGivesTheDirectoryAndEveryEntry) {
    writeFile(folder() / "RUNTIME.PUB", publicationText);
    writeFile(folder() / "logo.png", png(10, 20, 2));
    writeFile(folder() / "pics" / "photo one.jpg", jpeg(640, 480));
    writeFile(folder() / "data.bin", std::string(3000, 'd'));
    writeFile(folder() / "sprite.gif", gif(5, 6, gifFrame(true)));
    writeFile(folder() / "unlisted.txt", "not in the manifest, so not in the package");
    writeFile(folder() / "package.manifest",
              "kind screen-saver\n"
              "single-instance yes\n"
              "splash embedded:\\\\\\logo.png progress-bar\n"
              "preview \"C:\\Work\\pics\\photo one.jpg\"\n"
              "test-run on\n"
              "start-page 3\n"
              "debugger-folder C:\\Tool\\\n"
              "entry embedded:\\\\\\logo.png\n"
              "entry \"C:\\Work\\pics\\photo one.jpg\" source=\"pics/photo one.jpg\"\n"
              "entry data.bin type=11 compress=no\n"
              "entry sprite.gif transparent=no\n"
              "entry C:\\Plugins\\TLPlugin.dll no-data\n");
    PackRequest request = bareRequest();
    request.tail = temporary_ / "signature";
    const std::string tail(largestTail, 's');
    writeFile(request.tail, tail);
    packPublication(request);

    const std::string written = readFile(request.output);
    EXPECT_EQ(written.substr(written.size() - tail.size() - packageMarker.size()),
              std::string(packageMarker) + tail);
    const ReadBack package = readPackage(request.output);
    PackageDirectory expected;
    expected.publicationKind = PublicationKind::screenSaver;
    expected.singleInstance = true;
    expected.splashImage = "embedded:\\\\\\logo.png";
    expected.splashOptions = SplashOption::progressBar;
    expected.previewImage = "C:\\Work\\pics\\photo one.jpg";
    expected.testRunMode = TestRunMode::testRun;
    expected.startPage = 3;
    expected.testRunTexts = {"C:\\Tool\\", "", "", ""};
    EXPECT_EQ(package.directory, expected);
    EXPECT_EQ(names(package),
              (std::vector<std::string>{"RUNTIME.PUB", "embedded:\\\\\\logo.png",
                                        "C:\\Work\\pics\\photo one.jpg", "data.bin", "sprite.gif",
                                        "C:\\Plugins\\TLPlugin.dll"}));

    const LibRec& logo = entryNamed(package, "embedded:\\\\\\logo.png");
    EXPECT_EQ(std::tie(logo.type, logo.imageWidth, logo.imageHeight, logo.imageHasTransparency),
              std::make_tuple(EntryType::picture, 10, 20, false));
    const LibRec& photo = entryNamed(package, "C:\\Work\\pics\\photo one.jpg");
    EXPECT_EQ(std::tie(photo.imageWidth, photo.imageHeight), std::make_tuple(640, 480));
    EXPECT_EQ(package.data.at("C:\\Work\\pics\\photo one.jpg"), jpeg(640, 480));
    const LibRec& data = entryNamed(package, "data.bin");
    EXPECT_EQ(data.type, EntryType::pluginSupportFile);
    EXPECT_FALSE(data.isCompressed());
    EXPECT_EQ(data.storedSize, 3000);
    const LibRec& sprite = entryNamed(package, "sprite.gif");
    EXPECT_EQ(std::tie(sprite.imageWidth, sprite.imageHeight, sprite.imageHasTransparency),
              std::make_tuple(5, 6, false)); // the manifest overrules the header
    const LibRec& plugin = entryNamed(package, "C:\\Plugins\\TLPlugin.dll");
    EXPECT_EQ(plugin.type, EntryType::plugin);
    EXPECT_EQ(plugin.storedSize, 0);
    EXPECT_EQ(plugin.size, 0);
}

TEST_F(PackerTest, FailureLeavesAnEarlierOutputAsItWas) {
    writeFile(folder() / "RUNTIME.PUB", publicationText);
    writeFile(folder() / "package.manifest", "entry embedded:\\\\\\missing.png\n");
    PackRequest request = bareRequest();
    writeFile(request.output, "an earlier package");
    packFailure(request);
    EXPECT_EQ(readFile(request.output), "an earlier package");
}

struct FaultCase {
    const char* description;
    void (*prepare)(const fs::path& folder, PackRequest& request);
    const char* message;
};

class PackerFaultTest : public PackerTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(PackerFaultTest, SaysWhatIsWrongAndWhere) {
    PackRequest request = bareRequest();
    GetParam().prepare(folder(), request);
    const bool outputExisted = fs::exists(request.output);
    const std::string earlierOutput = readFile(request.output);
    const std::string message = packFailure(request);
    EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
    EXPECT_EQ(fs::exists(request.output), outputExisted);
    EXPECT_EQ(readFile(request.output), earlierOutput);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PackerFaultTest,
    ::testing::Values(
        FaultCase{"no folder", [](const fs::path&, PackRequest&) {}, "publication is not a folder"},
        FaultCase{"no publication text",
                  [](const fs::path& folder, PackRequest&) { writeFile(folder / "a.txt", "a"); },
                  "publication has no RUNTIME.PUB"},
        FaultCase{"manifest entries but no publication text",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "a.txt", "a");
                      writeFile(folder / "package.manifest", "entry a.txt");
                  },
                  "publication has no RUNTIME.PUB"},
        FaultCase{"missing source",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "package.manifest",
                                "# pictures\nentry C:\\Work\\pics\\logo.png\n");
                  },
                  "package.manifest:2: the source file"},
        FaultCase{"missing source names the file",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "package.manifest", "entry C:\\Work\\pics\\logo.png\n");
                  },
                  "publication/logo.png of entry \"C:\\Work\\pics\\logo.png\" does not exist"},
        FaultCase{"publication text without data",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "package.manifest", "entry runtime.pub no-data\n");
                  },
                  ":1: RUNTIME.PUB cannot be an entry without data"},
        FaultCase{"picture facts on a file",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "a.txt", "a");
                      writeFile(folder / "package.manifest", "entry a.txt size=3x3\n");
                  },
                  ":1: size and transparent apply only to pictures"},
        FaultCase{"unreadable picture in a manifest",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "icon.ico", "not a picture the packer reads");
                      writeFile(folder / "package.manifest", "entry icon.ico type=3\n");
                  },
                  ":1: cannot read the size of the picture"},
        FaultCase{"unreadable picture in a folder",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "broken.png", "\x89PNG broken");
                  },
                  "broken.png: cannot read the size of the picture"},
        FaultCase{"picture without data and size",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "package.manifest", "entry far.png no-data\n");
                  },
                  ":1: picture entry \"far.png\" has no data to read its size from"},
        FaultCase{"splash image that is no entry",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "package.manifest", "\nsplash embedded:\\\\\\s.png\n");
                  },
                  "package.manifest:2: the splash image \"embedded:\\\\\\s.png\" is not an entry"},
        FaultCase{"names equal without case",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "Logo.txt", "1");
                      writeFile(folder / "logo.TXT", "2");
                  },
                  "would both be the entry"},
        FaultCase{"name beyond the code page",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "\xE6\x97\xA5.txt", "1");
                  },
                  "the name has characters the windows-1252 code page cannot hold"},
        FaultCase{"manifest error",
                  [](const fs::path& folder, PackRequest&) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "package.manifest", "kind tray\nkind tray\n");
                  },
                  "package.manifest:2: kind is already given on line 1"},
        FaultCase{"missing given manifest",
                  [](const fs::path& folder, PackRequest& request) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      request.manifest = folder / "other.manifest";
                  },
                  "cannot read "},
        FaultCase{"missing player",
                  [](const fs::path& folder, PackRequest& request) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      request.player = folder / "no-player";
                  },
                  "the player executable "},
        FaultCase{"output over the player",
                  [](const fs::path& folder, PackRequest& request) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      writeFile(folder / "player", "player");
                      request.player = folder / "player";
                      request.output = folder / "." / "player";
                  },
                  "would replace the player executable"},
        FaultCase{"tail too long",
                  [](const fs::path& folder, PackRequest& request) {
                      writeFile(folder / "RUNTIME.PUB", publicationText);
                      request.tail = folder / "tail";
                      writeFile(request.tail, std::string(largestTail + 1, 't'));
                  },
                  "is 9994 bytes; the player finds the package only behind a tail of at most "
                  "9993 bytes"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) {
        std::string name = info.param.description;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

} // namespace
} // namespace tomelet
