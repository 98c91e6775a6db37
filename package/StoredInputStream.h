#pragma once

#include "package/InputStream.h"
#include "package/PackageFile.h"

#include <cstdint>
#include <memory>

namespace tomelet {

// The bytes of a range of the package file, as they are stored.
class StoredInputStream final : public InputStream {
public:
    // A negative offset or length raises StreamError.
    StoredInputStream(std::shared_ptr<const PackageFile> file, std::int64_t offset,
                      std::int64_t length);

    // Throws StreamError when the file ends before the range does.
    std::size_t read(char* buffer, std::size_t count) override;

private:
    std::shared_ptr<const PackageFile> file_;
    std::int64_t offset_;
    std::int64_t length_;
    std::int64_t position_ = 0;
};

} // namespace tomelet
