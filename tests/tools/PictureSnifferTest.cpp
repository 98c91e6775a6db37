#include "tools/PictureSniffer.h"

#include "tests/tools/ToolsFixture.h"

#include <cctype>
#include <gtest/gtest.h>

namespace tomelet {
namespace {

using namespace testing::pictures;

struct SniffCase {
    const char* description;
    std::string bytes;
    std::optional<PictureFacts> expected;
};

PictureFacts facts(std::string_view format, std::int32_t width, std::int32_t height,
                   bool transparent) {
    return {format, width, height, transparent};
}

std::string withoutLast(std::string bytes, std::size_t count) {
    bytes.resize(bytes.size() - count);
    return bytes;
}

class PictureSnifferTest : public ::testing::TestWithParam<SniffCase> {};

TEST_P(PictureSnifferTest, ReadsFormatSizeAndTransparency) {
    const SniffCase& sample = GetParam();
    const std::optional<PictureFacts> found = sniffPicture(sample.bytes);
    ASSERT_EQ(found.has_value(), sample.expected.has_value()) << sample.description;
    if (!found) return;
    EXPECT_EQ(found->format, sample.expected->format) << sample.description;
    EXPECT_EQ(found->width, sample.expected->width) << sample.description;
    EXPECT_EQ(found->height, sample.expected->height) << sample.description;
    EXPECT_EQ(found->transparent, sample.expected->transparent) << sample.description;
}

const std::string palette = pngChunk("PLTE", std::string(6, '\x10'));

INSTANTIATE_TEST_SUITE_P(
    Formats, PictureSnifferTest,
    ::testing::Values(
        SniffCase{"PNG colour with alpha", png(300, 200, 6), facts("PNG", 300, 200, true)},
        SniffCase{"PNG grey with alpha", png(1, 2, 4), facts("PNG", 1, 2, true)},
        SniffCase{"PNG colour, opaque", png(640, 480, 2), facts("PNG", 640, 480, false)},
        SniffCase{"PNG palette with tRNS after PLTE",
                  png(16, 16, 3, palette + pngChunk("tRNS", "\x00")), facts("PNG", 16, 16, true)},
        SniffCase{"PNG tRNS after the image data does not count",
                  withoutLast(png(16, 16, 3, palette), 12) + pngChunk("tRNS", "\x00") +
                      pngChunk("IEND", ""),
                  facts("PNG", 16, 16, false)},
        SniffCase{"PNG cut inside a chunk keeps its size", withoutLast(png(9, 7, 2, palette), 40),
                  facts("PNG", 9, 7, false)},
        SniffCase{"PNG cut inside IHDR", png(9, 7, 2).substr(0, 24), std::nullopt},
        SniffCase{"PNG of width 0", png(0, 7, 2), std::nullopt},
        SniffCase{"PNG wider than 32 bits allow", png(0x80000000u, 7, 2), std::nullopt},
        SniffCase{"GIF without transparency", gif(40, 30, gifFrame(false)),
                  facts("GIF", 40, 30, false)},
        SniffCase{"GIF whose second frame is transparent",
                  gif(40, 30, gifFrame(false) + gifFrame(true)), facts("GIF", 40, 30, true)},
        SniffCase{"GIF cut inside its frames keeps its size",
                  withoutLast(gif(5, 6, gifFrame(false) + gifFrame(true)), 22),
                  facts("GIF", 5, 6, false)},
        SniffCase{"GIF cut inside the screen descriptor", gif(5, 6, "").substr(0, 12),
                  std::nullopt},
        SniffCase{"BMP bottom-up", bmp(123, 45), facts("BMP", 123, 45, false)},
        SniffCase{"BMP top-down (negative height)", bmp(123, -45), facts("BMP", 123, 45, false)},
        SniffCase{"BMP with the old core header",
                  "BM" + std::string(12, '\0') + littleEndian32(12) + littleEndian16(70) +
                      littleEndian16(50) + littleEndian16(1) + littleEndian16(8),
                  facts("BMP", 70, 50, false)},
        SniffCase{"BMP with the smallest height", bmp(1, INT32_MIN), std::nullopt},
        SniffCase{"BMP cut inside the info header", bmp(3, 3).substr(0, 24), std::nullopt},
        SniffCase{"JPEG baseline after APP0 and DHT", jpeg(1024, 768),
                  facts("JPEG", 1024, 768, false)},
        SniffCase{"JPEG progressive", jpeg(20, 10, '\xC2'), facts("JPEG", 20, 10, false)},
        SniffCase{"JPEG whose segment runs past the end", jpeg(20, 10).substr(0, 30), std::nullopt},
        SniffCase{"JPEG that reaches its image data without a frame",
                  std::string("\xFF\xD8\xFF\xDA\x00\x02", 6), std::nullopt},
        SniffCase{"text", "hello, world", std::nullopt}, SniffCase{"nothing", "", std::nullopt}));

} // namespace
} // namespace tomelet
