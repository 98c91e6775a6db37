#pragma once

#include "package/PackageFormat.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tomelet {

struct PackRequest {
    std::filesystem::path folder; // RUNTIME.PUB and the files it embeds
    std::filesystem::path output;
    std::filesystem::path player;   // copied ahead of the package; empty: a bare package
    std::filesystem::path manifest; // empty: the folder's package.manifest when there is one
    std::filesystem::path tail;     // appended after the marker (a signature block); may be empty
};

struct PackResult {
    PackageDirectory directory;
    std::vector<LibRec> entries;
    std::uintmax_t fileSize = 0;
};

// The longest tail after which the player still finds the package: the marker must start
// within the last markerSearchLimit bytes of the file.
inline constexpr std::int64_t largestTail = markerSearchLimit - 7;

// Packs the folder into `output`, which appears only once it is complete: a failure leaves
// an earlier file of that name as it was. A player executable gets mode 0755. Throws
// PackError.
PackResult packPublication(const PackRequest& request);

} // namespace tomelet
