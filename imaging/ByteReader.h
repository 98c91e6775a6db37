#pragma once

#include "imaging/PictureDecoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tomelet {

// Bounds-checked reads at offsets into a picture's bytes: a read past the end throws
// PictureDecodeError(Truncated) naming the format, so readers of our own formats cannot
// read out of bounds by forgetting a check.
class ByteReader {
public:
    ByteReader(std::string_view bytes, std::string_view formatName)
        : bytes_(bytes), formatName_(formatName) {}

    std::size_t size() const { return bytes_.size(); }
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    std::uint8_t u8(std::size_t offset) const {
        require(offset, 1);
        return static_cast<std::uint8_t>(bytes_[offset]);
    }
    std::uint16_t u16(std::size_t offset) const {
        require(offset, 2);
        return std::uint16_t(byteAt(offset) | (byteAt(offset + 1) << 8));
    }
    std::uint32_t u32(std::size_t offset) const {
        require(offset, 4);
        return std::uint32_t(byteAt(offset)) | (std::uint32_t(byteAt(offset + 1)) << 8) |
               (std::uint32_t(byteAt(offset + 2)) << 16) |
               (std::uint32_t(byteAt(offset + 3)) << 24);
    }
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    std::int16_t i16(std::size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }

    std::string_view slice(std::size_t offset, std::size_t count) const {
        require(offset, count);
        return bytes_.substr(offset, count);
    }
    // The bytes from `offset` to the end (empty when past it).
    std::string_view rest(std::size_t offset) const {
        return offset < bytes_.size() ? bytes_.substr(offset) : std::string_view();
    }

    [[noreturn]] void fail(PictureError code, const std::string& what) const {
        throw PictureDecodeError(code, std::string(formatName_) + ": " + what);
    }
    void require(std::size_t offset, std::size_t count) const {
        if (!has(offset, count))
            fail(PictureError::Truncated, "needs " + std::to_string(count) + " bytes at " +
                                              std::to_string(offset) + " of " +
                                              std::to_string(bytes_.size()));
    }

private:
    std::uint32_t byteAt(std::size_t offset) const {
        return static_cast<std::uint8_t>(bytes_[offset]);
    }

    std::string_view bytes_;
    std::string_view formatName_;
};

} // namespace tomelet
