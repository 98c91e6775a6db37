#include "package/Package.h"

#include "package/DirectoryCodec.h"
#include "package/ExtractionFolder.h"
#include "package/ExtractionTempName.h"
#include "package/InflatingInputStream.h"
#include "package/StoredInputStream.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "services/Messages.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tomelet {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view publicationTextName = "RUNTIME.PUB";
constexpr std::size_t copyChunkSize = 1 << 16;
// Far beyond any real directory (one record of a few dozen bytes per embedded file, so
// hundreds of thousands of entries), yet a lying size field cannot make us inflate
// gigabytes before noticing.
constexpr std::int64_t largestDirectorySize = 64 << 20;
// Deflate cannot expand more than this (258 bytes from every 2 bits at best), so a size
// beyond it is a lie that the inflated data would only reveal after the whole stream.
constexpr std::int64_t largestDeflateRatio = 1032;
constexpr std::int64_t int32Size = 4;
constexpr int messageFileDoesNotExist = 303;

std::int32_t littleEndianInt32(const char* bytes) {
    std::uint32_t value = 0;
    for (int index = 3; index >= 0; --index)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[index]);
    return static_cast<std::int32_t>(value);
}

bool isRegularFile(const std::string& nativePath) {
    std::error_code error;
    return fs::is_regular_file(nativePath, error);
}

// The entry of `folder` that is `wanted` (publication bytes) without case, then the same
// search in the subfolders, depth first; folders whose names start with "." are skipped and
// each folder is entered once, so links cannot make the search loop.
std::optional<std::string> searchFolder(const fs::path& folder, const std::string& wanted,
                                        std::set<std::pair<dev_t, ino_t>>& visited) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0 ||
        !visited.insert({status.st_dev, status.st_ino}).second)
        return std::nullopt;
    const std::string wantedNative = toUtf8(wanted);
    std::optional<std::string> hit;
    std::vector<fs::path> subfolders;
    std::error_code error;
    fs::directory_iterator iterator(folder, error);
    for (; !error && iterator != fs::directory_iterator(); iterator.increment(error)) {
        const std::string name = iterator->path().filename().string();
        std::error_code typeError;
        if (iterator->is_directory(typeError)) {
            if (!name.starts_with('.')) subfolders.push_back(iterator->path());
            continue;
        }
        if (!iterator->is_regular_file(typeError)) continue;
        const std::string spelled = fromUtf8(name);
        if (toUtf8(spelled) != name || !equalsIgnoreCase(spelled, wanted)) continue;
        const std::string path = iterator->path().string();
        if (name == wantedNative) return path;
        if (!hit || path < *hit) hit = path;
    }
    if (hit) return hit;
    std::sort(subfolders.begin(), subfolders.end());
    for (const fs::path& subfolder : subfolders)
        if (std::optional<std::string> found = searchFolder(subfolder, wanted, visited))
            return found;
    return std::nullopt;
}

int createOrReplace(const std::string& nativePath) {
    return ::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

} // namespace

Package& Package::instance() {
    static Package package;
    return package;
}

int Package::fail(std::string reason) {
    failureReason_ = std::move(reason);
    return PackageResult::openFailed;
}

int Package::OpenPackage(const fs::path& packageFile) {
    if (isOpen() || !entries_.empty()) ClosePackage(false);
    failureReason_.clear();
    std::error_code error;
    packageFile_ = fs::absolute(packageFile, error).lexically_normal();
    if (error) packageFile_ = packageFile;
    extractOptions_ = defaultExtractOptions;
    extractionFolder_ = tomelet::chooseExtractionFolder(extractOptions_, {}, packageFile_);
    try {
        file_ = std::make_shared<const PackageFile>(packageFile_);
    } catch (const StreamError& failure) {
        return fail(failure.what());
    }
    int result = 0;
    try {
        result = readDirectory();
    } catch (const StreamError& failure) {
        result = fail(failure.what());
    }
    // The file stays open only for entries that were read.
    if (result != 0 && entries_.empty()) file_.reset();
    return result;
}

