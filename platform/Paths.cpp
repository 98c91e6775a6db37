#include "platform/Paths.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace tomelet {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kNameDelimiters = "\\/:";
constexpr std::string_view kExtensionDelimiters = ".\\/:";

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool hasDriveLetter(std::string_view path) {
    return path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':';
}

std::string withTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

std::optional<std::string> absoluteEnvironmentFolder(const char* name) {
    std::optional<std::string> value = environment(name);
    if (!value || value->front() != '/') return std::nullopt;
    return value;
}

std::string homeFolder() {
    if (std::optional<std::string> home = absoluteEnvironmentFolder("HOME")) return *home;
    if (const passwd* entry = getpwuid(getuid());
        entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/')
        return entry->pw_dir;
    return tempFolder();
}

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// The entries of `folder` that may stand for `name`: the name itself when it exists, then the
// entries equal to it without case in the current code page, in byte order. Names the code
// page cannot spell are never matched: their "?" would match any character.
std::vector<std::string> candidateEntries(const std::string& folder, const std::string& name) {
    std::vector<std::string> candidates;
    if (name == "." || name == ".." || pathExists(folder + name)) candidates.push_back(name);
    if (name == "." || name == "..") return candidates;
    const std::string wanted = fromUtf8(name);
    if (toUtf8(wanted) != name) return candidates;
    std::vector<std::string> others;
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? "." : folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::string entry = entries->path().filename().string();
        const std::string spelled = fromUtf8(entry);
        if (entry != name && toUtf8(spelled) == entry && equalsIgnoreCase(spelled, wanted))
            others.push_back(std::move(entry));
    }
    std::sort(others.begin(), others.end());
    candidates.insert(candidates.end(), others.begin(), others.end());
    return candidates;
}

struct Resolution {
    std::string path;
    bool exists;
};

// Resolves components[index...] inside the existing folder `prefix` ("", "/" or ending with
// "/"). The first candidate, in candidateEntries() order, that leads to an existing path
// wins; when none does, the first candidate's result, so the outcome is deterministic and a
// path to a new file still goes through existing folders.
Resolution resolveFrom(const std::string& prefix, const std::vector<std::string>& components,
                       std::size_t index) {
    if (index == components.size()) return {prefix, true};
    const bool isLast = index + 1 == components.size();
    const std::vector<std::string> candidates = candidateEntries(prefix, components[index]);
    if (candidates.empty()) {
        std::string path = prefix;
        for (std::size_t rest = index; rest < components.size(); ++rest) {
            path += components[rest];
            if (rest + 1 < components.size()) path += '/';
        }
        return {std::move(path), false};
    }
    std::optional<Resolution> firstChoice;
    for (const std::string& candidate : candidates) {
        Resolution resolution =
            resolveFrom(prefix + candidate + (isLast ? "" : "/"), components, index + 1);
        if (resolution.exists) return resolution;
        if (!firstChoice) firstChoice = std::move(resolution);
    }
    return *firstChoice;
}

} // namespace

std::string_view extractFileName(std::string_view path) {
    const std::size_t delimiter = path.find_last_of(kNameDelimiters);
    return delimiter == std::string_view::npos ? path : path.substr(delimiter + 1);
}

std::string_view extractFilePath(std::string_view path) {
    const std::size_t delimiter = path.find_last_of(kNameDelimiters);
    return delimiter == std::string_view::npos ? std::string_view() : path.substr(0, delimiter + 1);
}

std::string_view extractFileExt(std::string_view path) {
    const std::size_t delimiter = path.find_last_of(kExtensionDelimiters);
    if (delimiter == std::string_view::npos || path[delimiter] != '.') return {};
    return path.substr(delimiter);
}

std::string_view extractFileDrive(std::string_view path) {
    if (hasDriveLetter(path)) return path.substr(0, 2);
    if (path.size() < 2 || !isSeparator(path[0]) || !isSeparator(path[1])) return {};
    // "\\server\share": up to the separator after the share name.
    const auto separatorFrom = [&](std::size_t start) {
        const auto found = std::find_if(path.begin() + start, path.end(), isSeparator);
        return static_cast<std::size_t>(found - path.begin());
    };
    const std::size_t afterServer = separatorFrom(2);
    if (afterServer + 1 >= path.size()) return path.substr(0, afterServer);
    return path.substr(0, separatorFrom(afterServer + 1));
}

