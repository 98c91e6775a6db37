#include "imaging/Region.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace tomelet {
namespace {

constexpr int fieldSize = 24;

// The pixels a list of rectangles covers, worked out pixel by pixel.
std::vector<bool> coveredPixels(const std::vector<Rectangle>& rectangles) {
    std::vector<bool> covered(fieldSize * fieldSize, false);
    for (const Rectangle& rectangle : rectangles)
        for (int y = rectangle.top; y < rectangle.bottom; ++y)
            for (int x = rectangle.left; x < rectangle.right; ++x)
                covered[y * fieldSize + x] = true;
    return covered;
}

void expectCovers(const Region& region, const std::vector<bool>& covered) {
    std::int64_t count = 0;
    for (int y = -1; y <= fieldSize; ++y)
        for (int x = -1; x <= fieldSize; ++x) {
            const bool inside =
                x >= 0 && y >= 0 && x < fieldSize && y < fieldSize && covered[y * fieldSize + x];
            count += inside;
            ASSERT_EQ(region.contains(x, y), inside) << "at " << x << "," << y;
        }
    EXPECT_EQ(region.area(), count);
}

std::vector<Rectangle> randomRectangles(std::mt19937& random, int count) {
    std::uniform_int_distribution<int> coordinate(0, fieldSize);
    std::vector<Rectangle> rectangles;
    for (int index = 0; index < count; ++index) {
        int left = coordinate(random), right = coordinate(random);
        int top = coordinate(random), bottom = coordinate(random);
        rectangles.push_back({std::min(left, right), std::min(top, bottom), std::max(left, right),
                              std::max(top, bottom)});
    }
    return rectangles;
}

TEST(RegionTest, EmptyRegionHasNoPixelsAndEmptyBounds) {
    const Region region(Rectangle{5, 5, 5, 9});
    EXPECT_TRUE(region.isEmpty());
    EXPECT_EQ(region.area(), 0);
    EXPECT_TRUE(region.bounds().isEmpty());
    EXPECT_FALSE(region.contains(5, 5));
    EXPECT_EQ(region, Region());
}

TEST(RegionTest, RandomRectanglesCoverExactlyTheirPixels) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const std::vector<Rectangle> rectangles = randomRectangles(random, 1 + round % 9);
        expectCovers(Region(rectangles), coveredPixels(rectangles));
    }
}

TEST(RegionTest, UnionCoversBothAndDoesNotDependOnOrderOrGrouping) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::vector<Rectangle> first = randomRectangles(random, 1 + round % 5);
        const std::vector<Rectangle> second = randomRectangles(random, 1 + round % 4);
        const Region united = Region(first).united(Region(second));

        std::vector<Rectangle> all = first;
        all.insert(all.end(), second.begin(), second.end());
        expectCovers(united, coveredPixels(all));
        EXPECT_EQ(united, Region(second).united(Region(first)));
        EXPECT_EQ(united, Region(all));
        Region inPlace(first);
        inPlace.unite(Region(second));
        EXPECT_EQ(inPlace, united);
        // The canonical rectangles describe the same region again.
        EXPECT_EQ(Region(united.rectangles()), united);
    }
}

TEST(RegionTest, TouchingPiecesMergeIntoOneRectangle) {
    const std::vector<Rectangle> pieces{{0, 0, 4, 1}, {4, 0, 9, 1}, {0, 1, 9, 2}, {2, 2, 7, 3}};
    const Region region(pieces);
    EXPECT_EQ(region.rectangles(), (std::vector<Rectangle>{{0, 0, 9, 2}, {2, 2, 7, 3}}));
    EXPECT_EQ(region.bounds(), (Rectangle{0, 0, 9, 3}));
}

TEST(RegionTest, NegativeCoordinatesAndGapsBetweenBands) {
    Region region(Rectangle{-5, -5, -2, -3});
    region.unite(Region(Rectangle{10, 10, 12, 11}));
    EXPECT_TRUE(region.contains(-5, -5));
    EXPECT_FALSE(region.contains(0, 0));
    EXPECT_TRUE(region.contains(11, 10));
    EXPECT_EQ(region.bounds(), (Rectangle{-5, -5, 12, 11}));
    EXPECT_EQ(region.area(), 8);
}

} // namespace
} // namespace tomelet