int Package::readDirectory() {
    const std::int64_t fileSize = file_->size();
    // The last window compared starts at most markerSearchLimit + 6 bytes before the end.
    const auto markerLength = static_cast<std::int64_t>(packageMarker.size());
    const std::int64_t searchLength = markerSearchLimit + markerLength - 1;
    const auto tailLength = static_cast<std::size_t>(std::min(fileSize, searchLength));
    std::string tail(tailLength, '\0');
    if (file_->readAt(fileSize - static_cast<std::int64_t>(tailLength), tail.data(), tailLength) !=
        tailLength)
        return fail("the package file shrank while it was read");

    std::int64_t distance = markerLength;
    while (true) {
        if (distance > fileSize) return fail("marker not found: the file is too short");
        const std::string_view window = std::string_view(tail).substr(
            tailLength - static_cast<std::size_t>(distance), packageMarker.size());
        if (window == packageMarker) break;
        if (distance >= markerSearchLimit) return fail("marker not found in the last 10000 bytes");
        const std::size_t position = packageMarker.find(window.front());
        distance += position != std::string_view::npos && position >= 1
                        ? static_cast<std::int64_t>(position)
                        : markerLength;
    }
    const std::int64_t markerOffset = fileSize - distance;

    if (markerOffset < int32Size) return fail("no directory position before the marker");
    const std::int64_t positionFieldOffset = markerOffset - int32Size;
    char int32Field[int32Size];
    if (file_->readAt(positionFieldOffset, int32Field, sizeof int32Field) != sizeof int32Field)
        return fail("the package file shrank while it was read");
    const std::int64_t sizeFieldOffset = littleEndianInt32(int32Field) + directoryPositionBias;
    if (sizeFieldOffset < 0 || sizeFieldOffset + int32Size > positionFieldOffset)
        return fail("directory position " + std::to_string(sizeFieldOffset) +
                    " lies outside the package");

    if (file_->readAt(sizeFieldOffset, int32Field, sizeof int32Field) != sizeof int32Field)
        return fail("the package file shrank while it was read");
    const std::int64_t directorySize = littleEndianInt32(int32Field);
    const std::int64_t compressedOffset = sizeFieldOffset + int32Size;
    const std::int64_t compressedLength = positionFieldOffset - compressedOffset;
    if (directorySize < 0) return fail("negative directory size " + std::to_string(directorySize));
    if (directorySize > largestDirectorySize)
        return fail("directory size " + std::to_string(directorySize) + " exceeds 64 MiB");
    if (directorySize > compressedLength * largestDeflateRatio)
        return fail("directory size " + std::to_string(directorySize) + " cannot come from " +
                    std::to_string(compressedLength) + " compressed bytes");

    std::string inflated;
    InflatingInputStream stream(file_, compressedOffset, compressedLength, directorySize);
    while (true) {
        const std::size_t used = inflated.size();
        inflated.resize(used + copyChunkSize);
        const std::size_t got = stream.read(inflated.data() + used, copyChunkSize);
        inflated.resize(used + got);
        if (got == 0) break;
    }

    DecodedDirectory decoded = decodeDirectory(inflated);
    directory_ = std::move(decoded.directory);
    entries_.assign(std::make_move_iterator(decoded.entries.rbegin()),
                    std::make_move_iterator(decoded.entries.rend()));
    writtenPaths_.assign(entries_.size(), {});
    if (!decoded.complete()) return fail("directory: " + decoded.error);
    return 0;
}

void Package::chooseExtractionFolder(int extractOptions, std::string_view extractFolder) {
    extractOptions_ = extractOptions;
    extractionFolder_ =
        tomelet::chooseExtractionFolder(extractOptions, extractFolder, packageFile_);
}

std::optional<std::string> Package::resolveEmbeddedName(std::string_view name) const {
    if (!directory_.isTestRun()) return std::nullopt;
    const std::optional<std::string_view> path = embeddedFiles_.resolve(name);
    if (!path) return std::nullopt;
    return std::string(*path);
}

