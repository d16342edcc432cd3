#pragma once

#include "platform/canvas.h"

#include <QRect>
#include <QVector>
#include <vector>

namespace zarno {

class TBitmap;

// The raster work of region painting, on the bitmap's raw scanlines: a
// per-pixel or recursive fill is far too slow for a 300-dpi image.

// Fills the 4-connected area around (x, y) of pixels whose colour is not
// border with the colour fill, row span by row span. Pixels that already
// have the fill colour count as filled. Nothing happens (0 is returned) when
// the seed lies outside the bitmap or on the border colour; otherwise the
// number of pixels painted.
long long scanlineFill(TBitmap &bitmap, int x, int y, TColor border, TColor fill);

// A region as the rectangles of a mask: for each row, each maximal run of
// pixels whose colour differs from the except colour becomes the rectangle
// (x0, y) to (x1, y + 1); rows top to bottom, runs left to right (the y-x
// sorted form clip regions take).
class TRegion
{
public:
    static TRegion makeRgnFromBitmap(const TBitmap &mask, TColor exceptColour);

    const QVector<QRect> &rects() const { return fRects; }
    bool isEmpty() const { return fRects.isEmpty(); }
    // The number of pixels the rectangles cover.
    long long area() const;

private:
    QVector<QRect> fRects;
};

// Which blocks of block × block pixels hold any pixel other than the except
// colour: cells row by row, columns = ceil(width / block).
struct TBlockCoverage
{
    int columns = 0;
    int rows = 0;
    std::vector<bool> cells;
};
TBlockCoverage blockCoverage(const TBitmap &mask, TColor exceptColour, int block);

} // namespace zarno
