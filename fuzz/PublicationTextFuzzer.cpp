#include "package/PublicationTextReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Any bytes are a publication text: reading must end, in success or a clear failure.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const bool special : {false, true}) {
        tomelet::MemoryInputStream stream(text);
        tomelet::PublicationReadOptions options;
        options.testRun = special;
        options.trayPublication = special;
        const tomelet::PublicationReadResult result = tomelet::readPublicationText(stream, options);
        if (!result.success && result.errorMessage.empty()) __builtin_trap();
    }
    return 0;
}
