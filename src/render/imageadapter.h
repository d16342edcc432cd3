#pragma once

#include "base/surface.h"
#include "render/unittransformer.h"

#include <memory>

namespace zarno {

class TBitmap;
class TScaleController;

// The surface that draws on a bitmap through its canvas: it converts model
// coordinates to pixels with its transform and applies each shape's
// pen-brush around every primitive. Subclasses say where the view rectangle
// comes from (the screen's drawing box, an export's image size).
class TImageAdapter : public TAbstractImageAdapter
{
public:
    TImageAdapter();
    ~TImageAdapter() override;

    TUnitTransformer &transformer() { return fTransformer; }
    const TUnitTransformer &transformer() const { return fTransformer; }
    TBitmap &getBitmap() { return *fBitmap; }
    const TBitmap &getBitmap() const { return *fBitmap; }
    void setController(TScaleController *controller) { fTransformer.setController(controller); }

    void flush() override { }
    void fitToView() override;
    void clear() override;
    void paramCopyTo(TAbstractImageAdapter &other) override;
    void paramCopyTo_s(
        const QRect &viewRect, TScaleController *controller, int width, int height) override;

    void drawSegment(TPenBrush &pb, double x1, double y1, double x2, double y2) override;
    void drawPolyline(TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs,
        const double *ys) override;
    void drawPolygon(TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs,
        const double *ys) override;
    void drawDot(TPenBrush &pb, double x, double y) override;
    void drawCircle(TPenBrush &pb, double cx, double cy, double r) override;
    void drawEllipse(TPenBrush &pb, double cx, double cy, double a, double b) override;
    void drawArc(TPenBrush &pb, double cx, double cy, double r, double x1, double y1, double x2,
        double y2) override;
    void drawRectangle(TPenBrush &pb, double x1, double y1, double x2, double y2) override;
    void floodFill(const TBitmap &mask, TPenBrush &pb, double x, double y) override;
    void drawArrowHead(TPenBrush &pb, double tipX, double tipY, double vx, double vy) override;
    TModelViewRect textExtentToModel(const TPixelSized &box) override;
    void drawBitmap(const TBitmap &bmp, double x, double y) override;
    void drawBitmapOffsetPx(
        const TBitmap &bmp, const TModelPoint &point, const QPoint &offset) override;
    void drawBitmapOffsetPxReal(
        const TBitmap &bmp, const TModelPoint &point, const TModelPoint &offset) override;
    void copyWindowFrom(const TBitmap &bmp, int cx, int cy) override;
    void copyFromBitmap(const TBitmap &bmp) override;

    bool isInView(int px, int py) const override { return fTransformer.isInView(px, py); }
    QRect getViewrect() const override;
    TModelViewRect getModelViewRect() const override { return fTransformer.getModelViewRect(); }
    TCanvas &getCanvas() override;
    TModelPoint getModelPerPixel() const override { return fTransformer.modelPerPixel(); }
    TModelPoint mmToModel(const TModelPoint &mm) const override
    {
        return fTransformer.mmToModel(mm);
    }
    TModelPoint modelToMm(const TModelPoint &model) const override
    {
        return fTransformer.modelToMm(model);
    }
    TModelPoint pixelToModel(int px, int py) const override;
    TModelPoint pointToModel(const QPoint &p) const override { return pixelToModel(p.x(), p.y()); }
    QPoint modelToPixel(const TModelPoint &p) const override
    {
        return fTransformer.modelToPixel(p);
    }
    TModelPoint pixelVectorToModel(const QPoint &v) const override
    {
        return fTransformer.pixelVectorToModel(v);
    }

    void dotPx(int x, int y) override;
    void linePx(int x1, int y1, int x2, int y2) override;
    void rectanglePx(int x1, int y1, int x2, int y2) override;
    void ellipsePx(int x1, int y1, int x2, int y2) override;
    void arcPx(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;

    // The head of an arrow at 3.8 mm (times the font scale) in pixels, and
    // the half angle of its wings.
    static constexpr double kArrowHeadMm = 3.8;
    static constexpr double kArrowWingAngle = 2.8448866807507573; // 163°

protected:
    bool forOutput() const { return FViewerType == TViewerType::Printer; }
    // Outlines whose pixel box reaches beyond ±10000: drawn as polylines of
    // points on the curve (y up, counter-clockwise from angle t0 through
    // sweep radians), cut to the ±10000 square, so that the visible part has
    // the right curvature instead of the shape of a clamped box.
    // The outline of the ellipse about the centre, never filled.
    void drawOutlineEllipse(TPenBrush &pb, double cx, double cy, double a, double b);
    void drawConicSampled(double cx, double cy, double a, double b, double t0, double sweep);
    // Whether the pixel box of the centre ± (a, b) stays within ±10000.
    bool boxInSafeRange(double cx, double cy, double a, double b) const;
    // A copy of pb whose brush is clear whatever the shape's own brush, for
    // outlines that must never be filled (circles, ellipses, arcs).
    static std::unique_ptr<TPenBrush> outlinePenBrush(const TPenBrush &pb);

    TUnitTransformer fTransformer;
    std::unique_ptr<TBitmap> fBitmap;
};

} // namespace zarno
