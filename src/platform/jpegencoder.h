#pragma once

#include <QByteArray>
#include <functional>

namespace zarno {

class TBitmap;

// Encodes a bitmap as a baseline JFIF JPEG through libjpeg-turbo. Every
// colour component keeps full resolution (4:4:4): with the usual halved
// chroma a one-pixel coloured line bleeds into its neighbours. The JFIF
// header carries the density in dots per inch. An empty bitmap or a failure
// inside the library gives an empty array.
QByteArray encodeJpeg(const TBitmap &bitmap, int quality, int dotsPerInch);

// Receives encoded bytes piece by piece, in order; false stops the encoding.
using TJpegSink = std::function<bool(const char *data, qsizetype size)>;

// The same encoding handed out in pieces as it is made, so that a file can
// be written while the image is still being encoded, without the whole
// JPEG in memory. False when the bitmap is empty, the library fails or the
// sink refused a piece.
bool encodeJpeg(const TBitmap &bitmap, int quality, int dotsPerInch, const TJpegSink &sink);

// Encodes a bitmap as PNG with its density in dots per inch; empty on
// failure.
QByteArray encodePng(const TBitmap &bitmap, int dotsPerInch);

} // namespace zarno
