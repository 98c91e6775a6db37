#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tomelet {

// File names as publications write them: bytes in the code page, "\" (or "/") between
// components, maybe a drive letter. The helpers below work on those strings unchanged; the
// path functions turn them into native (UTF-8, "/"-separated) paths for the file system.

// ---- Windows-style name parts (on publication strings, bytes) ----
// A separator is "\" or "/"; the file-name part also starts after a ":" (the drive, or the
// "embedded:" prefix of package names).

// "C:\a\b.txt" -> "b.txt"; "embedded:\\\flash.ocx" -> "flash.ocx"; "dir\" -> "".
std::string_view extractFileName(std::string_view path);
// Up to and including the last separator or ":": "C:\a\b.txt" -> "C:\a\"; "noext" -> "".
std::string_view extractFilePath(std::string_view path);
// From the last "." of the file-name part, with the ".": "C:\a\b.c.d" -> ".d"; "noext" -> "".
std::string_view extractFileExt(std::string_view path);
// "C:" for a drive-letter path, "\\server\share" for a network path, else "".
std::string_view extractFileDrive(std::string_view path);
// Replaces the extension of the file-name part (adds it when there is none; an empty
// extension removes it). `extension` carries its ".".
std::string changeFileExt(std::string_view path, std::string_view extension);

// ---- publication paths to native paths ----

// Drive letters map to native folders through one table:
//   - TOMELET_DRIVE_<LETTER> (for example TOMELET_DRIVE_C=/srv/publication-data) names the
//     folder for that letter when set and not empty;
//   - otherwise Z: is the file-system root "/", as Wine does, so a Linux path can also be
//     written "Z:\home\...";
//   - every other letter is a folder of its own under the user's data folder,
//     $XDG_DATA_HOME/tomelet/drives/<letter> (~/.local/share/... when unset), lower-case
//     letter. A publication's hard-coded "C:\Program Files\..." or "D:\Data\..." thus lands
//     in a private, writable place instead of the system's root, and never in another
//     program's files.
// Returns the native folder, ending with "/". `letter` is A-Z or a-z.
std::string driveRoot(char letter);

// Turns a publication path into a native path: "\" becomes "/", repeated separators collapse,
// a drive-letter prefix ("C:\", "c:/", "C:" + relative) is replaced by driveRoot(), and the
// bytes are converted from the current code page to UTF-8. Paths without a drive stay
// relative or absolute as written. Nothing is looked up on disk.
std::string toNativePath(std::string_view publicationPath);

// Finds the file a native path means on a case-sensitive file system. When the exact path
// exists it is returned unchanged. Otherwise each component is resolved in turn against the
// entries of its folder: the entry of the same name first, then those equal without case in
// the current code page in sorted (byte) order; the first choice that leads to an existing
// path wins, so the result is deterministic. When no choice leads to an existing path, the
// first choices are taken as far as they go and the rest is kept as written, so a new file
// still lands in the existing folder: "C:\Data\NEW.TXT" goes into an existing ".../data/".
std::string resolveExistingPath(std::string_view nativePath);

// toNativePath() followed by resolveExistingPath(): what every file operation on a name
// given by a script or the publication uses.
std::string resolvePublicationPath(std::string_view publicationPath);

// A native path as a publication string (code-page bytes), for values handed to scripts.
std::string toPublicationPath(std::string_view nativePath);

// ---- special folders (native, each ending with "/") ----

// $TMPDIR when set and not empty, else /tmp.
std::string tempFolder();
// $XDG_CONFIG_HOME when set and absolute, else ~/.config.
std::string configFolder();
// $XDG_DATA_HOME when set and absolute, else ~/.local/share.
std::string dataFolder();
// A folder for one publication's own files under dataFolder()/tomelet/, named after the
// publication (code-page bytes; characters that cannot be part of a file name become "_").
// Not created.
std::string publicationDataFolder(std::string_view publicationName);

// ---- errors ----

// The Windows file error code for a POSIX errno value, as the message table knows them:
// ENOENT 2; ENOTDIR, ENAMETOOLONG, ELOOP 3; EMFILE, ENFILE 4; EACCES, EPERM, EISDIR,
// ETXTBSY 5; EBADF 6; ENOMEM 8; ENODEV, ENXIO 15; EBUSY 16 (a folder in use cannot be
// removed); EIO 100; ENOSPC, EDQUOT 101; EROFS 150; ENOMEDIUM 152; ECONNRESET 64;
// ENETUNREACH 1231; and the Windows codes of the same meaning for EEXIST 80, EXDEV 17,
// ENOTEMPTY 145, EINVAL 87. 0 gives 0. Any other errno gives kUnmappedErrnoBase + errno, a
// code the message table shows as "Unknown Error #<code>" and that never collides with a
// listed one.
inline constexpr int kUnmappedErrnoBase = 20000;
int fileErrorFromErrno(int errnoValue);

// Linux has no hidden attribute, and renaming the file to a dot-name would break the name
// the publication goes on using, so nothing on disk changes. Returns whether the file exists,
// which is when Windows would have succeeded.
bool setHidden(const std::filesystem::path& nativePath);

} // namespace tomelet
