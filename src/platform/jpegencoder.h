#pragma once

#include <QByteArray>

namespace zarno {

class TBitmap;

// Encodes a bitmap as a baseline JFIF JPEG through libjpeg-turbo. Every
// colour component keeps full resolution (4:4:4): with the usual halved
// chroma a one-pixel coloured line bleeds into its neighbours. The JFIF
// header carries the density in dots per inch. An empty bitmap or a failure
// inside the library gives an empty array.
QByteArray encodeJpeg(const TBitmap &bitmap, int quality, int dotsPerInch);

} // namespace zarno
