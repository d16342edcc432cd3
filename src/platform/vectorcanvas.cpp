#include "platform/vectorcanvas.h"

#include "platform/bitmap.h"
#include "platform/glyphoutline.h"
#include "platform/painterpaths.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSvgGenerator>
#include <cmath>

namespace zarno {

namespace {

QColor qtColor(TColor c)
{
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

// The lines of a hatch over the rectangle, each a strip one pixel wide:
// each direction the style has, every kHatchSpacing pixels, on a grid fixed
// to the page so that neighbouring fills line up.
QPainterPath hatchStrips(TBrushStyle style, const QRectF &over)
{
    const int s = TVectorCanvas::kHatchSpacing;
    const bool horizontal = style == TBrushStyle::bsHorizontal || style == TBrushStyle::bsCross;
    const bool vertical = style == TBrushStyle::bsVertical || style == TBrushStyle::bsCross;
    const bool forward = style == TBrushStyle::bsFDiagonal || style == TBrushStyle::bsDiagCross;
    const bool backward = style == TBrushStyle::bsBDiagonal || style == TBrushStyle::bsDiagCross;
    const double l = std::floor(over.left() / s) * s - s, t = std::floor(over.top() / s) * s - s;
    const double r = over.right() + s, b = over.bottom() + s;
    const double h = b - t, half = 0.5, slant = half * M_SQRT2;
    QPainterPath strips;
    strips.setFillRule(Qt::WindingFill);
    auto strip = [&](QPointF a, QPointF c, QPointF offset) {
        strips.addPolygon(QPolygonF { a - offset, c - offset, c + offset, a + offset, a - offset });
    };
    if (horizontal)
        for (double y = t; y <= b; y += s)
            strip({ l, y }, { r, y }, { 0, half });
    if (vertical)
        for (double x = l; x <= r; x += s)
            strip({ x, t }, { x, b }, { half, 0 });
    // Diagonals through the grid points, "\" and "/".
    if (forward)
        for (double x = l - h; x <= r; x += s)
            strip({ x, t }, { x + h, b }, { slant, 0 });
    if (backward)
        for (double x = l; x <= r + h; x += s)
            strip({ x, t }, { x - h, b }, { slant, 0 });
    return strips;
}

// Qt keeps a page's size in whole points (a third of a millimetre), and a
// worksheet figure must have its exact size: the page box is written again
// with the exact size, in place and at the same length so that the file's
// offsets stay valid. The drawing is flipped about the whole-point height,
// so the exact page reaches below the origin rather than above the top.
void writeExactPageBox(QByteArray &pdf, double widthMm, double heightMm)
{
    const QByteArray key = "/MediaBox [";
    const qsizetype at = pdf.indexOf(key);
    const qsizetype end = at < 0 ? -1 : pdf.indexOf(']', at);
    if (end < 0)
        return;
    const qsizetype from = at + key.size();
    const QList<QByteArray> numbers = pdf.mid(from, end - from).simplified().split(' ');
    bool ok = numbers.size() == 4;
    const double top = ok ? numbers[3].toDouble(&ok) : 0;
    if (!ok)
        return;
    const double w = widthMm / 25.4 * 72, h = heightMm / 25.4 * 72;
    for (int decimals = 6; decimals >= 2; --decimals) {
        QByteArray box = "0 " + QByteArray::number(top - h, 'f', decimals) + ' '
            + QByteArray::number(w, 'f', decimals) + ' ' + QByteArray::number(top, 'g', 12);
        if (box.size() <= end - from) {
            box.append(QByteArray(end - from - box.size(), ' '));
            pdf.replace(from, end - from, box);
            return;
        }
    }
}

} // namespace

struct TVectorCanvas::Impl
{
    struct Pen
    {
        TColor color = kColorBlack;
        int width = 1;
        TPenStyle style = TPenStyle::psSolid;
    };

    QBuffer buffer;
    std::unique_ptr<QSvgGenerator> svg;
    std::unique_ptr<QPdfWriter> pdf;
    std::unique_ptr<QPainter> painter;
    bool drawing = false;
    double widthMm = 0;
    double heightMm = 0;

    Pen pen;
    Pen geometricPen;
    bool geometric = false;
    TColor brushColor = kColorWhite;
    TBrushStyle brushStyle = TBrushStyle::bsSolid;
    TCopyMode copyMode = TCopyMode::cmSrcCopy;
    QPoint pos;

    TBitmap measure { 1, 1 };
    QString fontFamily;
    int fontPixelSize = 12;
    TColor fontColor = kColorBlack;

    const Pen &activePen() const { return geometric ? geometricPen : pen; }
    bool penVisible() const { return activePen().style != TPenStyle::psClear; }

    QPen qtPen() const
    {
        const Pen &p = activePen();
        return painterPen(p.color, p.width, p.style);
    }

    // Shapes in the pixel rule: a pixel's centre lies at +0.5 in the file.
    QPainter &shapes()
    {
        painter->setTransform(QTransform::fromTranslate(0.5, 0.5) * base);
        return *painter;
    }
    QPainter &pixels()
    {
        painter->setTransform(base);
        return *painter;
    }
    // From 300-dpi pixels to the device's units.
    QTransform base;

