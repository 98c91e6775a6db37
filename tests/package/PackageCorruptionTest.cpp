#include "package/InflatingInputStream.h"
#include "package/Package.h"
#include "tests/package/PackageFixture.h"

namespace tomelet {
namespace {

using testing::PackageParts;
using testing::TemporaryFolder;

constexpr std::string_view storedText = "hello world";
const std::string packedText = std::string(3000, 'p') + "tail of the packed entry";

LibRec record(std::string name, std::int32_t size, std::int32_t offset, std::int32_t storedSize) {
    LibRec entry;
    entry.directoryName = entry.currentName = std::move(name);
    entry.size = size;
    entry.offset = offset;
    entry.storedSize = storedSize;
    return entry;
}

// Entry data: a stored entry at 0 and a compressed one after it.
struct GoodPackage {
    std::string data;
    std::vector<LibRec> entries;

    GoodPackage() {
        data = storedText;
        const std::string packed = testing::zlibCompress(packedText);
        entries.push_back(record("stored.txt", 0, 0, static_cast<std::int32_t>(data.size())));
        entries.push_back(record("packed.txt", static_cast<std::int32_t>(packedText.size()),
                                 static_cast<std::int32_t>(data.size()),
                                 static_cast<std::int32_t>(packed.size())));
        data += packed;
    }

    std::string directory() const { return encodeDirectory({}, entries); }
    PackageParts parts() const { return PackageParts::around(data, directory()); }
};

class PackageCorruptionTest : public ::testing::Test {
protected:
    int open(std::string_view bytes) {
        testing::writeFile(path_, bytes);
        return package_.OpenPackage(path_);
    }

