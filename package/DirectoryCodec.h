#pragma once

#include "package/PackageFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace tomelet {

struct DecodedDirectory {
    PackageDirectory directory;
    // In directory order; the reader puts them into lookup order (last stored first).
    std::vector<LibRec> entries;
    // Empty when the whole directory was read; otherwise what stopped it. Entries read
    // before the fault stay in `entries`.
    std::string error;

    bool complete() const { return error.empty(); }
};

// Parses an inflated directory. Never reads past `bytes`; a truncated or inconsistent
// directory yields the fields and entries read so far plus an error.
DecodedDirectory decodeDirectory(std::string_view bytes);

// The inverse, for the packer and for tests. Text16 fields longer than 65535 bytes and
// unknown publication kinds raise std::invalid_argument.
std::string encodeDirectory(const PackageDirectory& directory, const std::vector<LibRec>& entries);

} // namespace tomelet
