#include "render/unittransformer.h"

#include "core/exceptions.h"
#include "model/scalecontroller.h"
#include "render/dpi.h"

#include <cmath>

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TUnitTransformer");
}

TScaleController &TUnitTransformer::ctl() const
{
    if (!fController)
        throw ESouteigai(kClass, QStringLiteral("controllerが設定されていません。"),
            QStringLiteral("controller"));
    return *fController;
}

void TUnitTransformer::pushMmPerModel1(const TModelPoint &mm, const TModelPoint &centre)
{
    ctl().pushMmPerModel1(mm, centre);
}

void TUnitTransformer::popMmPerModel1()
{
    ctl().popMmPerModel1();
}

void TUnitTransformer::setViewRect(int left, int top, int right, int bottom)
{
    fLeft = left;
    fTop = top;
    fRight = right;
    fBottom = bottom;
    if (left == right || top == bottom)
        throw ESouteigai(kClass, { fmtArg("view") },
            QStringLiteral("%sのcanvasの左上と右下の座標が一致しています。"),
            QStringLiteral("setViewRect"));
}

void TUnitTransformer::setViewRect(const QRect &rect)
{
    setViewRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}

QRect TUnitTransformer::getViewRect() const
{
    return QRect(fLeft, fTop, fRight - fLeft, fBottom - fTop);
}

bool TUnitTransformer::isInView(int px, int py) const
{
    return fLeft <= px && px <= fRight && fTop <= py && py <= fBottom;
}

double TUnitTransformer::pixelsPerModelX() const
{
    return ctl().getMmPerModel1().x * TDpi::current().x / 25.4;
}

double TUnitTransformer::pixelsPerModelY() const
{
    return ctl().getMmPerModel1().y * TDpi::current().y / 25.4;
}

// The (w + 1) and (h + 1) make the edge pixels' centres land exactly on the
// model rectangle's edges.
double TUnitTransformer::modelLeft() const
{
    return ctl().getCenterXy().x - (width() + 1) * 0.5 / pixelsPerModelX();
}

double TUnitTransformer::modelRight() const
{
    return ctl().getCenterXy().x + (width() + 1) * 0.5 / pixelsPerModelX();
}

double TUnitTransformer::modelTop() const
{
    return ctl().getCenterXy().y + (height() + 1) * 0.5 / pixelsPerModelY();
}

double TUnitTransformer::modelBottom() const
{
    return ctl().getCenterXy().y - (height() + 1) * 0.5 / pixelsPerModelY();
}

TModelViewRect TUnitTransformer::getModelViewRect() const
{
    return { modelLeft(), modelTop(), modelRight(), modelBottom() };
}

TUnitTransformer::Mapping TUnitTransformer::mapping() const
{
    const double mLeft = modelLeft(), mRight = modelRight();
    const double mTop = modelTop(), mBottom = modelBottom();
    Mapping m;
    m.sx = width() / (mRight - mLeft);
    m.ox = fLeft - m.sx * mLeft;
    m.sy = height() / (mBottom - mTop);
    m.oy = fTop - m.sy * mTop;
    return m;
}

int TUnitTransformer::toPixel(double v, const char *method)
{
    if (std::isnan(v))
        throw ESouteigai(
            kClass, QStringLiteral("NaNが渡されました。"), QString::fromLatin1(method));
    if (v > 10000)
        v = kClampPixel;
    else if (v < -10000)
        v = -kClampPixel;
    return int(v >= 0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5));
}

int TUnitTransformer::modelToPixelX(double x) const
{
    const Mapping m = mapping();
    return toPixel(m.sx * x + m.ox, "modelToPixelX");
}

int TUnitTransformer::modelToPixelY(double y) const
{
    const Mapping m = mapping();
    return toPixel(m.sy * y + m.oy, "modelToPixelY");
}

QPoint TUnitTransformer::modelToPixel(const TModelPoint &p) const
{
    const Mapping m = mapping();
    return QPoint(
        toPixel(m.sx * p.x + m.ox, "modelToPixelX"), toPixel(m.sy * p.y + m.oy, "modelToPixelY"));
}

double TUnitTransformer::pixelToModelX(int px) const
{
    const double mLeft = modelLeft();
    const double kx = (modelRight() - mLeft) / width();
    return kx * px + (mLeft - kx * fLeft);
}

double TUnitTransformer::pixelToModelY(int py) const
{
    const double mTop = modelTop();
    const double ky = (modelBottom() - mTop) / height();
    return ky * py + (mTop - ky * fTop);
}

TModelPoint TUnitTransformer::modelPerPixel() const
{
    return { 1 / pixelsPerModelX(), 1 / pixelsPerModelY() };
}

TModelPoint TUnitTransformer::mmToModel(const TModelPoint &mm) const
{
    const TModelPoint s = ctl().getMmPerModel1();
    return { mm.x / s.x, mm.y / s.y };
}

TModelPoint TUnitTransformer::modelToMm(const TModelPoint &model) const
{
    const TModelPoint s = ctl().getMmPerModel1();
    return { model.x * s.x, model.y * s.y };
}

TModelPoint TUnitTransformer::pixelVectorToModel(const QPoint &v) const
{
    return { v.x() / pixelsPerModelX(), -v.y() / pixelsPerModelY() };
}

} // namespace zarno
