#include "art/jpeg_decoder.h"

#include "art/art_error.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace art {

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// A corrupt or truncated picture only earns a warning from libjpeg, which then fills the rest
// with grey; a built-in picture must be whole, so warnings fail the decode too.
extern "C" void onJpegMessage(j_common_ptr info, int level)
{
    if (level < 0)
        onJpegError(info);
}

// Kept free of C++ objects with destructors: a longjmp out of libjpeg lands here.
bool decodeInto(const QByteArray& jpeg, QImage& out, ErrorManager& errors)
{
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onJpegError;
    errors.base.emit_message = onJpegMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.constData()),
        static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    // The header alone names the size; refuse a huge one before libjpeg or QImage asks for it.
    if (info.image_width > JDIMENSION(kMaxPictureSide)
        || info.image_height > JDIMENSION(kMaxPictureSide)) {
        std::snprintf(errors.message, sizeof errors.message, "picture of %u x %u is too large",
            unsigned(info.image_width), unsigned(info.image_height));
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGRA; // the byte order of Format_RGB32, alpha 0xFF
    jpeg_start_decompress(&info);
    out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (out.isNull()) {
        std::snprintf(errors.message, sizeof errors.message, "picture too large");
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray& jpeg)
{
    QImage image;
    ErrorManager errors {};
    if (!decodeInto(jpeg, image, errors))
        throw ArtError(std::string("JPEG picture: ") + errors.message);
    return image;
}

} // namespace art
