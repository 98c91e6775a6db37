// Windows metafiles (WMF, EMF) are drawing records, not pixels. This player does not play
// them: it reads their size from the header (a placeable WMF's bounding box, a plain WMF's
// SetWindowExt record, an EMF's frame) and gives a fully transparent bitmap of that size,
// marked badly decoded so no shape is made of it. Nothing of the drawing is shown.
#include "imaging/ByteReader.h"

#include <cstdlib>

namespace tomelet {
namespace {

constexpr std::uint32_t placeableKey = 0x9AC6CDD7;
constexpr int screenDotsPerInch = 96;
constexpr std::uint16_t setWindowExtent = 0x020C;
constexpr std::uint32_t emfHeaderRecord = 1;
constexpr std::uint32_t emfSignature = 0x464D4520; // " EMF"
constexpr int hundredthsOfMillimetrePerInch = 2540;

bool isPlainWmf(std::string_view bytes) {
    const ByteReader reader(bytes, "WMF");
    return reader.has(0, 18) && (reader.u16(0) == 1 || reader.u16(0) == 2) && reader.u16(2) == 9 &&
           (reader.u16(4) == 0x0100 || reader.u16(4) == 0x0300);
}

bool sniffWmf(std::string_view bytes) {
    return (bytes.size() >= 22 && ByteReader(bytes, "WMF").u32(0) == placeableKey) ||
           isPlainWmf(bytes);
}

bool sniffEmf(std::string_view bytes) {
    const ByteReader reader(bytes, "EMF");
    return reader.has(0, 44) && reader.u32(0) == emfHeaderRecord && reader.u32(40) == emfSignature;
}

PictureInfo wmfInfo(std::string_view bytes) {
    const ByteReader reader(bytes, "WMF");
    PictureInfo info;
    info.bitsPerPixel = 32;
    info.hasTransparency = true;
    if (reader.u32(0) == placeableKey) {
        const int inch = reader.u16(14) ? reader.u16(14) : 1440;
        info.width = int((std::int64_t(reader.i16(10)) - reader.i16(6)) * screenDotsPerInch / inch);
        info.height =
            int((std::int64_t(reader.i16(12)) - reader.i16(8)) * screenDotsPerInch / inch);
        if (info.width < 0) info.width = -info.width;
        if (info.height < 0) info.height = -info.height;
        return info;
    }
    // Without a placeable header, the window extent is the only size there is.
    std::size_t offset = std::size_t(reader.u16(2)) * 2;
    while (reader.has(offset, 6)) {
        const std::uint32_t words = reader.u32(offset);
        const std::uint16_t function = reader.u16(offset + 4);
        if (function == setWindowExtent) {
            info.height = std::abs(reader.i16(offset + 6));
            info.width = std::abs(reader.i16(offset + 8));
            return info;
        }
        if (words < 3 || function == 0) break;
        offset += std::size_t(words) * 2;
    }
    reader.fail(PictureError::Unsupported, "no placeable header and no window extent");
}

PictureInfo emfInfo(std::string_view bytes) {
    const ByteReader reader(bytes, "EMF");
    PictureInfo info;
    info.bitsPerPixel = 32;
    info.hasTransparency = true;
    const std::int64_t frameWidth = std::int64_t(reader.i32(32)) - reader.i32(24);
    const std::int64_t frameHeight = std::int64_t(reader.i32(36)) - reader.i32(28);
    const std::int64_t width = frameWidth * screenDotsPerInch / hundredthsOfMillimetrePerInch;
    const std::int64_t height = frameHeight * screenDotsPerInch / hundredthsOfMillimetrePerInch;
    if (width <= 0 || height <= 0 || width > maximumPicturePixels || height > maximumPicturePixels)
        reader.fail(PictureError::Corrupt,
                    "frame of " + std::to_string(frameWidth) + " x " + std::to_string(frameHeight));
    info.width = int(width);
    info.height = int(height);
    return info;
}

Picture blankPicture(const PictureInfo& info, PictureFormat format, std::string_view name) {
    Bitmap bitmap = allocateBitmap(info.width, info.height, name);
    bitmap.setHasAlpha(true);
    bitmap.setBadlyDecoded(true);
    return stillPicture(format, std::move(bitmap));
}

} // namespace

const PictureDecoder wmfDecoder{
    PictureFormat::Wmf, sniffWmf,
    [](std::string_view bytes) { return blankPicture(wmfInfo(bytes), PictureFormat::Wmf, "WMF"); },
    wmfInfo};

const PictureDecoder emfDecoder{
    PictureFormat::Emf, sniffEmf,
    [](std::string_view bytes) { return blankPicture(emfInfo(bytes), PictureFormat::Emf, "EMF"); },
    emfInfo};

} // namespace tomelet
