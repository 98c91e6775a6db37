#pragma once

#include "package/EmbeddedFileMap.h"
#include "package/InputStream.h"
#include "package/PackageFile.h"
#include "package/PackageFontHost.h"
#include "package/PackageFormat.h"
#include "package/PackagePluginLoader.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomelet {

// Results of the operations below, as the rest of the player tests them.
namespace PackageResult {
inline constexpr int openFailed = 100;
inline constexpr int entryFound = 0;
inline constexpr int entryNotFound = 1;
inline constexpr int entryReadError = 2;
inline constexpr std::int64_t rawNotFound = -2;
inline constexpr std::int64_t rawReadError = -100;
inline constexpr int written = 1;
inline constexpr int existingFileUsed = 2;
inline constexpr int writeFailed = 100;
} // namespace PackageResult

// Receives an entry's bytes piece by piece; returns false to stop with a failure.
using ByteSink = std::function<bool(std::string_view bytes)>;

// Paths handed out are in publication form (code-page bytes): that is what scripts and
// objects work with. Open them through resolvePublicationPath.
struct WrittenFile {
    int result = 0; // PackageResult::written, existingFileUsed or writeFailed
    std::string path;
    int error = 0; // the file error code of a failed write
};

struct FoundFile {
    std::string path;
    int result = 0; // 1 written or already written, 2 existing file, 100 write failed, 0 none
    int error = 0;  // a file error code when result is 0 or 100 (2: file not found)
};

struct ExtractOutcome {
    bool success = false;
    std::string error; // for [LastError] when not successful
};

// The open package: the directory read from the end of the package file, and the entries it
// describes, which are read only when asked for.
class Package {
public:
    Package() = default;
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    // The package the player runs.
    static Package& instance();

    // 0, or PackageResult::openFailed with failureReason() telling why. Entries read before
    // a fault in the directory stay available.
    int OpenPackage(const std::filesystem::path& packageFile);
    const std::string& failureReason() const { return failureReason_; }
    // Whether entries can be read: after a successful open, or after a fault in the
    // directory that left some entries read.
    bool isOpen() const { return file_ != nullptr; }
    const std::filesystem::path& packageFile() const { return packageFile_; }
    // The start-up values of the directory.
    const PackageDirectory& directory() const { return directory_; }
    // In lookup order: the entry stored last comes first.
    const std::vector<LibRec>& entries() const { return entries_; }

    // From EXTRACTOP and EXTRACTDIR; until called, the defaults (temp folder, delete at exit).
    void chooseExtractionFolder(int extractOptions, std::string_view extractFolder);
    int extractOptions() const { return extractOptions_; }
    // Native, ends with "/".
    const std::string& extractionFolder() const { return extractionFolder_; }

    // From now on "RUNTIME.PUB" is not found, so scripts cannot read the publication text.
    void markPublicationTextLoaded() { publicationTextLoaded_ = true; }
    bool publicationTextLoaded() const { return publicationTextLoaded_; }

    // A test run's stand-ins for embedded files (its package holds none).
    void setEmbeddedFileMap(EmbeddedFileMap map) { embeddedFiles_ = std::move(map); }
    const EmbeddedFileMap& embeddedFileMap() const { return embeddedFiles_; }
    // The disk file for an "embedded:\\\" name in a test run; none otherwise.
    std::optional<std::string> resolveEmbeddedName(std::string_view name) const;

    // Lookups without case; a name with "/" is tried again with "\" in their place.
    LibRec* FindEntry(std::string_view name);
    const LibRec* FindEntry(std::string_view name) const;
    LibRec* FindEntryByDirectoryName(std::string_view name);
    const LibRec* FindEntryByDirectoryName(std::string_view name) const;
    // The stored name whose file-name part is `fileName` (or which is ":" + fileName);
    // `fileName` itself when none is.
    std::string ResolveShortName(std::string_view fileName) const;

    // Succeeds when exactly the entry's data size reached the sink.
    bool ReadEntry(const LibRec& entry, const ByteSink& sink) const;
    // The entry's data, inflated when compressed. Throws StreamError when the package is
    // closed or the entry's range is invalid; reads throw it on corrupt or missing data.
    std::unique_ptr<InputStream> openEntry(const LibRec& entry) const;
    // PackageResult::entryFound, entryNotFound or entryReadError; `data` holds the bytes
    // only on success.
    int ReadEntryToMemory(std::string_view name, std::string& data) const;
    // Stored bytes from `offset` within the entry, at most to its stored size: the count
    // read, 0 past the end, rawNotFound or rawReadError.
    std::int64_t ReadEntryRaw(std::string_view name, std::int64_t offset, char* buffer,
                              std::int64_t count) const;

    // Writes the entry into the extraction folder: under a new temp name with `extension`
    // (the entry's own when empty), or under its own file name, keeping a file already there.
    WrittenFile WriteEntryToFile(LibRec& entry, bool tempName, std::string_view extension = {});
    // Turns any file name a publication uses (entry name, "embedded:\\\" name, disk path)
    // into a readable file.
    FoundFile GetFile(std::string_view name, bool tempName);
    // Writes the entry to `targetPath` (a publication path), creating or replacing it.
    ExtractOutcome ExtractEntryAs(std::string_view name, std::string_view targetPath,
                                  bool createEmpty);

    // Writes every font entry out and hands it to `host`, which must stay alive until
    // ClosePackage. Returns the number of fonts the host added.
    int InstallFonts(PackageFontHost& host);
    // Puts the plug-ins' support files and libraries on disk, then hands each library to
    // `loader`.
    void LoadPlugins(PackagePluginLoader& loader);

    // Closes the file and forgets the entries. Deletes the files written during the run when
    // `deleteFiles` is set and EXTRACTOP asks for it; font files always (after removing them
    // from the font host).
    void ClosePackage(bool deleteFiles);

private:
    int fail(std::string reason);
    int readDirectory();
    std::optional<std::size_t> findIndex(std::string_view name, bool byDirectoryName) const;
    std::size_t indexOf(const LibRec& entry) const;
    // 0 on success, else the file error code of the failure; deletes the file on failure.
    int writeEntryTo(const LibRec& entry, int descriptor, const std::string& path) const;
    std::optional<std::string> findBesidePackage(std::string_view fileName) const;
    std::string packageFolder() const;

    std::filesystem::path packageFile_;
    std::shared_ptr<const PackageFile> file_;
    std::string failureReason_;
    PackageDirectory directory_;
    std::vector<LibRec> entries_;
    // The native path of each entry's written file, by position in entries_.
    std::vector<std::string> writtenPaths_;
    bool publicationTextLoaded_ = false;
    EmbeddedFileMap embeddedFiles_;
    int extractOptions_ = 0;
    std::string extractionFolder_;
    PackageFontHost* fontHost_ = nullptr;
    std::vector<std::string> addedFonts_;
};

} // namespace tomelet
