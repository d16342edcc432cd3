#pragma once

#include "base/surface.h"
#include "core/valuetypes.h"

#include <QPoint>
#include <QRect>

namespace zarno {

class TScaleController;

// The transform between model units and the pixels of one surface. The view
// rectangle's edges map to the visible model rectangle's edges exactly; the
// model scale and centre are read from the controller on every use.
class TUnitTransformer
{
public:
    // The pixel value far-away geometry is clamped to, on either side.
    static constexpr int kClampPixel = 10001;

    // The linear map model -> pixel, px = sx·x + ox, py = sy·y + oy (sy < 0).
    struct Mapping
    {
        double sx, ox, sy, oy;
    };

    void setController(TScaleController *controller) { fController = controller; }
    TScaleController *controller() const { return fController; }
    void pushMmPerModel1(const TModelPoint &mm, const TModelPoint &centre);
    void popMmPerModel1();

    // Stores the rectangle, then refuses one of zero width or height.
    void setViewRect(const QRect &rect);
    void setViewRect(int left, int top, int right, int bottom);
    // Left, top, right and bottom as given (right and bottom exclusive in
    // QRect's terms: QRect(QPoint(l, t), QPoint(r − 1, b − 1))).
    QRect getViewRect() const;
    int left() const { return fLeft; }
    int top() const { return fTop; }
    int right() const { return fRight; }
    int bottom() const { return fBottom; }
    int width() const { return fRight - fLeft; }
    int height() const { return fBottom - fTop; }
    // Inclusive on all four edges.
    bool isInView(int px, int py) const;

    double pixelsPerModelX() const;
    double pixelsPerModelY() const;
    double modelLeft() const;
    double modelRight() const;
    double modelTop() const;
    double modelBottom() const;
    TModelViewRect getModelViewRect() const;
    Mapping mapping() const;

    int modelToPixelX(double x) const;
    int modelToPixelY(double y) const;
    QPoint modelToPixel(const TModelPoint &p) const;
    double pixelToModelX(int px) const;
    double pixelToModelY(int py) const;
    TModelPoint modelPerPixel() const;

    TModelPoint mmToModel(const TModelPoint &mm) const;
    TModelPoint modelToMm(const TModelPoint &model) const;
    TModelPoint pixelVectorToModel(const QPoint &v) const;

    // Clamp to ±10001, then round half away from zero. NaN is refused: it
    // must never reach the canvas.
    static int toPixel(double v, const char *method);

private:
    TScaleController &ctl() const;

    TScaleController *fController = nullptr;
    int fLeft = 0;
    int fTop = 0;
    int fRight = 640;
    int fBottom = 480;
};

} // namespace zarno
