#include "render/imageadapter.h"

#include "base/penbrush.h"
#include "core/exceptions.h"
#include "model/geometry/segmentclip.h"
#include "platform/bitmap.h"
#include "platform/regionmask.h"
#include "render/dpi.h"
#include "render/pointbuffer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zarno {

namespace {

const QString kClass = QStringLiteral("TImageAdapter");
constexpr double kMaxRadius = 10000;

// Applies a pen-brush for the length of one primitive and releases its pen
// afterwards, also when the drawing raises.
class TAppliedPenBrush
{
public:
    TAppliedPenBrush(TPenBrush &pb, bool forOutput, TCanvas &canvas, bool wide = false)
        : fPb(pb)
        , fCanvas(canvas)
    {
        if (wide)
            pb.applyToCanvasWide(forOutput, canvas);
        else
            pb.applyToCanvas(forOutput, canvas);
    }
    ~TAppliedPenBrush() { fPb.releasePen(fCanvas); }
    TAppliedPenBrush(const TAppliedPenBrush &) = delete;
    TAppliedPenBrush &operator=(const TAppliedPenBrush &) = delete;

private:
    TPenBrush &fPb;
    TCanvas &fCanvas;
};

// Pixel coordinates up to this far from the origin are drawn as they are;
// further away the transform would clamp them one by one (to ±10001), which
// bends the direction of a segment and the shape of a circle.
constexpr double kSafePixel = 10000;

struct TPixelF
{
    double x, y;
};

bool inSafeSquare(const TPixelF &p)
{
    return std::fabs(p.x) <= kSafePixel && std::fabs(p.y) <= kSafePixel;
}

// Cuts p–q to the safe square; false when nothing is left. keptEnd tells
// whether q itself was kept.
bool clipToSafeSquare(TPixelF &p, TPixelF &q, bool *keptEnd = nullptr)
{
    const std::optional<TSegmentPart> part = clipSegmentToBox(
        { p.x, p.y }, { q.x, q.y }, TClipBox { -kSafePixel, kSafePixel, -kSafePixel, kSafePixel });
    if (!part)
        return false;
    const double dx = q.x - p.x, dy = q.y - p.y;
    const TPixelF a { p.x + part->t0 * dx, p.y + part->t0 * dy },
        b { p.x + part->t1 * dx, p.y + part->t1 * dy };
    if (keptEnd)
        *keptEnd = part->t1 == 1;
    p = a;
    q = b;
    return true;
}

QPoint toPixelPoint(const TPixelF &p)
{
    return QPoint(TUnitTransformer::toPixel(p.x, "modelToPixelX"),
        TUnitTransformer::toPixel(p.y, "modelToPixelY"));
}

} // namespace

TImageAdapter::TImageAdapter()
    : fBitmap(std::make_unique<TBitmap>())
{ }

TImageAdapter::~TImageAdapter() = default;

TCanvas &TImageAdapter::getCanvas()
{
    return fBitmap->canvas();
}

QRect TImageAdapter::getViewrect() const
{
    throw ESouteigai(kClass, QStringLiteral("getViewrect"));
}

void TImageAdapter::fitToView()
{
    const QRect r = getViewrect();
    fTransformer.setViewRect(r);
    fBitmap->setSize(r.width(), r.height());
}

void TImageAdapter::clear()
{
    TCanvas &c = getCanvas();
    c.setBrushColor(kColorWhite);
    c.setBrushStyle(TBrushStyle::bsSolid);
    c.fillRect(QRect(0, 0, fBitmap->width(), fBitmap->height()));
}

void TImageAdapter::paramCopyTo(TAbstractImageAdapter &other)
{
    other.paramCopyTo_s(
        fTransformer.getViewRect(), fTransformer.controller(), fBitmap->width(), fBitmap->height());
}

void TImageAdapter::paramCopyTo_s(const QRect &, TScaleController *, int, int)
{
    throw ESouteigai(kClass, QStringLiteral("paramCopyTo_s"));
}

std::unique_ptr<TPenBrush> TImageAdapter::outlinePenBrush(const TPenBrush &pb)
{
    std::unique_ptr<TPenBrush> outline = pb.clone();
    outline->setBrushStyle(TBrushStyle::bsClear);
    outline->setState(TPenBrush::aBrushStyle, TPenBrushState::pbSelect);
    return outline;
}

