#include "imaging/ByteReader.h"

#include <array>
#include <vector>

namespace tomelet {
namespace {

constexpr std::size_t headerSize = 18;

enum ImageType : std::uint8_t {
    typeColourMapped = 1,
    typeTrueColour = 2,
    typeGrey = 3,
    typeRunLength = 8, // added to the three above
};

struct TgaHeader {
    std::size_t idLength = 0;
    int colourMapType = 0;
    int imageType = 0;
    std::size_t mapFirst = 0;
    std::size_t mapLength = 0;
    int mapEntryBits = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int pixelBits = 0;
    int alphaBits = 0;
    bool rightToLeft = false;
    bool topDown = false;
};

TgaHeader readHeader(const ByteReader& reader) {
    TgaHeader header;
    header.idLength = reader.u8(0);
    header.colourMapType = reader.u8(1);
    header.imageType = reader.u8(2);
    header.mapFirst = reader.u16(3);
    header.mapLength = reader.u16(5);
    header.mapEntryBits = reader.u8(7);
    header.width = reader.u16(12);
    header.height = reader.u16(14);
    header.pixelBits = reader.u8(16);
    const std::uint8_t descriptor = reader.u8(17);
    header.alphaBits = descriptor & 0x0F;
    header.rightToLeft = descriptor & 0x10;
    header.topDown = descriptor & 0x20;

    const int baseType = header.imageType & ~typeRunLength;
    const bool pixelBitsFit =
        baseType == typeColourMapped ? header.pixelBits == 8 || header.pixelBits == 16
        : baseType == typeTrueColour ? header.pixelBits == 15 || header.pixelBits == 16 ||
                                           header.pixelBits == 24 || header.pixelBits == 32
        : baseType == typeGrey ? header.pixelBits == 8 || header.pixelBits == 16
                               : false;
    if (header.colourMapType > 1 || !pixelBitsFit || (header.imageType & ~0x0B) != 0)
        reader.fail(PictureError::Corrupt, "image type " + std::to_string(header.imageType) +
                                               " with " + std::to_string(header.pixelBits) +
                                               " bits");
    if (baseType == typeColourMapped && (header.colourMapType != 1 || header.mapLength == 0 ||
                                         !(header.mapEntryBits == 15 || header.mapEntryBits == 16 ||
                                           header.mapEntryBits == 24 || header.mapEntryBits == 32)))
        reader.fail(PictureError::Corrupt, "the colour map is missing or of " +
                                               std::to_string(header.mapEntryBits) + " bits");
    if (header.width == 0 || header.height == 0) reader.fail(PictureError::Corrupt, "size 0");
    return header;
}

using Colour = std::array<std::uint8_t, 4>;

// A true-colour value of 15, 16, 24 or 32 bits, stored blue first.
Colour colourOf(std::uint32_t value, int bits) {
    if (bits == 15 || bits == 16) {
        const auto expand = [](std::uint32_t five) {
            return std::uint8_t((five << 3) | (five >> 2));
        };
        return {expand((value >> 10) & 31), expand((value >> 5) & 31), expand(value & 31),
                std::uint8_t(bits == 16 && !(value & 0x8000) ? 0 : 255)};
    }
    return {std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value),
            std::uint8_t(bits == 32 ? value >> 24 : 255)};
}

std::uint32_t valueAt(std::string_view bytes, std::size_t offset, int byteCount) {
    std::uint32_t value = 0;
    for (int index = byteCount - 1; index >= 0; --index)
        value = (value << 8) | std::uint8_t(bytes[offset + std::size_t(index)]);
    return value;
}

bool sniff(std::string_view bytes) {
    // Only version 2 files say what they are, at their very end.
    constexpr std::string_view signature("TRUEVISION-XFILE.\0", 18);
    return bytes.size() >= headerSize + 26 && bytes.ends_with(signature);
}

Picture decode(std::string_view bytes) {
    const ByteReader reader(bytes, "TGA");
    const TgaHeader header = readHeader(reader);
    const int baseType = header.imageType & ~typeRunLength;
    const bool runLength = header.imageType & typeRunLength;
    std::size_t offset = headerSize + header.idLength;

    std::vector<Colour> map;
    if (header.colourMapType == 1) {
        const int entryBytes = (header.mapEntryBits + 7) / 8;
        const std::string_view mapBytes =
            reader.slice(offset, header.mapLength * std::size_t(entryBytes));
        for (std::size_t index = 0; index < header.mapLength; ++index)
            map.push_back(colourOf(valueAt(mapBytes, index * std::size_t(entryBytes), entryBytes),
                                   header.mapEntryBits));
        offset += mapBytes.size();
    }
    const int pixelBytes = (header.pixelBits + 7) / 8;
    // Uncompressed data must be all there before anything is allocated for it.
    if (!runLength)
        reader.require(offset, std::size_t(header.width * header.height) * std::size_t(pixelBytes));
    // A run-length packet gives at most 128 pixels.
    else if (header.width * header.height > std::int64_t(reader.rest(offset).size()) * 128)
        reader.fail(PictureError::Truncated, "too little run-length data for its size");

    const auto toColour = [&](std::uint32_t value) -> Colour {
        if (baseType == typeColourMapped) {
            const std::size_t index = value - std::min<std::size_t>(value, header.mapFirst);
            return index < map.size() && value >= header.mapFirst ? map[index]
                                                                  : Colour{0, 0, 0, 255};
        }
        if (baseType == typeGrey)
            return {std::uint8_t(value), std::uint8_t(value), std::uint8_t(value),
                    std::uint8_t(header.pixelBits == 16 ? value >> 8 : 255)};
        return colourOf(value,
                        header.pixelBits == 16 && header.alphaBits == 0 ? 15 : header.pixelBits);
    };

    Bitmap bitmap = allocateBitmap(header.width, header.height, "TGA");
    bitmap.setSourceBitsPerPixel(header.pixelBits);
    const std::int64_t total = header.width * header.height;
    bool anyAlpha = false;
    const auto put = [&](std::int64_t index, const Colour& colour) {
        const std::int64_t storedRow = index / header.width, storedColumn = index % header.width;
        const int y = int(header.topDown ? storedRow : header.height - 1 - storedRow);
        const int x = int(header.rightToLeft ? header.width - 1 - storedColumn : storedColumn);
        std::copy(colour.begin(), colour.end(), bitmap.pixel(x, y));
        anyAlpha = anyAlpha || colour[3] != 0;
    };
    std::int64_t index = 0;
    while (index < total) {
        if (!runLength) {
            put(index++, toColour(valueAt(bytes, offset, pixelBytes)));
            offset += std::size_t(pixelBytes);
            continue;
        }
        const std::uint8_t packet = reader.u8(offset++);
        const std::int64_t count = std::min<std::int64_t>((packet & 0x7F) + 1, total - index);
        if (packet & 0x80) {
            const Colour colour =
                toColour(valueAt(reader.slice(offset, std::size_t(pixelBytes)), 0, pixelBytes));
            offset += std::size_t(pixelBytes);
            for (std::int64_t repeat = 0; repeat < count; ++repeat)
                put(index++, colour);
        } else {
            const std::string_view run =
                reader.slice(offset, std::size_t(count) * std::size_t(pixelBytes));
            for (std::int64_t item = 0; item < count; ++item)
                put(index++, toColour(valueAt(run, std::size_t(item) * std::size_t(pixelBytes),
                                              pixelBytes)));
            offset += run.size();
        }
    }
    // Pixels whose alpha is 0 everywhere come from writers that leave the alpha unused.
    const bool usesAlpha = (header.alphaBits > 0 || header.pixelBits == 32 ||
                            (baseType == typeGrey && header.pixelBits == 16) ||
                            (baseType == typeColourMapped && header.mapEntryBits == 32)) &&
                           anyAlpha;
    if (!usesAlpha)
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                bitmap.pixel(x, y)[3] = 255;
    bitmap.setHasAlpha(usesAlpha);
    return stillPicture(PictureFormat::Tga, std::move(bitmap));
}

PictureInfo readInfo(std::string_view bytes) {
    const TgaHeader header = readHeader(ByteReader(bytes, "TGA"));
    PictureInfo info;
    info.width = int(header.width);
    info.height = int(header.height);
    info.bitsPerPixel = header.pixelBits;
    info.hasTransparency = header.alphaBits > 0;
    return info;
}

} // namespace

const PictureDecoder tgaDecoder{PictureFormat::Tga, sniff, decode, readInfo};

} // namespace tomelet
