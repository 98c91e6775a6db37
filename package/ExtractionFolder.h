#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tomelet {

// The bits of the publication's EXTRACTOP value.
namespace ExtractOption {
inline constexpr int packageFolder = 1;
inline constexpr int windowsFolder = 2;
inline constexpr int tempFolder = 4;
inline constexpr int customFolder = 8;
inline constexpr int hiddenFiles = 64;
inline constexpr int deleteAtExit = 128;
} // namespace ExtractOption

// Temp folder, files deleted at exit.
inline constexpr int defaultExtractOptions = 132;

// The folder that plays the Windows folder's role: the one "C:\Windows\" means through the
// drive table, so extracted files land where a script that names that folder looks. It is
// created when missing, since publications take its existence for granted. Native, ends
// with "/"; empty when it cannot be created.
std::string windowsFolder();

// The folder entries are written to, from EXTRACTOP and EXTRACTDIR (a publication path).
// Where Windows would fall back on the temp folder for a drive it cannot use (type unknown,
// no root, CD-ROM), this does so for a folder that does not exist, cannot be examined, or
// lies on a read-only file system. Native, ends with "/".
std::string chooseExtractionFolder(int extractOptions, std::string_view extractFolder,
                                   const std::filesystem::path& packageFile);

} // namespace tomelet
