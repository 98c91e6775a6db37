#pragma once

#include "package/InputStream.h"
#include "package/PackageFile.h"

#include <cstdint>
#include <memory>
#include <vector>
#include <zlib.h>

namespace tomelet {

// Inflates the zlib stream (header, deflate data, checksum) that lies in a range of the
// package file, delivering exactly `inflatedSize` bytes. Input is read in small pieces, so
// memory does not depend on the sizes the directory claims.
class InflatingInputStream final : public InputStream {
public:
    // A negative offset, length or size raises StreamError.
    InflatingInputStream(std::shared_ptr<const PackageFile> file, std::int64_t offset,
                         std::int64_t compressedLength, std::int64_t inflatedSize);
    ~InflatingInputStream() override;
    InflatingInputStream(const InflatingInputStream&) = delete;
    InflatingInputStream& operator=(const InflatingInputStream&) = delete;

    // Throws StreamError on corrupt data, on a checksum mismatch, when the stream holds fewer
    // or more than `inflatedSize` bytes, or when the range ends before the stream does.
    std::size_t read(char* buffer, std::size_t count) override;

private:
    // False when the range is used up.
    bool refillInput();
    // After the last byte the stream must end, with its checksum, or the data is not what the
    // directory describes.
    void verifyEnd();
    [[noreturn]] void fail(const char* what, int code) const;

    std::shared_ptr<const PackageFile> file_;
    std::int64_t offset_;
    std::int64_t compressedLength_;
    std::int64_t inflatedSize_;
    std::int64_t consumed_ = 0;
    std::int64_t delivered_ = 0;
    std::vector<char> input_;
    z_stream stream_{};
    bool streamEnded_ = false;
    bool endVerified_ = false;
};

} // namespace tomelet
