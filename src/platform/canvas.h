#pragma once

#include "core/enums.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>
#include <cstdint>

namespace zarno {

// A colour as 32 bits with red in the low byte, green next and blue above it.
using TColor = std::uint32_t;
constexpr TColor kColorBlack = 0x000000;
constexpr TColor kColorWhite = 0xFFFFFF;
constexpr TColor kColorRed = 0x0000FF;

constexpr int colorRed(TColor c)
{
    return int(c & 0xFF);
}
constexpr int colorGreen(TColor c)
{
    return int((c >> 8) & 0xFF);
}
constexpr int colorBlue(TColor c)
{
    return int((c >> 16) & 0xFF);
}
constexpr TColor makeColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

enum class TCopyMode { cmSrcCopy, cmSrcAnd };

struct TTextMetric
{
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
};

class TBitmap;

// How a run of typeset text is drawn. The pixel size is the em in pixels and
// may be fractional, so that glyphs come out exactly as wide as the metrics
// they were laid out with.
struct TGlyphFont
{
    QString family;
    double pixelSize = 0;
    TColor color = kColorBlack;
    // The run is stretched about its origin: tall delimiters are glyphs
    // drawn taller (and somewhat wider) than the font has them.
    double scaleX = 1;
    double scaleY = 1;
    bool bold = false;
    bool underline = false;
    // True: each character is drawn by the glyph the font's own character map
    // gives it, with no shaping and no fallback to another font. The
    // mathematics fonts put symbols on codes that text layout drops or
    // replaces (0xAD, the soft hyphen, is an Omega). False: the text is laid
    // out as text, with fallback for characters the font lacks.
    bool characterMapOnly = true;
};

// The drawing operations every surface uses, in pixels (y downwards). The
// raster implementation draws on a QImage; a metafile canvas records them.
// Nothing here exposes a Qt Gui type, so the model draws headless.
//
// Pixel rules: a pixel coordinate names the pixel's centre. A line covers
// both of its end pixels; an ellipse, arc or rectangle in the box (x1, y1) to
// (x2, y2) has its outline through the pixels x1, x2, y1 and y2 themselves.
// Pens are aliased unless antialiasing is switched on.
class TCanvas
{
public:
    virtual ~TCanvas() = default;

    // Pen: colour, width in pixels and style. A geometric pen keeps the dash
    // pattern of a wide styled line, with flat caps.
    virtual void setPenColor(TColor color) = 0;
    virtual void setPenWidth(int width) = 0;
    virtual void setPenStyle(TPenStyle style) = 0;
    // A pen that overrides the one set above until it is released; setting
    // the colour, width or style in between also ends it.
    virtual void setGeometricPen(TPenStyle style, int width, TColor color) = 0;
    virtual void releaseGeometricPen() = 0;
    virtual TColor penColor() const = 0;
    virtual int penWidth() const = 0;
    virtual TPenStyle penStyle() const = 0;

    virtual void setBrushColor(TColor color) = 0;
    virtual void setBrushStyle(TBrushStyle style) = 0;
    virtual TColor brushColor() const = 0;
    virtual TBrushStyle brushStyle() const = 0;

    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    virtual void polyline(const QPoint *points, int count) = 0;
    virtual void polygon(const QPoint *points, int count) = 0;
    // Ellipse inscribed in the box (x1, y1)-(x2, y2), filled with the brush.
    virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
    // Arc of the ellipse in the box, counter-clockwise from the radial through
    // (x3, y3) to the radial through (x4, y4).
    virtual void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void fillRect(const QRect &rect) = 0;

    // The raster operation of bitmap copies: plain copy, or AND with what is
    // there (white is transparent on white paper).
    virtual void setCopyMode(TCopyMode mode) = 0;
    virtual TCopyMode copyMode() const = 0;
    virtual void drawBitmap(int x, int y, const TBitmap &bitmap) = 0;
    virtual void copyRect(const QRect &dest, const TBitmap &source, const QRect &sourceRect) = 0;

    virtual void setClipRects(const QVector<QRect> &rects) = 0;
    virtual void clearClip() = 0;
    // Fills the union of the rectangles (a region found on a mask) with the
    // brush, without an outline. Surfaces that record no clipping override
    // it with a filled outline of the region.
    virtual void fillRegion(const QVector<QRect> &rects)
    {
        QRect bounds;
        for (const QRect &r : rects)
            bounds |= r;
        if (bounds.isEmpty())
            return;
        setClipRects(rects);
        fillRect(bounds);
        clearClip();
    }

    // Text on a transparent background with the top-left of its cell at (x, y).
    virtual void setFont(const QString &family, int pixelSize, TColor color) = 0;
    virtual void textOut(int x, int y, const QString &text) = 0;
    virtual QSize textExtent(const QString &text) = 0;
    virtual TTextMetric textMetric() = 0;
    virtual QString fontFamily() const = 0;
    virtual int fontPixelSize() const = 0;
    virtual TColor fontColor() const = 0;

    // Typeset text: the run starts at x on the baseline, each glyph following
    // the previous one by its advance. A vector surface can record the same
    // run as glyph outlines.
    virtual void drawGlyphText(
        double x, double baseline, const QString &text, const TGlyphFont &font)
        = 0;

    // Pixels per inch of font sizes given in points: 96 on the screen, the
    // image's resolution on an image export.
    int fontResolution() const { return fFontResolution; }
    void setFontResolution(int pixelsPerInch) { fFontResolution = pixelsPerInch; }

    // Smooth edges for the screen; off by default so pixel rules hold exactly.
    virtual void setAntialiasing(bool) { }
    virtual bool antialiasing() const { return false; }

private:
    int fFontResolution = 96;
};

} // namespace zarno
