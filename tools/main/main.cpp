#include "platform/CodePage.h"
#include "tools/PackCommandLine.h"
#include "tools/PackError.h"

#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The player built beside the packer.
fs::path defaultPlayer() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path("tomelet") : self.parent_path() / "tomelet";
}

void listEntries(const tomelet::PackResult& result) {
    for (const tomelet::LibRec& entry : result.entries) {
        std::cout << "  type " << int(entry.type) << "  ";
        if (entry.isCompressed())
            std::cout << entry.size << " -> " << entry.storedSize << " bytes";
        else if (entry.storedSize > 0)
            std::cout << entry.storedSize << " bytes stored";
        else
            std::cout << "no data";
        if (entry.type == tomelet::EntryType::picture)
            std::cout << "  " << entry.imageWidth << "x" << entry.imageHeight
                      << (entry.imageHasTransparency ? " transparent" : "");
        std::cout << "  " << tomelet::toUtf8(entry.directoryName) << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        const fs::path player = defaultPlayer();
        const tomelet::PackCommand command =
            tomelet::parsePackCommandLine(std::vector<std::string>(argv + 1, argv + argc), player);
        if (command.help) {
            std::cout << tomelet::packUsage();
            return 0;
        }
        if (command.request.player == player && !fs::exists(player))
            throw tomelet::PackError("no player executable beside tomelet-pack (" +
                                     player.string() +
                                     " does not exist): build it, or give --player FILE or --bare");
        const tomelet::PackResult result = tomelet::packPublication(command.request);
        if (command.verbose) listEntries(result);
        std::cout << "wrote " << command.request.output.string() << ": "
                  << (command.request.player.empty() ? "bare package" : "player executable") << ", "
                  << result.entries.size() << " entries, " << result.fileSize << " bytes\n";
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << "tomelet-pack: " << failure.what() << "\n";
        return 1;
    }
}
