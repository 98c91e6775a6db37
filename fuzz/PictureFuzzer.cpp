// Arbitrary bytes as a picture: the first byte picks the name hint (so formats found only by
// extension are reached too), the rest is decoded, its header read, and the result resampled.
#include "imaging/LoadPicture.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::string_view hints[] = {"",      "a.tga", "a.bmp", "a.ico",
                                                 "a.cur", "a.pcx", "a.wmf", "a.emf"};
    if (size == 0) return 0;
    const std::string_view hint = hints[data[0] % std::size(hints)];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const tomelet::PictureResult result = tomelet::loadPicture(bytes, hint);
    if (result.picture.frames.empty()) std::abort();
    if (!result.succeeded() && !(result.picture.bitmap() == tomelet::builtInBitmap())) std::abort();
    for (const tomelet::PictureFrame& frame : result.picture.frames)
        if (frame.bitmap.pixels().size() !=
            std::size_t(frame.bitmap.width()) * std::size_t(frame.bitmap.height()) * 4)
            std::abort();
    tomelet::readPictureInfo(bytes, hint);
    tomelet::resample(result.picture.bitmap(), 7, 5);
    return 0;
}
