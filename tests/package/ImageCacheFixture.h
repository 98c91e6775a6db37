#pragma once

#include "package/ImageCache.h"
#include "tests/support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tomelet::testing {

inline constexpr int white = 0xFFFFFF;
inline constexpr int black = 0x000000;

// A picture format for tests: rows joined by "|", '.' white, '#' black, 'r' red, '~' a
// half-transparent white that gives the picture alpha. A leading "!" marks it badly decoded;
// "undecodable" is refused and "throws" throws.
inline std::unique_ptr<Bitmap> decodeTextPicture(std::string_view bytes) {
    if (bytes == "undecodable") return nullptr;
    if (bytes == "throws") throw std::runtime_error("decoder failure");
    const bool badlyDecoded = bytes.starts_with('!');
    if (badlyDecoded) bytes.remove_prefix(1);
    std::vector<std::string_view> rows;
    for (std::size_t start = 0;;) {
        const std::size_t end = bytes.find('|', start);
        rows.push_back(bytes.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    auto bitmap = std::make_unique<Bitmap>(static_cast<int>(rows.front().size()),
                                           static_cast<int>(rows.size()));
    bitmap->setBadlyDecoded(badlyDecoded);
    bitmap->setSourceBitsPerPixel(24);
    for (int y = 0; y < bitmap->height(); ++y)
        for (int x = 0; x < bitmap->width(); ++x) {
            std::uint8_t* pixel = bitmap->pixel(x, y);
            const char kind = rows[y].at(x);
            const std::uint8_t value = kind == '#' ? 0 : 255;
            pixel[0] = value;
            pixel[1] = kind == 'r' ? 0 : value;
            pixel[2] = kind == 'r' ? 0 : value;
            pixel[3] = kind == '~' ? 128 : 255;
            if (kind == '~') bitmap->setHasAlpha(true);
        }
    return bitmap;
}

// A cache over `package` whose decoder records every name it decodes.
class ImageCacheTestBase : public ::testing::Test {
protected:
    // A disk picture in the test folder; returns its path.
    std::string writePicture(const std::string& fileName, std::string_view rows) {
        const std::filesystem::path path = folder / fileName;
        writeFile(path, rows);
        return path.string();
    }

    std::optional<CachedImage> get(std::string_view name, bool lock = false,
                                   int colour = RegionColour::none, int width = -1,
                                   int height = -1) {
        return cache.GetImage(name, nullptr, lock, colour, width, height);
    }

    TemporaryFolder folder;
    Package package;
    std::vector<std::string> decoded;
    ImageCache cache{package, [this](std::string_view bytes, std::string_view name) {
                         decoded.emplace_back(name);
                         return decodeTextPicture(bytes);
                     }};
};

} // namespace tomelet::testing