std::optional<std::size_t> Package::findIndex(std::string_view name, bool byDirectoryName) const {
    const auto walk = [&](std::string_view wanted) -> std::optional<std::size_t> {
        for (std::size_t index = 0; index < entries_.size(); ++index) {
            const LibRec& entry = entries_[index];
            const std::string& candidate =
                byDirectoryName ? entry.directoryName : entry.currentName;
            if (!equalsIgnoreCase(candidate, wanted)) continue;
            if (publicationTextLoaded_ && equalsIgnoreCase(candidate, publicationTextName))
                continue;
            return index;
        }
        return std::nullopt;
    };
    if (std::optional<std::size_t> found = walk(name)) return found;
    if (name.find('/') == std::string_view::npos) return std::nullopt;
    std::string backslashed(name);
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    return walk(backslashed);
}

LibRec* Package::FindEntry(std::string_view name) {
    const std::optional<std::size_t> index = findIndex(name, false);
    return index ? &entries_[*index] : nullptr;
}

const LibRec* Package::FindEntry(std::string_view name) const {
    const std::optional<std::size_t> index = findIndex(name, false);
    return index ? &entries_[*index] : nullptr;
}

LibRec* Package::FindEntryByDirectoryName(std::string_view name) {
    const std::optional<std::size_t> index = findIndex(name, true);
    return index ? &entries_[*index] : nullptr;
}

const LibRec* Package::FindEntryByDirectoryName(std::string_view name) const {
    const std::optional<std::size_t> index = findIndex(name, true);
    return index ? &entries_[*index] : nullptr;
}

std::string Package::ResolveShortName(std::string_view fileName) const {
    for (const LibRec& entry : entries_) {
        const std::string& name = entry.directoryName;
        if (name == fileName) continue;
        const bool colonForm =
            name.starts_with(':') && equalsIgnoreCase(std::string_view(name).substr(1), fileName);
        if (colonForm || equalsIgnoreCase(extractFileName(name), fileName)) return name;
    }
    return std::string(fileName);
}

std::unique_ptr<InputStream> Package::openEntry(const LibRec& entry) const {
    if (!file_) throw StreamError("the package is not open");
    if (entry.isCompressed())
        return std::make_unique<InflatingInputStream>(file_, entry.offset, entry.storedSize,
                                                      entry.size);
    return std::make_unique<StoredInputStream>(file_, entry.offset, entry.storedSize);
}

bool Package::ReadEntry(const LibRec& entry, const ByteSink& sink) const {
    try {
        const std::unique_ptr<InputStream> stream = openEntry(entry);
        std::vector<char> buffer(copyChunkSize);
        std::int64_t total = 0;
        while (const std::size_t got = stream->read(buffer.data(), buffer.size())) {
            total += static_cast<std::int64_t>(got);
            if (!sink(std::string_view(buffer.data(), got))) return false;
        }
        return total == entry.dataSize();
    } catch (const StreamError&) {
        return false;
    }
}

int Package::ReadEntryToMemory(std::string_view name, std::string& data) const {
    const LibRec* entry = FindEntry(name);
    if (entry == nullptr) return PackageResult::entryNotFound;
    if (!file_) return PackageResult::entryReadError;
    try {
        std::string bytes;
        // Reserve only what the bytes in the file can yield, whatever the size field says.
        const std::int64_t available =
            std::clamp<std::int64_t>(entry->storedSize, 0, file_->size());
        const std::int64_t plausible =
            entry->isCompressed() ? available * largestDeflateRatio : available;
        bytes.reserve(
            static_cast<std::size_t>(std::clamp<std::int64_t>(entry->dataSize(), 0, plausible)));
        if (!ReadEntry(*entry, [&bytes](std::string_view piece) {
                bytes.append(piece);
                return true;
            }))
            return PackageResult::entryReadError;
        data = std::move(bytes);
        return PackageResult::entryFound;
    } catch (const std::bad_alloc&) {
        return PackageResult::entryReadError;
    }
}

