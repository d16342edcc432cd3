#pragma once

#include "base/penbrush.h"
#include "base/surface.h"
#include "support/recording_canvas.h"

#include <QStringList>

namespace zarno::test {

// A surface without pixels: it records which shapes asked to draw what, so
// tests can check draw order and visibility rules without a raster.
class FakeSurface : public TAbstractImageAdapter
{
public:
    explicit FakeSurface(TViewerType viewerType = TViewerType::Screen, quint8 preview = 0)
    {
        FViewerType = viewerType;
        FPreview = preview;
    }

    QStringList drawn;
    RecordingCanvas canvas;

    void record(const QString &what) { drawn << what; }

    void flush() override { }
    void fitToView() override { }
    void clear() override { }
    void paramCopyTo(TAbstractImageAdapter &) override { }
    void paramCopyTo_s(const QRect &, TScaleController *, int, int) override { }
    void drawSegment(TPenBrush &, double, double, double, double) override { }
    void drawPolyline(
        TPenBrush &, const TModelPoint &, int, const double *, const double *) override
    { }
    void drawPolygon(TPenBrush &, const TModelPoint &, int, const double *, const double *) override
    { }
    void drawDot(TPenBrush &, double x, double y) override
    {
        record(QStringLiteral("dot %1,%2").arg(x).arg(y));
    }
    void drawCircle(TPenBrush &, double, double, double) override { }
    void drawEllipse(TPenBrush &, double, double, double, double) override { }
    void drawArc(TPenBrush &, double, double, double, double, double, double, double) override { }
    void drawRectangle(TPenBrush &, double, double, double, double) override { }
    void floodFill(const TBitmap &, TPenBrush &, double, double) override { }
    void drawArrowHead(TPenBrush &, double, double, double, double) override { }
    TModelViewRect textExtentToModel(const TPixelSized &) override { return {}; }
    void drawBitmap(const TBitmap &, double, double) override { }
    void drawBitmapOffsetPx(const TBitmap &, const TModelPoint &, const QPoint &) override { }
    void drawBitmapOffsetPxReal(const TBitmap &, const TModelPoint &, const TModelPoint &) override
    { }
    void copyWindowFrom(const TBitmap &, int, int) override { }
    void copyFromBitmap(const TBitmap &) override { }
    bool isInView(int, int) const override { return true; }
    QRect getViewrect() const override { return QRect(0, 0, 640, 480); }
    TModelViewRect getModelViewRect() const override { return { -10, 10, 10, -10 }; }
    TCanvas &getCanvas() override { return canvas; }
    TModelPoint getModelPerPixel() const override { return { 0.01, 0.01 }; }
    TModelPoint mmToModel(const TModelPoint &mm) const override { return mm; }
    TModelPoint modelToMm(const TModelPoint &m) const override { return m; }
    TModelPoint pixelToModel(int px, int py) const override { return { double(px), double(py) }; }
    TModelPoint pointToModel(const QPoint &p) const override
    {
        return { double(p.x()), double(p.y()) };
    }
    QPoint modelToPixel(const TModelPoint &p) const override { return QPoint(int(p.x), int(p.y)); }
    TModelPoint pixelVectorToModel(const QPoint &v) const override
    {
        return { double(v.x()), double(v.y()) };
    }
    void dotPx(int, int) override { }
    void linePx(int, int, int, int) override { }
    void rectanglePx(int, int, int, int) override { }
    void ellipsePx(int, int, int, int) override { }
    void arcPx(int, int, int, int, int, int, int, int) override { }
};

} // namespace zarno::test
