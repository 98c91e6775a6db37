#pragma once

#include "package/InputStream.h"
#include "package/PackageFormat.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tomelet {

class PackageWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct EntrySpec {
    std::string name;
    std::uint8_t type = EntryType::ordinaryFile;
    bool compress = true;
    std::int32_t imageWidth = 0; // pictures only
    std::int32_t imageHeight = 0;
    bool imageHasTransparency = false;
};

// Writes a package: an optional prefix (the player executable), the entries' data, the
// compressed directory, its position, the marker and an optional tail. Entry data streams
// through, so packages larger than memory can be written.
class PackageWriter {
public:
    // Creates or replaces `output`. With a prefix the file starts with its bytes.
    explicit PackageWriter(const std::filesystem::path& output,
                           const std::filesystem::path& prefix = {});
    ~PackageWriter();
    PackageWriter(const PackageWriter&) = delete;
    PackageWriter& operator=(const PackageWriter&) = delete;

    // Appends the entry's data now. Empty data is always stored uncompressed, since a
    // size of 0 is how the directory says "stored".
    void addEntry(const EntrySpec& spec, InputStream& data);
    // Records an entry whose data is not in the package (a library expected beside it).
    void addEntryWithoutData(const EntrySpec& spec);

    // Writes the directory, the trailer and the tail, and closes the file.
    void finish(const PackageDirectory& directory, std::string_view tail = {});

    const std::vector<LibRec>& entries() const { return entries_; }

private:
    void writeBytes(const char* bytes, std::size_t count);
    std::int32_t currentOffset() const;

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::int64_t position_ = 0;
    std::vector<LibRec> entries_;
};

} // namespace tomelet
