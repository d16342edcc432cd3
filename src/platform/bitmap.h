#pragma once

#include "platform/canvas.h"

#include <QString>
#include <memory>

class QImage;

namespace zarno {

class TRasterCanvas;

// An off-screen picture of 32-bit pixels (RGB32) with its canvas. A new or
// resized bitmap is white. Plain C++ to its users; the pixels are a QImage
// inside the platform layer.
class TBitmap
{
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap &) = delete;
    TBitmap &operator=(const TBitmap &) = delete;

    int width() const;
    int height() const;
    bool isEmpty() const { return width() <= 0 || height() <= 0; }
    // A new size discards the picture (white again); the same size keeps it.
    // The canvas keeps its pen, brush and font.
    void setSize(int width, int height);
    TCanvas &canvas();

    TColor pixel(int x, int y) const;
    // Draws an SVG picture (a file or a resource path) over the whole bitmap
    // on white; false, and white, when it cannot be read.
    bool renderSvg(const QString &fileName);
    // Writes the picture in the format its suffix names (png, bmp, ...).
    bool saveToFile(const QString &fileName) const;

    // A copy of the pixels that later drawing does not change.
    QImage toImage() const;
    // The live pixels, for the platform layer's own readers (views, copies).
    // Never keep a copy of it: the canvas goes on writing into this buffer.
    const QImage &image() const;
    // The same pixels for the platform layer's own writers (the region
    // fill), which write scanlines directly rather than through the canvas.
    QImage &writableImage();

private:
    std::unique_ptr<QImage> fImage;
    std::unique_ptr<TRasterCanvas> fCanvas;
};

} // namespace zarno
