#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tomelet {

// Decoders refuse pictures larger than this instead of allocating for them: 2^28 pixels is
// a gigabyte of RGBA, far beyond any picture a publication shows.
inline constexpr std::int64_t maximumPicturePixels = std::int64_t(1) << 28;

// One decoded picture: 8-bit RGBA, rows from the top, four bytes a pixel (red, green, blue,
// alpha), not premultiplied. An empty bitmap (0 x 0) holds no pixels.
class Bitmap {
public:
    Bitmap() = default;
    // Every pixel transparent black. The caller has checked the size against
    // maximumPicturePixels; negative sizes give an empty bitmap.
    Bitmap(int width, int height)
        : width_(width > 0 && height > 0 ? width : 0),
          height_(width > 0 && height > 0 ? height : 0),
          pixels_(std::size_t(width_) * std::size_t(height_) * 4, 0) {}

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return pixels_.empty(); }

    std::uint8_t* row(int y) { return pixels_.data() + std::size_t(y) * std::size_t(width_) * 4; }
    const std::uint8_t* row(int y) const {
        return pixels_.data() + std::size_t(y) * std::size_t(width_) * 4;
    }
    std::uint8_t* pixel(int x, int y) { return row(y) + std::size_t(x) * 4; }
    const std::uint8_t* pixel(int x, int y) const { return row(y) + std::size_t(x) * 4; }
    std::span<std::uint8_t> pixels() { return pixels_; }
    std::span<const std::uint8_t> pixels() const { return pixels_; }

    // The picture carries real transparency (an alpha channel, a transparent palette index,
    // an icon mask): drawers blend it instead of using a transparent colour.
    bool hasAlpha() const { return hasAlpha_; }
    void setHasAlpha(bool hasAlpha) { hasAlpha_ = hasAlpha; }

    // Only part of the picture could be decoded (or, for metafiles, nothing was drawn):
    // the pixels are what could be made, and no shape region is built from them.
    bool isBadlyDecoded() const { return badlyDecoded_; }
    void setBadlyDecoded(bool badlyDecoded) { badlyDecoded_ = badlyDecoded; }

    // Bits per pixel of the source picture (1, 4, 8, 16, 24, 32, ...); 32 when unknown.
    int sourceBitsPerPixel() const { return sourceBitsPerPixel_; }
    void setSourceBitsPerPixel(int bitsPerPixel) { sourceBitsPerPixel_ = bitsPerPixel; }

    // The picture's own transparent colour: its bottom-left pixel, as blue * 65536 +
    // green * 256 + red. 0 for an empty bitmap.
    int ownTransparentColour() const {
        if (isEmpty()) return 0;
        const std::uint8_t* bottomLeft = pixel(0, height_ - 1);
        return bottomLeft[0] | (bottomLeft[1] << 8) | (bottomLeft[2] << 16);
    }

    bool operator==(const Bitmap&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
    bool hasAlpha_ = false;
    bool badlyDecoded_ = false;
    int sourceBitsPerPixel_ = 32;
};

} // namespace tomelet