void TImageAdapter::drawSegment(TPenBrush &pb, double x1, double y1, double x2, double y2)
{
    if (!pb.isPenVisible())
        return;
    const TUnitTransformer::Mapping m = fTransformer.mapping();
    TPixelF p { m.sx * x1 + m.ox, m.sy * y1 + m.oy }, q { m.sx * x2 + m.ox, m.sy * y2 + m.oy };
    QPoint p1 = toPixelPoint(p), p2 = toPixelPoint(q); // refuses NaN
    const bool finite
        = std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(q.x) && std::isfinite(q.y);
    if (finite && (!inSafeSquare(p) || !inSafeSquare(q))) {
        // Cut the segment where it leaves the square, keeping its direction.
        if (!clipToSafeSquare(p, q))
            return;
        p1 = toPixelPoint(p);
        p2 = toPixelPoint(q);
    }
    TAppliedPenBrush applied(pb, forOutput(), getCanvas());
    linePx(p1.x(), p1.y(), p2.x(), p2.y());
}

void TImageAdapter::drawPolyline(
    TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs, const double *ys)
{
    if (lastIndex <= 0)
        return;
    const TPointBuffer::Points pts = TPointBuffer::convert(fTransformer, offset, lastIndex, xs, ys);
    TCanvas &c = getCanvas();
    TAppliedPenBrush applied(pb, forOutput(), c);
    c.setBrushStyle(TBrushStyle::bsClear);
    c.polyline(pts.data, pts.count);
}

void TImageAdapter::drawPolygon(
    TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs, const double *ys)
{
    if (lastIndex <= 0)
        return;
    const TPointBuffer::Points pts = TPointBuffer::convert(fTransformer, offset, lastIndex, xs, ys);
    TCanvas &c = getCanvas();
    TAppliedPenBrush applied(pb, forOutput(), c);
    c.polygon(pts.data, pts.count);
}

void TImageAdapter::drawDot(TPenBrush &pb, double x, double y)
{
    const QPoint p = fTransformer.modelToPixel({ x, y });
    TAppliedPenBrush applied(pb, forOutput(), getCanvas(), true);
    dotPx(p.x(), p.y());
}

void TImageAdapter::drawCircle(TPenBrush &pb, double cx, double cy, double r)
{
    if (TCheckZeroInfinity::isZero(r) || r > kMaxRadius)
        return;
    if (r < 0)
        throw ESouteigai(
            kClass, QStringLiteral("円の半径は正でなければなりません。"), QStringLiteral("circle"));
    drawOutlineEllipse(pb, cx, cy, r, r);
}

void TImageAdapter::drawEllipse(TPenBrush &pb, double cx, double cy, double a, double b)
{
    // Either semi-axis may be the degenerate or the huge one.
    if (TCheckZeroInfinity::isZero(a) || TCheckZeroInfinity::isZero(b) || a > kMaxRadius
        || b > kMaxRadius)
        return;
    if (a < 0 || b < 0)
        throw ESouteigai(kClass, QStringLiteral("楕円の長軸,短軸の長さは正でなければなりません。"),
            QStringLiteral("ellipse"));
    drawOutlineEllipse(pb, cx, cy, a, b);
}

void TImageAdapter::drawOutlineEllipse(TPenBrush &pb, double cx, double cy, double a, double b)
{
    const QPoint p1 = fTransformer.modelToPixel({ cx - a, cy + b });
    const QPoint p2 = fTransformer.modelToPixel({ cx + a, cy - b });
    std::unique_ptr<TPenBrush> outline = outlinePenBrush(pb);
    TAppliedPenBrush applied(*outline, forOutput(), getCanvas());
    if (!boxInSafeRange(cx, cy, a, b)) {
        drawConicSampled(cx, cy, a, b, 0, 2 * M_PI);
        return;
    }
    ellipsePx(p1.x(), p1.y(), p2.x(), p2.y());
}

