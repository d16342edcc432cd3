#include "graphs/shapefunction.h"

#include "base/fileio.h"
#include "base/surface.h"
#include "graphs/dot2function.h"

#include <cmath>

namespace zarno {

TShapeFunction *TShapeFunction::createShapeFunction(bool isY)
{
    if (isY)
        return new TShapeFunctionY();
    return new TShapeFunctionX();
}

TShapeFunction::TShapeFunction()
    : TShape(TShapetype::SHAPE_function)
{
    setPropertyType(TPropertyType::Function);
    // A curve: pen colour, width and style, the style outside the domain, and the view type.
    penBrush().setStates({ TPenBrushState::pbSelect, TPenBrushState::pbSelect,
        TPenBrushState::pbSelect, TPenBrushState::pbDisable, TPenBrushState::pbDisable,
        TPenBrushState::pbSelect, TPenBrushState::pbSelect });
}

bool TShapeFunction::acceptsRelation(const TAbstractParents2Children &relation) const
{
    return dynamic_cast<const TParentSomething2function *>(&relation) != nullptr;
}

TParentSomething2function &TShapeFunction::function() const
{
    return static_cast<TParentSomething2function &>(*relation());
}

double TShapeFunction::valueAt(double s) const
{
    function().prepare();
    return function().valueAt(s);
}

TModelPoint TShapeFunction::pointAt(double s) const
{
    const TModelPoint local = pairOf(s, valueAt(s));
    return { local.x + fOrigin.x, local.y + fOrigin.y };
}

TModelPoint TShapeFunction::clampIntoDomain(const TModelPoint &point) const
{
    TModelPoint result = point;
    const double lower = fRange.lower() + sOf(fOrigin);
    const double upper = fRange.upper() + sOf(fOrigin);
    double &s = isY() ? result.y : result.x;
    if (s < lower)
        s = lower;
    else if (s > upper)
        s = upper;
    return result;
}

const TDimensionInfo &TShapeFunction::degreeInfo() const
{
    return function().degreeInfo();
}

TModelPoint TShapeFunction::anchorPoint() const
{
    const TModelPoint a = fCalculator.anchor();
    const TModelPoint local = pairOf(a.x, a.y);
    return { local.x + fOrigin.x, local.y + fOrigin.y };
}

void TShapeFunction::saveInfo(TAbstractFileWriter &writer) const
{
    fRange.saveToFile(writer);
    TShape::saveInfo(writer);
}

void TShapeFunction::loadInfo(TAbstractXmlNode &node)
{
    fRange.loadFromFile(node);
    TShape::loadInfo(node);
}

double TShapeFunction::rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const
{
    const TModelPoint local { point.x - fOrigin.x, point.y - fOrigin.y };
    const double a = sOf(local), b = tOf(local);
    const double pxS = 5 * sOf(pixelSize), pxT = 5 * tOf(pixelSize);
    return fCalculator.hitsBox(a - pxS, a + pxS, b - pxT, b + pxT) ? 0 : 100;
}

void TShapeFunction::runOver(TAbstractImageAdapter &surface, TPenBrush &pb,
    TFunctionCalculator::RecordMode recordMode, double from, double to)
{
    const TModelViewRect view = surface.getModelViewRect();
    const TModelPoint mpp = surface.getModelPerPixel();
    const double step = sOf(mpp);
    // The visible t range, relative to the origin.
    const double tLow = isY() ? view.left - fOrigin.x : view.bottom - fOrigin.y;
    const double tHigh = isY() ? view.right - fOrigin.x : view.top - fOrigin.y;
    TParentSomething2function &f = function();
    f.prepare();
    auto sampler = [&f](const double *s, double *t, qsizetype n) { f.valuesAt(s, t, n); };
    auto sink = [&](const double *s, const double *t, int lastIndex) {
        if (isY())
            surface.drawPolyline(pb, fOrigin, lastIndex, t, s);
        else
            surface.drawPolyline(pb, fOrigin, lastIndex, s, t);
    };
    fCalculator.run(recordMode, sampler, from, to, step, tLow, tHigh, sink);
}

void TShapeFunction::drawOutside(TAbstractImageAdapter &surface)
{
    TPenBrush &pb = penBrush();
    if (pb.getOuterPenStyle() == TPenStyle::psClear)
        return; // nothing would show
    const TModelViewRect view = surface.getModelViewRect();
    const double sStart = isY() ? view.bottom - fOrigin.y : view.left - fOrigin.x;
    const double sEnd = isY() ? view.top - fOrigin.y : view.right - fOrigin.x;
    pb.setUseOuterStyle(true);
    try {
        if (fRange.lower() > sStart)
            runOver(surface, pb, TFunctionCalculator::RecordMode::DontRecord, sStart,
                std::min(fRange.lower(), sEnd));
        if (fRange.upper() < sEnd)
            runOver(surface, pb, TFunctionCalculator::RecordMode::DontRecord,
                std::max(fRange.upper(), sStart), sEnd);
    } catch (...) {
        pb.setUseOuterStyle(false);
        throw;
    }
    pb.setUseOuterStyle(false);
}

void TShapeFunction::drawDomain(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    const TModelViewRect view = surface.getModelViewRect();
    const double sStart = isY() ? view.bottom - fOrigin.y : view.left - fOrigin.x;
    const double sEnd = isY() ? view.top - fOrigin.y : view.right - fOrigin.x;
    runOver(surface, pb, TFunctionCalculator::RecordMode::Record, std::max(fRange.lower(), sStart),
        std::min(fRange.upper(), sEnd));
}

void TShapeFunction::drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    drawOutside(surface);
    drawDomain(surface, penBrush());
}

void TShapeFunction::drawSelected(
    const TDrawStatus &, TAbstractImageAdapter &surface, TPenBrush &pb)
{
    drawOutside(surface);
    drawDomain(surface, pb);
    drawDomain(surface, penBrush());
}

void TShapeFunction::drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    drawDomain(surface, pb);
}

void TShapeFunction::drawReplay(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    const TModelViewRect view = surface.getModelViewRect();
    const double sStart = isY() ? view.bottom - fOrigin.y : view.left - fOrigin.x;
    const double sEnd = isY() ? view.top - fOrigin.y : view.right - fOrigin.x;
    runOver(surface, pb, TFunctionCalculator::RecordMode::DontRecord,
        std::max(fRange.lower(), sStart), std::min(fRange.upper(), sEnd));
}

} // namespace zarno
