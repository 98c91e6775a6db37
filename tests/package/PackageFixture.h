#pragma once

#include "package/ByteCursor.h"
#include "package/DirectoryCodec.h"
#include "package/PackageWriter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>
#include <zlib.h>

namespace tomelet::testing {

// A fresh folder under the system temp folder, removed with everything in it afterwards.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "package-test-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code error;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(path_, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Native folder text ending with "/", as the package's folder values are.
    std::string folder() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::string> folderContents(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct FixtureEntry {
    EntrySpec spec;
    std::string data;
};

inline FixtureEntry stored(std::string name, std::string data,
                           std::uint8_t type = EntryType::ordinaryFile) {
    return {EntrySpec{std::move(name), type, false}, std::move(data)};
}

inline FixtureEntry compressed(std::string name, std::string data,
                               std::uint8_t type = EntryType::ordinaryFile) {
    return {EntrySpec{std::move(name), type, true}, std::move(data)};
}

// Writes a package through the real writer; returns the directory records it wrote.
inline std::vector<LibRec> writePackage(const std::filesystem::path& path,
                                        const std::vector<FixtureEntry>& entries,
                                        const PackageDirectory& directory = {},
                                        std::string_view tail = {}) {
    PackageWriter writer(path);
    for (const FixtureEntry& entry : entries) {
        MemoryInputStream data(entry.data);
        writer.addEntry(entry.spec, data);
    }
    std::vector<LibRec> written = writer.entries();
    writer.finish(directory, tail);
    return written;
}

inline std::string zlibCompress(std::string_view bytes) {
    uLongf length = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(length, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &length,
                  reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(length);
    return out;
}

// The pieces of a package, for tests that corrupt one of them: entry data, the directory
// size field N, the compressed directory, the position field D, the marker and a tail.
struct PackageParts {
    std::string data;
    std::int32_t directorySize = 0;
    std::string compressedDirectory;
    std::int32_t directoryPosition = 0;
    std::string marker{packageMarker};
    std::string tail;

    // N, the directory and D as a correct writer makes them for `inflatedDirectory`.
    static PackageParts around(std::string data, std::string_view inflatedDirectory) {
        PackageParts parts;
        parts.directoryPosition = static_cast<std::int32_t>(data.size()) -
                                  static_cast<std::int32_t>(directoryPositionBias);
        parts.data = std::move(data);
        parts.directorySize = static_cast<std::int32_t>(inflatedDirectory.size());
        parts.compressedDirectory = zlibCompress(inflatedDirectory);
        return parts;
    }

    std::string bytes() const {
        std::string out = data;
        appendInt32(out, directorySize);
        out += compressedDirectory;
        appendInt32(out, directoryPosition);
        out += marker;
        out += tail;
        return out;
    }
};

} // namespace tomelet::testing
