#include "package/PublicationTextLineReader.h"

#include <algorithm>
#include <utility>

namespace tomelet {

PublicationTextLineReader::PublicationTextLineReader(InputStream& stream,
                                                     std::function<void(std::uint64_t)> progress)
    : stream_(stream), progress_(std::move(progress)) {}

bool PublicationTextLineReader::readLine(std::string& line) {
    for (;;) {
        // Resume the search where the last one stopped, so a long line is scanned once.
        const std::size_t lineEnd = buffer_.find("\r\n", std::max(lineStart_, searchedUpTo_));
        if (lineEnd != std::string::npos) {
            line.assign(buffer_, lineStart_, lineEnd - lineStart_);
            lineStart_ = lineEnd + 2;
            searchedUpTo_ = lineStart_;
            return true;
        }
        if (streamEnded_) {
            if (lineStart_ == buffer_.size()) return false;
            line.assign(buffer_, lineStart_);
            buffer_.clear();
            lineStart_ = searchedUpTo_ = 0;
            return true;
        }
        // A CR at the very end may pair with an LF in the next chunk.
        buffer_.erase(0, lineStart_);
        searchedUpTo_ = buffer_.empty() ? 0 : buffer_.size() - 1;
        lineStart_ = 0;
        char chunk[kChunkSize];
        const std::size_t count = stream_.read(chunk, kChunkSize);
        buffer_.append(chunk, count);
        if (count == 0) {
            streamEnded_ = true;
            continue;
        }
        bytesRead_ += count;
        if (progress_) progress_(bytesRead_);
    }
}

} // namespace tomelet
