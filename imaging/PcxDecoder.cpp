#include "imaging/ByteReader.h"

#include <array>
#include <vector>

namespace tomelet {
namespace {

constexpr std::size_t headerSize = 128;
constexpr std::size_t extendedPaletteSize = 769; // 0x0C, then 256 RGB triples

struct PcxHeader {
    int bitsPerPlane = 0;
    int planes = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::size_t bytesPerLine = 0;
};

PcxHeader readHeader(const ByteReader& reader) {
    PcxHeader header;
    header.bitsPerPlane = reader.u8(3);
    header.width = std::int64_t(reader.u16(8)) - reader.u16(4) + 1;
    header.height = std::int64_t(reader.u16(10)) - reader.u16(6) + 1;
    header.planes = reader.u8(65);
    header.bytesPerLine = reader.u16(66);
    const bool layoutFits =
        (header.bitsPerPlane == 1 && (header.planes == 1 || header.planes == 4)) ||
        (header.bitsPerPlane == 4 && header.planes == 1) ||
        (header.bitsPerPlane == 8 &&
         (header.planes == 1 || header.planes == 3 || header.planes == 4));
    if (!layoutFits)
        reader.fail(PictureError::Unsupported, std::to_string(header.planes) + " planes of " +
                                                   std::to_string(header.bitsPerPlane) + " bits");
    if (header.width <= 0 || header.height <= 0)
        reader.fail(PictureError::Corrupt, "the window is empty");
    if (std::int64_t(header.bytesPerLine) * 8 < header.width * header.bitsPerPlane)
        reader.fail(PictureError::Corrupt,
                    "lines of " + std::to_string(header.bytesPerLine) + " bytes are too short");
    reader.require(0, headerSize);
    return header;
}

bool sniff(std::string_view bytes) {
    if (bytes.size() < headerSize || bytes[0] != 0x0A || bytes[2] != 1) return false;
    const int version = std::uint8_t(bytes[1]);
    const int bits = std::uint8_t(bytes[3]);
    return (version <= 5 && version != 1) && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

Picture decode(std::string_view bytes) {
    const ByteReader reader(bytes, "PCX");
    const PcxHeader header = readHeader(reader);
    const bool compressed = reader.u8(2) == 1;
    const std::size_t lineBytes = header.bytesPerLine * std::size_t(header.planes);
    // Even run-length data needs at least one byte for every 63 bytes of lines.
    if (std::size_t(header.height) * lineBytes / 63 > bytes.size())
        reader.fail(PictureError::Truncated, "far too little data for its size");

    std::vector<std::array<std::uint8_t, 3>> palette(256, {0, 0, 0});
    if (header.bitsPerPlane == 8 && header.planes == 1) {
        if (bytes.size() < headerSize + extendedPaletteSize ||
            reader.u8(bytes.size() - extendedPaletteSize) != 0x0C)
            reader.fail(PictureError::Truncated, "the 256-colour palette is missing");
        for (std::size_t index = 0; index < 256; ++index) {
            const std::size_t offset = bytes.size() - 768 + index * 3;
            palette[index] = {reader.u8(offset), reader.u8(offset + 1), reader.u8(offset + 2)};
        }
    } else if (header.bitsPerPlane * header.planes == 1) {
        palette[1] = {255, 255, 255};
    } else {
        for (std::size_t index = 0; index < 16; ++index)
            palette[index] = {reader.u8(16 + index * 3), reader.u8(17 + index * 3),
                              reader.u8(18 + index * 3)};
    }

    Bitmap bitmap = allocateBitmap(header.width, header.height, "PCX");
    bitmap.setSourceBitsPerPixel(header.bitsPerPlane * header.planes);
    bitmap.setHasAlpha(header.planes == 4 && header.bitsPerPlane == 8);
    std::vector<std::uint8_t> line(lineBytes);
    std::size_t offset = headerSize;
    for (int y = 0; y < bitmap.height(); ++y) {
        // Runs may cross from one line into the next; the decoder does not care.
        for (std::size_t filled = 0; filled < lineBytes;) {
            std::uint8_t value = reader.u8(offset++);
            std::size_t count = 1;
            if (compressed && (value & 0xC0) == 0xC0) {
                count = value & 0x3F;
                value = reader.u8(offset++);
            }
            for (; count > 0 && filled < lineBytes; --count)
                line[filled++] = value;
        }
        for (int x = 0; x < bitmap.width(); ++x) {
            std::uint8_t* pixel = bitmap.pixel(x, y);
            if (header.bitsPerPlane == 8 && header.planes >= 3) {
                for (int plane = 0; plane < header.planes; ++plane)
                    pixel[plane] = line[std::size_t(plane) * header.bytesPerLine + std::size_t(x)];
                if (header.planes == 3) pixel[3] = 255;
                continue;
            }
            std::size_t index = 0;
            for (int plane = 0; plane < header.planes; ++plane) {
                const std::size_t bit = std::size_t(x) * std::size_t(header.bitsPerPlane);
                const std::uint8_t byte = line[std::size_t(plane) * header.bytesPerLine + bit / 8];
                const int shift = 8 - header.bitsPerPlane - int(bit % 8);
                index |= std::size_t((byte >> shift) & ((1 << header.bitsPerPlane) - 1)) << plane;
            }
            std::copy(palette[index].begin(), palette[index].end(), pixel);
            pixel[3] = 255;
        }
    }
    return stillPicture(PictureFormat::Pcx, std::move(bitmap));
}

PictureInfo readInfo(std::string_view bytes) {
    const PcxHeader header = readHeader(ByteReader(bytes, "PCX"));
    PictureInfo info;
    info.width = int(header.width);
    info.height = int(header.height);
    info.bitsPerPixel = header.bitsPerPlane * header.planes;
    info.hasTransparency = header.planes == 4 && header.bitsPerPlane == 8;
    return info;
}

} // namespace

const PictureDecoder pcxDecoder{PictureFormat::Pcx, sniff, decode, readInfo};

} // namespace tomelet
