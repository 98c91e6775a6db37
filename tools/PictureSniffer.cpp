#include "tools/PictureSniffer.h"

#include <cstddef>
#include <limits>

namespace tomelet {
namespace {

constexpr std::string_view pngSignature = "\x89PNG\r\n\x1a\n";

std::uint32_t byteAt(std::string_view bytes, std::size_t position) {
    return static_cast<unsigned char>(bytes[position]);
}

std::uint32_t bigEndian16(std::string_view bytes, std::size_t position) {
    return byteAt(bytes, position) << 8 | byteAt(bytes, position + 1);
}

std::uint32_t bigEndian32(std::string_view bytes, std::size_t position) {
    return bigEndian16(bytes, position) << 16 | bigEndian16(bytes, position + 2);
}

std::uint32_t littleEndian16(std::string_view bytes, std::size_t position) {
    return byteAt(bytes, position) | byteAt(bytes, position + 1) << 8;
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t position) {
    return littleEndian16(bytes, position) | littleEndian16(bytes, position + 2) << 16;
}

std::optional<PictureFacts> makeFacts(std::string_view format, std::int64_t width,
                                      std::int64_t height, bool transparent) {
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    if (width <= 0 || height <= 0 || width > largest || height > largest) return std::nullopt;
    return PictureFacts{format, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                        transparent};
}

std::optional<PictureFacts> sniffPng(std::string_view bytes) {
    constexpr std::size_t headerEnd = 8 + 8 + 13;
    if (bytes.size() < headerEnd || bytes.substr(12, 4) != "IHDR" || bigEndian32(bytes, 8) != 13)
        return std::nullopt;
    const std::uint32_t colourType = byteAt(bytes, 25);
    bool transparent = colourType == 4 || colourType == 6; // grey or colour with alpha
    // tRNS must come before the image data; a cut-off chunk list ends the search.
    for (std::size_t position = 8; !transparent && bytes.size() - position >= 8;) {
        const std::uint64_t length = bigEndian32(bytes, position);
        const std::string_view type = bytes.substr(position + 4, 4);
        if (type == "IDAT" || type == "IEND") break;
        transparent = type == "tRNS";
        if (length + 12 > bytes.size() - position) break;
        position += static_cast<std::size_t>(length) + 12;
    }
    return makeFacts("PNG", bigEndian32(bytes, 16), bigEndian32(bytes, 20), transparent);
}

// Skips a chain of GIF data sub-blocks; false when the bytes end inside it.
bool skipGifSubBlocks(std::string_view bytes, std::size_t& position) {
    while (position < bytes.size()) {
        const std::size_t size = byteAt(bytes, position++);
        if (size == 0) return true;
        if (size > bytes.size() - position) return false;
        position += size;
    }
    return false;
}

bool skipGifColourTable(std::string_view bytes, std::size_t& position, std::uint32_t flags) {
    if ((flags & 0x80) == 0) return true;
    const std::size_t size = 3u << ((flags & 7) + 1);
    if (size > bytes.size() - position) return false;
    position += size;
    return true;
}

// Any frame's graphic control extension may name a transparent colour; the walk stops
// at the trailer or at the first damaged block, keeping what it found so far.
bool gifHasTransparentColour(std::string_view bytes) {
    std::size_t position = 13;
    if (!skipGifColourTable(bytes, position, byteAt(bytes, 10))) return false;
    while (position < bytes.size()) {
        const std::uint32_t introducer = byteAt(bytes, position);
        if (introducer == 0x21) {
            if (bytes.size() - position < 3) return false;
            const std::uint32_t label = byteAt(bytes, position + 1);
            position += 2;
            if (label == 0xF9 && byteAt(bytes, position) >= 1 && bytes.size() - position >= 2 &&
                (byteAt(bytes, position + 1) & 1) != 0)
                return true;
            if (!skipGifSubBlocks(bytes, position)) return false;
        } else if (introducer == 0x2C) {
            if (bytes.size() - position < 11) return false;
            const std::uint32_t flags = byteAt(bytes, position + 9);
            position += 10;
            if (!skipGifColourTable(bytes, position, flags) || position >= bytes.size())
                return false;
            ++position; // the LZW minimum code size
            if (!skipGifSubBlocks(bytes, position)) return false;
        } else {
            return false;
        }
    }
    return false;
}

std::optional<PictureFacts> sniffGif(std::string_view bytes) {
    if (bytes.size() < 13) return std::nullopt;
    return makeFacts("GIF", littleEndian16(bytes, 6), littleEndian16(bytes, 8),
                     gifHasTransparentColour(bytes));
}

std::optional<PictureFacts> sniffBmp(std::string_view bytes) {
    if (bytes.size() < 18) return std::nullopt;
    const std::uint32_t infoSize = littleEndian32(bytes, 14);
    if (infoSize == 12) { // the old OS/2 core header with 16-bit sizes
        if (bytes.size() < 22) return std::nullopt;
        return makeFacts("BMP", littleEndian16(bytes, 18), littleEndian16(bytes, 20), false);
    }
    if (infoSize < 16 || bytes.size() < 26) return std::nullopt;
    const auto width = static_cast<std::int32_t>(littleEndian32(bytes, 18));
    // A negative height stores the rows top-down.
    const std::int64_t height = static_cast<std::int32_t>(littleEndian32(bytes, 22));
    return makeFacts("BMP", width, height < 0 ? -height : height, false);
}

bool isStartOfFrame(std::uint32_t marker) {
    // C4, C8 and CC share the range but are tables and a reserved code, not frames.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PictureFacts> sniffJpeg(std::string_view bytes) {
    std::size_t position = 2;
    while (position < bytes.size()) {
        if (byteAt(bytes, position) != 0xFF) return std::nullopt;
        while (position < bytes.size() && byteAt(bytes, position) == 0xFF)
            ++position; // fill bytes
        if (position >= bytes.size()) return std::nullopt;
        const std::uint32_t marker = byteAt(bytes, position++);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue; // no length
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt; // no frame before the data
        if (bytes.size() - position < 2) return std::nullopt;
        const std::size_t length = bigEndian16(bytes, position);
        if (length < 2 || length > bytes.size() - position) return std::nullopt;
        if (isStartOfFrame(marker)) {
            if (length < 7) return std::nullopt;
            return makeFacts("JPEG", bigEndian16(bytes, position + 5),
                             bigEndian16(bytes, position + 3), false);
        }
        position += length;
    }
    return std::nullopt;
}

} // namespace

std::optional<PictureFacts> sniffPicture(std::string_view bytes) {
    if (bytes.starts_with(pngSignature)) return sniffPng(bytes);
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return sniffGif(bytes);
    if (bytes.starts_with("BM")) return sniffBmp(bytes);
    if (bytes.starts_with("\xFF\xD8")) return sniffJpeg(bytes);
    return std::nullopt;
}

} // namespace tomelet
