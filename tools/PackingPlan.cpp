#include "tools/PackingPlan.h"

#include "platform/CodePage.h"
#include "tools/EntryNaming.h"
#include "tools/FileInputStream.h"
#include "tools/PackError.h"
#include "tools/PictureSniffer.h"

#include <algorithm>
#include <map>

namespace tomelet {
namespace {

namespace fs = std::filesystem;

std::string quotedName(std::string_view codePageText) {
    return "\"" + toUtf8(codePageText) + "\"";
}

bool isPublicationText(std::string_view name) {
    return equalsIgnoreCase(name, publicationTextName);
}

// The folder's publication text, whatever the case of its name (it was written on Windows).
std::optional<fs::path> findPublicationText(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const fs::directory_entry& item : fs::directory_iterator(folder)) {
        const std::string name = item.path().filename().string();
        if (item.is_regular_file() && isPublicationText(name)) {
            if (name == publicationTextName) return item.path();
            found.push_back(item.path());
        }
    }
    if (found.size() > 1)
        throw PackError(folder.string() + " holds more than one RUNTIME.PUB differing only in " +
                        "letter case; keep one");
    if (found.empty()) return std::nullopt;
    return found.front();
}

[[noreturn]] void failWithoutPublicationText(const fs::path& folder) {
    throw PackError(folder.string() + " has no RUNTIME.PUB (the publication text)");
}

// Fills in the picture facts the manifest leaves out, from the picture's own header.
void settlePictureFacts(PlannedEntry& planned, const ManifestEntry* given,
                        const std::string& origin) {
    EntrySpec& details = planned.details;
    const bool sizeGiven = given && given->imageWidth;
    const bool transparencyGiven = given && given->imageHasTransparency;
    if (sizeGiven) {
        details.imageWidth = *given->imageWidth;
        details.imageHeight = *given->imageHeight;
    }
    if (transparencyGiven) details.imageHasTransparency = *given->imageHasTransparency;
    if (sizeGiven && transparencyGiven) return;
    const std::string advice = given ? "give size=WIDTHxHEIGHT on its entry line"
                                     : "list it in " + std::string(manifestFileName) +
                                           " with size=WIDTHxHEIGHT, or with type=1";
    if (planned.source.empty()) {
        if (!sizeGiven)
            throw PackError(origin + "picture entry " + quotedName(details.name) +
                            " has no data to read its size from; " + advice);
        return;
    }
    const std::optional<PictureFacts> facts = sniffPicture(readWholeFile(planned.source));
    if (!facts) {
        if (!sizeGiven)
            throw PackError(
                origin + "cannot read the size of the picture " + planned.source.string() +
                " (not a PNG, GIF, BMP or JPEG file, or its header is damaged); " + advice);
        return;
    }
    if (!sizeGiven) {
        details.imageWidth = facts->width;
        details.imageHeight = facts->height;
    }
    if (!transparencyGiven) details.imageHasTransparency = facts->transparent;
}

PlannedEntry planManifestEntry(const fs::path& folder, const ManifestEntry& entry,
                               const std::string& origin) {
    PlannedEntry planned;
    planned.details.name = entry.name;
    planned.details.type = entry.type.value_or(defaultEntryType(entry.name));
    planned.details.compress = entry.compress.value_or(true);
    if (entry.withoutData) {
        if (isPublicationText(entry.name))
            throw PackError(origin + "RUNTIME.PUB cannot be an entry without data");
    } else {
        planned.source =
            folder / (entry.source.empty() ? defaultSourcePath(entry.name) : entry.source);
        if (!fs::is_regular_file(planned.source))
            throw PackError(origin + "the source file " + planned.source.string() + " of entry " +
                            quotedName(entry.name) +
                            (fs::exists(planned.source) ? " is not a file" : " does not exist"));
    }
    const bool pictureFactsGiven = entry.imageWidth || entry.imageHasTransparency;
    if (planned.details.type == EntryType::picture)
        settlePictureFacts(planned, &entry, origin);
    else if (pictureFactsGiven)
        throw PackError(origin + "size and transparent apply only to pictures (type 3)");
    return planned;
}

std::vector<PlannedEntry> planFromManifest(const fs::path& folder, const Manifest& manifest) {
    std::vector<PlannedEntry> entries;
    std::optional<PlannedEntry> publicationText;
    for (const ManifestEntry& entry : manifest.entries) {
        const std::string origin = manifest.fileName + ":" + std::to_string(entry.line) + ": ";
        PlannedEntry planned = planManifestEntry(folder, entry, origin);
        if (isPublicationText(entry.name))
            publicationText = std::move(planned);
        else
            entries.push_back(std::move(planned));
    }
    if (!publicationText) {
        const std::optional<fs::path> source = findPublicationText(folder);
        if (!source) failWithoutPublicationText(folder);
        publicationText = PlannedEntry{{std::string(publicationTextName)}, *source};
    }
    entries.insert(entries.begin(), std::move(*publicationText));
    return entries;
}

bool isSkipped(const fs::path& path, const std::vector<fs::path>& skipped) {
    return std::any_of(skipped.begin(), skipped.end(), [&](const fs::path& other) {
        std::error_code error;
        return fs::equivalent(path, other, error);
    });
}

std::vector<PlannedEntry> planFromFolder(const fs::path& folder,
                                         const std::vector<fs::path>& skipped) {
    std::map<std::string, fs::path> files; // by relative path, so the package is reproducible
    for (auto item = fs::recursive_directory_iterator(folder);
         item != fs::recursive_directory_iterator(); ++item) {
        const fs::path relative = item->path().lexically_relative(folder);
        if (item->path().filename().string().starts_with('.')) {
            if (item->is_directory()) item.disable_recursion_pending();
            continue;
        }
        if (!item->is_regular_file() || relative == manifestFileName ||
            isSkipped(item->path(), skipped))
            continue;
        files.emplace(relative.generic_string(), item->path());
    }

    std::vector<PlannedEntry> entries;
    std::map<std::string, fs::path, CaseInsensitiveLess> byName;
    for (const auto& [relative, path] : files) {
        std::string utf8Name = relative;
        std::replace(utf8Name.begin(), utf8Name.end(), '/', '\\');
        std::optional<std::string> name = toCodePageExactly(utf8Name);
        if (!name)
            throw PackError(path.string() + ": the name has characters the " +
                            std::string(CodePage::current().name()) +
                            " code page cannot hold; rename the file or list it in " +
                            std::string(manifestFileName));
        if (name->size() > largestEntryName)
            throw PackError(path.string() + ": the name is longer than the " +
                            std::to_string(largestEntryName) + " bytes a package name can hold");
        if (isPublicationText(*name)) *name = publicationTextName;
        const auto [existing, added] = byName.emplace(*name, path);
        if (!added)
            throw PackError(existing->second.string() + " and " + path.string() +
                            " would both be the entry " + quotedName(*name) +
                            " (entry names compare without case)");
        PlannedEntry planned{{*name, defaultEntryType(*name)}, path};
        if (planned.details.type == EntryType::picture)
            settlePictureFacts(planned, nullptr, path.string() + ": ");
        if (isPublicationText(*name))
            entries.insert(entries.begin(), std::move(planned));
        else
            entries.push_back(std::move(planned));
    }
    if (entries.empty() || !isPublicationText(entries.front().details.name))
        failWithoutPublicationText(folder);
    return entries;
}

// The player would silently show no splash or preview for a name the package lacks.
void checkImageNames(const PackingPlan& plan, const Manifest& manifest) {
    auto check = [&](const std::string& setting, const std::string& name) {
        if (name.empty()) return;
        const bool isEntry =
            std::any_of(plan.entries.begin(), plan.entries.end(), [&](const PlannedEntry& entry) {
                return equalsIgnoreCase(entry.details.name, name);
            });
        if (!isEntry)
            throw PackError(manifest.fileName + ":" +
                            std::to_string(manifest.settingLines.at(setting)) + ": the " + setting +
                            " image " + quotedName(name) + " is not an entry of the package");
    };
    check("splash", plan.directory.splashImage);
    check("preview", plan.directory.previewImage);
}

} // namespace

PackingPlan planPackage(const fs::path& folder, const std::optional<Manifest>& manifest,
                        const std::vector<fs::path>& skipped) {
    if (!fs::is_directory(folder)) throw PackError(folder.string() + " is not a folder");
    PackingPlan plan;
    if (manifest) plan.directory = manifest->directory;
    plan.entries = manifest && !manifest->entries.empty() ? planFromManifest(folder, *manifest)
                                                          : planFromFolder(folder, skipped);
    if (manifest) checkImageNames(plan, *manifest);
    return plan;
}

} // namespace tomelet