    TemporaryFolder folder_;
    std::filesystem::path path_ = folder_ / "damaged.pkg";
    Package package_;
};

TEST_F(PackageCorruptionTest, TheGoodPackageOpensAndReads) {
    ASSERT_EQ(open(GoodPackage().parts().bytes()), 0) << package_.failureReason();
    std::string data;
    EXPECT_EQ(package_.ReadEntryToMemory("packed.txt", data), PackageResult::entryFound);
    EXPECT_EQ(data, packedText);
}

TEST_F(PackageCorruptionTest, EveryTruncationFailsToOpen) {
    const std::string bytes = GoodPackage().parts().bytes();
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_EQ(open(bytes.substr(0, length)), PackageResult::openFailed) << length;
}

TEST_F(PackageCorruptionTest, EveryDamagedByteOfTheCompressedDirectoryFailsToOpen) {
    const PackageParts good = GoodPackage().parts();
    ASSERT_EQ(open(good.bytes()), 0);
    const std::vector<LibRec> goodEntries = package_.entries();
    for (std::size_t index = 0; index < good.compressedDirectory.size(); ++index) {
        for (const char flip : {'\x01', '\x80', '\xff'}) {
            PackageParts damaged = good;
            damaged.compressedDirectory[index] ^= flip;
            if (open(damaged.bytes()) == 0) {
                // Only the unused bits after the last deflate code can change unnoticed.
                ASSERT_EQ(package_.entries().size(), goodEntries.size());
                for (std::size_t entry = 0; entry < goodEntries.size(); ++entry)
                    EXPECT_EQ(package_.entries()[entry].directoryName,
                              goodEntries[entry].directoryName);
                EXPECT_EQ(index, good.compressedDirectory.size() - 5);
            }
        }
    }
}

TEST_F(PackageCorruptionTest, ALyingDirectorySizeFailsToOpen) {
    const PackageParts good = GoodPackage().parts();
    const std::int32_t lies[] = {good.directorySize - 1,
                                 good.directorySize / 2,
                                 good.directorySize + 1,
                                 good.directorySize * 2,
                                 0,
                                 -1,
                                 std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max(),
                                 (64 << 20) + 1};
    for (const std::int32_t lie : lies) {
        PackageParts damaged = good;
        damaged.directorySize = lie;
        EXPECT_EQ(open(damaged.bytes()), PackageResult::openFailed) << lie;
        EXPECT_FALSE(package_.failureReason().empty());
        EXPECT_FALSE(package_.isOpen());
    }
}

TEST_F(PackageCorruptionTest, ADirectoryPositionOutsideThePackageFailsToOpen) {
    const PackageParts good = GoodPackage().parts();
    const std::int32_t positions[] = {-214,
                                      -1000000,
                                      std::numeric_limits<std::int32_t>::min(),
                                      std::numeric_limits<std::int32_t>::max(),
                                      good.directoryPosition + 1,
                                      good.directoryPosition - 1,
                                      good.directoryPosition + 5000};
    for (const std::int32_t position : positions) {
        PackageParts damaged = good;
        damaged.directoryPosition = position;
        EXPECT_EQ(open(damaged.bytes()), PackageResult::openFailed) << position;
    }
}

TEST_F(PackageCorruptionTest, Text16LengthsPastTheDirectoryEndFailToOpen) {
    GoodPackage good;
    std::string overlongName = good.directory();
    // The second entry's name length: the header is 4 + 1 + 1 + 1 + 1 + 2 + 1 bytes and the
    // first record 2 + 10 + 1 + 12.
    const std::size_t secondName = 11 + 25;
    ASSERT_EQ(overlongName.substr(secondName + 2, 10), "packed.txt");
    overlongName[secondName] = '\xff';
    overlongName[secondName + 1] = '\xff';
    EXPECT_EQ(open(PackageParts::around(good.data, overlongName).bytes()),
              PackageResult::openFailed);
    ASSERT_EQ(package_.entries().size(), 1u);
    std::string data;
    EXPECT_EQ(package_.ReadEntryToMemory("stored.txt", data), PackageResult::entryFound);
    EXPECT_EQ(data, storedText);

    std::string overlongSplash = good.directory();
    overlongSplash[8] = '\x00';
    overlongSplash[9] = '\x80';
    EXPECT_EQ(open(PackageParts::around(good.data, overlongSplash).bytes()),
              PackageResult::openFailed);
    EXPECT_TRUE(package_.entries().empty());
}

TEST_F(PackageCorruptionTest, EntriesOutsideTheFileFailToReadWithoutHarm) {
    GoodPackage good;
    const std::int32_t past = 1 << 20;
    good.entries = {
        record("beyond", 0, past, 5),
        record("negative offset", 0, -7, 5),
        record("longer than the file", 0, 6, past),
        record("negative stored size", 0, 0, -3),
        record("compressed beyond", 100, past, 10),
        record("compressed without data", 100, 0, 0),
        record("compressed negative", 100, 0, -1),
        record("compressed claims too much", past, 0, 4),
    };
    ASSERT_EQ(open(PackageParts::around(good.data, good.directory()).bytes()), 0)
        << package_.failureReason();
    for (const LibRec& entry : good.entries) {
        SCOPED_TRACE(entry.directoryName);
        std::string data = "untouched";
        EXPECT_EQ(package_.ReadEntryToMemory(entry.directoryName, data),
                  PackageResult::entryReadError);
        EXPECT_EQ(data, "untouched");
        EXPECT_FALSE(package_.ReadEntry(*package_.FindEntry(entry.directoryName),
                                        [](std::string_view) { return true; }));
        EXPECT_THROW(
            {
                auto stream = package_.openEntry(*package_.FindEntry(entry.directoryName));
                char buffer[256];
                while (stream->read(buffer, sizeof buffer) != 0) {
                }
            },
            StreamError);
    }
    char buffer[16];
    EXPECT_EQ(package_.ReadEntryRaw("beyond", 0, buffer, 4), PackageResult::rawReadError);
    EXPECT_EQ(package_.ReadEntryRaw("negative offset", 0, buffer, 4), PackageResult::rawReadError);
    EXPECT_EQ(package_.ReadEntryRaw("negative stored size", 0, buffer, 4), 0);
    // Bytes that exist are read; a count that runs past the file is an error, not a cut.
    EXPECT_EQ(package_.ReadEntryRaw("longer than the file", 0, buffer, 5), 5);
    EXPECT_EQ(std::string_view(buffer, 5), "world");
    std::vector<char> large(past);
    EXPECT_EQ(package_.ReadEntryRaw("longer than the file", 0, large.data(), past),
              PackageResult::rawReadError);
}

TEST_F(PackageCorruptionTest, RawReadsAreCutAtTheStoredSize) {
    ASSERT_EQ(open(GoodPackage().parts().bytes()), 0);
    char buffer[64] = {};
    EXPECT_EQ(package_.ReadEntryRaw("stored.txt", 6, buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string_view(buffer, 5), "world");
    EXPECT_EQ(package_.ReadEntryRaw("stored.txt", 11, buffer, 4), 0);
    EXPECT_EQ(package_.ReadEntryRaw("stored.txt", 500, buffer, 4), 0);
    EXPECT_EQ(package_.ReadEntryRaw("stored.txt", -1, buffer, 4), PackageResult::rawReadError);
    EXPECT_EQ(package_.ReadEntryRaw("missing", 0, buffer, 4), PackageResult::rawNotFound);
    // Raw means the compressed bytes as stored.
    const LibRec& packed = *package_.FindEntry("packed.txt");
    EXPECT_EQ(package_.ReadEntryRaw("packed.txt", 0, buffer, sizeof buffer),
              std::min<std::int64_t>(packed.storedSize, sizeof buffer));
    EXPECT_EQ(buffer[0], '\x78');
}

TEST_F(PackageCorruptionTest, ADamagedCompressedEntryIsAReadErrorAndLeavesNoFile) {
    const GoodPackage good;
    const LibRec& packed = good.entries[1];
    const std::size_t damagedBytes[] = {
        static_cast<std::size_t>(packed.offset) + 1, static_cast<std::size_t>(packed.offset) + 5,
        static_cast<std::size_t>(packed.offset + packed.storedSize) - 1};
    for (const std::size_t index : damagedBytes) {
        SCOPED_TRACE(index);
        PackageParts damaged = good.parts();
        damaged.data[index] ^= '\x5a';
        ASSERT_EQ(open(damaged.bytes()), 0);
        std::string data;
        EXPECT_EQ(package_.ReadEntryToMemory("packed.txt", data), PackageResult::entryReadError);
        TemporaryFolder extraction;
        package_.chooseExtractionFolder(8, extraction.path().string());
        ASSERT_EQ(package_.extractionFolder(), extraction.folder());
        LibRec& entry = *package_.FindEntry("packed.txt");
        EXPECT_EQ(package_.WriteEntryToFile(entry, true).result, PackageResult::writeFailed);
        EXPECT_EQ(package_.WriteEntryToFile(entry, false).result, PackageResult::writeFailed);
        EXPECT_FALSE(entry.extracted);
        EXPECT_TRUE(testing::folderContents(extraction.path()).empty());
        const FoundFile found = package_.GetFile("packed.txt", false);
        EXPECT_EQ(found.result, PackageResult::writeFailed);
        EXPECT_EQ(package_.FindEntry("packed.txt"), &entry);
    }
}

TEST_F(PackageCorruptionTest, ACompressedSizeLargerThanTheStreamIsAReadError) {
    GoodPackage good;
    good.entries[1].size += 1;
    ASSERT_EQ(open(PackageParts::around(good.data, good.directory()).bytes()), 0);
    std::string data;
    EXPECT_EQ(package_.ReadEntryToMemory("packed.txt", data), PackageResult::entryReadError);
}

TEST(InflatingInputStreamTest, ARangeThatEndsInsideTheStreamThrows) {
    TemporaryFolder folder;
    const std::string packed = testing::zlibCompress(packedText);
    testing::writeFile(folder / "stream", packed);
    auto file = std::make_shared<const PackageFile>(folder / "stream");
    InflatingInputStream stream(file, 0, static_cast<std::int64_t>(packed.size()) / 2,
                                static_cast<std::int64_t>(packedText.size()));
    std::string buffer(packedText.size(), '\0');
    EXPECT_THROW(
        {
            while (stream.read(buffer.data(), buffer.size()) != 0) {
            }
        },
        StreamError);
}

} // namespace
} // namespace tomelet
