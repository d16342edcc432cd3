#pragma once

#include "platform/canvas.h"

#include <QByteArray>
#include <memory>

namespace zarno {

// A canvas that records its drawing as a vector file: SVG or PDF. The
// drawing units are the image's pixels (300 dpi) and the page is the
// image's physical size, so a file placed in a worksheet at its own size
// shows the figure at the size it was exported at. Typeset glyphs are
// recorded as filled outlines (the file needs no Computer Modern fonts);
// other text stays text with its font's name. Hatched fills are recorded as
// the hatch's lines cut to the shape, so every viewer shows the same hatch;
// clip rectangles are kept in PDF only (Qt's SVG writer has none). Text is
// measured as on a bitmap, so that a layout made for the file is the one the
// raster image gets.
class TVectorCanvas final : public TCanvas
{
public:
    enum class Format { Svg, Pdf };

    // width × height pixels on a page of widthMm × heightMm millimetres.
    TVectorCanvas(Format format, int width, int height, double widthMm, double heightMm);
    ~TVectorCanvas() override;
    TVectorCanvas(const TVectorCanvas &) = delete;
    TVectorCanvas &operator=(const TVectorCanvas &) = delete;

    // Ends the recording and gives the file's bytes (empty when the file
    // could not be made). The canvas records nothing afterwards.
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

    void setClipRects(const QVector<QRect> &rects) override;
    void clearClip() override;
    // The region's outline filled with the brush: a shape, not a clip, so
    // that every viewer shows the same area and hatch.
    void fillRegion(const QVector<QRect> &rects) override;

    void setFont(const QString &family, int pixelSize, TColor color) override;
    void textOut(int x, int y, const QString &text) override;
    QSize textExtent(const QString &text) override;
    TTextMetric textMetric() override;
    QString fontFamily() const override;
    int fontPixelSize() const override;
    TColor fontColor() const override;
    void drawGlyphText(
        double x, double baseline, const QString &text, const TGlyphFont &font) override;

    // The distance of hatch lines in pixels, as on a bitmap.
    static constexpr int kHatchSpacing = 8;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zarno
