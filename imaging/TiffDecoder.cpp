#include "imaging/PictureDecoder.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <tiffio.h>

namespace tomelet {
namespace {

// libtiff reads the picture through these procedures from memory, never from a file.
struct TiffSource {
    std::string_view bytes;
    std::uint64_t position = 0;
    bool readShort = false;
    char message[256] = {};
};

tmsize_t readBytes(thandle_t handle, void* data, tmsize_t size) {
    auto* source = static_cast<TiffSource*>(handle);
    if (size <= 0) return 0;
    const std::uint64_t available =
        source->position < source->bytes.size() ? source->bytes.size() - source->position : 0;
    const std::size_t count = std::min<std::uint64_t>(std::uint64_t(size), available);
    source->readShort = source->readShort || count < std::uint64_t(size);
    std::memcpy(data, source->bytes.data() + source->position, count);
    source->position += count;
    return tmsize_t(count);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seek(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<TiffSource*>(handle);
    std::uint64_t base = whence == SEEK_CUR   ? source->position
                         : whence == SEEK_END ? source->bytes.size()
                                              : 0;
    source->position = base + offset;
    return source->position;
}

int closeSource(thandle_t) {
    return 0;
}
toff_t sizeOf(thandle_t handle) {
    return static_cast<TiffSource*>(handle)->bytes.size();
}

int recordError(TIFF*, void* userData, const char* module, const char* format, va_list arguments) {
    auto* source = static_cast<TiffSource*>(userData);
    if (source->message[0] == 0) {
        const int length = std::snprintf(source->message, sizeof source->message,
                                         "%s: ", module ? module : "libtiff");
        if (length > 0 && std::size_t(length) < sizeof source->message)
            std::vsnprintf(source->message + length, sizeof source->message - std::size_t(length),
                           format, arguments);
    }
    return 1;
}

int ignoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

[[noreturn]] void fail(const TiffSource& source, PictureError code) {
    throw PictureDecodeError(code, std::string("TIFF: ") +
                                       (source.message[0] ? source.message : "unreadable"));
}

TiffHandle open(TiffSource& source) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) throw std::bad_alloc();
    // No single buffer of libtiff's may exceed what our largest bitmap needs.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(maximumPicturePixels * 4));
    TIFFOpenOptionsSetErrorHandlerExtR(options, recordError, &source);
    TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreWarning, &source);
    TiffHandle tiff(TIFFClientOpenExt("picture", "rm", &source, readBytes, refuseWrite, seek,
                                      closeSource, sizeOf, nullptr, nullptr, options));
    TIFFOpenOptionsFree(options);
    if (!tiff) fail(source, source.readShort ? PictureError::Truncated : PictureError::Corrupt);
    return tiff;
}

struct TiffHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitsPerPixel = 0;
    bool hasAlpha = false;
};

TiffHeader readHeader(TIFF* tiff) {
    TiffHeader header;
    std::uint16_t bitsPerSample = 1, samplesPerPixel = 1, extraSampleCount = 0;
    std::uint16_t* extraSamples = nullptr;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &header.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &header.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    header.bitsPerPixel = bitsPerSample * samplesPerPixel;
    header.hasAlpha =
        TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraSampleCount, &extraSamples) == 1 &&
        extraSampleCount > 0;
    return header;
}

// TIFFReadRGBAImage premultiplies unassociated alpha; our bitmaps are not premultiplied.
void unpremultiply(Bitmap& bitmap) {
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* pixel = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, pixel += 4) {
            const int alpha = pixel[3];
            if (alpha == 0 || alpha == 255) continue;
            for (int channel = 0; channel < 3; ++channel)
                pixel[channel] =
                    std::uint8_t(std::min(255, (pixel[channel] * 255 + alpha / 2) / alpha));
        }
    }
}

bool sniff(std::string_view bytes) {
    return bytes.starts_with(std::string_view("II*\0", 4)) ||
           bytes.starts_with(std::string_view("MM\0*", 4));
}

// Only the first page is read: a publication shows one picture per file.
Picture decode(std::string_view bytes) {
    TiffSource source{bytes};
    TiffHandle tiff = open(source);
    const TiffHeader header = readHeader(tiff.get());
    Bitmap bitmap = allocateBitmap(header.width, header.height, "TIFF");
    // TIFFReadRGBAImage's packed pixels are R, G, B, A bytes in memory on little-endian
    // machines, which is our layout.
    static_assert(std::endian::native == std::endian::little);
    if (!TIFFReadRGBAImageOriented(tiff.get(), header.width, header.height,
                                   reinterpret_cast<std::uint32_t*>(bitmap.pixels().data()),
                                   ORIENTATION_TOPLEFT, 1))
        fail(source, source.readShort ? PictureError::Truncated : PictureError::Corrupt);
    if (header.hasAlpha) unpremultiply(bitmap);
    bitmap.setHasAlpha(header.hasAlpha);
    bitmap.setSourceBitsPerPixel(header.bitsPerPixel);
    return stillPicture(PictureFormat::Tiff, std::move(bitmap));
}

PictureInfo readInfo(std::string_view bytes) {
    TiffSource source{bytes};
    TiffHandle tiff = open(source);
    const TiffHeader header = readHeader(tiff.get());
    if (header.width == 0 || header.height == 0)
        throw PictureDecodeError(PictureError::Corrupt, "TIFF: no size");
    PictureInfo info;
    info.width = int(std::min<std::uint32_t>(header.width, maximumPicturePixels));
    info.height = int(std::min<std::uint32_t>(header.height, maximumPicturePixels));
    info.bitsPerPixel = header.bitsPerPixel;
    info.hasTransparency = header.hasAlpha;
    return info;
}

} // namespace

const PictureDecoder tiffDecoder{PictureFormat::Tiff, sniff, decode, readInfo};

} // namespace tomelet
