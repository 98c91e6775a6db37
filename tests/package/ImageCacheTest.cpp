#include "tests/package/ImageCacheFixture.h"

#include <chrono>

namespace tomelet::testing {
namespace {

using ImageCacheTest = ImageCacheTestBase;
using Names = std::vector<std::string>;

TEST_F(ImageCacheTest, TheLeastRecentlyUsedPictureLeavesFirst) {
    cache.SetCapacity(2);
    const std::string a = writePicture("a.pic", "#"), b = writePicture("b.pic", "##"),
                      c = writePicture("c.pic", "###");
    ASSERT_TRUE(get(a) && get(b) && get(c));
    EXPECT_EQ(cache.count(), 2u);
    ASSERT_TRUE(get(b));
    EXPECT_EQ(decoded, (Names{a, b, c}));
    // b was used after c, so c is now the oldest and makes room for a.
    ASSERT_TRUE(get(a));
    ASSERT_TRUE(get(b));
    EXPECT_EQ(decoded, (Names{a, b, c, a}));
    ASSERT_TRUE(get(c));
    EXPECT_EQ(decoded, (Names{a, b, c, a, c}));
}

TEST_F(ImageCacheTest, NamesCompareWithoutCaseAndAStreamIsReadOnce) {
    MemoryInputStream stream("#.|.#");
    const std::optional<CachedImage> first =
        cache.GetImage("Button.Pic", &stream, false, RegionColour::none, -1, -1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->image->width(), 2);
    const std::optional<CachedImage> again = get("BUTTON.PIC");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->image, first->image);
    EXPECT_EQ(decoded, (Names{"Button.Pic"}));
}

TEST_F(ImageCacheTest, AHeldPictureSurvivesEviction) {
    cache.SetCapacity(2);
    const std::string a = writePicture("a.pic", "#"), b = writePicture("b.pic", "##"),
                      c = writePicture("c.pic", "###");
    const std::optional<CachedImage> held = get(a, true);
    ASSERT_TRUE(held && get(b) && get(c));
    EXPECT_EQ(get(a)->image, held->image);
    EXPECT_EQ(decoded, (Names{a, b, c}));
}

TEST_F(ImageCacheTest, WhenEveryPictureIsHeldTheCacheGrows) {
    cache.SetCapacity(1);
    const std::string a = writePicture("a.pic", "#"), b = writePicture("b.pic", "##");
    ASSERT_TRUE(get(a, true));
    ASSERT_TRUE(get(b));
    EXPECT_EQ(cache.count(), 2u);
    ASSERT_TRUE(get(b));
    EXPECT_EQ(decoded, (Names{a, b}));
}

TEST_F(ImageCacheTest, ReleasingOneHoldKeepsThePictureForItsOtherHolder) {
    cache.SetCapacity(1);
    const std::string a = writePicture("a.pic", "#"), b = writePicture("b.pic", "##"),
                      c = writePicture("c.pic", "###");
    const Bitmap* shown = get(a, true)->image;
    ASSERT_EQ(get(a, true)->image, shown);
    cache.ReleaseImage(shown);
    ASSERT_TRUE(get(b) && get(c));
    EXPECT_EQ(get(a)->image, shown);
    EXPECT_EQ(decoded, (Names{a, b, c}));

    // After the last release the picture can leave like any other.
    cache.ReleaseImage(shown);
    ASSERT_TRUE(get(b) && get(c));
    ASSERT_TRUE(get(a));
    EXPECT_EQ(decoded, (Names{a, b, c, b, c, a}));
}

TEST_F(ImageCacheTest, AReplacedDiskFileIsDecodedAgain) {
    const std::string path = writePicture("wallpaper.pic", "#");
    const std::optional<CachedImage> old = get(path, true);
    ASSERT_TRUE(old);
    writeFile(path, "###|###");
    // Stamp a clearly different time so the test does not depend on the clock's resolution.
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) -
                                               std::chrono::seconds(5));

    const std::optional<CachedImage> renewed = get(path);
    ASSERT_TRUE(renewed);
    EXPECT_EQ(renewed->image->width(), 3);
    EXPECT_EQ(decoded, (Names{path, path}));
    EXPECT_EQ(cache.count(), 1u);
    // The holder of the old picture can still draw it until it lets go.
    EXPECT_EQ(old->image->width(), 1);
    cache.ReleaseImage(old->image);
    ASSERT_TRUE(get(path));
    EXPECT_EQ(decoded.size(), 2u);
}

TEST_F(ImageCacheTest, AVanishedDiskFileIsNoLongerShown) {
    const std::string path = writePicture("gone.pic", "#");
    ASSERT_TRUE(get(path));
    std::filesystem::remove(path);
    EXPECT_FALSE(get(path));
    EXPECT_EQ(cache.count(), 0u);
}

TEST_F(ImageCacheTest, FailuresLeaveNoEntryBehind) {
    cache.SetCapacity(3);
    const std::string kept = writePicture("kept.pic", "#");
    ASSERT_TRUE(get(kept));
    for (const std::string& name :
         {writePicture("bad.pic", "undecodable"), writePicture("throws.pic", "throws"),
          (folder / "missing.pic").string(), std::string()}) {
        EXPECT_FALSE(get(name)) << name;
        EXPECT_EQ(cache.count(), 1u) << name;
    }
    const std::string empty = writePicture("empty.pic", "");
    EXPECT_FALSE(get(empty));
    ASSERT_TRUE(get(kept));
    EXPECT_EQ(decoded.front(), kept);
    EXPECT_EQ(std::count(decoded.begin(), decoded.end(), kept), 1);
}

struct CapacityCase {
    int requested;
    int expected;
};

class ImageCacheCapacityTest : public ImageCacheTestBase,
                               public ::testing::WithParamInterface<CapacityCase> {};

TEST_P(ImageCacheCapacityTest, IsClampedAndANewValueEmptiesTheCache) {
    const std::string a = writePicture("a.pic", "#");
    ASSERT_TRUE(get(a));
    cache.SetCapacity(GetParam().requested);
    EXPECT_EQ(cache.capacity(), GetParam().expected);
    EXPECT_EQ(cache.count(), GetParam().requested == ImageCache::defaultCapacity ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Capacities, ImageCacheCapacityTest,
                         ::testing::Values(CapacityCase{0, 1}, CapacityCase{-7, 1},
                                           CapacityCase{1, 1}, CapacityCase{30, 30},
                                           CapacityCase{100, 100}, CapacityCase{500, 100}));

TEST_F(ImageCacheTest, ClearKeepsHeldPicturesAliveUntilReleased) {
    const std::string a = writePicture("a.pic", "##"), b = writePicture("b.pic", "#");
    const std::optional<CachedImage> held = get(a, true, white);
    ASSERT_TRUE(held && get(b));
    cache.Clear();
    EXPECT_EQ(cache.count(), 0u);
    EXPECT_EQ(held->image->width(), 2);
    cache.ReleaseImage(held->image);
    ASSERT_TRUE(get(a));
    EXPECT_EQ(decoded, (Names{a, b, a}));
}

} // namespace
} // namespace tomelet::testing