std::string changeFileExt(std::string_view path, std::string_view extension) {
    const std::size_t delimiter = path.find_last_of(kExtensionDelimiters);
    const bool hasExtension = delimiter != std::string_view::npos && path[delimiter] == '.';
    std::string result(hasExtension ? path.substr(0, delimiter) : path);
    result += extension;
    return result;
}

std::string driveRoot(char letter) {
    if (!isAsciiLetter(letter)) return {};
    const char upperLetter = static_cast<char>(letter & ~0x20);
    const std::string variable = std::string("TOMELET_DRIVE_") + upperLetter;
    if (std::optional<std::string> folder = environment(variable.c_str()))
        return withTrailingSlash(*folder);
    if (upperLetter == 'Z') return "/";
    return dataFolder() + "tomelet/drives/" + static_cast<char>(letter | 0x20) + "/";
}

std::string toNativePath(std::string_view publicationPath) {
    std::string root;
    std::string_view rest = publicationPath;
    if (hasDriveLetter(publicationPath)) {
        root = driveRoot(publicationPath[0]);
        rest.remove_prefix(2);
        while (!rest.empty() && isSeparator(rest.front()))
            rest.remove_prefix(1);
    }
    std::string separated;
    separated.reserve(rest.size());
    for (const char c : rest) {
        if (isSeparator(c)) {
            if (separated.empty() || separated.back() != '/') separated += '/';
        } else {
            separated += c;
        }
    }
    return root + toUtf8(separated);
}

std::string resolveExistingPath(std::string_view nativePath) {
    const std::string path(nativePath);
    if (path.empty() || pathExists(path)) return path;

    std::vector<std::string> components;
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start) components.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }

    std::string resolved = resolveFrom(path.front() == '/' ? "/" : "", components, 0).path;
    if (path.back() == '/' && !resolved.empty() && resolved.back() != '/') resolved += '/';
    return resolved;
}

std::string resolvePublicationPath(std::string_view publicationPath) {
    return resolveExistingPath(toNativePath(publicationPath));
}

std::string toPublicationPath(std::string_view nativePath) {
    return fromUtf8(nativePath);
}

std::string tempFolder() {
    return withTrailingSlash(environment("TMPDIR").value_or("/tmp"));
}

std::string configFolder() {
    if (std::optional<std::string> folder = absoluteEnvironmentFolder("XDG_CONFIG_HOME"))
        return withTrailingSlash(*folder);
    return withTrailingSlash(homeFolder()) + ".config/";
}

std::string dataFolder() {
    if (std::optional<std::string> folder = absoluteEnvironmentFolder("XDG_DATA_HOME"))
        return withTrailingSlash(*folder);
    return withTrailingSlash(homeFolder()) + ".local/share/";
}

std::string publicationDataFolder(std::string_view publicationName) {
    std::string name = toUtf8(publicationName);
    for (char& c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
    }
    if (name.empty() || name == "." || name == "..") name = std::string(name.size() + 1, '_');
    return dataFolder() + "tomelet/" + name + "/";
}

int fileErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
    case 0:
        return 0;
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case ETXTBSY:
        return 5;
    case EBADF:
        return 6;
    case ENOMEM:
        return 8;
    case ENODEV:
    case ENXIO:
        return 15;
    case EBUSY:
        return 16;
    case EXDEV:
        return 17;
    case ECONNRESET:
        return 64;
    case EEXIST:
        return 80;
    case EINVAL:
        return 87;
    case EIO:
        return 100;
    case ENOSPC:
    case EDQUOT:
        return 101;
    case ENOTEMPTY:
        return 145;
    case EROFS:
        return 150;
    case ENOMEDIUM:
        return 152;
    case ENETUNREACH:
        return 1231;
    default:
        return kUnmappedErrnoBase + errnoValue;
    }
}

bool setHidden(const fs::path& nativePath) {
    return pathExists(nativePath);
}

} // namespace tomelet
