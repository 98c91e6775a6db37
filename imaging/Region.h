#pragma once

#include "imaging/Bitmap.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tomelet {

// A rectangle of whole pixels; right and bottom are exclusive.
struct Rectangle {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rectangle&) const = default;
};

// A set of pixels as a union of rectangles: picture shapes, window shapes. Kept in one
// canonical form (horizontal bands from the top, each with sorted disjoint spans, no two
// touching bands alike), so equal pixel sets compare equal and lookups are binary searches.
class Region {
public:
    // Empty.
    Region() = default;
    explicit Region(const Rectangle& rectangle);
    // The union of `rectangles`, which may overlap and come in any order.
    explicit Region(std::span<const Rectangle> rectangles);

    bool isEmpty() const { return bands_.empty(); }
    // The smallest rectangle around every pixel; empty for an empty region.
    Rectangle bounds() const;
    bool contains(int x, int y) const;
    // The number of pixels.
    std::int64_t area() const;
    // The canonical rectangles, top to bottom, left to right within a band.
    std::vector<Rectangle> rectangles() const;

    Region united(const Region& other) const;
    // In place; bands above `other` are kept as they are, so uniting rows from the top down
    // costs only the rows that meet.
    Region& unite(const Region& other);

    bool operator==(const Region&) const = default;

private:
    struct Span {
        int left = 0;
        int right = 0;
        bool operator==(const Span&) const = default;
    };
    struct Band {
        int top = 0;
        int bottom = 0;
        std::vector<Span> spans;
        bool operator==(const Band&) const = default;
    };

    // Appends a band below the last one, merging it into the last when they touch and have
    // the same spans, so the canonical form holds by construction.
    void appendBand(int top, int bottom, std::vector<Span> spans);

    std::vector<Band> bands_;
};

// The opaque pixels of `bitmap`: those whose red, green and blue differ from `colour`
// (blue * 65536 + green * 256 + red; 536870912 for the bitmap's own transparent colour).
// Alpha does not count. None when no pixel is opaque.
std::optional<Region> RegionFromBitmap(const Bitmap& bitmap, int colour);

} // namespace tomelet
