#include "package/PackageWriter.h"

#include "package/ByteCursor.h"
#include "package/DirectoryCodec.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <zlib.h>

namespace tomelet {
namespace {

constexpr std::size_t chunkSize = 1 << 16;
constexpr std::int64_t largestOffset = std::numeric_limits<std::int32_t>::max();

std::string describeErrno(const std::filesystem::path& path) {
    return path.string() + ": " + std::strerror(errno);
}

} // namespace

PackageWriter::PackageWriter(const std::filesystem::path& output,
                             const std::filesystem::path& prefix)
    : path_(output) {
    file_ = std::fopen(output.c_str(), "wb");
    if (!file_) throw PackageWriteError("cannot create " + describeErrno(output));
    if (prefix.empty()) return;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(std::fopen(prefix.c_str(), "rb"),
                                                           &std::fclose);
    if (!source) throw PackageWriteError("cannot read " + describeErrno(prefix));
    std::vector<char> buffer(chunkSize);
    while (std::size_t count = std::fread(buffer.data(), 1, buffer.size(), source.get()))
        writeBytes(buffer.data(), count);
    if (std::ferror(source.get())) throw PackageWriteError("cannot read " + describeErrno(prefix));
}

PackageWriter::~PackageWriter() {
    if (file_) std::fclose(file_);
}

void PackageWriter::writeBytes(const char* bytes, std::size_t count) {
    if (std::fwrite(bytes, 1, count, file_) != count)
        throw PackageWriteError("cannot write " + describeErrno(path_));
    position_ += static_cast<std::int64_t>(count);
    if (position_ > largestOffset)
        throw PackageWriteError(path_.string() +
                                ": a package cannot grow past 2 GiB (offsets are 32-bit)");
}

std::int32_t PackageWriter::currentOffset() const {
    return static_cast<std::int32_t>(position_);
}

void PackageWriter::addEntry(const EntrySpec& spec, InputStream& data) {
    LibRec entry;
    entry.directoryName = entry.currentName = spec.name;
    entry.type = spec.type;
    entry.offset = currentOffset();
    if (spec.type == EntryType::picture) {
        entry.imageWidth = spec.imageWidth;
        entry.imageHeight = spec.imageHeight;
        entry.imageHasTransparency = spec.imageHasTransparency;
    }

    std::vector<char> input(chunkSize);
    std::vector<char> output(chunkSize);
    std::size_t count = data.read(input.data(), input.size());

    if (!spec.compress || count == 0) {
        std::int64_t total = 0;
        for (; count > 0; count = data.read(input.data(), input.size())) {
            writeBytes(input.data(), count);
            total += static_cast<std::int64_t>(count);
        }
        entry.size = 0;
        entry.storedSize = static_cast<std::int32_t>(total);
        entries_.push_back(std::move(entry));
        return;
    }

    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_COMPRESSION) != Z_OK)
        throw PackageWriteError("cannot start compression for " + spec.name);
    std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&stream, &deflateEnd);
    std::int64_t inflatedSize = 0;
    const std::int64_t start = position_;
    int flush = Z_NO_FLUSH;
    do {
        inflatedSize += static_cast<std::int64_t>(count);
        if (inflatedSize > largestOffset)
            throw PackageWriteError(spec.name + ": an entry cannot exceed 2 GiB");
        stream.next_in = reinterpret_cast<Bytef*>(input.data());
        stream.avail_in = static_cast<uInt>(count);
        flush = count == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(output.data());
            stream.avail_out = static_cast<uInt>(output.size());
            deflate(&stream, flush);
            writeBytes(output.data(), output.size() - stream.avail_out);
        } while (stream.avail_out == 0);
        if (flush != Z_FINISH) count = data.read(input.data(), input.size());
    } while (flush != Z_FINISH);
    entry.size = static_cast<std::int32_t>(inflatedSize);
    entry.storedSize = static_cast<std::int32_t>(position_ - start);
    entries_.push_back(std::move(entry));
}

void PackageWriter::addEntryWithoutData(const EntrySpec& spec) {
    MemoryInputStream nothing({});
    EntrySpec stored = spec;
    stored.compress = false;
    addEntry(stored, nothing);
}

void PackageWriter::finish(const PackageDirectory& directory, std::string_view tail) {
    const std::string inflated = encodeDirectory(directory, entries_);
    uLongf compressedSize = compressBound(static_cast<uLong>(inflated.size()));
    std::string compressed(compressedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &compressedSize,
                  reinterpret_cast<const Bytef*>(inflated.data()),
                  static_cast<uLong>(inflated.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw PackageWriteError("cannot compress the package directory");
    compressed.resize(compressedSize);

    std::string trailer;
    const std::int64_t sizeFieldOffset = position_;
    appendInt32(trailer, static_cast<std::int32_t>(inflated.size()));
    trailer += compressed;
    appendInt32(trailer, static_cast<std::int32_t>(sizeFieldOffset - directoryPositionBias));
    trailer += packageMarker;
    trailer += tail;
    writeBytes(trailer.data(), trailer.size());

    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) throw PackageWriteError("cannot write " + describeErrno(path_));
}

} // namespace tomelet
