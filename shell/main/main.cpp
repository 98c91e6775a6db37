// The player: plays the package appended to its own file, or, as the stand-alone player,
// the package file given after "/R".

#include "package/Package.h"
#include "services/Messages.h"
#include "shell/PlayerStartup.h"
#include "shell/PublicationSummary.h"

#include <filesystem>
#include <iostream>

namespace {

int reportFailure(const tomelet::StartupFailure& failure) {
    std::cerr << failure.title << ": " << tomelet::expandLineBreaks(failure.message) << '\n';
    if (!failure.detail.empty()) std::cerr << "(" << failure.detail << ")\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) program = std::filesystem::absolute(argv[0]);
    const std::vector<std::string> parameters(argv + 1, argv + argc);

    const tomelet::PackageChoice choice = tomelet::choosePackageFile(program, parameters);
    if (choice.failure) return reportFailure(*choice.failure);

    tomelet::Package& package = tomelet::Package::instance();
    const tomelet::LoadedPublication loaded = tomelet::openPublication(package, choice.packageFile);
    if (loaded.failure) return reportFailure(*loaded.failure);

    std::cout << tomelet::describePublication(loaded.model, package);
    package.ClosePackage(true);
    return 0;
}
