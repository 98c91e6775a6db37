#include "tools/EntryNaming.h"

#include "package/PackageFormat.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"

#include <array>

namespace tomelet {

std::optional<std::string> toCodePageExactly(std::string_view utf8) {
    std::string bytes = fromUtf8(utf8);
    if (toUtf8(bytes) != utf8) return std::nullopt;
    return bytes;
}

std::uint8_t defaultEntryType(std::string_view name) {
    static constexpr std::array<std::string_view, 7> pictures = {".png",  ".gif", ".bmp", ".jpg",
                                                                 ".jpeg", ".jpe", ".jfif"};
    static constexpr std::array<std::string_view, 3> fonts = {".ttf", ".otf", ".fon"};
    const std::string_view extension = extractFileExt(name);
    for (std::string_view picture : pictures)
        if (equalsIgnoreCase(extension, picture)) return EntryType::picture;
    for (std::string_view font : fonts)
        if (equalsIgnoreCase(extension, font)) return EntryType::font;
    if (equalsIgnoreCase(extension, ".dll")) return EntryType::plugin;
    return EntryType::ordinaryFile;
}

std::string defaultSourcePath(std::string_view name) {
    // "embedded:", a drive letter, a ":" short name or a network path: only the file name
    // says which file of the folder is meant.
    if (name.find(':') != std::string_view::npos || !extractFileDrive(name).empty())
        return toUtf8(extractFileName(name));
    std::string path;
    for (const char c : toUtf8(name)) {
        const char separated = c == '\\' ? '/' : c;
        if (separated != '/' || !path.empty()) path += separated; // never from the root
    }
    return path;
}

} // namespace tomelet
