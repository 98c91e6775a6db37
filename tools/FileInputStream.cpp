#include "tools/FileInputStream.h"

#include <cerrno>
#include <cstring>

namespace tomelet {

FileInputStream::FileInputStream(const std::filesystem::path& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw StreamError("cannot read " + path.string() + ": " + std::strerror(errno));
}

FileInputStream::~FileInputStream() {
    std::fclose(file_);
}

std::size_t FileInputStream::read(char* buffer, std::size_t count) {
    const std::size_t taken = std::fread(buffer, 1, count, file_);
    if (taken == 0 && std::ferror(file_))
        throw StreamError("cannot read " + path_.string() + ": " + std::strerror(errno));
    return taken;
}

std::string readWholeFile(const std::filesystem::path& path) {
    FileInputStream stream(path);
    std::string bytes;
    char buffer[1 << 16];
    while (const std::size_t count = stream.read(buffer, sizeof buffer))
        bytes.append(buffer, count);
    return bytes;
}

} // namespace tomelet
