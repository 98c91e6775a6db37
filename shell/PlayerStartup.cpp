#include "shell/PlayerStartup.h"

#include "package/PublicationTextReader.h"
#include "platform/CodePage.h"
#include "services/Messages.h"

namespace tomelet {
namespace {

constexpr const char* publicationTextEntry = "RUNTIME.PUB";
constexpr int resourceDataError = 236;
constexpr int notAnApplication = 256;
constexpr int diskReadError = 100;

StartupFailure resourceFailure(std::string title, std::string detail) {
    return {std::move(title),
            GetMessageText(resourceDataError) + "||" + FileErrorText(diskReadError),
            std::move(detail)};
}

} // namespace

bool isStandalonePlayerName(const std::filesystem::path& programPath) {
    const std::string name = programPath.filename().string();
    return equalsIgnoreCase(name, "tomelet") || equalsIgnoreCase(name, "TLPlay") ||
           equalsIgnoreCase(name, "TLPlay.exe");
}

PackageChoice choosePackageFile(const std::filesystem::path& programPath,
                                const std::vector<std::string>& parameters) {
    if (!isStandalonePlayerName(programPath)) return {programPath, std::nullopt};
    if (parameters.size() >= 2 && equalsIgnoreCase(parameters[0], "/R")) {
        std::error_code error;
        const std::filesystem::path file = parameters[1];
        if (std::filesystem::is_regular_file(file, error)) return {file, std::nullopt};
    }
    return {{},
            StartupFailure{"Tomelet Runtime Player", GetMessageText(notAnApplication),
                           "usage: " + programPath.filename().string() + " /R package-file"}};
}

LoadedPublication openPublication(Package& package, const std::filesystem::path& packageFile) {
    // Until the publication names itself, alerts carry the program's name.
    const std::string programTitle = packageFile.stem().string();
    LoadedPublication loaded;
    if (package.OpenPackage(packageFile) != 0) {
        loaded.failure =
            resourceFailure(programTitle, packageFile.string() + ": " + package.failureReason());
        return loaded;
    }

    const LibRec* entry = package.FindEntry(publicationTextEntry);
    package.markPublicationTextLoaded();
    if (!entry) {
        loaded.failure = resourceFailure(programTitle, "the package holds no RUNTIME.PUB");
        return loaded;
    }

    PublicationReadOptions options;
    options.testRun = package.directory().isTestRun();
    options.trayPublication =
        package.directory().publicationKind == PublicationKind::trayApplication;
    PublicationReadResult result;
    try {
        std::unique_ptr<InputStream> stream = package.openEntry(*entry);
        result = readPublicationText(*stream, options);
    } catch (const StreamError& error) {
        result.errorMessage = error.what();
    }
    loaded.model = std::move(result.model);
    if (!result.success) {
        const std::string& title =
            loaded.model.settings.title.empty() ? programTitle : loaded.model.settings.title;
        loaded.failure =
            resourceFailure(title, "reading RUNTIME.PUB failed: " + result.errorMessage);
    }
    return loaded;
}

} // namespace tomelet
