#pragma once

#include "package/InputStream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tomelet {

// Splits the publication text into lines at CR LF, reading the stream in chunks as lines are
// asked for. A lone CR or LF is part of its line; a last line without CR LF is still a line,
// and a text that ends with CR LF has no empty line after it.
class PublicationTextLineReader {
public:
    static constexpr std::size_t kChunkSize = 2048;

    // `progress`, when set, is told the total count of bytes read so far after every chunk.
    explicit PublicationTextLineReader(InputStream& stream,
                                       std::function<void(std::uint64_t)> progress = {});

    // The next line without its CR LF, or false at the end of the text. Stream errors pass
    // through.
    bool readLine(std::string& line);

private:
    InputStream& stream_;
    std::function<void(std::uint64_t)> progress_;
    std::string buffer_;
    std::size_t lineStart_ = 0;    // the buffer's bytes before this are consumed
    std::size_t searchedUpTo_ = 0; // no CR LF starts before this position (from lineStart_)
    std::uint64_t bytesRead_ = 0;
    bool streamEnded_ = false;
};

} // namespace tomelet
