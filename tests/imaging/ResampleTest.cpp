#include "imaging/LoadPicture.h"

#include <gtest/gtest.h>

namespace tomelet {
namespace {

Bitmap filled(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
              std::uint8_t alpha = 255) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = bitmap.pixel(x, y);
            pixel[0] = red;
            pixel[1] = green;
            pixel[2] = blue;
            pixel[3] = alpha;
        }
    return bitmap;
}

TEST(ResampleTest, OneColourStaysThatColourAtEverySize) {
    const Bitmap source = filled(7, 5, 200, 100, 50);
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {7, 5}, {20, 13}, {100, 1}}) {
        const Bitmap result = resample(source, width, height);
        ASSERT_EQ(result.width(), width);
        ASSERT_EQ(result.height(), height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(std::vector<int>(result.pixel(x, y), result.pixel(x, y) + 4),
                          (std::vector<int>{200, 100, 50, 255}))
                    << width << "x" << height << " at " << x << "," << y;
    }
}

TEST(ResampleTest, ShrinkingAveragesEveryCoveredPixel) {
    Bitmap checkerboard = filled(8, 8, 0, 0, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x + y) % 2) std::fill(checkerboard.pixel(x, y), checkerboard.pixel(x, y) + 3, 255);
    const Bitmap result = resample(checkerboard, 2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_NEAR(result.pixel(x, y)[0], 128, 8);
}

TEST(ResampleTest, TransparentPixelsLendNoColour) {
    Bitmap source = filled(4, 1, 0, 0, 255, 0);
    std::uint8_t* red = source.pixel(0, 0);
    red[0] = 255;
    red[2] = 0;
    red[3] = 255;
    source.setHasAlpha(true);
    const Bitmap result = resample(source, 2, 1);
    EXPECT_TRUE(result.hasAlpha());
    EXPECT_EQ(result.pixel(0, 0)[0], 255);
    EXPECT_EQ(result.pixel(0, 0)[2], 0);
    EXPECT_GT(result.pixel(0, 0)[3], 0);
    EXPECT_LT(result.pixel(0, 0)[3], 255);
    EXPECT_EQ(result.pixel(1, 0)[3], 0);
}

TEST(ResampleTest, KeepsTheFlagsAndRefusesNothingButEmptiness) {
    Bitmap source = filled(2, 2, 1, 2, 3);
    source.setBadlyDecoded(true);
    source.setSourceBitsPerPixel(8);
    const Bitmap result = resample(source, 0, -4);
    EXPECT_EQ(result.width(), 1);
    EXPECT_EQ(result.height(), 1);
    EXPECT_TRUE(result.isBadlyDecoded());
    EXPECT_EQ(result.sourceBitsPerPixel(), 8);
    EXPECT_TRUE(resample(Bitmap(), 10, 10).isEmpty());
    EXPECT_TRUE(resample(source, 1 << 20, 1 << 20).isEmpty());
}

} // namespace
} // namespace tomelet
