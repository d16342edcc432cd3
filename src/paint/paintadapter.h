#pragma once

#include "base/penbrush.h"
#include "render/imageadapter.h"

namespace zarno {

class TPaintedArea;

// The one off-screen surface on which filled regions are found. Before a
// region is filled on a surface, that surface hands this one its view, scale
// and pixel size, so both map model points to the same pixels; the region's
// boundary curves are drawn here in black, the area around the seed is
// flooded, the boundaries are drawn again in white, and what is left is the
// mask of the region.
//
// Width rule: boundaries are drawn with a pen of a fixed size in millimetres
// (2 screen pixels, 0.56 mm) with round ends, at whatever resolution the
// surface has: 2 pixels on the screen, 7 at 300 dpi. A gap between two
// boundary curves closes exactly when it is narrower than that width, on the
// screen and in an export alike, up to the rounding of one pixel. A fixed
// width in pixels would close a one-pixel screen gap on the screen and let
// the same gap (3.3 pixels at 300 dpi) leak in the export.
class TPaintAdapter : public TImageAdapter
{
public:
    // The flood colour (olive) and the width of boundaries in screen pixels.
    static constexpr TColor kFillColour = 32896;
    static constexpr double kBoundaryScreenPixels = 2;

    static TPaintAdapter &instance();

    QRect getViewrect() const override { return fTransformer.getViewRect(); }
    void paramCopyTo_s(
        const QRect &viewRect, TScaleController *controller, int width, int height) override;

    // White paper for the boundaries.
    void prepareBoundaryPass();
    // Floods from the pixel over everything that is not boundary. False, with
    // nothing painted, when the pixel is outside the bitmap or on a boundary.
    bool fillFromSeed(int x, int y);
    void prepareErasePass();
    // The cells of 8 × 8 pixels the mask touches, with this surface's transform.
    void buildCoverage(TPaintedArea &grid) const;

    TPenBrush &boundaryPenBrush() { return fBoundary; }
    TPenBrush &erasePenBrush() { return fErase; }
    // The boundary pen's width in pixels at the current resolution.
    int boundaryWidth() const { return fBoundaryWidth; }

    void drawPolyline(TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs,
        const double *ys) override;
    // Points and rectangles leave no mark: only curves bound a region.
    void dotPx(int, int) override { }
    void rectanglePx(int, int, int, int) override { }
    void linePx(int x1, int y1, int x2, int y2) override;
    void ellipsePx(int x1, int y1, int x2, int y2) override;
    void arcPx(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;

private:
    TPaintAdapter();
    void boundaryPen();

    TPenBrush fBoundary;
    TPenBrush fErase;
    int fBoundaryWidth = 2;
};

// Which blocks of 8 × 8 pixels of the last screen drawing a region covers,
// with the transform of that drawing, so that picking asks in model units.
class TPaintedArea
{
public:
    static constexpr int kBlock = 8;

    // All cells false.
    void resize(int width, int height);
    void clear() { resize(0, 0); }
    void setCell(int px, int py, bool value);
    // False outside the grid.
    bool getCell(int px, int py) const;
    // The pixel transform px = sx·x + ox, py = sy·y + oy of the drawing.
    void setMapping(double sx, double ox, double sy, double oy);
    bool isCovered(const TModelPoint &point) const;
    int columns() const { return fColumns; }
    int rows() const { return fRows; }
    void assign(int columns, int rows, std::vector<bool> cells);

private:
    int fColumns = 0;
    int fRows = 0;
    std::vector<bool> fCells;
    double fSx = 0, fOx = 0, fSy = 0, fOy = 0;
};

} // namespace zarno
