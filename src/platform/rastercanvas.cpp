#include "platform/rastercanvas.h"

#include "platform/bitmap.h"
#include "platform/glyphoutline.h"
#include "platform/painterpaths.h"
#include "platform/rasterizer.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace zarno {

namespace {

// Whether our rasterizer's integer arithmetic covers these coordinates.
bool inRasterRange(std::initializer_list<int> coords)
{
    for (int c : coords)
        if (c < -raster::kMaxCoordinate || c > raster::kMaxCoordinate)
            return false;
    return true;
}

} // namespace

TRasterCanvas::TRasterCanvas(QImage *image)
    : fImage(image)
{ }

TRasterCanvas::~TRasterCanvas()
{
    endPainting();
}

void TRasterCanvas::endPainting()
{
    fPainter.reset();
}

void TRasterCanvas::setPenColor(TColor color)
{
    fGeometric = false;
    fPen.color = color;
}

void TRasterCanvas::setPenWidth(int width)
{
    fGeometric = false;
    fPen.width = width;
}

void TRasterCanvas::setPenStyle(TPenStyle style)
{
    fGeometric = false;
    fPen.style = style;
}

void TRasterCanvas::setGeometricPen(TPenStyle style, int width, TColor color)
{
    fGeometricPen = { color, width, style };
    fGeometric = true;
}

void TRasterCanvas::releaseGeometricPen()
{
    fGeometric = false;
}

void TRasterCanvas::setBrushColor(TColor color)
{
    fBrushColor = color;
}

void TRasterCanvas::setBrushStyle(TBrushStyle style)
{
    fBrushStyle = style;
}

bool TRasterCanvas::fastOutline() const
{
    const Pen &p = activePen();
    return !fAntialiasing && p.style == TPenStyle::psSolid && p.width <= 1;
}

bool TRasterCanvas::wideOutline() const
{
    const Pen &p = activePen();
    return !fAntialiasing && p.style == TPenStyle::psSolid && p.width > 1;
}

void TRasterCanvas::plotLine(const raster::TPixelTarget &t, int x0, int y0, int x1, int y1) const
{
    const int width = activePen().width;
    if (width > 1)
        raster::wideLine(t, x0, y0, x1, y1, width);
    else
        raster::line(t, x0, y0, x1, y1);
}

void TRasterCanvas::fillEllipseWithBrush(int x1, int y1, int x2, int y2)
{
    if (!brushVisible())
        return;
    if (fBrushStyle == TBrushStyle::bsSolid) {
        raster::TPixelTarget t;
        if (pixelTarget(t)) {
            t.color = toQRgb(fBrushColor);
            raster::fillEllipse(t, x1, y1, x2, y2);
        }
        return;
    }
    QPainter &p = painter(Geometry::Shapes);
    p.setPen(Qt::NoPen);
    p.setBrush(qtBrush());
    p.drawEllipse(boxOf(x1, y1, x2, y2));
}

bool TRasterCanvas::pixelTarget(raster::TPixelTarget &target)
{
    if (fImage->isNull())
        return false;
    target.bits = reinterpret_cast<std::uint32_t *>(fImage->bits());
    target.stride = fImage->bytesPerLine() / 4;
    target.bounds = fImage->rect();
    if (fClipped) {
        target.bounds &= fClipBounds;
        if (fClipRects.size() > 1)
            target.rects = &fClipRects;
    }
    target.color = toQRgb(activePen().color);
    return true;
}

QPainter &TRasterCanvas::painter(Geometry geometry)
{
    if (!fPainter) {
        fPainter = std::make_unique<QPainter>(fImage);
        fPainter->setRenderHint(QPainter::Antialiasing, fAntialiasing);
        if (fClipped)
            fPainter->setClipRegion(regionOf(fClipRects));
        fPainterGeometry = Geometry::Pixels;
    }
    if (geometry != fPainterGeometry) {
        // Shapes: QPainter's pixel centres lie at +0.5, ours at the integers.
        fPainter->setTransform(
            geometry == Geometry::Shapes ? QTransform::fromTranslate(0.5, 0.5) : QTransform());
        fPainterGeometry = geometry;
    }
    return *fPainter;
}

QPen TRasterCanvas::qtPen() const
{
    const Pen &p = activePen();
    return painterPen(p.color, p.width, p.style);
}

QBrush TRasterCanvas::qtBrush() const
{
    return QBrush(QColor(toQRgb(fBrushColor)), qtBrushStyle(fBrushStyle));
}

void TRasterCanvas::moveTo(int x, int y)
{
    fPos = QPoint(x, y);
}

