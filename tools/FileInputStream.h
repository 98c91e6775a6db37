#pragma once

#include "package/InputStream.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace tomelet {

// A file on disk as an InputStream, so the packer streams entry data without holding it.
class FileInputStream final : public InputStream {
public:
    // Throws StreamError when the file cannot be opened.
    explicit FileInputStream(const std::filesystem::path& path);
    ~FileInputStream() override;
    FileInputStream(const FileInputStream&) = delete;
    FileInputStream& operator=(const FileInputStream&) = delete;

    std::size_t read(char* buffer, std::size_t count) override;

private:
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
};

// The whole file in memory, for the small files the packer inspects (manifests, picture
// headers, tails). Throws StreamError.
std::string readWholeFile(const std::filesystem::path& path);

} // namespace tomelet
