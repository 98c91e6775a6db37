#include "PictureFixtures.h"
#include "imaging/LoadPicture.h"

#include <gtest/gtest.h>
#include <vector>

namespace tomelet {
namespace {

void expectBuiltInFailure(const std::string& bytes, const std::string& name,
                          const std::string& what) {
    const PictureResult result = loadPicture(bytes, name);
    EXPECT_FALSE(result.succeeded()) << what;
    EXPECT_FALSE(result.message.empty()) << what;
    ASSERT_EQ(result.picture.frames.size(), 1u) << what;
    EXPECT_EQ(result.picture.bitmap(), builtInBitmap()) << what;
}

struct TruncationCase {
    const char* picture;
    // False where the last byte is an end marker or a link to a next page that readers may
    // do without.
    bool lastByteMatters = true;
};

const TruncationCase truncationCases[] = {
    {"png-rgba.png"},
    {"png-interlaced.png"},
    {"jpeg-baseline.jpg"},
    {"jpeg-progressive.jpg"},
    {"gif-animated.gif"},
    {"bmp-24.bmp"},
    {"bmp-rle8.bmp", false},
    {"bmp-rle4.bmp", false},
    {"bmp-os2.bmp"},
    {"ico-multi.ico"},
    {"ico-png.ico"},
    {"cur-multi.cur"},
    {"tga-24.tga"},
    {"tga-rle32.tga"},
    {"tga-palette.tga"},
    {"pcx-24.pcx"},
    {"pcx-8.pcx"},
    {"tiff-rgb.tif", false},
    {"tiff-rgba-lzw.tif", false},
};

TEST(DamagedPictureTest, TruncatedPicturesGiveTheBuiltInBitmapAndAnError) {
    for (const TruncationCase& truncation : truncationCases) {
        const std::string bytes = readPictureFixture(truncation.picture);
        ASSERT_GT(bytes.size(), 40u) << truncation.picture;
        std::vector<std::size_t> lengths = {1, 8, 30, bytes.size() / 2, bytes.size() * 3 / 4};
        if (truncation.lastByteMatters) lengths.push_back(bytes.size() - 1);
        for (const std::size_t length : lengths)
            expectBuiltInFailure(bytes.substr(0, length), truncation.picture,
                                 std::string(truncation.picture) + " cut to " +
                                     std::to_string(length));
    }
}

struct Damage {
    const char* picture;
    std::size_t offset;
    std::string replacement;
    PictureError error;
};

// Sizes beyond any picture, impossible layouts, broken signatures and checksums.
const Damage damages[] = {
    {"png-rgb.png", 16, std::string("\x7f\xff\xff\xff\x7f\xff\xff\xff", 8), PictureError::Corrupt},
    {"png-rgb.png", 29, "\xff", PictureError::Corrupt}, // header checksum
    {"jpeg-baseline.jpg", 2, "\xff\xff\xff\xff", PictureError::Corrupt},
    {"gif-still.gif", 6, std::string("\xff\xff\xff\xff", 4), PictureError::TooLarge},
    {"bmp-24.bmp", 18, std::string("\xff\xff\xff\x7f\xff\xff\xff\x7f", 8), PictureError::Truncated},
    {"bmp-rle8.bmp", 18, std::string("\xff\xff\xff\x7f\xff\xff\xff\x7f", 8),
     PictureError::Truncated},
    {"bmp-24.bmp", 28, std::string("\x07\x00", 2), PictureError::Unsupported},
    {"bmp-24.bmp", 14, std::string("\x05\x00\x00\x00", 4), PictureError::Corrupt},
    {"bmp-24.bmp", 18, std::string("\x00\x00\x00\x00", 4), PictureError::Corrupt},
    {"ico-multi.ico", 4, std::string("\xff\xff", 2), PictureError::Truncated},
    {"tga-rle32.tga", 12, std::string("\xff\xff\xff\xff", 4), PictureError::Truncated},
    {"tga-24.tga", 2, "\x05", PictureError::Corrupt},
    {"tga-24.tga", 16, "\x07", PictureError::Corrupt},
    {"pcx-24.pcx", 8, std::string("\xff\xff\xff\xff", 4), PictureError::Corrupt},
    {"pcx-24.pcx", 65, "\x02", PictureError::Unsupported},
    {"tiff-rgb.tif", 4, std::string("\xff\xff\xff\x7f", 4), PictureError::Truncated},
};

TEST(DamagedPictureTest, DamagedHeadersGiveTheirErrors) {
    for (const Damage& damage : damages) {
        std::string bytes = readPictureFixture(damage.picture);
        bytes.replace(damage.offset, damage.replacement.size(), damage.replacement);
        const std::string what =
            std::string(damage.picture) + " at " + std::to_string(damage.offset);
        expectBuiltInFailure(bytes, damage.picture, what);
        EXPECT_EQ(loadPicture(bytes, damage.picture).error, damage.error) << what;
    }
}

TEST(DamagedPictureTest, EveryByteFlippedNeverCrashes) {
    for (const char* name : {"bmp-rle4.bmp", "bmp-4.bmp", "tga-rle24.tga", "pcx-8.pcx",
                             "ico-png.ico", "gif-animated.gif", "png-palette.png"}) {
        const std::string original = readPictureFixture(name);
        for (std::size_t offset = 0; offset < original.size(); ++offset) {
            std::string bytes = original;
            bytes[offset] = char(~bytes[offset]);
            const PictureResult result = loadPicture(bytes, name);
            if (!result.succeeded()) {
                EXPECT_EQ(result.picture.bitmap(), builtInBitmap()) << name << " at " << offset;
            } else {
                EXPECT_GT(result.picture.width(), 0);
            }
            readPictureInfo(bytes, name);
        }
    }
}

TEST(DamagedPictureTest, EmptyAndUnknownBytesAreRefused) {
    EXPECT_EQ(loadPicture("", "a.png").error, PictureError::Truncated);
    expectBuiltInFailure("not a picture at all", "notes.txt", "text");
    EXPECT_EQ(loadPicture("not a picture at all", "notes.txt").error, PictureError::UnknownFormat);
    EXPECT_EQ(readPictureInfo("not a picture at all").error, PictureError::UnknownFormat);
}

TEST(BuiltInBitmapTest, IsASmallOpaquePictureMarkedBadlyDecoded) {
    const Bitmap& bitmap = builtInBitmap();
    EXPECT_FALSE(bitmap.isEmpty());
    EXPECT_TRUE(bitmap.isBadlyDecoded());
    EXPECT_FALSE(bitmap.hasAlpha());
}

} // namespace
} // namespace tomelet
