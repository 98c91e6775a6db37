#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// The 32-bit packed DOS form of a local date and time (date in the high word, seconds
// halved), the seed of temp names.
std::uint32_t packedDosDateTime(const std::tm& local);
std::uint32_t currentPackedDosDateTime();

// The temp name for the k-th attempt: 8 upper-case hexadecimal digits of
// (stamp + 1000033037 + k), then "." and the extension, or no "." when there is none.
std::string tempFileName(std::uint32_t stamp, std::uint32_t attempt, std::string_view extension);

struct CreatedFile {
    int descriptor = -1; // open for writing; the caller closes it
    std::string path;    // native
};

// Creates a new file with a temp name in `folder` (native, ending with "/"), exclusively, so
// that a name another file holds is never reused: the first free k wins. None when the
// folder refuses new files or every attempt is taken.
std::optional<CreatedFile> createTempFile(const std::string& folder, std::string_view extension,
                                          std::uint32_t stamp);

} // namespace tomelet
