#include "platform/jpegencoder.h"

#include "platform/bitmap.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace zarno {

namespace {

struct TJpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void onJpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJpegError *>(info->err)->jump, 1);
}

void ignoreJpegMessage(j_common_ptr) { }

// Plain C state only between setjmp and the last library call: a longjmp
// must not skip a destructor.
bool compress(
    const QImage &image, int quality, int dotsPerInch, unsigned char **out, unsigned long *outSize)
{
    jpeg_compress_struct info;
    TJpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = onJpegError;
    error.manager.output_message = ignoreJpegMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    // RGB32 lies in memory as B, G, R, X on every little-endian machine.
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    info.write_JFIF_header = TRUE;
    info.density_unit = 1;
    info.X_density = UINT16(dotsPerInch);
    info.Y_density = UINT16(dotsPerInch);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

QByteArray encodeJpeg(const TBitmap &bitmap, int quality, int dotsPerInch)
{
    if (bitmap.isEmpty())
        return {};
    const QImage &image = bitmap.image();
    const QImage rgb32 = image.format() == QImage::Format_RGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    unsigned char *data = nullptr;
    unsigned long size = 0;
    const bool ok = compress(rgb32, quality, dotsPerInch, &data, &size);
    QByteArray result;
    if (ok && data)
        result = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    std::free(data);
    return result;
}

} // namespace zarno
