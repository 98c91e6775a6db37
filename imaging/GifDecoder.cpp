#include "imaging/PictureDecoder.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <memory>
#include <vector>

namespace tomelet {
namespace {

// Every frame is kept composed at the full picture size, so an animation's frames together
// are bounded too: a tiny file of many small frames must not make gigabytes of canvases.
constexpr std::int64_t maximumAnimationPixels = std::int64_t(1) << 26;

// Browsers show frames with no delay (or 10 ms) at 100 ms, and authors made their GIFs
// for that speed.
constexpr int shortestDelayMilliseconds = 20;
constexpr int delayForTooShort = 100;

struct GifSource {
    std::string_view bytes;
    std::size_t position = 0;
};

int readBytes(GifFileType* gif, GifByteType* data, int length) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t count =
        std::min(std::size_t(std::max(length, 0)), source->bytes.size() - source->position);
    std::memcpy(data, source->bytes.data() + source->position, count);
    source->position += count;
    return int(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void fail(int error) {
    const bool truncated = error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON;
    const char* text = GifErrorString(error);
    throw PictureDecodeError(truncated ? PictureError::Truncated : PictureError::Corrupt,
                             std::string("GIF: ") + (text ? text : "unreadable"));
}

GifHandle open(GifSource& source) {
    int error = 0;
    GifHandle gif(DGifOpen(&source, readBytes, &error));
    if (!gif) fail(error);
    return gif;
}

void clearArea(Bitmap& canvas, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        std::fill(canvas.pixel(left, y), canvas.pixel(left, y) + std::size_t(right - left) * 4, 0);
}

bool sniff(std::string_view bytes) {
    return bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a");
}

// What the extensions before a frame said about it.
struct FrameControl {
    GraphicsControlBlock block{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
};

// Reads one extension: a graphic control block into `control`, a NETSCAPE2.0 loop count
// into `loopCount` (times played); the others are skipped.
void readExtension(GifFileType* gif, FrameControl& control, int& loopCount) {
    int function = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &function, &block) != GIF_OK) fail(gif->Error);
    bool netscape = false;
    bool first = true;
    while (block) {
        if (function == GRAPHICS_EXT_FUNC_CODE && first)
            DGifExtensionToGCB(block[0], block + 1, &control.block);
        if (function == APPLICATION_EXT_FUNC_CODE && first)
            netscape = block[0] == 11 && std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0;
        else if (netscape && block[0] >= 3 && block[1] == 1) {
            // The extension counts the repeats after the first play; 0 repeats for ever.
            const int repeats = block[2] | (block[3] << 8);
            loopCount = repeats == 0 ? 0 : repeats + 1;
        }
        first = false;
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) fail(gif->Error);
    }
}

// The rows of a frame in the order they are stored.
std::vector<int> storedRowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(std::size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    constexpr int starts[] = {0, 4, 2, 1};
    constexpr int steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass])
            rows.push_back(y);
    return rows;
}

FrameDisposal disposalOf(int mode) {
    switch (mode) {
    case DISPOSE_DO_NOT:
        return FrameDisposal::Keep;
    case DISPOSE_BACKGROUND:
        return FrameDisposal::RestoreBackground;
    case DISPOSE_PREVIOUS:
        return FrameDisposal::RestorePrevious;
    default:
        return FrameDisposal::Unspecified;
    }
}

