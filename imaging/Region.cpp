#include "imaging/Region.h"

#include <algorithm>
#include <iterator>

namespace tomelet {

namespace {

template <typename SpanType> void mergeSortedSpans(std::vector<SpanType>& spans) {
    std::size_t kept = 0;
    for (const SpanType& span : spans) {
        if (kept > 0 && span.left <= spans[kept - 1].right)
            spans[kept - 1].right = std::max(spans[kept - 1].right, span.right);
        else
            spans[kept++] = span;
    }
    spans.resize(kept);
}

template <typename Sorted> void sortUnique(Sorted& values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

} // namespace

Region::Region(const Rectangle& rectangle) {
    if (!rectangle.isEmpty())
        bands_.push_back({rectangle.top, rectangle.bottom, {{rectangle.left, rectangle.right}}});
}

Region::Region(std::span<const Rectangle> rectangles) {
    std::vector<Rectangle> sorted;
    sorted.reserve(rectangles.size());
    std::vector<int> edges;
    edges.reserve(rectangles.size() * 2);
    for (const Rectangle& rectangle : rectangles) {
        if (rectangle.isEmpty()) continue;
        sorted.push_back(rectangle);
        edges.push_back(rectangle.top);
        edges.push_back(rectangle.bottom);
    }
    std::sort(sorted.begin(), sorted.end(), [](const Rectangle& first, const Rectangle& second) {
        return first.top < second.top;
    });
    sortUnique(edges);

    // Sweep down the edges, keeping the rectangles that cover the current band.
    std::vector<Rectangle> active;
    std::size_t next = 0;
    for (std::size_t edge = 0; edge + 1 < edges.size(); ++edge) {
        const int top = edges[edge];
        const int bottom = edges[edge + 1];
        std::erase_if(active,
                      [top](const Rectangle& rectangle) { return rectangle.bottom <= top; });
        while (next < sorted.size() && sorted[next].top <= top)
            active.push_back(sorted[next++]);
        if (active.empty()) continue;
        std::vector<Span> spans;
        spans.reserve(active.size());
        for (const Rectangle& rectangle : active)
            spans.push_back({rectangle.left, rectangle.right});
        std::sort(spans.begin(), spans.end(),
                  [](const Span& first, const Span& second) { return first.left < second.left; });
        mergeSortedSpans(spans);
        appendBand(top, bottom, std::move(spans));
    }
}

void Region::appendBand(int top, int bottom, std::vector<Span> spans) {
    if (spans.empty() || bottom <= top) return;
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back({top, bottom, std::move(spans)});
}

Rectangle Region::bounds() const {
    if (bands_.empty()) return {};
    Rectangle bounds{bands_.front().spans.front().left, bands_.front().top,
                     bands_.front().spans.back().right, bands_.back().bottom};
    for (const Band& band : bands_) {
        bounds.left = std::min(bounds.left, band.spans.front().left);
        bounds.right = std::max(bounds.right, band.spans.back().right);
    }
    return bounds;
}

bool Region::contains(int x, int y) const {
    const auto band =
        std::upper_bound(bands_.begin(), bands_.end(), y,
                         [](int value, const Band& item) { return value < item.bottom; });
    if (band == bands_.end() || y < band->top) return false;
    const auto span =
        std::upper_bound(band->spans.begin(), band->spans.end(), x,
                         [](int value, const Span& item) { return value < item.right; });
    return span != band->spans.end() && x >= span->left;
}

std::int64_t Region::area() const {
    std::int64_t total = 0;
    for (const Band& band : bands_)
        for (const Span& span : band.spans)
            total += std::int64_t{band.bottom - band.top} * (span.right - span.left);
    return total;
}

std::vector<Rectangle> Region::rectangles() const {
    std::vector<Rectangle> result;
    for (const Band& band : bands_)
        for (const Span& span : band.spans)
            result.push_back({span.left, band.top, span.right, band.bottom});
    return result;
}

Region Region::united(const Region& other) const {
    if (other.isEmpty()) return *this;
    if (isEmpty()) return other;
    std::vector<int> edges;
    edges.reserve((bands_.size() + other.bands_.size()) * 2);
    for (const Band& band : bands_)
        edges.insert(edges.end(), {band.top, band.bottom});
    for (const Band& band : other.bands_)
        edges.insert(edges.end(), {band.top, band.bottom});
    sortUnique(edges);

    Region result;
    std::size_t mine = 0;
    std::size_t theirs = 0;
    for (std::size_t edge = 0; edge + 1 < edges.size(); ++edge) {
        const int top = edges[edge];
        while (mine < bands_.size() && bands_[mine].bottom <= top)
            ++mine;
        while (theirs < other.bands_.size() && other.bands_[theirs].bottom <= top)
            ++theirs;
        const bool mineCovers = mine < bands_.size() && bands_[mine].top <= top;
        const bool theirsCovers = theirs < other.bands_.size() && other.bands_[theirs].top <= top;
        std::vector<Span> spans;
        if (mineCovers && theirsCovers) {
            const std::vector<Span>& first = bands_[mine].spans;
            const std::vector<Span>& second = other.bands_[theirs].spans;
            spans.resize(first.size() + second.size());
            std::merge(first.begin(), first.end(), second.begin(), second.end(), spans.begin(),
                       [](const Span& a, const Span& b) { return a.left < b.left; });
            mergeSortedSpans(spans);
        } else if (mineCovers) {
            spans = bands_[mine].spans;
        } else if (theirsCovers) {
            spans = other.bands_[theirs].spans;
        }
        result.appendBand(top, edges[edge + 1], std::move(spans));
    }
    return result;
}

Region& Region::unite(const Region& other) {
    if (other.isEmpty()) return *this;
    std::size_t kept = bands_.size();
    while (kept > 0 && bands_[kept - 1].bottom > other.bands_.front().top)
        --kept;
    if (kept == 0) return *this = united(other);
    Region overlap;
    overlap.bands_.assign(std::make_move_iterator(bands_.begin() + kept),
                          std::make_move_iterator(bands_.end()));
    bands_.resize(kept);
    Region merged = overlap.united(other);
    for (Band& band : merged.bands_)
        appendBand(band.top, band.bottom, std::move(band.spans));
    return *this;
}

std::optional<Region> RegionFromBitmap(const Bitmap& bitmap, int colour) {
    // Window systems unite shape rectangles faster in bounded batches than one at a time.
    constexpr std::size_t batchSize = 2000;
    constexpr int ownTransparentColour = 536870912;
    if (colour == ownTransparentColour) colour = bitmap.ownTransparentColour();
    const std::uint8_t red = colour & 0xFF;
    const std::uint8_t green = (colour >> 8) & 0xFF;
    const std::uint8_t blue = (colour >> 16) & 0xFF;

    Region result;
    std::vector<Rectangle> batch;
    batch.reserve(batchSize);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* pixels = bitmap.row(y);
        int x = 0;
        while (x < bitmap.width()) {
            const auto transparent = [&](int column) {
                const std::uint8_t* pixel = pixels + std::size_t(column) * 4;
                return pixel[0] == red && pixel[1] == green && pixel[2] == blue;
            };
            while (x < bitmap.width() && transparent(x))
                ++x;
            const int start = x;
            while (x < bitmap.width() && !transparent(x))
                ++x;
            if (x == start) continue;
            batch.push_back({start, y, x, y + 1});
            if (batch.size() == batchSize) {
                result.unite(Region(batch));
                batch.clear();
            }
        }
    }
    result.unite(Region(batch));
    if (result.isEmpty()) return std::nullopt;
    return result;
}

} // namespace tomelet
