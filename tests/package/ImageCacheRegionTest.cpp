#include "tests/package/ImageCacheFixture.h"

namespace tomelet::testing {
namespace {

using ImageCacheRegionTest = ImageCacheTestBase;

struct RegionCase {
    const char* what;
    const char* picture;
    int colour;
    std::int64_t expectedArea; // 0: no region
};

class ImageCacheRegionColourTest : public ImageCacheTestBase,
                                   public ::testing::WithParamInterface<RegionCase> {};

TEST_P(ImageCacheRegionColourTest, BuildsTheRegionTheColourAsksFor) {
    const std::string path = writePicture("shape.pic", GetParam().picture);
    const std::optional<CachedImage> picture = get(path, false, GetParam().colour);
    ASSERT_TRUE(picture);
    if (GetParam().expectedArea == 0) {
        EXPECT_EQ(picture->region, nullptr);
    } else {
        ASSERT_NE(picture->region, nullptr);
        EXPECT_EQ(picture->region->area(), GetParam().expectedArea);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ImageCacheRegionColourTest,
    ::testing::Values(
        // The own colour is the bottom-left pixel: white here, so the black pixels remain.
        RegionCase{"own", "##.|#..|...", RegionColour::own, 3},
        RegionCase{"ownRed", "##.|#..|r..", RegionColour::own, 8},
        RegionCase{"explicitBlack", "##.|#..|...", black, 6},
        RegionCase{"noRegion", "##.|#..|...", RegionColour::none, 0},
        RegionCase{"alphaPictureGetsNone", "##~|#..|...", white, 0},
        RegionCase{"badlyDecodedGetsNone", "!##.|#..|...", white, 0},
        RegionCase{"nothingOpaque", "...|...", white, 0}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ImageCacheRegionTest, ARegionIsRebuiltOnlyWhenSizeOrColourChange) {
    const std::string path = writePicture("shape.pic", "##|##");
    const Region* own = get(path, false, white)->region;
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->area(), 4);
    EXPECT_EQ(get(path, false, white, 2, 2)->region, own); // -1 and the own size are the same

    const Region* larger = get(path, false, white, 6, 4)->region;
    ASSERT_NE(larger, nullptr);
    EXPECT_EQ(larger->bounds(), (Rectangle{0, 0, 6, 4}));
    EXPECT_EQ(larger->area(), 24);

    const Region* black = get(path, false, 0x000000, 6, 4)->region;
    EXPECT_EQ(black, nullptr);
    EXPECT_EQ(decoded.size(), 1u);
}

TEST_F(ImageCacheRegionTest, AHeldRegionIsNotReplacedForAnotherCaller) {
    const std::string path = writePicture("shape.pic", "#.|##");
    const std::optional<CachedImage> held = get(path, true, white);
    ASSERT_TRUE(held && held->region);
    const Region shape = *held->region;

    EXPECT_EQ(get(path, false, white, 8, 8)->region, nullptr);
    EXPECT_EQ(get(path, false, black)->region, nullptr);
    const std::optional<CachedImage> same = get(path, false, white);
    EXPECT_EQ(same->region, held->region);
    EXPECT_EQ(*held->region, shape);

    // Once released, another size may replace it.
    cache.ReleaseImage(held->image);
    const Region* larger = get(path, false, white, 4, 4)->region;
    ASSERT_NE(larger, nullptr);
    EXPECT_EQ(larger->bounds(), (Rectangle{0, 0, 4, 4}));
}

TEST_F(ImageCacheRegionTest, ARegionOfNoSizeIsNone) {
    const std::string path = writePicture("shape.pic", "##|##");
    EXPECT_EQ(get(path, false, white, 0, 5)->region, nullptr);
    EXPECT_EQ(get(path, false, white, 5, 0)->region, nullptr);
}

} // namespace
} // namespace tomelet::testing