Picture decode(std::string_view bytes) {
    GifSource source{bytes};
    GifHandle gif = open(source);
    // Some writers leave the screen size 0; the first frame then gives the size.
    std::int64_t width = gif->SWidth, height = gif->SHeight;

    Picture picture;
    picture.loopCount = 1;
    bool transparent = false;
    Bitmap canvas;
    Bitmap previous;
    FrameControl control;
    std::vector<GifPixelType> line;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    while (record != TERMINATE_RECORD_TYPE) {
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK) fail(gif->Error);
        if (record == EXTENSION_RECORD_TYPE) readExtension(gif.get(), control, picture.loopCount);
        if (record != IMAGE_DESC_RECORD_TYPE) continue;

        if (DGifGetImageDesc(gif.get()) != GIF_OK) fail(gif->Error);
        const GifImageDesc descriptor = gif->Image;
        if (canvas.isEmpty() && (width <= 0 || height <= 0)) {
            width = std::int64_t(descriptor.Left) + descriptor.Width;
            height = std::int64_t(descriptor.Top) + descriptor.Height;
        }
        if (width * height * std::int64_t(picture.frames.size() + 1) > maximumAnimationPixels)
            throw PictureDecodeError(PictureError::TooLarge,
                                     "GIF: more than " + std::to_string(picture.frames.size()) +
                                         " frames of " + std::to_string(width) + " x " +
                                         std::to_string(height) + " are too many pixels");
        if (descriptor.Width <= 0 || descriptor.Height <= 0 ||
            std::int64_t(descriptor.Width) * descriptor.Height > maximumPicturePixels)
            throw PictureDecodeError(PictureError::Corrupt,
                                     "GIF: a frame of size " + std::to_string(descriptor.Width) +
                                         " x " + std::to_string(descriptor.Height));
        if (canvas.isEmpty()) canvas = allocateBitmap(width, height, "GIF");
        const ColorMapObject* colours = descriptor.ColorMap ? descriptor.ColorMap : gif->SColorMap;
        if (!colours)
            throw PictureDecodeError(PictureError::Corrupt, "GIF: a frame has no colours");

        const int transparentIndex = control.block.TransparentColor;
        if (control.block.DisposalMode == DISPOSE_PREVIOUS) previous = canvas;
        line.resize(std::size_t(descriptor.Width));
        for (const int row : storedRowOrder(descriptor.Height, descriptor.Interlace)) {
            if (DGifGetLine(gif.get(), line.data(), descriptor.Width) != GIF_OK) fail(gif->Error);
            const std::int64_t y = std::int64_t(descriptor.Top) + row;
            if (y >= canvas.height()) continue;
            for (int column = 0; column < descriptor.Width; ++column) {
                const std::int64_t x = std::int64_t(descriptor.Left) + column;
                const int index = line[std::size_t(column)];
                if (x >= canvas.width() || index == transparentIndex) continue;
                std::uint8_t* pixel = canvas.pixel(int(x), int(y));
                if (index < colours->ColorCount) {
                    const GifColorType& colour = colours->Colors[index];
                    pixel[0] = colour.Red;
                    pixel[1] = colour.Green;
                    pixel[2] = colour.Blue;
                } else {
                    pixel[0] = pixel[1] = pixel[2] = 0;
                }
                pixel[3] = 255;
            }
        }

        const int left = std::min<int>(descriptor.Left, canvas.width());
        const int top = std::min<int>(descriptor.Top, canvas.height());
        const int right = int(std::min<std::int64_t>(
            std::int64_t(descriptor.Left) + descriptor.Width, canvas.width()));
        const int bottom = int(std::min<std::int64_t>(
            std::int64_t(descriptor.Top) + descriptor.Height, canvas.height()));
        transparent = transparent || transparentIndex != NO_TRANSPARENT_COLOR || left > 0 ||
                      top > 0 || right < canvas.width() || bottom < canvas.height();

        PictureFrame frame;
        frame.bitmap = canvas;
        frame.bitmap.setSourceBitsPerPixel(colours->BitsPerPixel);
        const int delay = control.block.DelayTime * 10;
        frame.delayMilliseconds = delay < shortestDelayMilliseconds ? delayForTooShort : delay;
        frame.disposal = disposalOf(control.block.DisposalMode);
        frame.left = left;
        frame.top = top;
        frame.width = right - left;
        frame.height = bottom - top;
        picture.frames.push_back(std::move(frame));

        // Browsers clear a disposed area to transparent rather than to the background colour.
        if (control.block.DisposalMode == DISPOSE_BACKGROUND)
            clearArea(canvas, left, top, right, bottom);
        if (control.block.DisposalMode == DISPOSE_PREVIOUS) canvas = std::move(previous);
        control = FrameControl();
    }
    if (picture.frames.empty())
        throw PictureDecodeError(PictureError::Corrupt, "GIF: there is no frame");
    for (PictureFrame& frame : picture.frames)
        frame.bitmap.setHasAlpha(transparent);
    return picture;
}

PictureInfo readInfo(std::string_view bytes) {
    GifSource source{bytes};
    GifHandle gif = open(source);
    PictureInfo info;
    info.width = gif->SWidth;
    info.height = gif->SHeight;
    info.bitsPerPixel = gif->SColorMap ? gif->SColorMap->BitsPerPixel : 8;
    // Transparency is declared in the extension before the first frame.
    GifRecordType record;
    while (DGifGetRecordType(gif.get(), &record) == GIF_OK && record == EXTENSION_RECORD_TYPE) {
        int function = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif.get(), &function, &block) != GIF_OK) break;
        while (block) {
            if (function == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4 && (block[1] & 1))
                info.hasTransparency = true;
            if (DGifGetExtensionNext(gif.get(), &block) != GIF_OK) block = nullptr;
        }
    }
    if (info.width <= 0 || info.height <= 0)
        throw PictureDecodeError(PictureError::Corrupt, "GIF: the screen size is 0");
    return info;
}

} // namespace

const PictureDecoder gifDecoder{PictureFormat::Gif, sniff, decode, readInfo};

} // namespace tomelet
