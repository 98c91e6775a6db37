#include "engine/VariablesFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Any bytes decode without a fault, and what they decode to survives writing and reading
// again (scratch names aside, which are never written).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tomelet::DecodedVariables decoded = tomelet::decodeVariablesFile(bytes);
    std::vector<tomelet::VariablePair> kept;
    for (const auto& pair : decoded.pairs) {
        if (!pair.name.starts_with("*/*")) kept.push_back(pair);
    }
    const tomelet::DecodedVariables again =
        tomelet::decodeVariablesFile(tomelet::encodeVariablesFile(kept));
    if (again.pairs != kept || again.ignoredLines != 0 || again.unterminatedLastLine) {
        __builtin_trap();
    }
    return 0;
}
