// Arbitrary bytes as a package file: open it, then read every entry it lists, inflated and
// raw. The bytes live in an anonymous memory file, reached through its /proc path, so the
// reader runs exactly as it does on a real package.
#include "package/Package.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

int packageDescriptor() {
    static const int descriptor = [] {
        const int created = memfd_create("package", MFD_CLOEXEC);
        if (created < 0) std::abort();
        return created;
    }();
    return descriptor;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int descriptor = packageDescriptor();
    if (ftruncate(descriptor, 0) != 0) std::abort();
    std::size_t written = 0;
    while (written < size) {
        const ssize_t count =
            pwrite(descriptor, data + written, size - written, static_cast<off_t>(written));
        if (count <= 0) std::abort();
        written += static_cast<std::size_t>(count);
    }

    tomelet::Package package;
    package.OpenPackage("/proc/self/fd/" + std::to_string(descriptor));
    for (const tomelet::LibRec& entry : package.entries()) {
        std::string bytes;
        package.ReadEntryToMemory(entry.directoryName, bytes);
        char raw[64];
        package.ReadEntryRaw(entry.directoryName, 0, raw, sizeof raw);
        package.ReadEntryRaw(entry.directoryName, entry.storedSize / 2, raw, sizeof raw);
        package.ResolveShortName(entry.directoryName);
    }
    package.ClosePackage(false);
    return 0;
}
