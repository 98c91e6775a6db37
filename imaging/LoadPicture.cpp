#include "imaging/LoadPicture.h"

#include "imaging/PictureDecoder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <new>
#include <optional>

namespace tomelet {
namespace {

// Formats with a signature come first, the weakest signature (PCX) last; TGA has none.
const std::array<const PictureDecoder*, 11> decoders = {
    &pngDecoder,  &jpegDecoder, &gifDecoder, &bmpDecoder, &icoDecoder, &curDecoder,
    &tiffDecoder, &wmfDecoder,  &emfDecoder, &pcxDecoder, &tgaDecoder};

struct ExtensionFormat {
    std::string_view extension;
    PictureFormat format;
};

constexpr ExtensionFormat extensionFormats[] = {
    {"bmp", PictureFormat::Bmp},   {"dib", PictureFormat::Bmp},   {"rle", PictureFormat::Bmp},
    {"ico", PictureFormat::Ico},   {"cur", PictureFormat::Cur},   {"png", PictureFormat::Png},
    {"jpg", PictureFormat::Jpeg},  {"jpeg", PictureFormat::Jpeg}, {"jpe", PictureFormat::Jpeg},
    {"jfif", PictureFormat::Jpeg}, {"gif", PictureFormat::Gif},   {"tif", PictureFormat::Tiff},
    {"tiff", PictureFormat::Tiff}, {"pcx", PictureFormat::Pcx},   {"tga", PictureFormat::Tga},
    {"vda", PictureFormat::Tga},   {"icb", PictureFormat::Tga},   {"vst", PictureFormat::Tga},
    {"wmf", PictureFormat::Wmf},   {"emf", PictureFormat::Emf},
};

PictureFormat formatFromName(std::string_view name) {
    const std::size_t separator = name.find_last_of("/\\");
    if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
    const std::size_t dot = name.rfind('.');
    std::string_view extension = dot == std::string_view::npos ? name : name.substr(dot + 1);
    std::string lowered(extension);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const ExtensionFormat& entry : extensionFormats)
        if (entry.extension == lowered) return entry.format;
    return PictureFormat::Unknown;
}

const PictureDecoder* decoderFor(PictureFormat format) {
    for (const PictureDecoder* decoder : decoders)
        if (decoder->format == format) return decoder;
    return nullptr;
}

PictureResult failure(PictureError code, std::string message) {
    PictureResult result;
    result.picture = stillPicture(PictureFormat::Unknown, builtInBitmap());
    result.error = code;
    result.message = std::move(message);
    return result;
}

PictureInfoResult infoFailure(PictureError code, std::string message) {
    PictureInfoResult result;
    result.error = code;
    result.message = std::move(message);
    return result;
}

// Reads at most `limit` bytes of the file; none when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path, std::size_t limit) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes;
    std::array<char, 65536> buffer;
    while (bytes.size() < limit) {
        file.read(buffer.data(), std::streamsize(std::min(buffer.size(), limit - bytes.size())));
        bytes.append(buffer.data(), std::size_t(file.gcount()));
        if (!file) break;
    }
    if (file.bad()) return std::nullopt;
    return bytes;
}

// Whole picture files larger than this are refused rather than read into memory.
constexpr std::size_t maximumPictureFileBytes = std::size_t(1) << 30;
// Headers of every format we read lie well within this; JPEG and TIFF may need more, and
// are then read whole.
constexpr std::size_t headerBytes = 1 << 20;

} // namespace

PictureFormat detectPictureFormat(std::string_view bytes, std::string_view nameHint) {
    for (const PictureDecoder* decoder : decoders)
        if (decoder->sniff && decoder->sniff(bytes)) return decoder->format;
    return formatFromName(nameHint);
}

Bitmap allocateBitmap(std::int64_t width, std::int64_t height, std::string_view formatName) {
    if (width <= 0 || height <= 0)
        throw PictureDecodeError(PictureError::Corrupt, std::string(formatName) + ": size " +
                                                            std::to_string(width) + " x " +
                                                            std::to_string(height));
    if (width > maximumPicturePixels || height > maximumPicturePixels ||
        width * height > maximumPicturePixels)
        throw PictureDecodeError(PictureError::TooLarge,
                                 std::string(formatName) + ": " + std::to_string(width) + " x " +
                                     std::to_string(height) + " pixels is too large");
    return Bitmap(int(width), int(height));
}

Picture stillPicture(PictureFormat format, Bitmap bitmap) {
    Picture picture;
    picture.format = format;
    PictureFrame frame;
    frame.width = bitmap.width();
    frame.height = bitmap.height();
    frame.bitmap = std::move(bitmap);
    picture.frames.push_back(std::move(frame));
    return picture;
}

PictureResult loadPicture(std::string_view bytes, std::string_view nameHint) {
    if (bytes.empty()) return failure(PictureError::Truncated, "the picture is empty");
    const PictureDecoder* decoder = decoderFor(detectPictureFormat(bytes, nameHint));
    if (!decoder)
        return failure(PictureError::UnknownFormat,
                       "not a picture format we read: \"" + std::string(nameHint) + "\"");
    try {
        PictureResult result;
        result.picture = decoder->decode(bytes);
        result.picture.format = decoder->format;
        return result;
    } catch (const PictureDecodeError& error) {
        return failure(error.code(), error.what());
    } catch (const std::bad_alloc&) {
        return failure(PictureError::TooLarge, "out of memory while decoding");
    }
}

PictureResult loadPictureFile(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = readFileBytes(path, maximumPictureFileBytes + 1);
    if (!bytes) return failure(PictureError::Unreadable, "cannot read " + path.string());
    if (bytes->size() > maximumPictureFileBytes)
        return failure(PictureError::TooLarge, path.string() + " is too large for a picture");
    return loadPicture(*bytes, path.filename().string());
}

PictureInfoResult readPictureInfo(std::string_view bytes, std::string_view nameHint) {
    if (bytes.empty()) return infoFailure(PictureError::Truncated, "the picture is empty");
    const PictureDecoder* decoder = decoderFor(detectPictureFormat(bytes, nameHint));
    if (!decoder)
        return infoFailure(PictureError::UnknownFormat,
                           "not a picture format we read: \"" + std::string(nameHint) + "\"");
    try {
        PictureInfoResult result;
        result.info = decoder->readInfo(bytes);
        result.info.format = decoder->format;
        return result;
    } catch (const PictureDecodeError& error) {
        return infoFailure(error.code(), error.what());
    } catch (const std::bad_alloc&) {
        return infoFailure(PictureError::TooLarge, "out of memory while reading the header");
    }
}

PictureInfoResult readPictureInfoFile(const std::filesystem::path& path) {
    std::optional<std::string> bytes = readFileBytes(path, headerBytes);
    if (!bytes) return infoFailure(PictureError::Unreadable, "cannot read " + path.string());
    PictureInfoResult result = readPictureInfo(*bytes, path.filename().string());
    if (result.error == PictureError::Truncated && bytes->size() == headerBytes) {
        bytes = readFileBytes(path, maximumPictureFileBytes);
        if (!bytes) return infoFailure(PictureError::Unreadable, "cannot read " + path.string());
        result = readPictureInfo(*bytes, path.filename().string());
    }
    return result;
}

} // namespace tomelet
