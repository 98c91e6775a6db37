#include "imaging/DibReader.h"

#include "imaging/ByteReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace tomelet {
namespace {

enum Compression : std::uint32_t {
    compressionNone = 0,
    compressionRle8 = 1,
    compressionRle4 = 2,
    compressionBitFields = 3,
    compressionAlphaBitFields = 6,
};

constexpr std::uint32_t coreHeaderSize = 12;
constexpr std::uint32_t infoHeaderSize = 40;
constexpr std::uint32_t os2HeaderSize = 64;

struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // positive
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = compressionNone;
    std::uint32_t coloursUsed = 0;
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha
    std::size_t paletteOffset = 0;
    std::size_t paletteEntrySize = 4;
};

DibHeader readHeader(const ByteReader& reader, const DibLayout& layout) {
    DibHeader header;
    header.headerSize = reader.u32(0);
    if (header.headerSize == coreHeaderSize) {
        header.width = reader.u16(4);
        header.height = reader.u16(6);
        header.bitsPerPixel = reader.u16(10);
        header.paletteEntrySize = 3;
    } else if (header.headerSize >= 16 && header.headerSize <= 256) {
        reader.require(0, header.headerSize);
        header.width = reader.i32(4);
        const std::int64_t height = reader.i32(8);
        header.topDown = height < 0;
        header.height = height < 0 ? -height : height;
        header.bitsPerPixel = reader.u16(14);
        if (header.headerSize >= 20) header.compression = reader.u32(16);
        if (header.headerSize >= 36) header.coloursUsed = reader.u32(32);
        // OS/2 2.x headers reuse 3 and 4 for Huffman and RLE24, which we do not read.
        const bool os2 = header.headerSize == os2HeaderSize ||
                         (header.headerSize < infoHeaderSize && header.headerSize > coreHeaderSize);
        if (os2 && header.compression >= compressionBitFields)
            reader.fail(PictureError::Unsupported,
                        "OS/2 compression " + std::to_string(header.compression));
    } else {
        reader.fail(PictureError::Corrupt, "header size " + std::to_string(header.headerSize));
    }
    if (layout.isIcon) header.height /= 2;
    header.paletteOffset = header.headerSize;

    const bool bitFields = header.compression == compressionBitFields ||
                           header.compression == compressionAlphaBitFields;
    if (bitFields) {
        // Version 3 headers put the masks after the header; later versions inside it.
        const int maskCount = header.compression == compressionAlphaBitFields ? 4 : 3;
        const bool inHeader = header.headerSize >= infoHeaderSize + 4 * std::size_t(maskCount);
        const std::size_t maskOffset = inHeader ? infoHeaderSize : header.headerSize;
        for (int index = 0; index < maskCount; ++index)
            header.masks[std::size_t(index)] = reader.u32(maskOffset + 4 * std::size_t(index));
        if (header.headerSize >= infoHeaderSize + 16) header.masks[3] = reader.u32(52);
        if (!inHeader) header.paletteOffset += 4 * std::size_t(maskCount);
    } else if (header.bitsPerPixel == 16) {
        header.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (header.bitsPerPixel == 32) {
        header.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    }

    switch (header.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        reader.fail(PictureError::Unsupported, std::to_string(header.bitsPerPixel) + " bits");
    }
    const bool rleFits = (header.compression == compressionRle8 && header.bitsPerPixel == 8) ||
                         (header.compression == compressionRle4 && header.bitsPerPixel == 4);
    const bool fieldsFit = bitFields && (header.bitsPerPixel == 16 || header.bitsPerPixel == 32);
    if (header.compression != compressionNone && !rleFits && !fieldsFit)
        reader.fail(PictureError::Unsupported, "compression " + std::to_string(header.compression) +
                                                   " at " + std::to_string(header.bitsPerPixel) +
                                                   " bits");
    if (header.width <= 0 || header.height <= 0)
        reader.fail(PictureError::Corrupt,
                    "size " + std::to_string(header.width) + " x " + std::to_string(header.height));
    return header;
}

using Palette = std::vector<std::array<std::uint8_t, 3>>;

Palette readPalette(const ByteReader& reader, const DibHeader& header) {
    Palette palette;
    if (header.bitsPerPixel > 8) return palette;
    const std::size_t maximum = std::size_t(1) << header.bitsPerPixel;
    std::size_t count =
        header.coloursUsed == 0 ? maximum : std::min<std::size_t>(header.coloursUsed, maximum);
    // Some writers claim a full palette and store less; keep what is there.
    const std::size_t available =
        reader.size() > header.paletteOffset
            ? (reader.size() - header.paletteOffset) / header.paletteEntrySize
            : 0;
    count = std::min(count, available);
    for (std::size_t index = 0; index < count; ++index) {
        const std::size_t offset = header.paletteOffset + index * header.paletteEntrySize;
        palette.push_back({reader.u8(offset + 2), reader.u8(offset + 1), reader.u8(offset)});
    }
    return palette;
}

void putIndex(Bitmap& bitmap, int x, int y, std::size_t index, const Palette& palette) {
    std::uint8_t* pixel = bitmap.pixel(x, y);
    if (index < palette.size()) std::copy(palette[index].begin(), palette[index].end(), pixel);
    pixel[3] = 255;
}

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t bitMask)
        : mask(bitMask), shift(bitMask ? std::countr_zero(bitMask) : 0),
          bits(std::popcount(bitMask)) {}
    // Fewer than 8 bits are widened by repeating them (5 bits abcde give abcdeabc), so full
    // and empty stay 255 and 0.
    std::uint8_t scale(std::uint32_t value, std::uint8_t whenAbsent) const {
        if (bits == 0) return whenAbsent;
        const std::uint32_t field = (value & mask) >> shift;
        if (bits >= 8) return std::uint8_t(field >> (bits - 8));
        std::uint32_t widened = field;
        int width = bits;
        for (; width < 8; width += bits)
            widened = (widened << bits) | field;
        return std::uint8_t(widened >> (width - 8));
    }
};

