#pragma once

#include "imaging/LoadPicture.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tomelet {

// Thrown by a decoder that gives up; loadPicture turns it into an error result.
class PictureDecodeError : public std::runtime_error {
public:
    PictureDecodeError(PictureError code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    PictureError code() const { return code_; }

private:
    PictureError code_;
};

// One picture format: every format file defines one of these, and adding a format touches
// only that file and the list in LoadPicture.cpp.
struct PictureDecoder {
    PictureFormat format;
    // True when the first bytes are this format's signature. Null for formats without one.
    bool (*sniff)(std::string_view bytes);
    // Throw PictureDecodeError (or std::bad_alloc) on failure.
    Picture (*decode)(std::string_view bytes);
    PictureInfo (*readInfo)(std::string_view bytes);
};

extern const PictureDecoder pngDecoder;
extern const PictureDecoder jpegDecoder;
extern const PictureDecoder gifDecoder;
extern const PictureDecoder bmpDecoder;
extern const PictureDecoder icoDecoder;
extern const PictureDecoder curDecoder;
extern const PictureDecoder tiffDecoder;
extern const PictureDecoder pcxDecoder;
extern const PictureDecoder tgaDecoder;
extern const PictureDecoder wmfDecoder;
extern const PictureDecoder emfDecoder;

// A bitmap of width x height after refusing sizes no picture has and sizes beyond
// maximumPicturePixels. `formatName` begins the error message.
Bitmap allocateBitmap(std::int64_t width, std::int64_t height, std::string_view formatName);

// A picture of one frame.
Picture stillPicture(PictureFormat format, Bitmap bitmap);

} // namespace tomelet
