#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace tomelet {

// The package file, open read-only for the whole run. Every read names its own offset
// (pread), so readers of different entries can never disturb each other's position.
class PackageFile {
public:
    // Others may go on reading and writing the file. Throws StreamError when it cannot be
    // opened or is not a regular file.
    explicit PackageFile(const std::filesystem::path& path);
    ~PackageFile();
    PackageFile(const PackageFile&) = delete;
    PackageFile& operator=(const PackageFile&) = delete;

    // The size when the file was opened: the package was found from this end.
    std::int64_t size() const { return size_; }

    // Reads up to `count` bytes at `offset`; fewer only where the file ends. Throws
    // StreamError on an I/O error or a negative offset.
    std::size_t readAt(std::int64_t offset, char* buffer, std::size_t count) const;

private:
    int descriptor_ = -1;
    std::int64_t size_ = 0;
};

} // namespace tomelet
