#pragma once

#include "platform/canvas.h"

#include <QBrush>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QRegion>
#include <QVector>

namespace zarno {

// What the canvases that draw through QPainter share, so that the bitmap
// and the vector files draw the same pens, hatches and arcs.

// Dash patterns in units of the pen width. One-pixel pens use long dashes
// so that the pattern stays readable; wide pens scale theirs with the width.
QList<qreal> dashPattern(TPenStyle style, bool wide);
// Solid wide pens end and join round; dashed ones end flat.
QPen painterPen(TColor color, int width, TPenStyle style);
Qt::BrushStyle qtBrushStyle(TBrushStyle style);
QRegion regionOf(const QVector<QRect> &rects);
// The outline of the union of pixel rectangles (y-x sorted, not
// overlapping, as a mask's runs are): closed polygons along the pixel
// edges, holes included, for the odd-even rule.
QPainterPath regionOutline(const QVector<QRect> &rects);
// The box of the pixel rule: its outline passes through the pixels x1, x2,
// y1 and y2 themselves.
QRectF boxOf(int x1, int y1, int x2, int y2);
// The arc of the ellipse in the box, counter-clockwise from the radial
// through (x3, y3) to the radial through (x4, y4); radials that point the
// same way make the whole ellipse.
QPainterPath arcPath(const QRectF &box, int x3, int y3, int x4, int y4);

} // namespace zarno
