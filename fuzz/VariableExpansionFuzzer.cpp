#include "engine/LocalVariableScope.h"
#include "engine/VariableExpansion.h"
#include "engine/VariableStore.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Any bytes are a script argument: expanding, assigning through and defining by it must end
// without a crash, and a text without brackets must come back unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tomelet::VariableStore store;
    store.SetVariable("a", "[b]");
    store.SetVariable("b", "a");
    store.SetVariable("[a]]", "]");
    tomelet::LocalVariableScope scope(store);
    store.DefineVariable("[n]", "Integer", "", true);
    for (const bool numeric : {false, true}) {
        for (const bool nameOnly : {false, true})
            store.ExpandVariables(text, numeric, nameOnly);
    }
    store.SetVariable(text, text);
    store.SetVariable("[n]", text);
    store.DefineVariable(text, "Date", text, false);
    store.ExpandVariables(tomelet::BracketName(text));
    store.FindArrayRange(text);
    store.ClearVariables(text);
    if (text.find_first_of("[]") == std::string_view::npos && store.ExpandVariables(text) != text) {
        __builtin_trap();
    }
    return 0;
}
