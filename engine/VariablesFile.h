#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace tomelet {

class Package;

struct VariablePair {
    std::string name;
    std::string value;
    bool operator==(const VariablePair&) const = default;
};

// The variables file of SaveVariables and LoadVariables: one "Name=Value" line per global
// variable, lines ended by CR LF, every carriage return inside written "[#13]" and every line
// feed "[#10]". Names starting with "*/*" are the publication's scratch variables and are
// never written.
std::string encodeVariablesFile(const std::vector<VariablePair>& globals);

struct DecodedVariables {
    // In file order, to be assigned one after the other.
    std::vector<VariablePair> pairs;
    // Lines without "=" or with an empty name, which carry nothing to assign.
    std::size_t ignoredLines = 0;
    // The file ends inside a line (no line end after it): the file was cut short, and that
    // line's value may be incomplete. It is loaded all the same.
    bool unterminatedLastLine = false;
};

// Reads any bytes: a line ends at CR LF, CR or LF; it is split at its first "="; "[#13]"
// and "[#10]" become the characters again.
DecodedVariables decodeVariablesFile(std::string_view bytes);

struct VariablesFileOutcome {
    bool success = false;
    std::string error; // for [LastError] when not successful
    DecodedVariables variables;
};

// Writes one block of bytes to a file descriptor, as ::write does; tests stand in a failing
// one.
using ChunkWriter = std::function<ssize_t(int descriptor, const char* bytes, std::size_t count)>;

// Replaces the file at `nativePath` with `bytes` so that a crash or a failed write never
// leaves a half-written file: the bytes go to a new file in the same folder, are flushed to
// the disk, and the new file is renamed over the old one. On failure the old file is
// untouched and the errno value is returned; 0 on success.
int writeFileAtomically(const std::string& nativePath, std::string_view bytes,
                        const ChunkWriter& writer = {});

// SaveVariables: `file` is a publication path (relative to the current folder).
VariablesFileOutcome saveVariablesFile(std::string_view file,
                                       const std::vector<VariablePair>& globals,
                                       const ChunkWriter& writer = {});

// LoadVariables: the package entry of that name when the package has one (in a test run the
// disk file the test run's file list gives for it), else the disk file `file`.
VariablesFileOutcome loadVariablesFile(std::string_view file, const Package* package);

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t kMaximumVariablesFileSize = 256u * 1024u * 1024u;

} // namespace tomelet
