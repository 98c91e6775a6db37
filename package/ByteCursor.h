#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// Bounds-checked little-endian reading over untrusted bytes: every read either succeeds
// entirely or reports failure and leaves the cursor where it was.
class ByteCursor {
public:
    explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ == bytes_.size(); }
    std::size_t position() const { return position_; }

    std::optional<std::uint8_t> readByte() {
        if (remaining() < 1) return std::nullopt;
        return static_cast<std::uint8_t>(bytes_[position_++]);
    }

    std::optional<std::int32_t> readInt32() {
        if (remaining() < 4) return std::nullopt;
        std::uint32_t value = 0;
        for (int index = 3; index >= 0; --index)
            value = (value << 8) | static_cast<std::uint8_t>(bytes_[position_ + index]);
        position_ += 4;
        return static_cast<std::int32_t>(value);
    }

    // A 16-bit length followed by that many bytes.
    std::optional<std::string> readText16() {
        if (remaining() < 2) return std::nullopt;
        const std::size_t length = static_cast<std::uint8_t>(bytes_[position_]) |
                                   (static_cast<std::uint8_t>(bytes_[position_ + 1]) << 8);
        if (remaining() - 2 < length) return std::nullopt;
        std::string text(bytes_.substr(position_ + 2, length));
        position_ += 2 + length;
        return text;
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

inline void appendInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

} // namespace tomelet