void TImageAdapter::drawArc(
    TPenBrush &pb, double cx, double cy, double r, double x1, double y1, double x2, double y2)
{
    if (TCheckZeroInfinity::isZero(r) || r > kMaxRadius)
        return;
    if (!pb.isPenVisible())
        return;
    if (r < 0)
        throw ESouteigai(
            kClass, QStringLiteral("円の半径は正でなければなりません。"), QStringLiteral("arc"));
    const QPoint b1 = fTransformer.modelToPixel({ cx - r, cy + r });
    const QPoint b2 = fTransformer.modelToPixel({ cx + r, cy - r });
    const QPoint s = fTransformer.modelToPixel({ x1, y1 });
    const QPoint e = fTransformer.modelToPixel({ x2, y2 });
    std::unique_ptr<TPenBrush> outline = outlinePenBrush(pb);
    TAppliedPenBrush applied(*outline, forOutput(), getCanvas());
    if (!boxInSafeRange(cx, cy, r, r)) {
        // Counter-clockwise from the first radial to the second; the same
        // radial twice is the whole circle, as on the canvas.
        const double t0 = std::atan2(y1 - cy, x1 - cx);
        const double u1 = x1 - cx, v1 = y1 - cy, u2 = x2 - cx, v2 = y2 - cy;
        double sweep = std::atan2(y2 - cy, x2 - cx) - t0;
        while (sweep <= 0)
            sweep += 2 * M_PI;
        if (u1 * v2 - v1 * u2 == 0 && u1 * u2 + v1 * v2 > 0)
            sweep = 2 * M_PI;
        drawConicSampled(cx, cy, r, r, t0, sweep);
        return;
    }
    arcPx(b1.x(), b1.y(), b2.x(), b2.y(), s.x(), s.y(), e.x(), e.y());
}

bool TImageAdapter::boxInSafeRange(double cx, double cy, double a, double b) const
{
    const TUnitTransformer::Mapping m = fTransformer.mapping();
    const TPixelF corners[2] = { { m.sx * (cx - a) + m.ox, m.sy * (cy + b) + m.oy },
        { m.sx * (cx + a) + m.ox, m.sy * (cy - b) + m.oy } };
    return inSafeSquare(corners[0]) && inSafeSquare(corners[1]);
}

void TImageAdapter::drawConicSampled(
    double cx, double cy, double a, double b, double t0, double sweep)
{
    const TUnitTransformer::Mapping m = fTransformer.mapping();
    // Steps whose chords stay within 0.2 pixels of the curve.
    const double radius = std::max(a * std::fabs(m.sx), b * std::fabs(m.sy));
    const double step = 2 * std::sqrt(2 * 0.2 / radius);
    const int n = int(std::clamp(std::ceil(sweep / step), 8.0, 400000.0));
    auto at = [&](int i) {
        const double t = t0 + sweep * i / n;
        return TPixelF { m.sx * (cx + a * std::cos(t)) + m.ox,
            m.sy * (cy + b * std::sin(t)) + m.oy };
    };
    TCanvas &c = getCanvas();
    std::vector<QPoint> run;
    const auto flush = [&] {
        if (run.size() >= 2)
            c.polyline(run.data(), int(run.size()));
        run.clear();
    };
    TPixelF prev = at(0);
    for (int i = 1; i <= n; ++i) {
        const TPixelF next = at(i);
        TPixelF p = prev, q = next;
        bool keptEnd = false;
        if (!clipToSafeSquare(p, q, &keptEnd)) {
            flush();
        } else {
            const QPoint start = toPixelPoint(p);
            if (run.empty() || run.back() != start) {
                flush();
                run.push_back(start);
            }
            run.push_back(toPixelPoint(q));
            if (!keptEnd)
                flush();
        }
        prev = next;
    }
    flush();
}

void TImageAdapter::drawRectangle(TPenBrush &pb, double x1, double y1, double x2, double y2)
{
    const QPoint p1 = fTransformer.modelToPixel({ x1, y1 });
    const QPoint p2 = fTransformer.modelToPixel({ x2, y2 });
    TAppliedPenBrush applied(pb, forOutput(), getCanvas());
    rectanglePx(p1.x(), p1.y(), p2.x(), p2.y());
}

void TImageAdapter::floodFill(const TBitmap &mask, TPenBrush &pb, double, double)
{
    // The mask was drawn at this surface's size and scale, so its pixels are
    // this surface's: the brush covers exactly its non-white pixels. A fill
    // from the seed inside that clip would give the same; the region needs
    // no seed.
    const TRegion region = TRegion::makeRgnFromBitmap(mask, kColorWhite);
    if (region.isEmpty())
        return;
    TCanvas &c = getCanvas();
    TAppliedPenBrush applied(pb, forOutput(), c);
    c.fillRegion(region.rects());
}

