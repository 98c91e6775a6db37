#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// The package is found from the end of the file: "... entries | N | zlib(directory) | D |
// marker | tail". D is stored as (offset of the N field) - 213; the bias is fixed by
// existing packages and every writer must reproduce it.
inline constexpr std::string_view packageMarker = "#n%B&e)";
inline constexpr std::int64_t directoryPositionBias = 213;
// The marker must start within this many bytes of the file's end (beyond the marker itself).
inline constexpr std::int64_t markerSearchLimit = 10000;

namespace EntryType {
inline constexpr std::uint8_t ordinaryFile = 1;
inline constexpr std::uint8_t picture = 3;
inline constexpr std::uint8_t font = 6;
inline constexpr std::uint8_t plugin = 10;
inline constexpr std::uint8_t pluginSupportFile = 11;
inline constexpr std::uint8_t pluginAlternative = 16;
} // namespace EntryType

// One entry of the package directory, as stored plus its run-time state.
struct LibRec {
    std::string directoryName; // as stored; never changes
    std::string currentName;   // the directory name until the entry is written out as a file
    std::uint8_t type = EntryType::ordinaryFile;
    std::int32_t size = 0;       // inflated size; 0 or less: stored without compression
    std::int32_t offset = 0;     // absolute file offset of the data
    std::int32_t storedSize = 0; // bytes at offset
    std::int32_t imageWidth = 0; // pictures only
    std::int32_t imageHeight = 0;
    bool imageHasTransparency = false;
    bool extracted = false;

    bool isCompressed() const { return size > 0; }
    // The number of bytes a reader of the entry must deliver.
    std::int64_t dataSize() const { return isCompressed() ? size : storedSize; }
};

namespace PublicationKind {
inline constexpr std::uint8_t application = 0;
inline constexpr std::uint8_t screenSaver = 1;
inline constexpr std::uint8_t trayApplication = 2;
} // namespace PublicationKind

namespace TestRunMode {
inline constexpr std::uint8_t normal = 0;
inline constexpr std::uint8_t singlePage = 1;
inline constexpr std::uint8_t testRun = 2;
// Stored only: a test run followed by a start page. Read back as testRun + startPage.
inline constexpr std::uint8_t testRunWithStartPage = 3;
} // namespace TestRunMode

// The start-up values the directory carries ahead of its entries.
struct PackageDirectory {
    std::int32_t reserved = 0;
    std::uint8_t testRunMode = TestRunMode::normal;
    std::optional<std::int32_t> startPage; // only with testRunMode == testRun
    // Only in test runs: debugger folder, function-file folder, button-library folder, icon.
    std::array<std::string, 4> testRunTexts;
    std::uint8_t publicationKind = PublicationKind::application;
    bool singleInstance = false;
    bool changeDisplay = false; // applications only
    std::int32_t displayWidth = 0;
    std::int32_t displayHeight = 0;
    std::uint8_t displayDepth = 0;
    std::string splashImage;
    std::uint8_t splashOptions = 0; // bit 0 progress bar, bit 1 frame
    std::string previewImage;       // screen savers only

    bool isTestRun() const { return testRunMode != TestRunMode::normal; }
    bool operator==(const PackageDirectory&) const = default;
};

namespace SplashOption {
inline constexpr std::uint8_t progressBar = 1;
inline constexpr std::uint8_t frame = 2;
} // namespace SplashOption

} // namespace tomelet
