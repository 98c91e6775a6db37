#pragma once

#include "package/Package.h"
#include "package/PublicationModel.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tomelet {

// A start that cannot go on: what the alert says, and why (for developers).
struct StartupFailure {
    std::string title;
    std::string message; // "|" separates lines
    std::string detail;  // the developer-facing reason; may be empty
};

// The file whose package is played: the program's own file, or for the stand-alone player
// (a program named "tomelet" or "TLPlay") the file after "/R".
struct PackageChoice {
    std::filesystem::path packageFile;
    std::optional<StartupFailure> failure;
};

bool isStandalonePlayerName(const std::filesystem::path& programPath);
PackageChoice choosePackageFile(const std::filesystem::path& programPath,
                                const std::vector<std::string>& parameters);

struct LoadedPublication {
    PublicationModel model;
    std::optional<StartupFailure> failure;
};

// Opens the package and reads its publication text, as the window's creation does before
// anything is shown. On failure the model is whatever was read.
LoadedPublication openPublication(Package& package, const std::filesystem::path& packageFile);

} // namespace tomelet