std::size_t rowStride(const DibHeader& header) {
    return std::size_t((header.width * header.bitsPerPixel + 31) / 32) * 4;
}

// The rows as they come in the data (bottom-up unless the header says otherwise).
int bitmapRow(const DibHeader& header, std::int64_t storedRow) {
    return int(header.topDown ? storedRow : header.height - 1 - storedRow);
}

// Returns whether any alpha byte was non-zero.
bool decodeUncompressed(const ByteReader& reader, const DibHeader& header, const Palette& palette,
                        std::size_t pixelOffset, Bitmap& bitmap) {
    const std::size_t stride = rowStride(header);
    const Channel red(header.masks[0]), green(header.masks[1]), blue(header.masks[2]),
        alpha(header.masks[3]);
    bool anyAlpha = false;
    for (std::int64_t stored = 0; stored < header.height; ++stored) {
        const std::string_view row =
            reader.slice(pixelOffset + std::size_t(stored) * stride, stride);
        const auto byte = [&](std::size_t offset) { return std::uint8_t(row[offset]); };
        const int y = bitmapRow(header, stored);
        for (int x = 0; x < int(header.width); ++x) {
            std::uint8_t* pixel = bitmap.pixel(x, y);
            switch (header.bitsPerPixel) {
            case 1:
            case 4:
            case 8: {
                const std::size_t bit = std::size_t(x) * std::size_t(header.bitsPerPixel);
                const int shift = 8 - header.bitsPerPixel - int(bit % 8);
                const std::size_t index =
                    (byte(bit / 8) >> shift) & ((1 << header.bitsPerPixel) - 1);
                putIndex(bitmap, x, y, index, palette);
                break;
            }
            case 24:
                pixel[0] = byte(std::size_t(x) * 3 + 2);
                pixel[1] = byte(std::size_t(x) * 3 + 1);
                pixel[2] = byte(std::size_t(x) * 3);
                pixel[3] = 255;
                break;
            default: {
                const std::size_t offset = std::size_t(x) * std::size_t(header.bitsPerPixel / 8);
                std::uint32_t value = byte(offset) | (byte(offset + 1) << 8);
                if (header.bitsPerPixel == 32)
                    value |= (std::uint32_t(byte(offset + 2)) << 16) |
                             (std::uint32_t(byte(offset + 3)) << 24);
                pixel[0] = red.scale(value, 0);
                pixel[1] = green.scale(value, 0);
                pixel[2] = blue.scale(value, 0);
                pixel[3] = alpha.scale(value, 255);
                anyAlpha = anyAlpha || (alpha.bits && pixel[3] != 0);
            }
            }
        }
    }
    return anyAlpha;
}

