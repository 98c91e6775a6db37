#include "imaging/LoadPicture.h"

#include <cstdlib>

namespace tomelet {
namespace {

Bitmap drawBrokenPictureSign() {
    constexpr int size = 16;
    Bitmap bitmap(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            std::uint8_t* pixel = bitmap.pixel(x, y);
            const bool border = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            const bool cross = x > 2 && x < size - 3 && (std::abs(x - y) <= 0 || x + y == size - 1);
            const std::uint8_t red = border ? 128 : cross ? 224 : 255;
            const std::uint8_t other = border ? 128 : cross ? 0 : 255;
            pixel[0] = red;
            pixel[1] = other;
            pixel[2] = other;
            pixel[3] = 255;
        }
    bitmap.setBadlyDecoded(true);
    bitmap.setSourceBitsPerPixel(24);
    return bitmap;
}

} // namespace

const Bitmap& builtInBitmap() {
    static const Bitmap bitmap = drawBrokenPictureSign();
    return bitmap;
}

} // namespace tomelet
