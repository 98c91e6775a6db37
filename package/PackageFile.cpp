#include "package/PackageFile.h"

#include "package/InputStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tomelet {

PackageFile::PackageFile(const std::filesystem::path& path) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0)
        throw StreamError("cannot open " + path.string() + ": " + std::strerror(errno));
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor_);
        throw StreamError(path.string() + " is not a regular file");
    }
    size_ = status.st_size;
}

PackageFile::~PackageFile() {
    ::close(descriptor_);
}

std::size_t PackageFile::readAt(std::int64_t offset, char* buffer, std::size_t count) const {
    if (offset < 0) throw StreamError("read at negative offset " + std::to_string(offset));
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(descriptor_, buffer + done, count - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0) {
            if (errno == EINTR) continue;
            throw StreamError("cannot read the package at offset " + std::to_string(offset) + ": " +
                              std::strerror(errno));
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace tomelet
