// The JPEG encoder handing its bytes out in pieces: the pieces make the same
// file as the whole, and a refused piece stops it cleanly.
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/jpegencoder.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

// A bitmap whose JPEG is larger than one piece: noise does not compress.
void fillWithNoise(TBitmap &bitmap)
{
    TCanvas &c = bitmap.canvas();
    c.setBrushStyle(TBrushStyle::bsSolid);
    quint32 seed = 1;
    for (int y = 0; y < bitmap.height(); y += 2)
        for (int x = 0; x < bitmap.width(); x += 2) {
            seed = seed * 1664525u + 1013904223u;
            c.setBrushColor(TColor(seed >> 8));
            c.fillRect(QRect(x, y, 2, 2));
        }
}

} // namespace

TEST(JpegEncoder, PiecesMakeTheWholeFileAndARefusalStopsIt)
{
    TBitmap bitmap(600, 500);
    fillWithNoise(bitmap);
    const QByteArray whole = encodeJpeg(bitmap, 100, 300);
    ASSERT_GT(whole.size(), 1 << 19);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(whole, "JPEG"));
    EXPECT_EQ(decoded.size(), QSize(600, 500));

    QByteArray joined;
    int pieces = 0;
    EXPECT_TRUE(encodeJpeg(bitmap, 100, 300, [&](const char *data, qsizetype size) {
        joined.append(data, size);
        ++pieces;
        return true;
    }));
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(joined, whole);

    // A sink that fails on its second piece (a full disk) gets no more.
    int offered = 0;
    EXPECT_FALSE(
        encodeJpeg(bitmap, 100, 300, [&](const char *, qsizetype) { return ++offered < 2; }));
    EXPECT_EQ(offered, 2);

    TBitmap empty;
    EXPECT_TRUE(encodeJpeg(empty, 100, 300).isEmpty());
}
