#pragma once

#include "imaging/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tomelet {

enum class PictureFormat { Unknown, Bmp, Ico, Cur, Png, Jpeg, Gif, Tiff, Pcx, Tga, Wmf, Emf };

enum class PictureError {
    None,
    Unreadable,    // the file could not be read
    UnknownFormat, // neither the content nor the name hint names a format we read
    Truncated,     // the bytes end before the picture does
    Corrupt,       // the bytes contradict themselves
    TooLarge,      // more than maximumPicturePixels, or a size no picture has
    Unsupported,   // a valid picture of a kind we do not decode
};

// What the area a frame changed becomes before the next frame is drawn.
enum class FrameDisposal { Unspecified, Keep, RestoreBackground, RestorePrevious };

struct PictureFrame {
    // The whole picture as it shows during this frame, already composed with the frames
    // before it (so a player just shows it).
    Bitmap bitmap;
    int delayMilliseconds = 0;
    FrameDisposal disposal = FrameDisposal::Unspecified;
    // The area this frame's own image covers within the picture.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Picture {
    PictureFormat format = PictureFormat::Unknown;
    // At least one frame when loading succeeded. An animation's frames all have the
    // picture's size; an icon's or cursor's frames are its images, the best (largest, then
    // most colours) first.
    std::vector<PictureFrame> frames;
    // Times an animation plays; 0 = endless. 1 for still pictures and GIFs without a
    // NETSCAPE2.0 extension.
    int loopCount = 1;

    const Bitmap& bitmap() const { return frames.front().bitmap; }
    int width() const { return frames.empty() ? 0 : frames.front().bitmap.width(); }
    int height() const { return frames.empty() ? 0 : frames.front().bitmap.height(); }
};

struct PictureResult {
    // The decoded picture; on failure one frame holding builtInBitmap().
    Picture picture;
    PictureError error = PictureError::None;
    // For developers: what was wrong and where.
    std::string message;

    bool succeeded() const { return error == PictureError::None; }
};

struct PictureInfo {
    PictureFormat format = PictureFormat::Unknown;
    int width = 0;
    int height = 0;
    // Alpha channel, transparent palette index or icon mask, as far as the header tells.
    bool hasTransparency = false;
    int bitsPerPixel = 0;
};

struct PictureInfoResult {
    PictureInfo info;
    PictureError error = PictureError::None;
    std::string message;

    bool succeeded() const { return error == PictureError::None; }
};

// The format by content (magic bytes) first, then by the extension of `nameHint`
// (a file or entry name, or a bare extension such as ".tga"); TGA has no magic.
PictureFormat detectPictureFormat(std::string_view bytes, std::string_view nameHint = {});

PictureResult loadPicture(std::string_view bytes, std::string_view nameHint = {});
PictureResult loadPictureFile(const std::filesystem::path& path);

// Size and transparency from the header only; nothing is decoded.
PictureInfoResult readPictureInfo(std::string_view bytes, std::string_view nameHint = {});
PictureInfoResult readPictureInfoFile(const std::filesystem::path& path);

// What is shown for a picture that cannot be decoded: a small "broken picture" sign,
// marked badly decoded.
const Bitmap& builtInBitmap();

// `bitmap` scaled to width x height (each at least 1) with a smooth filter; the flags
// (alpha, badly decoded, source bits) carry over. An empty bitmap gives an empty one.
Bitmap resample(const Bitmap& bitmap, int width, int height);

} // namespace tomelet
