#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tomelet {

// What the package directory records about a picture so the player knows it without
// decoding.
struct PictureFacts {
    std::string_view format; // "PNG", "GIF", "BMP" or "JPEG"
    std::int32_t width = 0;
    std::int32_t height = 0;
    // A PNG with an alpha channel or a tRNS chunk, or a GIF with a transparent colour in any
    // frame. BMP and JPEG pictures never count.
    bool transparent = false;
};

// Reads the facts from the picture's headers, recognising the format by its content. None
// when the bytes are not a PNG, GIF, BMP or JPEG picture or their header is damaged.
std::optional<PictureFacts> sniffPicture(std::string_view bytes);

} // namespace tomelet