void TImageAdapter::drawArrowHead(TPenBrush &pb, double tipX, double tipY, double vx, double vy)
{
    const QPoint tip = fTransformer.modelToPixel({ tipX, tipY });
    const double length = TDpi::mmToPixels(kArrowHeadMm);
    const TUnitTransformer::Mapping m = fTransformer.mapping();
    double dx = m.sx * vx, dy = m.sy * vy;
    const double norm = std::hypot(dx, dy);
    // An arrow without a direction has no head.
    if (!(norm > 0) || !std::isfinite(norm))
        return;
    dx *= length / norm;
    dy *= length / norm;
    const double c = std::cos(kArrowWingAngle), s = std::sin(kArrowWingAngle);
    auto at = [&](double ox, double oy) {
        return QPoint(roundToInt32(tip.x() + ox, "drawArrowHead"),
            roundToInt32(tip.y() + oy, "drawArrowHead"));
    };
    const QPoint points[4] = {
        tip,
        at(dx * c - dy * s, dx * s + dy * c),
        at(-0.7 * dx, -0.7 * dy),
        at(dx * c + dy * s, -dx * s + dy * c),
    };
    std::unique_ptr<TPenBrush> solid = pb.clone();
    solid->setPenStyle(TPenStyle::psSolid);
    // The head is always filled with the brush, also where the kind of arrow
    // does not offer the brush style for editing.
    solid->setState(TPenBrush::aBrushStyle, TPenBrushState::pbSelect);
    TCanvas &canvas = getCanvas();
    TAppliedPenBrush applied(*solid, forOutput(), canvas);
    canvas.polygon(points, 4);
}

TModelViewRect TImageAdapter::textExtentToModel(const TPixelSized &box)
{
    return { 0, 0, box.pixelWidth() / fTransformer.pixelsPerModelX(),
        -box.pixelHeight() / fTransformer.pixelsPerModelY() };
}

void TImageAdapter::drawBitmap(const TBitmap &bmp, double x, double y)
{
    const QPoint p = fTransformer.modelToPixel({ x, y });
    TCanvas &c = getCanvas();
    const TCopyMode saved = c.copyMode();
    c.setCopyMode(TCopyMode::cmSrcAnd);
    c.drawBitmap(p.x(), p.y(), bmp);
    c.setCopyMode(saved);
}

void TImageAdapter::drawBitmapOffsetPx(
    const TBitmap &bmp, const TModelPoint &point, const QPoint &offset)
{
    drawBitmapOffsetPxReal(bmp, point, TModelPoint { double(offset.x()), double(offset.y()) });
}

void TImageAdapter::drawBitmapOffsetPxReal(
    const TBitmap &bmp, const TModelPoint &point, const TModelPoint &offset)
{
    const TModelPoint mpp = getModelPerPixel();
    drawBitmap(bmp, point.x + offset.x * mpp.x, point.y - offset.y * mpp.y);
}

void TImageAdapter::copyWindowFrom(const TBitmap &bmp, int cx, int cy)
{
    const int hw = fTransformer.width() / 2, hh = fTransformer.height() / 2;
    const QRect source(cx - hw, cy - hh, 2 * hw, 2 * hh);
    TCanvas &c = getCanvas();
    const TCopyMode saved = c.copyMode();
    c.setCopyMode(TCopyMode::cmSrcAnd);
    c.copyRect(fTransformer.getViewRect(), bmp, source);
    c.setCopyMode(saved);
}

void TImageAdapter::copyFromBitmap(const TBitmap &bmp)
{
    TCanvas &c = getCanvas();
    const TCopyMode saved = c.copyMode();
    c.setCopyMode(TCopyMode::cmSrcAnd);
    c.copyRect(fTransformer.getViewRect(), bmp, QRect(0, 0, bmp.width(), bmp.height()));
    c.setCopyMode(saved);
}

TModelPoint TImageAdapter::pixelToModel(int px, int py) const
{
    return { fTransformer.pixelToModelX(px), fTransformer.pixelToModelY(py) };
}

void TImageAdapter::dotPx(int x, int y)
{
    TCanvas &c = getCanvas();
    const int w = c.penWidth();
    c.setPenWidth(2);
    c.setBrushStyle(TBrushStyle::bsSolid);
    c.ellipse(x - w, y - w, x + w, y + w);
    c.setPenWidth(w);
}

void TImageAdapter::linePx(int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    TCanvas &c = getCanvas();
    c.setBrushStyle(TBrushStyle::bsClear);
    c.moveTo(x1, y1);
    c.lineTo(x2, y2);
}

void TImageAdapter::rectanglePx(int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    TCanvas &c = getCanvas();
    c.setBrushStyle(TBrushStyle::bsClear);
    c.rectangle(x1, y1, x2, y2);
}

void TImageAdapter::ellipsePx(int x1, int y1, int x2, int y2)
{
    getCanvas().ellipse(x1, y1, x2, y2);
}

void TImageAdapter::arcPx(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    getCanvas().arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

} // namespace zarno
