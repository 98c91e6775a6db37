#include "PictureFixtures.h"
#include "imaging/LoadPicture.h"

#include <gtest/gtest.h>
#include <vector>

namespace tomelet {
namespace {

struct FixtureCase {
    std::string picture;
    // ImageMagick's decode of each frame we give, in our frame order.
    std::vector<std::string> expectedFrames;
    // Largest difference allowed per channel: 0 but for lossy pictures, where the IDCT and
    // upsampling of two builds of the same library may round differently.
    int tolerance = 0;
    bool hasAlpha = false;
};

void PrintTo(const FixtureCase& fixture, std::ostream* out) {
    *out << fixture.picture;
}

class DecodeFixtureTest : public testing::TestWithParam<FixtureCase> {};

// Colour under a fully transparent pixel is not part of the picture.
void expectSamePixels(const Bitmap& bitmap, const std::string& expected, int tolerance,
                      const std::string& what) {
    ASSERT_EQ(expected.size(), bitmap.pixels().size()) << what;
    int mismatches = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const std::uint8_t* actual = bitmap.pixel(x, y);
            const auto* wanted = reinterpret_cast<const std::uint8_t*>(expected.data()) +
                                 (std::size_t(y) * bitmap.width() + x) * 4;
            const int channels = actual[3] == 0 && wanted[3] == 0 ? 1 : 4;
            for (int channel = 4 - channels; channel < 4; ++channel)
                if (std::abs(actual[channel] - wanted[channel]) > tolerance && ++mismatches < 5)
                    ADD_FAILURE() << what << " at " << x << "," << y << " channel " << channel
                                  << ": " << int(actual[channel]) << " instead of "
                                  << int(wanted[channel]);
        }
    EXPECT_EQ(mismatches, 0) << what;
}

TEST_P(DecodeFixtureTest, DecodesToImageMagicksPixels) {
    const FixtureCase& fixture = GetParam();
    const PictureResult result = loadPicture(readPictureFixture(fixture.picture), fixture.picture);
    ASSERT_TRUE(result.succeeded()) << result.message;
    ASSERT_EQ(result.picture.frames.size(), fixture.expectedFrames.size());
    for (std::size_t frame = 0; frame < fixture.expectedFrames.size(); ++frame) {
        const Bitmap& bitmap = result.picture.frames[frame].bitmap;
        EXPECT_EQ(bitmap.hasAlpha(), fixture.hasAlpha);
        EXPECT_FALSE(bitmap.isBadlyDecoded());
        expectSamePixels(bitmap, readPictureFixture(fixture.expectedFrames[frame]),
                         fixture.tolerance, fixture.expectedFrames[frame]);
    }
}

TEST_P(DecodeFixtureTest, HeaderGivesTheDecodedSize) {
    const FixtureCase& fixture = GetParam();
    const std::string bytes = readPictureFixture(fixture.picture);
    const PictureInfoResult info = readPictureInfo(bytes, fixture.picture);
    ASSERT_TRUE(info.succeeded()) << info.message;
    const PictureResult result = loadPicture(bytes, fixture.picture);
    EXPECT_EQ(info.info.format, result.picture.format);
    EXPECT_EQ(info.info.width, result.picture.width());
    EXPECT_EQ(info.info.height, result.picture.height());
}

std::vector<FixtureCase> stillCases() {
    std::vector<FixtureCase> cases;
    const auto add = [&](const std::string& picture, int tolerance, bool hasAlpha) {
        const std::string stem = picture.substr(0, picture.rfind('.'));
        cases.push_back({picture, {stem + ".rgba"}, tolerance, hasAlpha});
    };
    for (const char* picture :
         {"png-rgb.png", "png-palette.png", "png-grey.png", "png-grey1.png", "png-interlaced.png"})
        add(picture, 0, false);
    for (const char* picture :
         {"png-rgba.png", "png-palette-trns.png", "png-grey-alpha.png", "png-rgba16.png"})
        add(picture, 0, true);
    for (const char* picture :
         {"jpeg-baseline.jpg", "jpeg-progressive.jpg", "jpeg-grey.jpg", "jpeg-cmyk.jpg"})
        add(picture, 2, false);
    for (const char* picture : {"gif-still.gif", "gif-interlaced.gif"})
        add(picture, 0, false);
    for (const char* picture :
         {"bmp-24.bmp", "bmp-8.bmp", "bmp-4.bmp", "bmp-1.bmp", "bmp-rle8.bmp", "bmp-rle4.bmp",
          "bmp-16-565.bmp", "bmp-16-555.bmp", "bmp-os2.bmp", "bmp-topdown.bmp"})
        add(picture, 0, false);
    add("bmp-32-alpha.bmp", 0, true);
    for (const char* picture : {"tga-24.tga", "tga-rle24.tga", "tga-grey.tga", "tga-palette.tga"})
        add(picture, 0, false);
    for (const char* picture : {"tga-32.tga", "tga-rle32.tga"})
        add(picture, 0, true);
    for (const char* picture : {"pcx-24.pcx", "pcx-8.pcx", "pcx-1.pcx"})
        add(picture, 0, false);
    for (const char* picture : {"tiff-rgb.tif", "tiff-grey.tif"})
        add(picture, 0, false);
    // libtiff hands over premultiplied colours, which lose precision where alpha is low.
    add("tiff-rgba-lzw.tif", 7, true);
    add("ico-palette.ico", 0, true);
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Stills, DecodeFixtureTest, testing::ValuesIn(stillCases()));

// Icons give their images best first: the 32 x 32 before the 16 x 16, and of two of the same
// size the PNG of 32 bits before the 4-bit bitmap.
INSTANTIATE_TEST_SUITE_P(
    Icons, DecodeFixtureTest,
    testing::Values(FixtureCase{"ico-multi.ico", {"ico-multi.1.rgba", "ico-multi.0.rgba"}, 0, true},
                    FixtureCase{"cur-multi.cur", {"cur-multi.1.rgba", "cur-multi.0.rgba"}, 0, true},
                    FixtureCase{"ico-png.ico", {"ico-png.0.rgba", "ico-png.1.rgba"}, 0, true}));

INSTANTIATE_TEST_SUITE_P(Animations, DecodeFixtureTest,
                         testing::Values(FixtureCase{"gif-animated.gif",
                                                     {"gif-animated.0.rgba", "gif-animated.1.rgba",
                                                      "gif-animated.2.rgba", "gif-animated.3.rgba",
                                                      "gif-animated.4.rgba"},
                                                     0,
                                                     true}));

TEST(AnimatedGifTest, KeepsDelaysLoopCountDisposalsAndFrameAreas) {
    const PictureResult result = loadPicture(readPictureFixture("gif-animated.gif"));
    ASSERT_TRUE(result.succeeded()) << result.message;
    const Picture& picture = result.picture;
    EXPECT_EQ(picture.format, PictureFormat::Gif);
    // Written as NETSCAPE2.0 repeats of 2: three plays.
    EXPECT_EQ(picture.loopCount, 3);
    ASSERT_EQ(picture.frames.size(), 5u);
    const FrameDisposal disposals[] = {FrameDisposal::Keep, FrameDisposal::Keep,
                                       FrameDisposal::RestoreBackground,
                                       FrameDisposal::RestorePrevious, FrameDisposal::Keep};
    const int areas[][4] = {{0, 0, 10, 8}, {1, 1, 4, 4}, {5, 2, 3, 3}, {2, 5, 5, 2}, {0, 0, 2, 2}};
    for (std::size_t index = 0; index < picture.frames.size(); ++index) {
        const PictureFrame& frame = picture.frames[index];
        EXPECT_EQ(frame.delayMilliseconds, 200);
        EXPECT_EQ(frame.disposal, disposals[index]) << "frame " << index;
        EXPECT_EQ(frame.left, areas[index][0]);
        EXPECT_EQ(frame.top, areas[index][1]);
        EXPECT_EQ(frame.width, areas[index][2]);
        EXPECT_EQ(frame.height, areas[index][3]);
        EXPECT_EQ(frame.bitmap.width(), 10);
        EXPECT_EQ(frame.bitmap.height(), 8);
    }
}

TEST(PictureFileTest, LoadsAFileAndReportsOneThatCannotBeRead) {
    const PictureResult loaded = loadPictureFile(pictureFixturePath("tga-24.tga"));
    ASSERT_TRUE(loaded.succeeded()) << loaded.message;
    EXPECT_EQ(loaded.picture.format, PictureFormat::Tga);
    const PictureInfoResult info = readPictureInfoFile(pictureFixturePath("jpeg-grey.jpg"));
    ASSERT_TRUE(info.succeeded()) << info.message;
    EXPECT_EQ(info.info.width, 13);
    EXPECT_EQ(info.info.height, 7);

    const PictureResult missing = loadPictureFile(pictureFixturePath("no-such-picture.png"));
    EXPECT_EQ(missing.error, PictureError::Unreadable);
    EXPECT_EQ(missing.picture.bitmap(), builtInBitmap());
    EXPECT_EQ(readPictureInfoFile(pictureFixturePath("no-such-picture.png")).error,
              PictureError::Unreadable);
}

TEST(PictureFileTest, OwnTransparentColourIsTheBottomLeftPixel) {
    const PictureResult result = loadPicture(readPictureFixture("bmp-24.bmp"));
    ASSERT_TRUE(result.succeeded());
    const Bitmap& bitmap = result.picture.bitmap();
    const std::uint8_t* bottomLeft = bitmap.pixel(0, bitmap.height() - 1);
    EXPECT_EQ(bitmap.ownTransparentColour(),
              bottomLeft[0] + bottomLeft[1] * 256 + bottomLeft[2] * 65536);
    EXPECT_NE(bitmap.ownTransparentColour(),
              bitmap.pixel(0, 0)[0] + bitmap.pixel(0, 0)[1] * 256 + bitmap.pixel(0, 0)[2] * 65536);
}

} // namespace
} // namespace tomelet
