#include "tests/package/ImageCacheFixture.h"
#include "tests/package/PackageFixture.h"

namespace tomelet::testing {
namespace {

class ImageCachePackageTest : public ImageCacheTestBase {
protected:
    void SetUp() override {
        FixtureEntry picture = compressed("C:\\Art\\Logo.pic", "#.|.#", EntryType::picture);
        // The directory's size, which differs from the data on purpose: it must be what
        // ImageInfo tells, as nothing is decoded.
        picture.spec.imageWidth = 640;
        picture.spec.imageHeight = 480;
        picture.spec.imageHasTransparency = true;
        writePackage(folder / "publication.pkg",
                     {picture, stored("embedded:\\\\\\wall.pic", "###|###"),
                      stored("notes.txt", "plain text")});
        ASSERT_EQ(package.OpenPackage(folder / "publication.pkg"), 0);
    }
};

TEST_F(ImageCachePackageTest, AnEntryIsDecodedFromThePackageOnce) {
    const std::optional<CachedImage> logo = get("c:/art/LOGO.PIC");
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->image->width(), 2);
    ASSERT_TRUE(get("C:/ART/logo.pic"));
    EXPECT_EQ(decoded, (std::vector<std::string>{"c:/art/LOGO.PIC"}));
}

TEST_F(ImageCachePackageTest, AnEntryWinsOverADiskFileOfTheSameName) {
    writePicture("wall.pic", "#");
    const std::optional<CachedImage> wall = get("embedded:\\\\\\wall.pic");
    ASSERT_TRUE(wall);
    EXPECT_EQ(wall->image->width(), 3);
}

TEST_F(ImageCachePackageTest, ANameOutsideThePackageIsFoundBesideIt) {
    writePicture("pictures/deep/beside.pic", "####");
    const std::optional<CachedImage> beside = get("beside.pic");
    ASSERT_TRUE(beside);
    EXPECT_EQ(beside->image->width(), 4);
}

TEST_F(ImageCachePackageTest, ImageInfoOfAPictureEntryComesFromTheDirectory) {
    const std::optional<PictureSize> info = cache.ImageInfo("c:\\art\\logo.pic");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->width, 640);
    EXPECT_EQ(info->height, 480);
    EXPECT_TRUE(info->hasTransparency);
    EXPECT_TRUE(decoded.empty());
    EXPECT_EQ(cache.count(), 0u);
}

TEST_F(ImageCachePackageTest, ImageInfoFailsForWhatIsNoPicture) {
    EXPECT_FALSE(cache.ImageInfo("notes.txt"));
    EXPECT_FALSE(cache.ImageInfo("absent.pic"));
    EXPECT_FALSE(cache.ImageInfo(""));
    EXPECT_TRUE(decoded.empty());
}

} // namespace
} // namespace tomelet::testing
