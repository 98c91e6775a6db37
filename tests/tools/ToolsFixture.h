#pragma once

#include "tests/support/TestFiles.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <zlib.h>

namespace tomelet::testing {

// Minimal but well-formed picture headers, enough for a header reader.
namespace pictures {

inline std::string bigEndian32(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

inline std::string littleEndian16(std::uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8)};
}

inline std::string littleEndian32(std::uint32_t value) {
    return littleEndian16(value & 0xFFFF) + littleEndian16(value >> 16);
}

inline std::string pngChunk(std::string_view type, std::string_view data) {
    std::string chunk = bigEndian32(static_cast<std::uint32_t>(data.size()));
    chunk += type;
    chunk += data;
    const std::string covered = std::string(type) + std::string(data);
    chunk += bigEndian32(static_cast<std::uint32_t>(crc32(
        0, reinterpret_cast<const Bytef*>(covered.data()), static_cast<uInt>(covered.size()))));
    return chunk;
}

// `extraChunks` go between IHDR and IDAT (PLTE, tRNS, ...).
inline std::string png(std::uint32_t width, std::uint32_t height, int colourType,
                       std::string_view extraChunks = {}) {
    std::string header = bigEndian32(width) + bigEndian32(height);
    header += '\x08';
    header += static_cast<char>(colourType);
    header += std::string(3, '\0');
    return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           std::string(extraChunks) +
           pngChunk("IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
           pngChunk("IEND", "");
}

inline std::string gifFrame(bool transparent) {
    std::string frame = "\x21\xF9\x04";
    frame += transparent ? '\x01' : '\x00';
    frame += std::string("\x00\x00\x00\x00", 4); // delay, transparent index, terminator
    frame += '\x2C';
    frame += littleEndian16(0) + littleEndian16(0) + littleEndian16(1) + littleEndian16(1);
    frame += '\x00';                                 // no local colour table
    frame += std::string("\x02\x02\x44\x01\x00", 5); // LZW size, one data block, end
    return frame;
}

// A GIF89a with a two-colour global table and the given frames.
inline std::string gif(std::uint32_t width, std::uint32_t height, std::string_view frames) {
    std::string bytes = "GIF89a" + littleEndian16(width) + littleEndian16(height);
    bytes += std::string("\x80\x00\x00", 3); // global table of 2 colours
    bytes += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
    bytes += frames;
    bytes += '\x3B';
    return bytes;
}

inline std::string bmp(std::int32_t width, std::int32_t height) {
    std::string info = littleEndian32(40) + littleEndian32(static_cast<std::uint32_t>(width)) +
                       littleEndian32(static_cast<std::uint32_t>(height));
    info += littleEndian16(1) + littleEndian16(24) + std::string(24, '\0');
    return "BM" + littleEndian32(static_cast<std::uint32_t>(14 + info.size())) + littleEndian32(0) +
           littleEndian32(static_cast<std::uint32_t>(14 + info.size())) + info;
}

// SOI, a JFIF APP0, a Huffman table segment (whose marker C4 sits among the frame markers),
// then the frame header `frameMarker` with the size.
inline std::string jpeg(std::uint32_t width, std::uint32_t height, char frameMarker = '\xC0') {
    std::string bytes = "\xFF\xD8";
    bytes += std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
    bytes += std::string("\xFF\xC4\x00\x05\x00\x00\x00", 7);
    bytes += '\xFF';
    bytes += frameMarker;
    bytes += std::string("\x00\x0B\x08", 3);
    bytes += {static_cast<char>(height >> 8), static_cast<char>(height),
              static_cast<char>(width >> 8), static_cast<char>(width)};
    bytes += std::string("\x01\x01\x11\x00", 4);
    bytes += std::string("\xFF\xD9", 2);
    return bytes;
}

} // namespace pictures

} // namespace tomelet::testing
