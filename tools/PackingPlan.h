#pragma once

#include "package/PackageFormat.h"
#include "package/PackageWriter.h"
#include "tools/Manifest.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace tomelet {

struct PlannedEntry {
    EntrySpec details;
    std::filesystem::path source; // empty for an entry without data
};

// Everything the package will hold, settled and checked before a byte is written.
struct PackingPlan {
    PackageDirectory directory;
    std::vector<PlannedEntry> entries; // the publication text first
};

// Decides the entries of a publication folder: the manifest's entry lines, or without them
// the folder's files. `skipped` are files a folder scan leaves out (the package being written
// and the files it is made from). Throws PackError.
PackingPlan planPackage(const std::filesystem::path& folder,
                        const std::optional<Manifest>& manifest,
                        const std::vector<std::filesystem::path>& skipped = {});

} // namespace tomelet