void TRasterCanvas::lineTo(int x, int y)
{
    outlineLine(fPos.x(), fPos.y(), x, y);
    fPos = QPoint(x, y);
}

void TRasterCanvas::outlineLine(int x0, int y0, int x1, int y1)
{
    if (!penVisible() || fImage->isNull())
        return;
    if ((fastOutline() || wideOutline()) && inRasterRange({ x0, y0, x1, y1 })) {
        raster::TPixelTarget t;
        if (pixelTarget(t))
            plotLine(t, x0, y0, x1, y1);
        return;
    }
    QPainter &p = painter(Geometry::Shapes);
    p.setPen(qtPen());
    p.setBrush(Qt::NoBrush);
    p.drawLine(x0, y0, x1, y1);
}

void TRasterCanvas::polyline(const QPoint *points, int count)
{
    if (count < 2 || !penVisible() || fImage->isNull())
        return;
    bool inRange = true;
    for (int i = 0; i < count && inRange; ++i)
        inRange = inRasterRange({ points[i].x(), points[i].y() });
    if ((fastOutline() || wideOutline()) && inRange) {
        // A solid pen's round joins are its round ends overlapping, so the
        // lines can go one by one.
        raster::TPixelTarget t;
        if (pixelTarget(t))
            for (int i = 1; i < count; ++i)
                plotLine(t, points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
        return;
    }
    // One path, so that a dash pattern runs on across the corners.
    QPainter &p = painter(Geometry::Shapes);
    p.setPen(qtPen());
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(points, count);
}

void TRasterCanvas::polygon(const QPoint *points, int count)
{
    if (count < 2 || fImage->isNull())
        return;
    bool inRange = true;
    for (int i = 0; i < count && inRange; ++i)
        inRange = inRasterRange({ points[i].x(), points[i].y() });
    if (!(fastOutline() || wideOutline()) || !inRange) {
        QPainter &p = painter(Geometry::Shapes);
        p.setPen(qtPen());
        p.setBrush(brushVisible() ? qtBrush() : QBrush(Qt::NoBrush));
        p.drawPolygon(points, count, Qt::OddEvenFill);
        return;
    }
    if (brushVisible()) {
        QPainter &p = painter(Geometry::Shapes);
        p.setPen(Qt::NoPen);
        p.setBrush(qtBrush());
        p.drawPolygon(points, count, Qt::OddEvenFill);
    }
    raster::TPixelTarget t;
    if (pixelTarget(t))
        for (int i = 0; i < count; ++i) {
            const QPoint &a = points[i];
            const QPoint &b = points[(i + 1) % count];
            plotLine(t, a.x(), a.y(), b.x(), b.y());
        }
}

void TRasterCanvas::ellipse(int x1, int y1, int x2, int y2)
{
    if (fImage->isNull())
        return;
    const bool inRange = inRasterRange({ x1, y1, x2, y2 });
    if (wideOutline() && inRange) {
        // Pen and solid fill in one pass over the rows.
        raster::TPixelTarget t;
        if (!pixelTarget(t))
            return;
        const bool solidFill = fBrushStyle == TBrushStyle::bsSolid;
        if (!solidFill)
            fillEllipseWithBrush(x1, y1, x2, y2);
        raster::wideEllipse(t, x1, y1, x2, y2, activePen().width, solidFill, toQRgb(fBrushColor));
        return;
    }
    if ((fastOutline() || !penVisible()) && inRange) {
        fillEllipseWithBrush(x1, y1, x2, y2);
        raster::TPixelTarget t;
        if (penVisible() && pixelTarget(t))
            raster::ellipse(t, x1, y1, x2, y2);
        return;
    }
    QPainter &p = painter(Geometry::Shapes);
    p.setPen(qtPen());
    p.setBrush(brushVisible() ? qtBrush() : QBrush(Qt::NoBrush));
    p.drawEllipse(boxOf(x1, y1, x2, y2));
}

void TRasterCanvas::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!penVisible() || fImage->isNull())
        return;
    if ((fastOutline() || wideOutline()) && inRasterRange({ x1, y1, x2, y2, x3, y3, x4, y4 })) {
        raster::TPixelTarget t;
        if (!pixelTarget(t))
            return;
        if (fastOutline())
            raster::arc(t, x1, y1, x2, y2, x3, y3, x4, y4);
        else
            raster::wideArc(t, x1, y1, x2, y2, activePen().width, x3, y3, x4, y4);
        return;
    }
    const QPainterPath path = arcPath(boxOf(x1, y1, x2, y2), x3, y3, x4, y4);
    QPainter &p = painter(Geometry::Shapes);
    p.setPen(qtPen());
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void TRasterCanvas::rectangle(int x1, int y1, int x2, int y2)
{
    if (fImage->isNull())
        return;
    const QRectF box = boxOf(x1, y1, x2, y2);
    if (!fastOutline() || !inRasterRange({ x1, y1, x2, y2 })) {
        QPainter &p = painter(Geometry::Shapes);
        p.setPen(qtPen());
        p.setBrush(brushVisible() ? qtBrush() : QBrush(Qt::NoBrush));
        p.drawRect(box);
        return;
    }
    if (brushVisible()) {
        QPainter &p = painter(Geometry::Shapes);
        p.setPen(Qt::NoPen);
        p.setBrush(qtBrush());
        p.drawRect(box);
    }
    raster::TPixelTarget t;
    if (pixelTarget(t)) {
        const int l = int(box.left()), r = int(box.right()), top = int(box.top()),
                  b = int(box.bottom());
        raster::line(t, l, top, r, top);
        raster::line(t, r, top, r, b);
        raster::line(t, r, b, l, b);
        raster::line(t, l, b, l, top);
    }
}

