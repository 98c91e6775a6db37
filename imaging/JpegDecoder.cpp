#include "imaging/PictureDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

namespace tomelet {
namespace {

// libjpeg's error manager, extended with the jump back to us and what went wrong. Plain
// data only: libjpeg leaves by longjmp, which must not skip a destructor.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool truncated = false;
    char message[JMSG_LENGTH_MAX] = {};
};

void exitWithError(j_common_ptr jpeg) {
    auto* errors = reinterpret_cast<JpegErrors*>(jpeg->err);
    errors->manager.format_message(jpeg, errors->message);
    std::longjmp(errors->jump, 1);
}

// A picture whose data ends early decodes to grey below the end with only a warning;
// we count that as a failure, like every other truncated picture.
void emitMessage(j_common_ptr jpeg, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(jpeg->err);
    if (level < 0 && errors->manager.msg_code == JWRN_JPEG_EOF) {
        errors->truncated = true;
        std::snprintf(errors->message, sizeof errors->message, "the data ends early");
        std::longjmp(errors->jump, 1);
    }
}

struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;
};

Bitmap allocateJpegBitmap(std::int64_t width, std::int64_t height) {
    return allocateBitmap(width, height, "JPEG");
}

void convertCmyk(Bitmap& bitmap, bool inverted) {
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* pixel = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, pixel += 4) {
            // Adobe writes inverted CMYK: 255 means no ink.
            int cyan = pixel[0], magenta = pixel[1], yellow = pixel[2], black = pixel[3];
            if (!inverted) {
                cyan = 255 - cyan;
                magenta = 255 - magenta;
                yellow = 255 - yellow;
                black = 255 - black;
            }
            pixel[0] = std::uint8_t(cyan * black / 255);
            pixel[1] = std::uint8_t(magenta * black / 255);
            pixel[2] = std::uint8_t(yellow * black / 255);
            pixel[3] = 255;
        }
    }
}

// Reads the header and, unless `bitmap` is null, the pixels. Returns false with
// errors.message set on failure.
bool readJpeg(std::string_view bytes, JpegErrors& errors, JpegHeader& header, Bitmap* bitmap) {
    jpeg_decompress_struct jpeg;
    jpeg.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = exitWithError;
    errors.manager.emit_message = emitMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&jpeg);
        return false;
    }
    jpeg_create_decompress(&jpeg);
    jpeg_mem_src(&jpeg, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&jpeg, TRUE);
    header.width = int(jpeg.image_width);
    header.height = int(jpeg.image_height);
    header.components = jpeg.num_components;
    if (bitmap) {
        try {
            *bitmap = allocateJpegBitmap(header.width, header.height);
        } catch (...) {
            jpeg_destroy_decompress(&jpeg);
            throw;
        }
        const bool cmyk = jpeg.jpeg_color_space == JCS_CMYK || jpeg.jpeg_color_space == JCS_YCCK;
        jpeg.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
        jpeg_start_decompress(&jpeg);
        while (jpeg.output_scanline < jpeg.output_height) {
            JSAMPROW row = bitmap->row(int(jpeg.output_scanline));
            jpeg_read_scanlines(&jpeg, &row, 1);
        }
        jpeg_finish_decompress(&jpeg);
        if (cmyk) convertCmyk(*bitmap, jpeg.saw_Adobe_marker);
    }
    jpeg_destroy_decompress(&jpeg);
    return true;
}

[[noreturn]] void fail(const JpegErrors& errors) {
    throw PictureDecodeError(errors.truncated ? PictureError::Truncated : PictureError::Corrupt,
                             std::string("JPEG: ") + errors.message);
}

bool sniff(std::string_view bytes) {
    return bytes.starts_with("\xFF\xD8\xFF");
}

Picture decode(std::string_view bytes) {
    JpegErrors errors;
    JpegHeader header;
    Bitmap bitmap;
    if (!readJpeg(bytes, errors, header, &bitmap)) fail(errors);
    bitmap.setSourceBitsPerPixel(8 * header.components);
    return stillPicture(PictureFormat::Jpeg, std::move(bitmap));
}

PictureInfo readInfo(std::string_view bytes) {
    JpegErrors errors;
    JpegHeader header;
    if (!readJpeg(bytes, errors, header, nullptr)) fail(errors);
    PictureInfo info;
    info.width = header.width;
    info.height = header.height;
    info.bitsPerPixel = 8 * header.components;
    return info;
}

} // namespace

const PictureDecoder jpegDecoder{PictureFormat::Jpeg, sniff, decode, readInfo};

} // namespace tomelet
