#pragma once

#include "core/valuetypes.h"
#include "platform/canvas.h"

#include <QPoint>
#include <QRect>

namespace zarno {

class TPenBrush;
class TBitmap;
class TScaleController;

// What a surface draws for: the screen, or an image file ("printer").
enum class TViewerType : quint16 { Screen = 0, Printer = 1 };

// The model's drawing state: why the field is being drawn. Loci decide
// from it when to record and when to rebuild their layer.
enum class TCurrentDrawStatus : quint16 {
    Ordinary = 0,
    Dragging = 1, // a point or label is being dragged
    Scrolling = 2,
    FullRefresh = 3,
    ZoomStep = 4,
    DocumentChanged = 5, // delete, trace erase, end of a drag, property change
};

// What every draw call carries: the drawing state and the front flag of the
// two draw passes (points are drawn in front).
struct TDrawStatus
{
    TCurrentDrawStatus value = TCurrentDrawStatus::Ordinary;
    bool front = false;
};

// The visible part of the model: top is the larger y.
struct TModelViewRect
{
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// A laid-out box that knows its pixel size (typeset text, labels).
class TPixelSized
{
public:
    virtual ~TPixelSized() = default;
    virtual int pixelWidth() const = 0;
    virtual int pixelHeight() const = 0;
};

// A drawing surface as the shapes see it: model coordinates in, pixels out,
// the shape's pen-brush applied around each primitive. The screen, image
// exports, the region painter and the locus layer implement it.
class TAbstractImageAdapter
{
public:
    virtual ~TAbstractImageAdapter() = default;

    TViewerType FViewerType = TViewerType::Screen;
    // While 1, shapes visible in edit mode only are hidden.
    quint8 FPreview = 0;

    bool isOutput() const { return FViewerType == TViewerType::Printer; }

    virtual void prepareDraw() { }
    virtual void finishDraw() { }
    virtual void flush() = 0;
    virtual void fitToView() = 0;
    virtual void clear() = 0;
    // Hands this surface's view rectangle, controller and bitmap size to other.
    virtual void paramCopyTo(TAbstractImageAdapter &other) = 0;
    virtual void paramCopyTo_s(
        const QRect &viewRect, TScaleController *controller, int width, int height)
        = 0;

    // Model coordinates. Polylines and polygons take the points 0 .. lastIndex
    // (lastIndex + 1 of them), each moved by the offset; lastIndex 0 draws nothing.
    virtual void drawSegment(TPenBrush &pb, double x1, double y1, double x2, double y2) = 0;
    virtual void drawPolyline(
        TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs, const double *ys)
        = 0;
    virtual void drawPolygon(
        TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs, const double *ys)
        = 0;
    virtual void drawDot(TPenBrush &pb, double x, double y) = 0;
    virtual void drawCircle(TPenBrush &pb, double cx, double cy, double r) = 0;
    virtual void drawEllipse(TPenBrush &pb, double cx, double cy, double a, double b) = 0;
    // Counter-clockwise from the radial through (x1, y1) to the one through (x2, y2).
    virtual void drawArc(
        TPenBrush &pb, double cx, double cy, double r, double x1, double y1, double x2, double y2)
        = 0;
    virtual void drawRectangle(TPenBrush &pb, double x1, double y1, double x2, double y2) = 0;
    virtual void floodFill(const TBitmap &mask, TPenBrush &pb, double x, double y) = 0;
    // A filled head with its tip at the point, pointing along (vx, vy).
    virtual void drawArrowHead(TPenBrush &pb, double tipX, double tipY, double vx, double vy) = 0;
    // (0, 0, w/ppmX, −h/ppmY) for a box of w × h pixels.
    virtual TModelViewRect textExtentToModel(const TPixelSized &box) = 0;
    // AND copies: white is transparent on white paper.
    virtual void drawBitmap(const TBitmap &bmp, double x, double y) = 0;
    virtual void drawBitmapOffsetPx(
        const TBitmap &bmp, const TModelPoint &point, const QPoint &offset)
        = 0;
    virtual void drawBitmapOffsetPxReal(
        const TBitmap &bmp, const TModelPoint &point, const TModelPoint &offset)
        = 0;
    virtual void copyWindowFrom(const TBitmap &bmp, int cx, int cy) = 0;
    virtual void copyFromBitmap(const TBitmap &bmp) = 0;

    virtual bool isInView(int px, int py) const = 0;
    virtual QRect getViewrect() const = 0;
    virtual TModelViewRect getModelViewRect() const = 0;
    virtual TCanvas &getCanvas() = 0;
    virtual TModelPoint getModelPerPixel() const = 0;
    virtual TModelPoint mmToModel(const TModelPoint &mm) const = 0;
    virtual TModelPoint modelToMm(const TModelPoint &model) const = 0;
    virtual TModelPoint pixelToModel(int px, int py) const = 0;
    virtual TModelPoint pointToModel(const QPoint &p) const = 0;
    virtual QPoint modelToPixel(const TModelPoint &p) const = 0;
    virtual TModelPoint pixelVectorToModel(const QPoint &v) const = 0;

    // Pixel coordinates, with whatever pen and brush the canvas has.
    // A disc of radius equal to the pen width, drawn with a 2-pixel pen and a
    // solid brush; the pen width is restored, the brush stays solid.
    virtual void dotPx(int x, int y) = 0;
    // Nothing when the two points are equal.
    virtual void linePx(int x1, int y1, int x2, int y2) = 0;
    // Nothing when the two corners are equal.
    virtual void rectanglePx(int x1, int y1, int x2, int y2) = 0;
    virtual void ellipsePx(int x1, int y1, int x2, int y2) = 0;
    virtual void arcPx(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
};

// Whether a shape with this view type and switch is drawn on the surface:
// never when switched off or invisible; vtVisible always; vtEditVisible only on
// the editing screen outside preview mode, never in an image file.
inline bool isShapeVisibleOn(
    const TAbstractImageAdapter &surface, TViewType viewType, TViewOnOff viewOnOff)
{
    if (viewOnOff == TViewOnOff::voOff || viewType == TViewType::vtInvisible)
        return false;
    if (viewType == TViewType::vtVisible)
        return true;
    return surface.FViewerType == TViewerType::Screen && surface.FPreview == 0;
}

} // namespace zarno
