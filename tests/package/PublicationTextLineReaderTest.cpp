#include "package/PublicationTextLineReader.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tomelet {
namespace {

// Hands out at most `step` bytes per read, as an inflating stream may.
class TricklingStream final : public InputStream {
public:
    TricklingStream(std::string_view bytes, std::size_t step) : bytes_(bytes), step_(step) {}
    std::size_t read(char* buffer, std::size_t count) override {
        return bytes_.read(buffer, std::min(count, step_));
    }

private:
    MemoryInputStream bytes_;
    std::size_t step_;
};

std::vector<std::string> linesOf(std::string_view text, std::size_t step) {
    TricklingStream stream(text, step);
    PublicationTextLineReader reader(stream);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(PublicationTextLineReaderTest, SplitsOnlyAtCrLf) {
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\nc", {"a\rb\nc"}},
        {"a\r\r\nb\n\r\n", {"a\r", "b\n"}},
        {"last\r", {"last\r"}},
    };
    for (const auto& [text, expected] : cases) {
        for (const std::size_t step : {std::size_t{1}, std::size_t{3}, std::size_t{4096}})
            EXPECT_EQ(linesOf(text, step), expected) << "step " << step;
    }
}

TEST(PublicationTextLineReaderTest, CrLfSplitAcrossTheChunkBoundary) {
    constexpr std::size_t chunk = PublicationTextLineReader::kChunkSize;
    // The CR is the last byte of the first chunk, the LF the first of the second.
    const std::string first(chunk - 1, 'a');
    const std::string text = first + "\r\nsecond\r\n" + std::string(chunk, 'b') + "\r";
    EXPECT_EQ(linesOf(text, chunk), (Lines{first, "second", std::string(chunk, 'b') + "\r"}));
}

TEST(PublicationTextLineReaderTest, HugeLineIsReadWhole) {
    const std::string huge(4 * 1024 * 1024 + 7, 'x');
    EXPECT_EQ(linesOf(huge + "\r\nend", PublicationTextLineReader::kChunkSize),
              (Lines{huge, "end"}));
}

} // namespace
} // namespace tomelet