std::int64_t Package::ReadEntryRaw(std::string_view name, std::int64_t offset, char* buffer,
                                   std::int64_t count) const {
    const LibRec* entry = FindEntry(name);
    if (entry == nullptr) return PackageResult::rawNotFound;
    if (offset < 0 || !file_) return PackageResult::rawReadError;
    if (offset >= entry->storedSize || count <= 0) return 0;
    const std::int64_t wanted = std::min<std::int64_t>(count, entry->storedSize - offset);
    try {
        const std::size_t got =
            file_->readAt(entry->offset + offset, buffer, static_cast<std::size_t>(wanted));
        if (static_cast<std::int64_t>(got) != wanted) return PackageResult::rawReadError;
        return wanted;
    } catch (const StreamError&) {
        return PackageResult::rawReadError;
    }
}

std::size_t Package::indexOf(const LibRec& entry) const {
    return static_cast<std::size_t>(&entry - entries_.data());
}

int Package::writeEntryTo(const LibRec& entry, int descriptor, const std::string& path) const {
    int writeErrno = 0;
    const bool read = ReadEntry(entry, [&](std::string_view piece) {
        while (!piece.empty()) {
            const ssize_t written = ::write(descriptor, piece.data(), piece.size());
            if (written < 0) {
                if (errno == EINTR) continue;
                writeErrno = errno;
                return false;
            }
            piece.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    });
    if (::close(descriptor) != 0 && writeErrno == 0 && read) writeErrno = errno;
    if (read && writeErrno == 0) return 0;
    ::unlink(path.c_str());
    // A failure of the package's own data reads as a damaged file.
    return writeErrno != 0 ? fileErrorFromErrno(writeErrno) : 100;
}

WrittenFile Package::WriteEntryToFile(LibRec& entry, bool tempName, std::string_view extension) {
    std::string ownExtension(extension.empty() ? extractFileExt(entry.directoryName) : extension);
    std::erase(ownExtension, '.');

    std::optional<CreatedFile> created;
    if (tempName)
        created =
            createTempFile(extractionFolder_, toUtf8(ownExtension), currentPackedDosDateTime());
    if (!created) {
        const std::string_view fileName = extractFileName(entry.directoryName);
        if (fileName.empty()) return {PackageResult::writeFailed, {}, 2};
        const std::string path = resolveExistingPath(extractionFolder_ + toUtf8(fileName));
        std::error_code error;
        if (fs::exists(path, error))
            return {PackageResult::existingFileUsed, toPublicationPath(path), 0};
        const int descriptor = createOrReplace(path);
        if (descriptor < 0) return {PackageResult::writeFailed, {}, fileErrorFromErrno(errno)};
        created = CreatedFile{descriptor, path};
    }
    if (const int error = writeEntryTo(entry, created->descriptor, created->path); error != 0)
        return {PackageResult::writeFailed, {}, error};
    entry.extracted = true;
    writtenPaths_.at(indexOf(entry)) = created->path;
    if (extractOptions_ & ExtractOption::hiddenFiles) setHidden(created->path);
    return {PackageResult::written, toPublicationPath(created->path), 0};
}

std::string Package::packageFolder() const {
    if (packageFile_.empty()) return {};
    std::string folder = packageFile_.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::optional<std::string> Package::findBesidePackage(std::string_view fileName) const {
    const std::string folder = packageFolder();
    if (fileName.empty() || folder.empty()) return std::nullopt;
    std::set<std::pair<dev_t, ino_t>> visited;
    return searchFolder(folder, std::string(fileName), visited);
}

FoundFile Package::GetFile(std::string_view name, bool tempName) {
    if (LibRec* entry = FindEntryByDirectoryName(name)) {
        if (entry->extracted) return {entry->currentName, PackageResult::written, 0};
        WrittenFile written = WriteEntryToFile(*entry, tempName, tempName ? "$$$" : "");
        if (written.result != PackageResult::writeFailed) entry->currentName = written.path;
        return {written.path, written.result, written.error};
    }
    if (std::optional<std::string> mapped = resolveEmbeddedName(name))
        return {*mapped, PackageResult::existingFileUsed, 0};

    std::error_code error;
    const fs::path native = fs::absolute(resolvePublicationPath(name), error).lexically_normal();
    const std::string folder = packageFolder();
    if (!error && !folder.empty() && !extractFilePath(name).empty() &&
        native.string().starts_with(folder) && isRegularFile(native.string()))
        return {std::string(name), PackageResult::existingFileUsed, 0};
    if (std::optional<std::string> found = findBesidePackage(extractFileName(name)))
        return {toPublicationPath(*found), PackageResult::existingFileUsed, 0};
    if (!error && isRegularFile(native.string()))
        return {std::string(name), PackageResult::existingFileUsed, 0};
    return {{}, 0, 2};
}

ExtractOutcome Package::ExtractEntryAs(std::string_view name, std::string_view targetPath,
                                       bool createEmpty) {
    const LibRec* entry = FindEntryByDirectoryName(name);
    if (entry == nullptr && !createEmpty) return {false, GetMessageText(messageFileDoesNotExist)};
    const std::string path = resolvePublicationPath(targetPath);
    const int descriptor = createOrReplace(path);
    if (descriptor < 0) return {false, FileErrorText(fileErrorFromErrno(errno))};
    if (entry == nullptr) {
        ::close(descriptor);
        return {true, {}};
    }
    if (const int error = writeEntryTo(*entry, descriptor, path); error != 0)
        return {false, FileErrorText(error)};
    return {true, {}};
}

int Package::InstallFonts(PackageFontHost& host) {
    fontHost_ = &host;
    int added = 0;
    for (LibRec& entry : entries_) {
        if (entry.type != EntryType::font || entry.extracted) continue;
        const WrittenFile written = WriteEntryToFile(entry, true);
        if (written.result == PackageResult::writeFailed) continue;
        entry.currentName = written.path;
        if (!host.addFont(written.path)) continue;
        addedFonts_.push_back(written.path);
        ++added;
    }
    if (added > 0) host.fontsChanged();
    return added;
}

void Package::LoadPlugins(PackagePluginLoader& loader) {
    for (LibRec& entry : entries_) {
        if (entry.type != EntryType::pluginSupportFile || entry.storedSize <= 0 || entry.extracted)
            continue;
        const WrittenFile written = WriteEntryToFile(entry, false);
        if (written.result != PackageResult::writeFailed) entry.currentName = written.path;
    }
    for (LibRec& entry : entries_) {
        if (entry.type != EntryType::plugin && entry.type != EntryType::pluginAlternative) continue;
        if (!directory_.isTestRun()) {
            if (entry.storedSize > 0) {
                if (!entry.extracted) {
                    const WrittenFile written = WriteEntryToFile(entry, true);
                    if (written.result != PackageResult::writeFailed)
                        entry.currentName = written.path;
                }
            } else {
                loader.loadPlugin(entry, toPublicationPath(packageFolder()) +
                                             std::string(extractFileName(entry.directoryName)));
                continue;
            }
        }
        loader.loadPlugin(entry, entry.currentName);
    }
}

void Package::ClosePackage(bool deleteFiles) {
    file_.reset();
    const bool fontsRemoved = fontHost_ != nullptr && !addedFonts_.empty();
    if (fontHost_ != nullptr)
        for (const std::string& font : addedFonts_)
            fontHost_->removeFont(font);
    const bool deleteWritten = deleteFiles && (extractOptions_ & ExtractOption::deleteAtExit);
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        const LibRec& entry = entries_[index];
        if (!entry.extracted || writtenPaths_[index].empty()) continue;
        if (deleteWritten || entry.type == EntryType::font) ::unlink(writtenPaths_[index].c_str());
    }
    if (fontsRemoved) fontHost_->fontsChanged();
    entries_.clear();
    writtenPaths_.clear();
    addedFonts_.clear();
    fontHost_ = nullptr;
    directory_ = {};
    publicationTextLoaded_ = false;
    embeddedFiles_ = {};
}

} // namespace tomelet
