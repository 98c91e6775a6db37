#include "engine/VariablesFile.h"

#include "package/Package.h"
#include "platform/Paths.h"
#include "services/Messages.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tomelet {

namespace {

constexpr std::string_view kScratchPrefix = "*/*";
constexpr std::string_view kCarriageReturnEscape = "[#13]";
constexpr std::string_view kLineFeedEscape = "[#10]";

// Names are escaped like values: a line break in a name would otherwise split the line and
// load as a different variable.
void appendEscaped(std::string& output, std::string_view text) {
    for (char character : text) {
        if (character == '\r') {
            output += kCarriageReturnEscape;
        } else if (character == '\n') {
            output += kLineFeedEscape;
        } else {
            output += character;
        }
    }
}

std::string unescaped(std::string_view text) {
    std::string output;
    output.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const std::string_view rest = text.substr(position);
        if (rest.starts_with(kCarriageReturnEscape)) {
            output += '\r';
            position += kCarriageReturnEscape.size();
        } else if (rest.starts_with(kLineFeedEscape)) {
            output += '\n';
            position += kLineFeedEscape.size();
        } else {
            output += text[position++];
        }
    }
    return output;
}

std::string errorText(int errnoValue) {
    return FileErrorText(fileErrorFromErrno(errnoValue));
}

ssize_t writeAll(int descriptor, std::string_view bytes, const ChunkWriter& writer) {
    while (!bytes.empty()) {
        const ssize_t written = writer ? writer(descriptor, bytes.data(), bytes.size())
                                       : ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (written == 0) {
            errno = EIO;
            return -1;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

VariablesFileOutcome decoded(std::string_view bytes) {
    VariablesFileOutcome outcome;
    outcome.success = true;
    outcome.variables = decodeVariablesFile(bytes);
    return outcome;
}

VariablesFileOutcome failure(std::string error) {
    VariablesFileOutcome outcome;
    outcome.error = std::move(error);
    return outcome;
}

VariablesFileOutcome loadDiskFile(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return failure(errorText(errno != 0 ? errno : ENOENT));
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(nativePath, sizeError);
    if (sizeError) return failure(errorText(sizeError.value()));
    if (size > kMaximumVariablesFileSize) return failure(errorText(EFBIG));
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return failure(errorText(EIO));
    return decoded(bytes);
}

} // namespace

std::string encodeVariablesFile(const std::vector<VariablePair>& globals) {
    std::string output;
    for (const VariablePair& pair : globals) {
        if (pair.name.starts_with(kScratchPrefix)) continue;
        appendEscaped(output, pair.name);
        output += '=';
        appendEscaped(output, pair.value);
        output += "\r\n";
    }
    return output;
}

DecodedVariables decodeVariablesFile(std::string_view bytes) {
    DecodedVariables result;
    std::size_t position = 0;
    while (position < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", position);
        const std::string_view line = bytes.substr(
            position, end == std::string_view::npos ? std::string_view::npos : end - position);
        if (end == std::string_view::npos) {
            result.unterminatedLastLine = true;
            position = bytes.size();
        } else {
            position = end + 1;
            if (bytes[end] == '\r' && position < bytes.size() && bytes[position] == '\n') {
                ++position;
            }
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            ++result.ignoredLines;
            continue;
        }
        result.pairs.push_back(
            {unescaped(line.substr(0, equals)), unescaped(line.substr(equals + 1))});
    }
    return result;
}

int writeFileAtomically(const std::string& nativePath, std::string_view bytes,
                        const ChunkWriter& writer) {
    const std::filesystem::path target(nativePath);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    // Created like any new file (the umask applies), under a name no one else uses.
    std::string temporary;
    int descriptor = -1;
    std::random_device random;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary =
            (folder / ("." + target.filename().string() + "." + std::to_string(random()) + ".tmp"))
                .string();
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) return errno;
    }
    if (descriptor < 0) return EEXIST;
    int error = 0;
    // A replaced file keeps its permissions.
    struct stat existing {};
    if (::stat(nativePath.c_str(), &existing) == 0) ::fchmod(descriptor, existing.st_mode & 07777);
    if (writeAll(descriptor, bytes, writer) != 0 || ::fsync(descriptor) != 0) error = errno;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), nativePath.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    // The rename itself reaches the disk with the folder's entry.
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return 0;
}

VariablesFileOutcome saveVariablesFile(std::string_view file,
                                       const std::vector<VariablePair>& globals,
                                       const ChunkWriter& writer) {
    const std::string nativePath = resolvePublicationPath(file);
    if (nativePath.empty()) return failure(errorText(ENOENT));
    std::error_code typeError;
    if (std::filesystem::is_directory(nativePath, typeError)) return failure(errorText(EISDIR));
    if (const int error = writeFileAtomically(nativePath, encodeVariablesFile(globals), writer)) {
        return failure(errorText(error));
    }
    VariablesFileOutcome outcome;
    outcome.success = true;
    return outcome;
}

VariablesFileOutcome loadVariablesFile(std::string_view file, const Package* package) {
    if (package != nullptr) {
        if (auto standIn = package->embeddedFileMap().find(file)) {
            return loadDiskFile(resolvePublicationPath(*standIn));
        }
        if (package->isOpen() && package->FindEntry(file) != nullptr) {
            std::string bytes;
            if (package->ReadEntryToMemory(file, bytes) != PackageResult::entryFound) {
                return failure(errorText(EIO));
            }
            return decoded(bytes);
        }
    }
    const std::string nativePath = resolvePublicationPath(file);
    if (nativePath.empty()) return failure(errorText(ENOENT));
    std::error_code typeError;
    if (std::filesystem::is_directory(nativePath, typeError)) return failure(errorText(EISDIR));
    return loadDiskFile(nativePath);
}

} // namespace tomelet
