#include "model/modelscale.h"

#include "base/fileio.h"
#include "core/exceptions.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TModelScale");
}

void TModelScale::pushMmPerModel1(const TModelPoint &mm, const TModelPoint &centre)
{
    if (!(mm.x > 0 && mm.y > 0))
        throw ESouteigai(kClass, QStringLiteral("値は0より大きい実数でなければなりません。"),
            QStringLiteral("pushMmPerModel1"));
    if (fPushed)
        throw ESouteigai(
            kClass, QStringLiteral("mmPerModel1は既にpushされています。"), QStringLiteral("push"));
    fSavedMmPerModel1 = fMmPerModel1;
    fSavedCenterXy = fCenterXy;
    fMmPerModel1 = mm;
    fCenterXy = centre;
    fPushed = true;
}

void TModelScale::popMmPerModel1()
{
    if (!fPushed)
        throw ESouteigai(
            kClass, QStringLiteral("mmPerModel1はpushされていません。"), QStringLiteral("pop"));
    fMmPerModel1 = fSavedMmPerModel1;
    fCenterXy = fSavedCenterXy;
    fPushed = false;
}

void TModelScale::moveCentre(double dx, double dy)
{
    fCenterXy.x += dx;
    fCenterXy.y += dy;
}

void TModelScale::multiplyScale(double fx, double fy)
{
    fMmPerModel1.x *= fx;
    fMmPerModel1.y *= fy;
}

namespace {

double boundedStep(double current, double factor)
{
    const double next = current * factor;
    if (factor > 1 && !(next <= TModelScale::kMaxMmPerModel1))
        return std::max(current, TModelScale::kMaxMmPerModel1);
    if (factor < 1 && !(next >= TModelScale::kMinMmPerModel1))
        return std::min(current, TModelScale::kMinMmPerModel1);
    return next;
}

} // namespace

bool TModelScale::zoomWithinLimits(double fx, double fy)
{
    const TModelPoint next { boundedStep(fMmPerModel1.x, fx), boundedStep(fMmPerModel1.y, fy) };
    const bool changed = next.x != fMmPerModel1.x || next.y != fMmPerModel1.y;
    fMmPerModel1 = next;
    return changed;
}

void TModelScale::equalizeScale()
{
    const double m = std::min(fMmPerModel1.x, fMmPerModel1.y);
    fMmPerModel1 = { m, m };
}

void TModelScale::reset()
{
    *this = TModelScale();
}

void TModelScale::saveToFile(TAbstractFileWriter &writer) const
{
    writer.openTag(QStringLiteral("fieldInfo"));
    writer.writeModelPoint(QStringLiteral("centerXy"), fCenterXy);
    writer.newLine();
    writer.writeScalePair(QStringLiteral("mmPerModel1"), fMmPerModel1);
    writer.newLine();
    writer.writeBool(QStringLiteral("fFixField"), fFixField);
    writer.newLine();
    writer.closeTag(QStringLiteral("fieldInfo"));
}

void TModelScale::loadFromFile(TAbstractXmlNode &fieldNode)
{
    TAbstractXmlNode &info = fieldNode.getThisTagNode(QStringLiteral("fieldInfo"));
    fCenterXy = info.readModelPoint(QStringLiteral("centerXy"));
    fMmPerModel1 = info.readModelPoint(QStringLiteral("mmPerModel1"));
    fFixField = info.readBoolOr(QStringLiteral("fFixField"), false);
}

TModelPoint TSliderZoom::pairFor(int position, bool horizontalSlider, bool linked)
{
    const double v = (horizontalSlider ? position : -position) / double(kRange);
    if (linked)
        return { v, v };
    return horizontalSlider ? TModelPoint { v, 0 } : TModelPoint { 0, v };
}

bool TSliderZoom::apply(const TModelPoint &pair, TModelScale &scale)
{
    if (TCheckZeroInfinity::isZero(pair.x) && TCheckZeroInfinity::isZero(pair.y)) {
        fKept = { 0, 0 };
        return false;
    }
    const double dx = pair.x - fKept.x, dy = pair.y - fKept.y;
    fKept = pair;
    return scale.zoomWithinLimits(std::pow(4.0, dx), std::pow(4.0, dy));
}

} // namespace zarno
