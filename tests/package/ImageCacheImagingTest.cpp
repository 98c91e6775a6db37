#include "tests/package/ImageCacheFixture.h"

#include <filesystem>

namespace tomelet::testing {
namespace {

// The cache over the real image library, with pictures from its test fixtures.
class ImageCacheImagingTest : public ImageCacheTestBase {
protected:
    static std::string fixture(const char* name) {
        return (std::filesystem::path(TOMELET_SOURCE_DIR) / "tests/imaging/data" / name).string();
    }
};

TEST_F(ImageCacheImagingTest, ImageInfoOfADiskFileReadsItsHeaderWithoutDecoding) {
    const std::optional<PictureSize> plain = cache.ImageInfo(fixture("bmp-24.bmp"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->width, 13);
    EXPECT_EQ(plain->height, 7);
    EXPECT_FALSE(plain->hasTransparency);
    const std::optional<PictureSize> alpha = cache.ImageInfo(fixture("png-grey-alpha.png"));
    ASSERT_TRUE(alpha);
    EXPECT_TRUE(alpha->hasTransparency);
    EXPECT_TRUE(decoded.empty());
    EXPECT_EQ(cache.count(), 0u);

    const std::string notAPicture = writePicture("notes.txt", "no picture here");
    EXPECT_FALSE(cache.ImageInfo(notAPicture));
}

TEST_F(ImageCacheImagingTest, ThePlayersCacheDecodesWithTheImageLibrary) {
    ImageCache& players = ImageCache::instance();
    const std::optional<CachedImage> picture =
        players.GetImage(fixture("bmp-24.bmp"), nullptr, false, RegionColour::none, -1, -1);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->image->width(), 13);
    EXPECT_EQ(picture->image->height(), 7);

    // What the library cannot decode is not shown as its broken-picture sign but as nothing.
    const std::string broken = writePicture("broken.png", "\x89PNG\r\n\x1a\nbroken");
    EXPECT_FALSE(players.GetImage(broken, nullptr, false, RegionColour::none, -1, -1));
    players.Clear();
}

} // namespace
} // namespace tomelet::testing
