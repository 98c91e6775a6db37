#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tomelet {

// Raised by a stream whose underlying bytes cannot be read (I/O error, corrupt compressed
// data). Readers turn it into their own failure result; it never escapes to the user.
class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A forward-only byte source: package entries (stored or inflating), files, memory.
class InputStream {
public:
    virtual ~InputStream() = default;
    // Reads up to `count` bytes; returns 0 only at the end. Throws StreamError on failure.
    virtual std::size_t read(char* buffer, std::size_t count) = 0;
};

class MemoryInputStream final : public InputStream {
public:
    explicit MemoryInputStream(std::string_view bytes) : bytes_(bytes) {}

    std::size_t read(char* buffer, std::size_t count) override {
        const std::size_t taken = bytes_.copy(buffer, count, position_);
        position_ += taken;
        return taken;
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

} // namespace tomelet
