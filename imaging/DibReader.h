#pragma once

#include "imaging/LoadPicture.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace tomelet {

// A device-independent bitmap: the header, palette and pixels that BMP files carry after
// their file header and icons and cursors carry as they are.
struct DibLayout {
    // Icons store twice their height (colour rows, then a 1-bit AND mask of the same size).
    bool isIcon = false;
    // Where the pixels start, counted from the DIB header; none = right after the palette.
    std::optional<std::size_t> pixelOffset;
};

// Decodes 1, 4, 8, 16, 24 and 32 bits a pixel, RLE4 and RLE8, bit fields, top-down rows,
// OS/2 1.x and 2.x headers. Throws PictureDecodeError.
Bitmap decodeDib(std::string_view dib, const DibLayout& layout);
PictureInfo readDibInfo(std::string_view dib, const DibLayout& layout);

} // namespace tomelet
