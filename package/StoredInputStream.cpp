#include "package/StoredInputStream.h"

#include <algorithm>
#include <string>

namespace tomelet {

StoredInputStream::StoredInputStream(std::shared_ptr<const PackageFile> file, std::int64_t offset,
                                     std::int64_t length)
    : file_(std::move(file)), offset_(offset), length_(length) {
    if (offset < 0 || length < 0)
        throw StreamError("invalid stored range: offset " + std::to_string(offset) + ", length " +
                          std::to_string(length));
}

std::size_t StoredInputStream::read(char* buffer, std::size_t count) {
    const auto wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(length_ - position_, static_cast<std::int64_t>(count)));
    if (wanted == 0) return 0;
    const std::size_t got = file_->readAt(offset_ + position_, buffer, wanted);
    if (got == 0)
        throw StreamError("the package file ends " + std::to_string(length_ - position_) +
                          " bytes before the end of the data at offset " + std::to_string(offset_));
    position_ += static_cast<std::int64_t>(got);
    return got;
}

} // namespace tomelet
