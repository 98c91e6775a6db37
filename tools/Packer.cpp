#include "tools/Packer.h"

#include "package/InputStream.h"
#include "package/PackageWriter.h"
#include "tools/FileInputStream.h"
#include "tools/PackError.h"
#include "tools/PackingPlan.h"

#include <optional>

namespace tomelet {
namespace {

namespace fs = std::filesystem;

static_assert(largestTail == markerSearchLimit - static_cast<std::int64_t>(packageMarker.size()));

std::string readTail(const fs::path& path) {
    if (!fs::is_regular_file(path)) throw PackError("the tail " + path.string() + " is not a file");
    std::string tail = readWholeFile(path);
    if (static_cast<std::int64_t>(tail.size()) > largestTail)
        throw PackError("the tail " + path.string() + " is " + std::to_string(tail.size()) +
                        " bytes; the player finds the package only behind a tail of at most " +
                        std::to_string(largestTail) + " bytes");
    return tail;
}

void checkPlayer(const PackRequest& request) {
    if (!fs::is_regular_file(request.player))
        throw PackError("the player executable " + request.player.string() +
                        (fs::exists(request.player) ? " is not a file" : " does not exist"));
    std::error_code error;
    if (fs::equivalent(request.player, request.output, error))
        throw PackError("the output " + request.output.string() +
                        " would replace the player executable it is made from");
}

std::optional<Manifest> loadManifest(const PackRequest& request) {
    if (!request.manifest.empty()) return readManifest(request.manifest);
    const fs::path inFolder = request.folder / manifestFileName;
    if (fs::exists(inFolder)) return readManifest(inFolder);
    return std::nullopt;
}

std::vector<LibRec> writePackage(const PackingPlan& plan, const PackRequest& request,
                                 const fs::path& path, std::string_view tail) {
    PackageWriter writer(path, request.player);
    for (const PlannedEntry& entry : plan.entries) {
        if (entry.source.empty()) {
            writer.addEntryWithoutData(entry.details);
            continue;
        }
        FileInputStream data(entry.source);
        writer.addEntry(entry.details, data);
    }
    writer.finish(plan.directory, tail);
    return writer.entries();
}

} // namespace

PackResult packPublication(const PackRequest& request) {
    if (request.output.empty()) throw PackError("no output file given");
    try {
        if (!request.player.empty()) checkPlayer(request);
        const std::string tail = request.tail.empty() ? std::string() : readTail(request.tail);
        const std::optional<Manifest> manifest = loadManifest(request);
        std::vector<fs::path> skipped = {request.output};
        for (const fs::path& input : {request.player, request.tail})
            if (!input.empty()) skipped.push_back(input);
        const PackingPlan plan = planPackage(request.folder, manifest, skipped);

        // Written beside the output and renamed, so a failure never leaves half a package
        // under the output's name.
        const fs::path partial = request.output.string() + ".partial";
        PackResult result;
        try {
            result.entries = writePackage(plan, request, partial, tail);
            if (!request.player.empty())
                fs::permissions(partial, fs::perms::owner_all | fs::perms::group_read |
                                             fs::perms::group_exec | fs::perms::others_read |
                                             fs::perms::others_exec);
            fs::rename(partial, request.output);
        } catch (...) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            throw;
        }
        result.directory = plan.directory;
        result.fileSize = fs::file_size(request.output);
        return result;
    } catch (const PackError&) {
        throw;
    } catch (const std::exception& failure) {
        // Manifest, stream, writer and file-system faults all carry their own what and where.
        throw PackError(failure.what());
    }
}

} // namespace tomelet
