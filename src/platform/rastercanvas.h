#pragma once

#include "platform/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QRegion>
#include <memory>
#include <optional>

namespace zarno {

namespace raster {
struct TPixelTarget;
}

// The canvas of a bitmap. Aliased 1-pixel solid outlines (lines, polylines,
// rectangles, ellipses and arcs) are drawn by our own rasterizer straight into
// the RGB32 scanlines, which is an order of magnitude faster than QPainter's
// raster engine for such lines; everything else (wide and styled pens, fills,
// hatches, text, bitmap copies, antialiasing) goes through one QPainter that
// stays open on the image while it keeps its size.
class TRasterCanvas final : public TCanvas
{
public:
    explicit TRasterCanvas(QImage *image);
    ~TRasterCanvas() override;

    // Before the image is replaced or resized, and before reading it elsewhere
    // through a painter of one's own.
    void endPainting();

    void setPenColor(TColor color) override;
    void setPenWidth(int width) override;
    void setPenStyle(TPenStyle style) override;
    void setGeometricPen(TPenStyle style, int width, TColor color) override;
    void releaseGeometricPen() override;
    TColor penColor() const override { return fPen.color; }
    int penWidth() const override { return fPen.width; }
    TPenStyle penStyle() const override { return fPen.style; }

    void setBrushColor(TColor color) override;
    void setBrushStyle(TBrushStyle style) override;
    TColor brushColor() const override { return fBrushColor; }
    TBrushStyle brushStyle() const override { return fBrushStyle; }

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void polyline(const QPoint *points, int count) override;
    void polygon(const QPoint *points, int count) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void rectangle(int x1, int y1, int x2, int y2) override;
    void fillRect(const QRect &rect) override;
    // Straight into the scanlines, with the brush's 8 × 8 pattern fixed to
    // the bitmap's origin as QPainter lays it: exact pixels, no clip state,
    // and fast enough for a 300-dpi region.
    void fillRegion(const QVector<QRect> &rects) override;

    void setCopyMode(TCopyMode mode) override { fCopyMode = mode; }
    TCopyMode copyMode() const override { return fCopyMode; }
    void drawBitmap(int x, int y, const TBitmap &bitmap) override;
    void copyRect(const QRect &dest, const TBitmap &source, const QRect &sourceRect) override;

    void setClipRects(const QVector<QRect> &rects) override;
    void clearClip() override;

    void setFont(const QString &family, int pixelSize, TColor color) override;
    void textOut(int x, int y, const QString &text) override;
    QSize textExtent(const QString &text) override;
    TTextMetric textMetric() override;
    QString fontFamily() const override { return fFontFamily; }
    int fontPixelSize() const override { return fFontPixelSize; }
    TColor fontColor() const override { return fFontColor; }
    void drawGlyphText(
        double x, double baseline, const QString &text, const TGlyphFont &font) override;

    void setAntialiasing(bool on) override;
    bool antialiasing() const override { return fAntialiasing; }

private:
    struct Pen
    {
        TColor color = kColorBlack;
        int width = 1;
        TPenStyle style = TPenStyle::psSolid;
    };
    enum class Geometry { Pixels, Shapes };

    const Pen &activePen() const { return fGeometric ? fGeometricPen : fPen; }
    bool penVisible() const { return activePen().style != TPenStyle::psClear; }
    bool brushVisible() const { return fBrushStyle != TBrushStyle::bsClear; }
    // Whether the outline goes to our own rasterizer: solid 1-pixel pens
    // (fastOutline) and solid wide pens (wideOutline).
    bool fastOutline() const;
    bool wideOutline() const;
    // A line of the active solid pen: thin or wide by its width.
    void plotLine(const raster::TPixelTarget &t, int x0, int y0, int x1, int y1) const;
    // Fills the inside of an ellipse or polygon with the brush: our own spans
    // for a solid brush, QPainter for hatches.
    void fillEllipseWithBrush(int x1, int y1, int x2, int y2);
    bool pixelTarget(raster::TPixelTarget &target);
    QPainter &painter(Geometry geometry);
    QPen qtPen() const;
    QBrush qtBrush() const;
    void outlineLine(int x0, int y0, int x1, int y1);
    void copyImage(const QRect &dest, const QImage &source, const QRect &sourceRect);
    // The font set last, made on first use and kept: typesetting switches
    // between a few fonts for every glyph it measures, and making a font and
    // its metrics costs more than the measuring.
    struct FontEntry
    {
        QFont font;
        QFontMetrics metrics;
        TTextMetric metric;
        explicit FontEntry(const QFont &f);
    };
    const FontEntry &currentFont();
    // The font at that em size, loaded once: making a raw font of a new size
    // builds a font engine, which costs more than drawing a whole formula.
    const QRawFont &rawFont(const QString &family, double pixelSize);

    QImage *fImage;
    std::unique_ptr<QPainter> fPainter;
    Geometry fPainterGeometry = Geometry::Pixels;

    Pen fPen;
    Pen fGeometricPen;
    bool fGeometric = false;
    TColor fBrushColor = kColorWhite;
    TBrushStyle fBrushStyle = TBrushStyle::bsSolid;
    TCopyMode fCopyMode = TCopyMode::cmSrcCopy;
    QPoint fPos;

    QVector<QRect> fClipRects;
    QRect fClipBounds;
    bool fClipped = false;

    QString fFontFamily;
    int fFontPixelSize = 12;
    const FontEntry *fCurrentFont = nullptr;
    QHash<QPair<QString, int>, std::shared_ptr<const FontEntry>> fFonts;
    TColor fFontColor = kColorBlack;
    QHash<QPair<QString, double>, QRawFont> fRawFonts;
    bool fAntialiasing = false;
};

// Qt's colour of a 32-bit colour value (red in the low byte).
inline QRgb toQRgb(TColor c)
{
    return qRgb(colorRed(c), colorGreen(c), colorBlue(c));
}
inline TColor fromQRgb(QRgb c)
{
    return makeColor(qRed(c), qGreen(c), qBlue(c));
}

} // namespace zarno