    // Fills the path with the brush: a solid fill, or the hatch's lines in
    // the brush colour clipped to the path.
    void fill(const QPainterPath &path)
    {
        if (brushStyle == TBrushStyle::bsClear || path.isEmpty())
            return;
        QPainter &p = *painter;
        if (brushStyle == TBrushStyle::bsSolid) {
            p.fillPath(path, qtColor(brushColor));
            return;
        }
        // The strips cut to the shape rather than clipped: Qt's SVG writer
        // records no clipping, and a plain filled area looks the same in
        // every viewer.
        p.fillPath(
            hatchStrips(brushStyle, path.boundingRect()).intersected(path), qtColor(brushColor));
    }

    void outline(const QPainterPath &path)
    {
        if (!penVisible())
            return;
        painter->strokePath(path, qtPen());
    }

    void image(const QRect &dest, const QImage &source, const QRect &sourceRect)
    {
        if (!drawing || source.isNull() || dest.isEmpty() || sourceRect.isEmpty())
            return;
        QPainter &p = pixels();
        // White is transparent on white paper: an AND copy leaves out white.
        if (copyMode == TCopyMode::cmSrcAnd) {
            QImage part = source.copy(sourceRect).convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < part.height(); ++y) {
                auto *line = reinterpret_cast<QRgb *>(part.scanLine(y));
                for (int x = 0; x < part.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                        line[x] = 0;
            }
            p.drawImage(dest, part);
        } else {
            p.drawImage(dest, source, sourceRect);
        }
    }
};

TVectorCanvas::TVectorCanvas(Format format, int width, int height, double widthMm, double heightMm)
    : d(std::make_unique<Impl>())
{
    setFontResolution(300);
    if (width < 1 || height < 1 || !(widthMm > 0) || !(heightMm > 0))
        return;
    d->buffer.open(QIODevice::WriteOnly);
    d->widthMm = widthMm;
    d->heightMm = heightMm;
    if (format == Format::Svg) {
        d->svg = std::make_unique<QSvgGenerator>();
        d->svg->setOutputDevice(&d->buffer);
        // The width and height attributes in hundredths of a millimetre
        // (2540 units an inch), the drawing in pixels through the view box.
        d->svg->setResolution(2540);
        d->svg->setSize(QSize(int(std::lround(widthMm * 100)), int(std::lround(heightMm * 100))));
        d->svg->setViewBox(QRect(0, 0, width, height));
        d->svg->setTitle(QStringLiteral("zarno"));
        d->svg->setDescription(QString());
        d->painter = std::make_unique<QPainter>();
        d->drawing = d->painter->begin(d->svg.get());
    } else {
        d->pdf = std::make_unique<QPdfWriter>(&d->buffer);
        d->pdf->setResolution(300);
        d->pdf->setPageLayout(
            QPageLayout(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter, QString(),
                            QPageSize::ExactMatch),
                QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        d->pdf->setCreator(QStringLiteral("zarno"));
        d->painter = std::make_unique<QPainter>();
        d->drawing = d->painter->begin(d->pdf.get());
        // Should the writer keep another resolution than asked, one unit
        // of drawing stays one 300-dpi pixel.
        const double k = d->pdf->resolution() / 300.0;
        d->base = QTransform::fromScale(k, k);
    }
}

TVectorCanvas::~TVectorCanvas()
{
    finish();
}

QByteArray TVectorCanvas::finish()
{
    if (!d->painter)
        return {};
    const bool ok = d->drawing && d->painter->end();
    const bool pdf = d->pdf != nullptr;
    d->painter.reset();
    d->svg.reset();
    d->pdf.reset();
    d->drawing = false;
    d->buffer.close();
    if (!ok)
        return {};
    QByteArray bytes = d->buffer.data();
    if (pdf)
        writeExactPageBox(bytes, d->widthMm, d->heightMm);
    return bytes;
}

void TVectorCanvas::setPenColor(TColor color)
{
    d->geometric = false;
    d->pen.color = color;
}
void TVectorCanvas::setPenWidth(int width)
{
    d->geometric = false;
    d->pen.width = width;
}
void TVectorCanvas::setPenStyle(TPenStyle style)
{
    d->geometric = false;
    d->pen.style = style;
}
void TVectorCanvas::setGeometricPen(TPenStyle style, int width, TColor color)
{
    d->geometricPen = { color, width, style };
    d->geometric = true;
}
void TVectorCanvas::releaseGeometricPen()
{
    d->geometric = false;
}
TColor TVectorCanvas::penColor() const
{
    return d->pen.color;
}
int TVectorCanvas::penWidth() const
{
    return d->pen.width;
}
TPenStyle TVectorCanvas::penStyle() const
{
    return d->pen.style;
}
void TVectorCanvas::setBrushColor(TColor color)
{
    d->brushColor = color;
}
void TVectorCanvas::setBrushStyle(TBrushStyle style)
{
    d->brushStyle = style;
}
TColor TVectorCanvas::brushColor() const
{
    return d->brushColor;
}
TBrushStyle TVectorCanvas::brushStyle() const
{
    return d->brushStyle;
}

void TVectorCanvas::moveTo(int x, int y)
{
    d->pos = QPoint(x, y);
}

void TVectorCanvas::lineTo(int x, int y)
{
    if (d->drawing) {
        QPainterPath path(d->pos);
        path.lineTo(x, y);
        d->shapes();
        d->outline(path);
    }
    d->pos = QPoint(x, y);
}

void TVectorCanvas::polyline(const QPoint *points, int count)
{
    if (!d->drawing || count < 2)
        return;
    QPainterPath path(points[0]);
    for (int i = 1; i < count; ++i)
        path.lineTo(points[i]);
    d->shapes();
    d->outline(path);
}

void TVectorCanvas::polygon(const QPoint *points, int count)
{
    if (!d->drawing || count < 2)
        return;
    QPainterPath path(points[0]);
    for (int i = 1; i < count; ++i)
        path.lineTo(points[i]);
    path.closeSubpath();
    path.setFillRule(Qt::OddEvenFill);
    d->shapes();
    d->fill(path);
    d->outline(path);
}

void TVectorCanvas::ellipse(int x1, int y1, int x2, int y2)
{
    if (!d->drawing)
        return;
    QPainterPath path;
    path.addEllipse(boxOf(x1, y1, x2, y2));
    d->shapes();
    d->fill(path);
    d->outline(path);
}

void TVectorCanvas::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!d->drawing)
        return;
    d->shapes();
    d->outline(arcPath(boxOf(x1, y1, x2, y2), x3, y3, x4, y4));
}

void TVectorCanvas::rectangle(int x1, int y1, int x2, int y2)
{
    if (!d->drawing)
        return;
    QPainterPath path;
    path.addRect(boxOf(x1, y1, x2, y2));
    d->shapes();
    d->fill(path);
    d->outline(path);
}

void TVectorCanvas::fillRect(const QRect &rect)
{
    if (!d->drawing || rect.isEmpty())
        return;
    QPainterPath path;
    path.addRect(QRectF(rect.normalized()));
    d->pixels();
    d->fill(path);
}

void TVectorCanvas::setCopyMode(TCopyMode mode)
{
    d->copyMode = mode;
}
TCopyMode TVectorCanvas::copyMode() const
{
    return d->copyMode;
}

void TVectorCanvas::drawBitmap(int x, int y, const TBitmap &bitmap)
{
    d->image(QRect(x, y, bitmap.width(), bitmap.height()), bitmap.image(),
        QRect(0, 0, bitmap.width(), bitmap.height()));
}

void TVectorCanvas::copyRect(const QRect &dest, const TBitmap &source, const QRect &sourceRect)
{
    d->image(dest, source.image(), sourceRect);
}

void TVectorCanvas::setClipRects(const QVector<QRect> &rects)
{
    if (!d->drawing)
        return;
    d->pixels().setClipRegion(regionOf(rects));
}

void TVectorCanvas::clearClip()
{
    if (d->drawing)
        d->painter->setClipping(false);
}

void TVectorCanvas::fillRegion(const QVector<QRect> &rects)
{
    if (!d->drawing || rects.isEmpty())
        return;
    const QPainterPath outline = regionOutline(rects);
    d->pixels();
    d->fill(outline);
}

void TVectorCanvas::setFont(const QString &family, int pixelSize, TColor color)
{
    d->measure.canvas().setFont(family, pixelSize, color);
    d->fontFamily = family;
    d->fontPixelSize = pixelSize;
    d->fontColor = color;
}

void TVectorCanvas::textOut(int x, int y, const QString &text)
{
    if (!d->drawing || text.isEmpty())
        return;
    QFont font(d->fontFamily);
    font.setPixelSize(std::max(1, d->fontPixelSize));
    QPainter &p = d->pixels();
    p.setFont(font);
    p.setPen(qtColor(d->fontColor));
    // The top-left of the text's cell at (x, y), as measured on a bitmap.
    p.drawText(QPointF(x, y + d->measure.canvas().textMetric().ascent), text);
}

QSize TVectorCanvas::textExtent(const QString &text)
{
    return d->measure.canvas().textExtent(text);
}
TTextMetric TVectorCanvas::textMetric()
{
    return d->measure.canvas().textMetric();
}
QString TVectorCanvas::fontFamily() const
{
    return d->fontFamily;
}
int TVectorCanvas::fontPixelSize() const
{
    return d->fontPixelSize;
}
TColor TVectorCanvas::fontColor() const
{
    return d->fontColor;
}

void TVectorCanvas::drawGlyphText(
    double x, double baseline, const QString &text, const TGlyphFont &font)
{
    if (!d->drawing)
        return;
    const QPainterPath path = glyphRunArea(x, baseline, text, font);
    if (path.isEmpty())
        return;
    d->pixels().fillPath(path, qtColor(font.color));
}

} // namespace zarno