// Returns whether some pixels were skipped (left transparent).
bool decodeRle(const ByteReader& reader, const DibHeader& header, const Palette& palette,
               std::size_t offset, Bitmap& bitmap) {
    const bool fourBits = header.compression == compressionRle4;
    std::int64_t x = 0, stored = 0;
    std::int64_t written = 0;
    const auto put = [&](std::size_t index) {
        if (x < header.width && stored < header.height) {
            putIndex(bitmap, int(x), bitmapRow(header, stored), index, palette);
            ++written;
        }
        ++x;
    };
    while (stored < header.height) {
        const std::uint8_t count = reader.u8(offset);
        const std::uint8_t value = reader.u8(offset + 1);
        offset += 2;
        if (count > 0) {
            for (int index = 0; index < count; ++index)
                put(fourBits ? (index % 2 == 0 ? value >> 4 : value & 0x0F) : value);
        } else if (value == 0) {
            x = 0;
            ++stored;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            x += reader.u8(offset);
            stored += reader.u8(offset + 1);
            offset += 2;
        } else {
            const std::size_t bytes = fourBits ? (value + 1) / 2 : value;
            const std::string_view literal = reader.slice(offset, bytes);
            for (int index = 0; index < value; ++index) {
                const std::uint8_t byte =
                    std::uint8_t(literal[std::size_t(fourBits ? index / 2 : index)]);
                put(fourBits ? (index % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
            }
            offset += (bytes + 1) & ~std::size_t(1);
        }
    }
    return written < header.width * header.height;
}

void applyAndMask(const ByteReader& reader, const DibHeader& header, std::size_t maskOffset,
                  Bitmap& bitmap) {
    const std::size_t stride = std::size_t((header.width + 31) / 32) * 4;
    reader.require(maskOffset, stride * std::size_t(header.height));
    for (std::int64_t stored = 0; stored < header.height; ++stored) {
        const std::string_view row =
            reader.slice(maskOffset + std::size_t(stored) * stride, stride);
        const int y = bitmapRow(header, stored);
        for (int x = 0; x < int(header.width); ++x)
            if ((std::uint8_t(row[std::size_t(x) / 8]) >> (7 - x % 8)) & 1)
                bitmap.pixel(x, y)[3] = 0;
    }
}

} // namespace

Bitmap decodeDib(std::string_view dib, const DibLayout& layout) {
    const ByteReader reader(dib, layout.isIcon ? "icon" : "BMP");
    const DibHeader header = readHeader(reader, layout);
    const Palette palette = readPalette(reader, header);
    if (header.bitsPerPixel <= 8 && palette.empty())
        reader.fail(PictureError::Truncated, "the palette is missing");
    const std::size_t afterPalette =
        header.paletteOffset + palette.size() * header.paletteEntrySize;
    const std::size_t pixelOffset = layout.pixelOffset.value_or(afterPalette);
    const bool rle = header.compression == compressionRle8 || header.compression == compressionRle4;
    if (!rle) reader.require(pixelOffset, rowStride(header) * std::size_t(header.height));
    // Run-length data draws at most 255 pixels a byte, or skips 255 rows in four; a header
    // claiming more than that is refused before its bitmap is allocated.
    constexpr std::int64_t mostRlePixelsPerByte = 255 * 64;
    if (rle && header.width * header.height >
                   std::int64_t(reader.rest(pixelOffset).size() + 1) * mostRlePixelsPerByte)
        reader.fail(PictureError::Truncated, "too little run-length data for its size");

    Bitmap bitmap = allocateBitmap(header.width, header.height, layout.isIcon ? "icon" : "BMP");
    bitmap.setSourceBitsPerPixel(header.bitsPerPixel);
    if (rle) {
        bitmap.setHasAlpha(decodeRle(reader, header, palette, pixelOffset, bitmap));
        return bitmap;
    }
    const bool anyAlpha = decodeUncompressed(reader, header, palette, pixelOffset, bitmap);
    // A 32-bit picture whose alpha bytes are all 0 was written by a program that ignores
    // them: it is opaque, not invisible.
    if (header.masks[3] && !anyAlpha)
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                bitmap.pixel(x, y)[3] = 255;
    bitmap.setHasAlpha(anyAlpha);
    if (layout.isIcon) {
        if (!anyAlpha)
            applyAndMask(reader, header,
                         pixelOffset + rowStride(header) * std::size_t(header.height), bitmap);
        bitmap.setHasAlpha(true);
    }
    return bitmap;
}

PictureInfo readDibInfo(std::string_view dib, const DibLayout& layout) {
    const ByteReader reader(dib, layout.isIcon ? "icon" : "BMP");
    const DibHeader header = readHeader(reader, layout);
    PictureInfo info;
    info.width = int(std::min<std::int64_t>(header.width, maximumPicturePixels));
    info.height = int(std::min<std::int64_t>(header.height, maximumPicturePixels));
    info.bitsPerPixel = header.bitsPerPixel;
    info.hasTransparency = layout.isIcon || (header.bitsPerPixel == 32 && header.masks[3] != 0 &&
                                             header.headerSize > infoHeaderSize);
    return info;
}

} // namespace tomelet
