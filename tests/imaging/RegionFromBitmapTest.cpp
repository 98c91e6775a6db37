#include "imaging/Region.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tomelet {
namespace {

constexpr int ownColour = 536870912;
constexpr int white = 0xFFFFFF;
constexpr int red = 0x0000FF; // blue * 65536 + green * 256 + red

void setPixel(Bitmap& bitmap, int x, int y, int colour, std::uint8_t alpha = 255) {
    std::uint8_t* pixel = bitmap.row(y) + x * 4;
    pixel[0] = colour & 0xFF;
    pixel[1] = (colour >> 8) & 0xFF;
    pixel[2] = (colour >> 16) & 0xFF;
    pixel[3] = alpha;
}

// Rows of '.' white, 'r' red and '#' black pixels, top row first.
Bitmap bitmapFrom(const std::vector<std::string>& rows) {
    Bitmap bitmap(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const char pixel = rows[y][x];
            setPixel(bitmap, x, y, pixel == '.' ? white : pixel == 'r' ? red : 0);
        }
    return bitmap;
}

// The pixels the region covers, drawn like the input rows with '#' inside and '.' outside.
std::vector<std::string> drawn(const std::optional<Region>& region, int width, int height) {
    std::vector<std::string> rows(height, std::string(width, '.'));
    if (!region) return rows;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (region->contains(x, y)) rows[y][x] = '#';
    return rows;
}

struct ColourCase {
    const char* what;
    std::vector<std::string> picture;
    int colour;
    std::vector<std::string> expected;
};

class RegionFromBitmapColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(RegionFromBitmapColourTest, CoversThePixelsThatDifferFromTheColour) {
    const ColourCase& example = GetParam();
    const Bitmap bitmap = bitmapFrom(example.picture);
    EXPECT_EQ(drawn(RegionFromBitmap(bitmap, example.colour), bitmap.width(), bitmap.height()),
              example.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, RegionFromBitmapColourTest,
    ::testing::Values(
        // The own colour is the bottom-left pixel, not the top-left one.
        ColourCase{"own colour from the bottom left",
                   {"#..r", ".##.", "rr.."},
                   ownColour,
                   {"###.", "####", "..##"}},
        ColourCase{"explicit white", {"#..r", ".##.", "rr.."}, white, {"#..#", ".##.", "##.."}},
        ColourCase{"explicit red", {"#..r", ".##.", "rr.."}, red, {"###.", "####", "..##"}},
        // Bits above the 24 colour bits are not part of the colour.
        ColourCase{"high bits ignored", {"#..r"}, 0x01000000 | white, {"#..#"}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& character : name)
            if (!std::isalnum(static_cast<unsigned char>(character))) character = '_';
        return name;
    });

TEST(RegionFromBitmapTest, NoOpaquePixelGivesNoRegion) {
    EXPECT_FALSE(RegionFromBitmap(bitmapFrom({"...", "..."}), white).has_value());
    EXPECT_FALSE(RegionFromBitmap(bitmapFrom({"rr", "rr"}), ownColour).has_value());
}

TEST(RegionFromBitmapTest, AlphaDoesNotMakeAPixelTransparent) {
    Bitmap bitmap = bitmapFrom({"#.", ".."});
    setPixel(bitmap, 0, 0, 0, 0);
    setPixel(bitmap, 1, 0, white, 0);
    EXPECT_EQ(drawn(RegionFromBitmap(bitmap, white), 2, 2), (std::vector<std::string>{"#.", ".."}));
}

TEST(RegionFromBitmapTest, RunsSpanningManyBatchesUniteToEveryOpaquePixel) {
    // A checkerboard has width / 2 runs a row, so batches end in the middle of rows.
    constexpr int size = 123;
    std::vector<std::string> rows(size, std::string(size, '.'));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if ((x + y) % 2 == 0 || (y > 60 && x > 30)) rows[y][x] = '#';
    const std::optional<Region> region = RegionFromBitmap(bitmapFrom(rows), white);
    EXPECT_EQ(drawn(region, size, size), rows);
}

} // namespace
} // namespace tomelet
