#include "package/ExtractionFolder.h"

#include "platform/Paths.h"

#include <sys/statvfs.h>
#include <system_error>

namespace tomelet {
namespace fs = std::filesystem;
namespace {

std::string asFolder(const fs::path& path) {
    std::string folder = path.string();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string createdFolder(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (error || !fs::is_directory(path, error)) return {};
    return asFolder(path);
}

bool usable(const std::string& folder) {
    if (folder.empty()) return false;
    std::error_code error;
    if (!fs::is_directory(folder, error)) return false;
    struct statvfs volume {};
    if (::statvfs(folder.c_str(), &volume) != 0) return false;
    return (volume.f_flag & ST_RDONLY) == 0;
}

std::string preferredFolder(int options, std::string_view extractFolder,
                            const fs::path& packageFile) {
    if (options & ExtractOption::windowsFolder) return windowsFolder();
    if (options & ExtractOption::tempFolder) return tempFolder();
    if (options & ExtractOption::packageFolder) {
        std::error_code error;
        const fs::path absolute = fs::absolute(packageFile, error);
        return error ? std::string() : asFolder(absolute.parent_path());
    }
    if ((options & ExtractOption::customFolder) && !extractFolder.empty()) {
        std::error_code error;
        const fs::path absolute = fs::absolute(resolvePublicationPath(extractFolder), error);
        return error ? std::string() : createdFolder(absolute.lexically_normal());
    }
    return {};
}

} // namespace

std::string windowsFolder() {
    return createdFolder(resolvePublicationPath("C:\\Windows"));
}

std::string chooseExtractionFolder(int extractOptions, std::string_view extractFolder,
                                   const fs::path& packageFile) {
    std::string folder = preferredFolder(extractOptions, extractFolder, packageFile);
    return usable(folder) ? folder : tempFolder();
}

} // namespace tomelet