void TRasterCanvas::fillRect(const QRect &rect)
{
    if (!brushVisible() || fImage->isNull())
        return;
    if (fBrushStyle == TBrushStyle::bsSolid && !fClipped && !fAntialiasing) {
        const QRect r = rect.normalized() & fImage->rect();
        if (r.isEmpty())
            return;
        const QRgb c = toQRgb(fBrushColor);
        if (r == fImage->rect()) {
            fImage->fill(c);
            return;
        }
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(fImage->scanLine(y));
            std::fill(line + r.left(), line + r.right() + 1, c);
        }
        return;
    }
    painter(Geometry::Pixels).fillRect(rect, qtBrush());
}

void TRasterCanvas::fillRegion(const QVector<QRect> &rects)
{
    if (!brushVisible() || fImage->isNull() || rects.isEmpty())
        return;
    // Which pixels of an 8 × 8 tile the brush paints: QPainter's own hatch,
    // so a region looks like every other hatched shape.
    bool pattern[8][8];
    if (fBrushStyle == TBrushStyle::bsSolid) {
        for (auto &row : pattern)
            std::fill(std::begin(row), std::end(row), true);
    } else {
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(Qt::white);
        {
            QPainter p(&tile);
            p.fillRect(QRect(0, 0, 8, 8), QBrush(Qt::black, qtBrushStyle(fBrushStyle)));
        }
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pattern[y][x] = (tile.pixel(x, y) & 0xFFFFFF) == 0;
    }
    const QRgb c = toQRgb(fBrushColor);
    const QRect bounds = fImage->rect();
    for (const QRect &rect : rects) {
        const QRect r = rect & bounds;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(fImage->scanLine(y));
            const bool *tileRow = pattern[y & 7];
            if (fBrushStyle == TBrushStyle::bsSolid) {
                std::fill(line + r.left(), line + r.right() + 1, c);
                continue;
            }
            for (int x = r.left(); x <= r.right(); ++x)
                if (tileRow[x & 7])
                    line[x] = c;
        }
    }
}

