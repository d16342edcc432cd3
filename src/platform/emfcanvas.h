#pragma once

#include "platform/canvas.h"

#include <QByteArray>
#include <memory>

namespace zarno {

// A canvas that records its drawing into an enhanced metafile (libEMF). The
// logical units are the image's pixels (300 dpi); the frame is the image's
// physical size in hundredths of a millimetre, and the mapping to libEMF's
// reference device is computed from that device's own size, never from a
// screen. Coordinates are recorded at a sixteenth of a pixel, so glyph
// outlines keep their curves. Text is measured as on a bitmap, so that a
// layout made for the metafile is the one the raster image gets.
class TEmfCanvas final : public TCanvas
{
public:
    // width × height pixels in a frame of frameWidth × frameHeight hundredths of a millimetre.
    TEmfCanvas(int width, int height, int frameWidth, int frameHeight);
    ~TEmfCanvas() override;
    TEmfCanvas(const TEmfCanvas &) = delete;
    TEmfCanvas &operator=(const TEmfCanvas &) = delete;

    // Ends the recording and gives the file's bytes (empty when libEMF
    // failed). The canvas records nothing afterwards.
    QByteArray finish();

    void setPenColor(TColor color) override;
    void setPenWidth(int width) override;
    void setPenStyle(TPenStyle style) override;
    void setGeometricPen(TPenStyle style, int width, TColor color) override;
    void releaseGeometricPen() override;
    TColor penColor() const override;
    int penWidth() const override;
    TPenStyle penStyle() const override;

    void setBrushColor(TColor color) override;
    void setBrushStyle(TBrushStyle style) override;
    TColor brushColor() const override;
    TBrushStyle brushStyle() const override;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void polyline(const QPoint *points, int count) override;
    void polygon(const QPoint *points, int count) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void rectangle(int x1, int y1, int x2, int y2) override;
    void fillRect(const QRect &rect) override;

    void setCopyMode(TCopyMode mode) override;
    TCopyMode copyMode() const override;
    void drawBitmap(int x, int y, const TBitmap &bitmap) override;
    void copyRect(const QRect &dest, const TBitmap &source, const QRect &sourceRect) override;

    // A metafile cannot record clip regions: everything is drawn, and the
    // frame cuts what lies outside the image.
    void setClipRects(const QVector<QRect> &) override { }
    // A metafile records no clip regions: the region's outline is one
    // filled path with the brush (hatched like the bitmap's).
    void fillRegion(const QVector<QRect> &rects) override;
    void clearClip() override { }

    void setFont(const QString &family, int pixelSize, TColor color) override;
    void textOut(int x, int y, const QString &text) override;
    QSize textExtent(const QString &text) override;
    TTextMetric textMetric() override;
    QString fontFamily() const override;
    int fontPixelSize() const override;
    TColor fontColor() const override;
    void drawGlyphText(
        double x, double baseline, const QString &text, const TGlyphFont &font) override;

    // The subdivision of a pixel in recorded coordinates.
    static constexpr int kSub = 16;

private:
    void describeDevice(QByteArray &bytes) const;
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zarno
