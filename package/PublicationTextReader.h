#pragma once

#include "package/InputStream.h"
#include "package/PublicationModel.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tomelet {

struct PublicationReadOptions {
    // EMBEDDEDFILES= builds the test-run file map only in a test run.
    bool testRun = false;
    // TRAYMENUBEGIN blocks build the tray menu only for tray publications; otherwise they are
    // read and dropped.
    bool trayPublication = false;
    // Told the total count of bytes read so far after every chunk of the text.
    std::function<void(std::uint64_t)> progress;
};

struct PublicationReadResult {
    // As far as reading got; complete when `success` is true.
    PublicationModel model;
    bool success = false;
    std::string errorMessage;
};

// Groups, containers and menus nest at most this deep; a deeper text fails to load.
inline constexpr std::size_t kMaximumPublicationNesting = 256;

// Reads the publication text "RUNTIME.PUB". Malformed or unknown lines are ignored and never
// fail the load; a stream that cannot be read does, as does nesting beyond the maximum.
PublicationReadResult readPublicationText(InputStream& stream,
                                          const PublicationReadOptions& options = {});

} // namespace tomelet
