#include "tools/PackCommandLine.h"

#include "tools/Manifest.h"
#include "tools/PackError.h"

#include <map>
#include <optional>

namespace tomelet {
namespace {

constexpr std::string_view options = R"(Usage: tomelet-pack [options] FOLDER -o OUTPUT

Packs a publication folder (RUNTIME.PUB and the files it embeds, with an
optional package.manifest) into a player executable: a copy of the player with
the package appended, mode 0755. With --bare it writes the package alone, for
"tomelet /R OUTPUT".

Options:
  -o, --output FILE    the file to write (required); it appears only when
                       complete
  --player FILE        the player executable to copy (default: tomelet beside
                       tomelet-pack)
  --bare               write a bare package instead of a player executable
  --manifest FILE      the manifest to use (default: FOLDER/package.manifest
                       when it exists)
  --tail FILE          bytes to append after the package (such as a signature
                       block); at most 9993 bytes
  -v, --verbose        list every entry written
  -h, --help           show this text

Each option may be given once; "--option=VALUE" works as well as
"--option VALUE". Errors name the file and line at fault and exit with status 1.

)";

struct OptionKind {
    std::string_view longName;
    bool takesValue;
};

// Options by every spelling the command line accepts.
const std::map<std::string_view, OptionKind>& knownOptions() {
    static const std::map<std::string_view, OptionKind> known = {
        {"-o", {"--output", true}},
        {"--output", {"--output", true}},
        {"--player", {"--player", true}},
        {"--bare", {"--bare", false}},
        {"--manifest", {"--manifest", true}},
        {"--tail", {"--tail", true}},
        {"-v", {"--verbose", false}},
        {"--verbose", {"--verbose", false}},
        {"-h", {"--help", false}},
        {"--help", {"--help", false}},
    };
    return known;
}

static_assert(largestTail == 9993, "the --help text names the tail limit");

} // namespace

PackCommand parsePackCommandLine(const std::vector<std::string>& arguments,
                                 const std::filesystem::path& defaultPlayer) {
    std::map<std::string_view, std::string> given;
    std::optional<std::string> folder;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (!argument.starts_with('-') || argument == "-") {
            if (folder)
                throw PackError("more than one folder given: \"" + *folder + "\" and \"" +
                                argument + "\"");
            folder = argument;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string spelling = argument.substr(0, equals);
        const auto known = knownOptions().find(spelling);
        if (known == knownOptions().end())
            throw PackError("unknown option " + spelling + " (see tomelet-pack --help)");
        const OptionKind& option = known->second;
        std::string value;
        if (!option.takesValue) {
            if (equals != std::string::npos)
                throw PackError(std::string(option.longName) + " takes no value");
        } else if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (index + 1 < arguments.size()) {
            value = arguments[++index];
        } else {
            throw PackError(std::string(option.longName) + " needs a value");
        }
        if (option.takesValue && value.empty())
            throw PackError(std::string(option.longName) + " needs a value");
        if (!given.emplace(option.longName, value).second)
            throw PackError(std::string(option.longName) + " is given twice");
    }

    PackCommand command;
    if (given.contains("--help")) {
        command.help = true;
        return command;
    }
    if (!folder) throw PackError("no publication folder given (see tomelet-pack --help)");
    if (!given.contains("--output")) throw PackError("no output file given: add -o OUTPUT");
    if (given.contains("--bare") && given.contains("--player"))
        throw PackError("--bare and --player exclude each other");
    command.verbose = given.contains("--verbose");
    PackRequest& request = command.request;
    request.folder = *folder;
    request.output = given["--output"];
    request.manifest = given["--manifest"];
    request.tail = given["--tail"];
    if (!given.contains("--bare"))
        request.player =
            given.contains("--player") ? std::filesystem::path(given["--player"]) : defaultPlayer;
    return command;
}

std::string packUsage() {
    return std::string(options) + std::string(manifestHelp());
}

} // namespace tomelet
