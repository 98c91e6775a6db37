#pragma once

#include "package/PackageFormat.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tomelet {

// A fault in a manifest; the message starts with "file:line: ".
class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One "entry" line. What it leaves out the packer decides (type by extension, picture
// facts by sniffing, the source from the name).
struct ManifestEntry {
    std::string name;   // as the publication names it, in the publication's code page
    std::string source; // relative to the publication folder ("/"-separated); may be empty
    std::optional<std::uint8_t> type;
    std::optional<bool> compress;
    std::optional<std::int32_t> imageWidth;
    std::optional<std::int32_t> imageHeight;
    std::optional<bool> imageHasTransparency;
    bool withoutData = false;
    int line = 0;

    bool operator==(const ManifestEntry&) const = default;
};

struct Manifest {
    std::string fileName; // for messages
    PackageDirectory directory;
    std::vector<ManifestEntry> entries;      // empty: pack the whole folder
    std::map<std::string, int> settingLines; // the line of every setting given, by its word
};

// The name of the manifest a publication folder may hold.
inline constexpr std::string_view manifestFileName = "package.manifest";

// Reads a manifest's text (UTF-8). `fileName` only labels the messages.
Manifest parseManifest(std::string_view text, const std::string& fileName);

Manifest readManifest(const std::filesystem::path& path);

// The manifest format, for --help.
std::string_view manifestHelp();

} // namespace tomelet
