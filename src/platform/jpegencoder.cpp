#include "platform/jpegencoder.h"

#include "platform/bitmap.h"

#include <QBuffer>
#include <QImage>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
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

// A destination that hands each full buffer to the sink. The manager comes
// first so that the library's pointer to it is a pointer to the whole.
struct TSinkDestination
{
    static constexpr std::size_t kBufferSize = 256 * 1024;

    jpeg_destination_mgr manager;
    const TJpegSink *sink;
    JOCTET buffer[kBufferSize];

    static TSinkDestination &of(j_compress_ptr info)
    {
        return *reinterpret_cast<TSinkDestination *>(info->dest);
    }
    static void init(j_compress_ptr info)
    {
        TSinkDestination &d = of(info);
        d.manager.next_output_byte = d.buffer;
        d.manager.free_in_buffer = kBufferSize;
    }
    // A refused piece ends the encoding through the error exit, like any
    // failure inside the library.
    static void hand(j_compress_ptr info, std::size_t size)
    {
        TSinkDestination &d = of(info);
        if (size > 0 && !(*d.sink)(reinterpret_cast<const char *>(d.buffer), qsizetype(size)))
            onJpegError(reinterpret_cast<j_common_ptr>(info));
    }
    static boolean empty(j_compress_ptr info)
    {
        hand(info, kBufferSize);
        init(info);
        return TRUE;
    }
    static void term(j_compress_ptr info)
    {
        hand(info, kBufferSize - of(info).manager.free_in_buffer);
    }
};

// Plain C state only between setjmp and the last library call: a longjmp
// must not skip a destructor.
bool compress(const QImage &image, int quality, int dotsPerInch, TSinkDestination *destination)
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
    destination->manager.init_destination = TSinkDestination::init;
    destination->manager.empty_output_buffer = TSinkDestination::empty;
    destination->manager.term_destination = TSinkDestination::term;
    info.dest = &destination->manager;
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

bool encodeJpeg(const TBitmap &bitmap, int quality, int dotsPerInch, const TJpegSink &sink)
{
    if (bitmap.isEmpty())
        return false;
    // No copy of an image that is already RGB32: copying a QImage that a
    // painter is open on duplicates its pixels.
    const QImage &image = bitmap.image();
    QImage converted;
    if (image.format() != QImage::Format_RGB32)
        converted = image.convertToFormat(QImage::Format_RGB32);
    const QImage &rgb32 = converted.isNull() ? image : converted;
    auto destination = std::make_unique<TSinkDestination>();
    destination->sink = &sink;
    return compress(rgb32, quality, dotsPerInch, destination.get());
}

QByteArray encodeJpeg(const TBitmap &bitmap, int quality, int dotsPerInch)
{
    QByteArray result;
    // Room for a detailed image at the highest quality, so the array rarely
    // grows; pages not written are never touched.
    result.reserve(qsizetype(bitmap.width()) * bitmap.height());
    // Nothing may be thrown through the library's C frames.
    const bool ok
        = encodeJpeg(bitmap, quality, dotsPerInch, [&](const char *data, qsizetype size) noexcept {
              try {
                  result.append(data, size);
                  return true;
              } catch (...) {
                  return false;
              }
          });
    return ok ? result : QByteArray();
}

QByteArray encodePng(const TBitmap &bitmap, int dotsPerInch)
{
    if (bitmap.width() < 1 || bitmap.height() < 1)
        return {};
    QImage image = bitmap.image().convertToFormat(QImage::Format_RGB32);
    const int perMetre = int(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

} // namespace zarno
