#include "platform/painterpaths.h"

#include <QColor>
#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

// Qt's arc angle (degrees, counter-clockwise as seen) of the ellipse point on
// the radial through (x, y): the parameter of the point, not its polar angle.
qreal parametricDegrees(const QRectF &box, int x, int y)
{
    const qreal a = box.width() / 2, b = box.height() / 2;
    qreal u = x - box.center().x(), v = box.center().y() - y;
    if (u == 0 && v == 0)
        u = 1;
    const qreal t = std::atan2(b > 0 ? v / b : v, a > 0 ? u / a : u);
    return t * 180 / M_PI;
}

} // namespace

QList<qreal> dashPattern(TPenStyle style, bool wide)
{
    switch (style) {
    case TPenStyle::psDash: return wide ? QList<qreal> { 4, 2 } : QList<qreal> { 18, 6 };
    case TPenStyle::psDot: return wide ? QList<qreal> { 1, 2 } : QList<qreal> { 3, 3 };
    case TPenStyle::psDashDot:
        return wide ? QList<qreal> { 4, 2, 1, 2 } : QList<qreal> { 9, 6, 3, 6 };
    case TPenStyle::psDashDotDot:
        return wide ? QList<qreal> { 4, 2, 1, 2, 1, 2 } : QList<qreal> { 9, 3, 3, 3, 3, 3 };
    case TPenStyle::psSolid:
    case TPenStyle::psClear: break;
    }
    return {};
}

QPen painterPen(TColor color, int width, TPenStyle style)
{
    if (style == TPenStyle::psClear)
        return QPen(Qt::NoPen);
    width = std::max(1, width);
    QPen pen(QColor(colorRed(color), colorGreen(color), colorBlue(color)), width);
    if (style == TPenStyle::psSolid) {
        pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
        pen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    } else {
        pen.setDashPattern(dashPattern(style, width > 1));
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

Qt::BrushStyle qtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::bsSolid: return Qt::SolidPattern;
    case TBrushStyle::bsClear: return Qt::NoBrush;
    case TBrushStyle::bsHorizontal: return Qt::HorPattern;
    case TBrushStyle::bsVertical: return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal: return Qt::BDiagPattern;
    case TBrushStyle::bsCross: return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::NoBrush;
}

QRegion regionOf(const QVector<QRect> &rects)
{
    QRegion r;
    r.setRects(rects.constData(), int(rects.size()));
    return r;
}

QPainterPath regionOutline(const QVector<QRect> &rects)
{
    QPainterPath path;
    if (rects.isEmpty())
        return path;
    // The region merges rows with equal runs into one rectangle, which
    // leaves the simplification far fewer edges to join.
    path.addRegion(regionOf(rects));
    return path.simplified();
}

QRectF boxOf(int x1, int y1, int x2, int y2)
{
    return QRectF(
        QPointF(std::min(x1, x2), std::min(y1, y2)), QPointF(std::max(x1, x2), std::max(y1, y2)));
}

QPainterPath arcPath(const QRectF &box, int x3, int y3, int x4, int y4)
{
    const qreal start = parametricDegrees(box, x3, y3);
    qreal sweep = parametricDegrees(box, x4, y4) - start;
    while (sweep <= 0)
        sweep += 360;
    const qreal cx = box.center().x(), cy = box.center().y();
    const qreal su = x3 - cx, sv = cy - y3, eu = x4 - cx, ev = cy - y4;
    if (su * ev - sv * eu == 0 && su * eu + sv * ev > 0)
        sweep = 360;
    QPainterPath path;
    path.arcMoveTo(box, start);
    path.arcTo(box, start, sweep);
    return path;
}

} // namespace zarno
