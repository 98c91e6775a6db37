#include "PictureFixtures.h"
#include "imaging/LoadPicture.h"

#include <gtest/gtest.h>

namespace tomelet {
namespace {

struct DetectionCase {
    const char* fixture;
    const char* nameHint;
    PictureFormat format;
};

// Content first: a picture under the wrong extension is still read as what it is; only TGA,
// which has no signature in version 1, needs its name.
const DetectionCase detectionCases[] = {
    {"png-rgb.png", "picture.bmp", PictureFormat::Png},
    {"jpeg-grey.jpg", "", PictureFormat::Jpeg},
    {"gif-still.gif", "x.tga", PictureFormat::Gif},
    {"bmp-os2.bmp", "", PictureFormat::Bmp},
    {"ico-multi.ico", "", PictureFormat::Ico},
    {"cur-multi.cur", "CURSOR.ICO", PictureFormat::Cur},
    {"tiff-grey.tif", "", PictureFormat::Tiff},
    {"pcx-1.pcx", "", PictureFormat::Pcx},
    {"tga-24.tga", "embedded:\\\\\\Pictures\\LOGO.TGA", PictureFormat::Tga},
    {"tga-24.tga", ".tga", PictureFormat::Tga},
    {"tga-24.tga", "", PictureFormat::Unknown},
    {"tga-24.tga", "c:/pictures.tga/logo", PictureFormat::Unknown},
};

TEST(DetectPictureFormatTest, ContentFirstThenTheExtension) {
    for (const DetectionCase& entry : detectionCases)
        EXPECT_EQ(detectPictureFormat(readPictureFixture(entry.fixture), entry.nameHint),
                  entry.format)
            << entry.fixture << " named \"" << entry.nameHint << "\"";
}

std::string placeableWmf(std::int16_t right, std::int16_t bottom, std::uint16_t unitsPerInch) {
    std::string bytes("\xD7\xCD\xC6\x9A\0\0", 6);
    for (const std::uint16_t value :
         {std::uint16_t(0), std::uint16_t(0), std::uint16_t(right), std::uint16_t(bottom),
          unitsPerInch, std::uint16_t(0), std::uint16_t(0), std::uint16_t(0)})
        bytes += std::string{char(value & 0xFF), char(value >> 8)};
    bytes += std::string("\x01\x00\x09\x00\x00\x03", 6) + std::string(12, '\0');
    return bytes;
}

std::string emfHeader(std::int32_t frameRight, std::int32_t frameBottom) {
    std::string bytes(88, '\0');
    const auto put = [&](std::size_t offset, std::int32_t value) {
        for (int index = 0; index < 4; ++index)
            bytes[offset + index] = char(value >> (8 * index));
    };
    put(0, 1);
    put(4, 88);
    put(32, frameRight);
    put(36, frameBottom);
    put(40, 0x464D4520);
    return bytes;
}

// Metafiles are not drawn: a blank, transparent bitmap of their size, marked badly decoded.
TEST(MetafileTest, GivesABlankBitmapOfTheHeadersSize) {
    struct Case {
        std::string bytes;
        PictureFormat format;
        int width;
        int height;
    };
    const Case cases[] = {
        {placeableWmf(1440, 720, 1440), PictureFormat::Wmf, 96, 48},
        {placeableWmf(300, 150, 96), PictureFormat::Wmf, 300, 150},
        {emfHeader(2540, 5080), PictureFormat::Emf, 96, 192},
    };
    for (const Case& entry : cases) {
        const PictureResult result = loadPicture(entry.bytes);
        ASSERT_TRUE(result.succeeded()) << result.message;
        EXPECT_EQ(result.picture.format, entry.format);
        const Bitmap& bitmap = result.picture.bitmap();
        EXPECT_EQ(bitmap.width(), entry.width);
        EXPECT_EQ(bitmap.height(), entry.height);
        EXPECT_TRUE(bitmap.isBadlyDecoded());
        EXPECT_TRUE(bitmap.hasAlpha());
        EXPECT_EQ(bitmap.pixel(entry.width / 2, entry.height / 2)[3], 0);
        const PictureInfoResult info = readPictureInfo(entry.bytes);
        EXPECT_EQ(info.info.width, entry.width);
        EXPECT_EQ(info.info.height, entry.height);
    }
    EXPECT_EQ(loadPicture(emfHeader(-5, 100)).error, PictureError::Corrupt);
}

} // namespace
} // namespace tomelet
