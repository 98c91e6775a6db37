#include "imaging/ByteReader.h"
#include "imaging/DibReader.h"

namespace tomelet {
namespace {

constexpr std::size_t fileHeaderSize = 14;

bool sniff(std::string_view bytes) {
    // "BA" begins an OS/2 bitmap array, whose first entry is a whole bitmap file.
    return bytes.size() >= fileHeaderSize + 4 &&
           (bytes.starts_with("BM") || bytes.starts_with("BA"));
}

// The bitmap file within `bytes`: itself, or an OS/2 array's first bitmap.
std::string_view bitmapFile(std::string_view bytes) {
    if (bytes.starts_with("BA")) return ByteReader(bytes, "BMP").rest(fileHeaderSize);
    return bytes;
}

DibLayout layoutOf(const ByteReader& file) {
    DibLayout layout;
    const std::uint32_t pixelOffset = file.u32(10);
    const std::uint32_t headerSize = file.u32(fileHeaderSize);
    // A pixel offset inside the header is wrong; the pixels then follow the palette.
    if (pixelOffset >= fileHeaderSize + headerSize)
        layout.pixelOffset = pixelOffset - fileHeaderSize;
    return layout;
}

Picture decode(std::string_view bytes) {
    const ByteReader file(bitmapFile(bytes), "BMP");
    if (file.slice(0, 2) != "BM") file.fail(PictureError::Corrupt, "no bitmap in the array");
    return stillPicture(PictureFormat::Bmp, decodeDib(file.rest(fileHeaderSize), layoutOf(file)));
}

PictureInfo readInfo(std::string_view bytes) {
    const ByteReader file(bitmapFile(bytes), "BMP");
    if (file.slice(0, 2) != "BM") file.fail(PictureError::Corrupt, "no bitmap in the array");
    return readDibInfo(file.rest(fileHeaderSize), layoutOf(file));
}

} // namespace

const PictureDecoder bmpDecoder{PictureFormat::Bmp, sniff, decode, readInfo};

} // namespace tomelet
