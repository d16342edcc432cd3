#include "paint/paintadapter.h"

#include "platform/bitmap.h"
#include "platform/regionmask.h"
#include "render/dpi.h"
#include "render/pointbuffer.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

void setAllApplied(TPenBrush &pb, TColor colour)
{
    TPenBrush::States all;
    all.fill(TPenBrushState::pbSelect);
    pb.setStates(all);
    pb.setPenColor(colour);
    pb.setPenWidthIndex(0);
    pb.setPenStyle(TPenStyle::psSolid);
    pb.setBrushStyle(TBrushStyle::bsClear);
    pb.setOuterPenStyle(TPenStyle::psClear);
}

} // namespace

TPaintAdapter &TPaintAdapter::instance()
{
    static TPaintAdapter adapter;
    return adapter;
}

TPaintAdapter::TPaintAdapter()
{
    setAllApplied(fBoundary, kColorBlack);
    setAllApplied(fErase, kColorWhite);
}

void TPaintAdapter::paramCopyTo_s(
    const QRect &viewRect, TScaleController *controller, int width, int height)
{
    fTransformer.setController(controller);
    fTransformer.setViewRect(viewRect);
    fBitmap->setSize(std::max(width, 0), std::max(height, 0));
    const double dpi = TDpi::current().x;
    fBoundaryWidth
        = std::max(2, int(std::nearbyint(kBoundaryScreenPixels * dpi / TDpi::kScreenDpiX)));
}

void TPaintAdapter::prepareBoundaryPass()
{
    clear();
    TCanvas &c = getCanvas();
    c.setPenColor(kColorBlack);
    c.setCopyMode(TCopyMode::cmSrcCopy);
}

bool TPaintAdapter::fillFromSeed(int x, int y)
{
    return scanlineFill(*fBitmap, x, y, kColorBlack, kFillColour) > 0;
}

void TPaintAdapter::prepareErasePass()
{
    TCanvas &c = getCanvas();
    c.setPenColor(kColorWhite);
    c.setCopyMode(TCopyMode::cmSrcCopy);
}

void TPaintAdapter::buildCoverage(TPaintedArea &grid) const
{
    TBlockCoverage cover = blockCoverage(*fBitmap, kColorWhite, TPaintedArea::kBlock);
    grid.assign(cover.columns, cover.rows, std::move(cover.cells));
    const TUnitTransformer::Mapping m = fTransformer.mapping();
    grid.setMapping(m.sx, m.ox, m.sy, m.oy);
}

void TPaintAdapter::boundaryPen()
{
    TCanvas &c = getCanvas();
    c.setPenWidth(fBoundaryWidth);
    c.setPenStyle(TPenStyle::psSolid);
    c.setBrushStyle(TBrushStyle::bsClear);
}

void TPaintAdapter::drawPolyline(
    TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs, const double *ys)
{
    if (lastIndex <= 0)
        return;
    const TPointBuffer::Points pts = TPointBuffer::convert(fTransformer, offset, lastIndex, xs, ys);
    TCanvas &c = getCanvas();
    pb.applyToCanvas(false, c);
    boundaryPen();
    c.polyline(pts.data, pts.count);
    pb.releasePen(c);
}

void TPaintAdapter::linePx(int x1, int y1, int x2, int y2)
{
    // A segment shorter than a pixel still closes what it touches.
    boundaryPen();
    TCanvas &c = getCanvas();
    c.moveTo(x1, y1);
    c.lineTo(x2, y2);
}

void TPaintAdapter::ellipsePx(int x1, int y1, int x2, int y2)
{
    boundaryPen();
    getCanvas().ellipse(x1, y1, x2, y2);
}

void TPaintAdapter::arcPx(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    boundaryPen();
    getCanvas().arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPaintedArea::resize(int width, int height)
{
    fColumns = width > 0 ? (width + kBlock - 1) / kBlock : 0;
    fRows = height > 0 ? (height + kBlock - 1) / kBlock : 0;
    fCells.assign(size_t(fColumns) * size_t(fRows), false);
}

void TPaintedArea::assign(int columns, int rows, std::vector<bool> cells)
{
    fColumns = columns;
    fRows = rows;
    fCells = std::move(cells);
    fCells.resize(size_t(std::max(columns, 0)) * size_t(std::max(rows, 0)), false);
}

void TPaintedArea::setCell(int px, int py, bool value)
{
    const int i = px / kBlock, j = py / kBlock;
    if (px < 0 || py < 0 || i >= fColumns || j >= fRows)
        return;
    fCells[size_t(j) * size_t(fColumns) + size_t(i)] = value;
}

bool TPaintedArea::getCell(int px, int py) const
{
    const int i = px / kBlock, j = py / kBlock;
    if (px < 0 || py < 0 || i >= fColumns || j >= fRows)
        return false;
    return fCells[size_t(j) * size_t(fColumns) + size_t(i)];
}

void TPaintedArea::setMapping(double sx, double ox, double sy, double oy)
{
    fSx = sx;
    fOx = ox;
    fSy = sy;
    fOy = oy;
}

bool TPaintedArea::isCovered(const TModelPoint &point) const
{
    const double px = fSx * point.x + fOx, py = fSy * point.y + fOy;
    if (!(std::fabs(px) < 1e9 && std::fabs(py) < 1e9))
        return false;
    // Pixels round half away from zero, as the transform does.
    return getCell(int(std::lround(px)), int(std::lround(py)));
}

} // namespace zarno
