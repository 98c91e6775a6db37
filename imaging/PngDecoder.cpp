#include "imaging/PictureDecoder.h"

#include <csetjmp>
#include <cstring>
#include <png.h>

namespace tomelet {
namespace {

// Everything libpng's callbacks touch. Plain data only: libpng leaves by longjmp, which
// must not skip a destructor.
struct PngSource {
    std::string_view bytes;
    std::size_t position = 0;
    bool truncated = false;
    char message[256] = {};
};

void readBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->position < length) {
        source->truncated = true;
        png_error(png, "the data ends early");
    }
    std::memcpy(data, source->bytes.data() + source->position, length);
    source->position += length;
}

void reportError(png_structp png, png_const_charp message) {
    auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
    std::strncpy(source->message, message, sizeof source->message - 1);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int channels = 0;
    bool hasTransparency = false;
};

// Reads the header and, unless `bitmap` is null, the pixels into *bitmap (allocated by
// `allocate` once the size is known). Returns false with source.message set on failure.
bool readPng(PngSource& source, PngHeader& header, Bitmap* bitmap,
             Bitmap (*allocate)(std::int64_t, std::int64_t)) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, reportError, ignoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        return false;
    }
    png_set_read_fn(png, &source, readBytes);
    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_read_info(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    header.bitDepth = png_get_bit_depth(png, info);
    header.colourType = png_get_color_type(png, info);
    header.channels = png_get_channels(png, info);
    header.hasTransparency = (header.colourType & PNG_COLOR_MASK_ALPHA) != 0 ||
                             png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (bitmap) {
        // Bitmap's constructor may throw bad_alloc; it is caught here so libpng's
        // structures are freed before it goes on.
        // Deflate shrinks at most 1032 to 1, and a row of 1-bit pixels holds 8 a byte.
        constexpr std::uint64_t mostPixelsPerByte = 1032 * 8;
        if (std::uint64_t(header.width) * header.height >
            std::uint64_t(source.bytes.size()) * mostPixelsPerByte) {
            source.truncated = true;
            std::strncpy(source.message, "too little data for its size", sizeof source.message - 1);
            png_destroy_read_struct(&png, &info, nullptr);
            return false;
        }
        try {
            *bitmap = allocate(header.width, header.height);
        } catch (...) {
            png_destroy_read_struct(&png, &info, nullptr);
            throw;
        }
        png_set_expand(png);
        png_set_scale_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        const int passes = png_set_interlace_handling(png);
        png_read_update_info(png, info);
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < header.height; ++y)
                png_read_row(png, bitmap->row(int(y)), nullptr);
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

Bitmap allocatePngBitmap(std::int64_t width, std::int64_t height) {
    return allocateBitmap(width, height, "PNG");
}

[[noreturn]] void fail(const PngSource& source) {
    throw PictureDecodeError(source.truncated ? PictureError::Truncated : PictureError::Corrupt,
                             std::string("PNG: ") + source.message);
}

bool sniff(std::string_view bytes) {
    return bytes.starts_with("\x89PNG\r\n\x1a\n");
}

Picture decode(std::string_view bytes) {
    PngSource source{bytes};
    PngHeader header;
    Bitmap bitmap;
    if (!readPng(source, header, &bitmap, allocatePngBitmap)) fail(source);
    bitmap.setHasAlpha(header.hasTransparency);
    bitmap.setSourceBitsPerPixel(header.bitDepth * header.channels);
    return stillPicture(PictureFormat::Png, std::move(bitmap));
}

PictureInfo readInfo(std::string_view bytes) {
    PngSource source{bytes};
    PngHeader header;
    if (!readPng(source, header, nullptr, allocatePngBitmap)) fail(source);
    PictureInfo info;
    info.width = int(header.width);
    info.height = int(header.height);
    info.hasTransparency = header.hasTransparency;
    info.bitsPerPixel = header.bitDepth * header.channels;
    return info;
}

} // namespace

const PictureDecoder pngDecoder{PictureFormat::Png, sniff, decode, readInfo};

} // namespace tomelet
