#include "imaging/ByteReader.h"
#include "imaging/DibReader.h"

#include <algorithm>
#include <vector>

namespace tomelet {
namespace {

constexpr std::size_t directoryHeaderSize = 6;
constexpr std::size_t directoryEntrySize = 16;

struct IconEntry {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::string_view data;
};

std::string_view nameOf(PictureFormat format) {
    return format == PictureFormat::Cur ? "CUR" : "ICO";
}

bool hasSignature(std::string_view bytes, char type) {
    return bytes.size() >= directoryHeaderSize && bytes[0] == 0 && bytes[1] == 0 &&
           bytes[2] == type && bytes[3] == 0 && (bytes[4] != 0 || bytes[5] != 0);
}

bool isPng(std::string_view data) {
    return pngDecoder.sniff(data);
}

// The entries, best first: most pixels, then most bits a pixel.
std::vector<IconEntry> readEntries(std::string_view bytes, PictureFormat format) {
    const ByteReader reader(bytes, nameOf(format));
    const std::size_t count = reader.u16(4);
    reader.require(directoryHeaderSize, count * directoryEntrySize);
    std::vector<IconEntry> entries;
    for (std::size_t index = 0; index < count; ++index) {
        const std::size_t offset = directoryHeaderSize + index * directoryEntrySize;
        IconEntry entry;
        // 0 stands for 256; the image's own header is believed over the directory.
        entry.width = reader.u8(offset) ? reader.u8(offset) : 256;
        entry.height = reader.u8(offset + 1) ? reader.u8(offset + 1) : 256;
        const std::uint32_t size = reader.u32(offset + 8);
        const std::uint32_t dataOffset = reader.u32(offset + 12);
        entry.data = reader.slice(dataOffset, size);
        const PictureInfo info = isPng(entry.data) ? pngDecoder.readInfo(entry.data)
                                                   : readDibInfo(entry.data, {true, {}});
        entry.width = info.width;
        entry.height = info.height;
        entry.bitsPerPixel = info.bitsPerPixel;
        entries.push_back(entry);
    }
    if (entries.empty()) reader.fail(PictureError::Corrupt, "the directory is empty");
    std::stable_sort(entries.begin(), entries.end(), [](const IconEntry& a, const IconEntry& b) {
        const std::int64_t pixelsA = std::int64_t(a.width) * a.height;
        const std::int64_t pixelsB = std::int64_t(b.width) * b.height;
        return pixelsA != pixelsB ? pixelsA > pixelsB : a.bitsPerPixel > b.bitsPerPixel;
    });
    return entries;
}

Picture decodeIcons(std::string_view bytes, PictureFormat format) {
    Picture picture;
    picture.format = format;
    for (const IconEntry& entry : readEntries(bytes, format)) {
        Bitmap bitmap = isPng(entry.data)
                            ? std::move(pngDecoder.decode(entry.data).frames[0].bitmap)
                            : decodeDib(entry.data, {true, {}});
        bitmap.setHasAlpha(true);
        PictureFrame frame;
        frame.width = bitmap.width();
        frame.height = bitmap.height();
        frame.bitmap = std::move(bitmap);
        picture.frames.push_back(std::move(frame));
    }
    return picture;
}

PictureInfo readIconInfo(std::string_view bytes, PictureFormat format) {
    const IconEntry best = readEntries(bytes, format).front();
    PictureInfo info;
    info.width = best.width;
    info.height = best.height;
    info.bitsPerPixel = best.bitsPerPixel;
    info.hasTransparency = true;
    return info;
}

} // namespace

const PictureDecoder icoDecoder{
    PictureFormat::Ico, [](std::string_view bytes) { return hasSignature(bytes, 1); },
    [](std::string_view bytes) { return decodeIcons(bytes, PictureFormat::Ico); },
    [](std::string_view bytes) { return readIconInfo(bytes, PictureFormat::Ico); }};

const PictureDecoder curDecoder{
    PictureFormat::Cur, [](std::string_view bytes) { return hasSignature(bytes, 2); },
    [](std::string_view bytes) { return decodeIcons(bytes, PictureFormat::Cur); },
    [](std::string_view bytes) { return readIconInfo(bytes, PictureFormat::Cur); }};

} // namespace tomelet
