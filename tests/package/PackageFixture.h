#pragma once

#include "package/ByteCursor.h"
#include "package/DirectoryCodec.h"
#include "package/PackageWriter.h"
#include "tests/support/TestFiles.h"

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