void TRasterCanvas::copyImage(const QRect &dest, const QImage &source, const QRect &sourceRect)
{
    if (fImage->isNull() || source.isNull() || dest.isEmpty())
        return;
    QPainter &p = painter(Geometry::Pixels);
    p.setCompositionMode(fCopyMode == TCopyMode::cmSrcAnd ? QPainter::RasterOp_SourceAndDestination
                                                          : QPainter::CompositionMode_Source);
    // A copy within one image must read the pixels as they were before.
    if (&source == fImage)
        p.drawImage(dest, source.copy(sourceRect));
    else
        p.drawImage(dest, source, sourceRect);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TRasterCanvas::drawBitmap(int x, int y, const TBitmap &bitmap)
{
    if (bitmap.isEmpty())
        return;
    const QRect r(0, 0, bitmap.width(), bitmap.height());
    copyImage(r.translated(x, y), bitmap.image(), r);
}

void TRasterCanvas::copyRect(const QRect &dest, const TBitmap &source, const QRect &sourceRect)
{
    copyImage(dest, source.image(), sourceRect);
}

void TRasterCanvas::setClipRects(const QVector<QRect> &rects)
{
    fClipRects = rects;
    fClipBounds = QRect();
    for (const QRect &r : rects)
        fClipBounds |= r;
    fClipped = true;
    if (fPainter)
        fPainter->setClipRegion(regionOf(rects));
}

void TRasterCanvas::clearClip()
{
    fClipped = false;
    fClipRects.clear();
    // A painter whose clipping was switched off ignored the next clip region
    // it was given (the next clipped fill covered the clip's whole bounding
    // box): the next drawing opens a fresh painter instead.
    endPainting();
}

TRasterCanvas::FontEntry::FontEntry(const QFont &f)
    : font(f)
    , metrics(f)
{
    metric.height = metrics.height();
    metric.ascent = metrics.ascent();
    metric.descent = metrics.descent();
    metric.internalLeading = std::max(0, metrics.height() - font.pixelSize());
    metric.externalLeading = std::max(0, metrics.leading());
    metric.averageCharWidth = metrics.averageCharWidth();
    metric.maxCharWidth = metrics.maxWidth();
}

void TRasterCanvas::setFont(const QString &family, int pixelSize, TColor color)
{
    fFontColor = color;
    pixelSize = std::max(1, pixelSize);
    if (fCurrentFont && pixelSize == fFontPixelSize && family == fFontFamily)
        return;
    fFontFamily = family;
    fFontPixelSize = pixelSize;
    fCurrentFont = nullptr;
}

const TRasterCanvas::FontEntry &TRasterCanvas::currentFont()
{
    if (fCurrentFont)
        return *fCurrentFont;
    const QPair<QString, int> key(fFontFamily, fFontPixelSize);
    auto it = fFonts.constFind(key);
    if (it == fFonts.constEnd()) {
        if (fFonts.size() >= 64)
            fFonts.clear();
        QFont font(fFontFamily);
        font.setPixelSize(fFontPixelSize);
        it = fFonts.insert(key, std::make_shared<const FontEntry>(font));
    }
    fCurrentFont = it->get();
    return *fCurrentFont;
}

void TRasterCanvas::textOut(int x, int y, const QString &text)
{
    if (fImage->isNull() || text.isEmpty())
        return;
    const FontEntry &f = currentFont();
    QPainter &p = painter(Geometry::Pixels);
    p.setFont(f.font);
    p.setPen(QColor(toQRgb(fFontColor)));
    p.setBrush(Qt::NoBrush);
    p.drawText(QPoint(x, y + f.metrics.ascent()), text);
}

QSize TRasterCanvas::textExtent(const QString &text)
{
    const QFontMetrics &fm = currentFont().metrics;
    return QSize(fm.horizontalAdvance(text), fm.height());
}

TTextMetric TRasterCanvas::textMetric()
{
    return currentFont().metric;
}

const QRawFont &TRasterCanvas::rawFont(const QString &family, double pixelSize)
{
    const QPair<QString, double> key(family, pixelSize);
    auto it = fRawFonts.constFind(key);
    if (it != fRawFonts.constEnd())
        return *it;
    // Sizes come from a few levels of a few base sizes; a drawing that cycles
    // through many more (a zoom) starts the cache afresh.
    if (fRawFonts.size() >= 64)
        fRawFonts.clear();
    return *fRawFonts.insert(key, glyphRawFont(family, pixelSize));
}

void TRasterCanvas::drawGlyphText(
    double x, double baseline, const QString &text, const TGlyphFont &font)
{
    if (fImage->isNull() || text.isEmpty() || !(font.pixelSize > 0) || !(font.scaleX > 0)
        || !(font.scaleY > 0))
        return;
    QPainter &p = painter(Geometry::Pixels);
    p.setPen(QColor(toQRgb(font.color)));
    p.setBrush(Qt::NoBrush);
    p.setTransform(QTransform(font.scaleX, 0, 0, font.scaleY, x, baseline));
    // Synthetic bold: the run once more, a hair to the right.
    const qreal boldOffset = std::max(1.0, font.pixelSize / 24) / font.scaleX;
    if (font.characterMapOnly) {
        const QRawFont &raw = rawFont(font.family, font.pixelSize);
        if (raw.isValid()) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(text);
            const QList<QPointF> advances
                = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
            QList<QPointF> positions(glyphs.size());
            QPointF pen(0, 0);
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                positions[i] = pen;
                pen += advances.value(i);
            }
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            run.setUnderline(font.underline);
            p.drawGlyphRun(QPointF(0, 0), run);
            if (font.bold)
                p.drawGlyphRun(QPointF(boldOffset, 0), run);
        }
    } else {
        QFont qfont(font.family);
        qfont.setPixelSize(std::max(1, int(std::lround(font.pixelSize))));
        qfont.setUnderline(font.underline);
        qfont.setBold(font.bold);
        p.setFont(qfont);
        p.drawText(QPointF(0, 0), text);
    }
    p.setTransform(QTransform());
}

void TRasterCanvas::setAntialiasing(bool on)
{
    fAntialiasing = on;
    if (fPainter)
        fPainter->setRenderHint(QPainter::Antialiasing, on);
}

} // namespace zarno
