#include "package/InflatingInputStream.h"

#include <algorithm>
#include <climits>
#include <string>

namespace tomelet {
namespace {

constexpr std::size_t inputChunkSize = 1 << 16;

} // namespace

InflatingInputStream::InflatingInputStream(std::shared_ptr<const PackageFile> file,
                                           std::int64_t offset, std::int64_t compressedLength,
                                           std::int64_t inflatedSize)
    : file_(std::move(file)), offset_(offset), compressedLength_(compressedLength),
      inflatedSize_(inflatedSize) {
    if (offset < 0 || compressedLength < 0 || inflatedSize < 0)
        throw StreamError("invalid compressed range: offset " + std::to_string(offset) +
                          ", length " + std::to_string(compressedLength) + ", size " +
                          std::to_string(inflatedSize));
    input_.resize(static_cast<std::size_t>(
        std::min<std::int64_t>(compressedLength, static_cast<std::int64_t>(inputChunkSize))));
    if (inflateInit(&stream_) != Z_OK) throw StreamError("cannot start inflating");
}

InflatingInputStream::~InflatingInputStream() {
    inflateEnd(&stream_);
}

void InflatingInputStream::fail(const char* what, int code) const {
    std::string message = std::string(what) + " in the compressed data at offset " +
                          std::to_string(offset_) + " after " + std::to_string(delivered_) +
                          " of " + std::to_string(inflatedSize_) + " bytes";
    if (stream_.msg != nullptr)
        message += std::string(" (") + stream_.msg + ")";
    else if (code != Z_OK)
        message += " (zlib error " + std::to_string(code) + ")";
    throw StreamError(message);
}

bool InflatingInputStream::refillInput() {
    const std::int64_t left = compressedLength_ - consumed_;
    if (left == 0) return false;
    const auto wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(left, static_cast<std::int64_t>(input_.size())));
    const std::size_t got = file_->readAt(offset_ + consumed_, input_.data(), wanted);
    if (got == 0) fail("the package file ends", Z_OK);
    consumed_ += static_cast<std::int64_t>(got);
    stream_.next_in = reinterpret_cast<Bytef*>(input_.data());
    stream_.avail_in = static_cast<uInt>(got);
    return true;
}

std::size_t InflatingInputStream::read(char* buffer, std::size_t count) {
    const std::int64_t left = inflatedSize_ - delivered_;
    if (left == 0) {
        verifyEnd();
        return 0;
    }
    if (streamEnded_) fail("the stream ends early", Z_OK);
    const auto wanted = static_cast<uInt>(std::min<std::int64_t>(
        {left, static_cast<std::int64_t>(count), static_cast<std::int64_t>(UINT_MAX)}));
    stream_.next_out = reinterpret_cast<Bytef*>(buffer);
    stream_.avail_out = wanted;
    while (stream_.avail_out == wanted) {
        if (stream_.avail_in == 0 && !refillInput()) fail("the data ends", Z_OK);
        const int result = inflate(&stream_, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            streamEnded_ = true;
            if (stream_.avail_out == wanted) fail("the stream ends early", Z_OK);
            break;
        }
        if (result != Z_OK) fail("inflating failed", result);
    }
    const std::size_t produced = wanted - stream_.avail_out;
    delivered_ += static_cast<std::int64_t>(produced);
    return produced;
}

void InflatingInputStream::verifyEnd() {
    if (endVerified_) return;
    char extra = 0;
    while (!streamEnded_) {
        if (stream_.avail_in == 0 && !refillInput()) fail("the data ends before the stream", Z_OK);
        stream_.next_out = reinterpret_cast<Bytef*>(&extra);
        stream_.avail_out = 1;
        const int result = inflate(&stream_, Z_NO_FLUSH);
        if (stream_.avail_out == 0) fail("the stream holds more than its size", Z_OK);
        if (result == Z_STREAM_END)
            streamEnded_ = true;
        else if (result != Z_OK)
            fail("inflating failed", result);
    }
    endVerified_ = true;
}

} // namespace tomelet
