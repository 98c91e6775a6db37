#include "package/ExtractionTempName.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace tomelet {
namespace {

constexpr std::uint32_t tempNameBias = 1000033037;
// Enough for every file a run extracts within the same two seconds; a bound, so a folder
// full of such names cannot keep the loop going.
constexpr std::uint32_t attemptLimit = 1u << 16;

} // namespace

std::uint32_t packedDosDateTime(const std::tm& local) {
    const auto field = [](int value) { return static_cast<std::uint32_t>(value); };
    const std::uint32_t date =
        (field(local.tm_year - 80) << 9) | (field(local.tm_mon + 1) << 5) | field(local.tm_mday);
    const std::uint32_t time =
        (field(local.tm_hour) << 11) | (field(local.tm_min) << 5) | field(local.tm_sec / 2);
    return (date << 16) | (time & 0xFFFF);
}

std::uint32_t currentPackedDosDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return packedDosDateTime(local);
}

std::string tempFileName(std::uint32_t stamp, std::uint32_t attempt, std::string_view extension) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", stamp + tempNameBias + attempt);
    std::string name(digits);
    if (!extension.empty()) {
        name += '.';
        name += extension;
    }
    return name;
}

std::optional<CreatedFile> createTempFile(const std::string& folder, std::string_view extension,
                                          std::uint32_t stamp) {
    for (std::uint32_t attempt = 0; attempt < attemptLimit; ++attempt) {
        std::string path = folder + tempFileName(stamp, attempt, extension);
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (descriptor >= 0) return CreatedFile{descriptor, std::move(path)};
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

} // namespace tomelet
