#include "model/shapecircle.h"

#include "base/fileio.h"

namespace zarno {

namespace {
constexpr auto S = TPenBrushState::pbSelect;
constexpr auto D = TPenBrushState::pbDisable;
} // namespace

TShapeCircle::TShapeCircle()
    : TShape(TShapetype::SHAPE_circle)
{
    penBrush().setStates({ S, S, S, D, D, D, S });
    penBrush().setBrushStyle(TBrushStyle::bsClear);
}

void TShapeCircle::setCircleKind(TBoundaryType type)
{
    fCircle.boundary.type = type;
    // An arc shows the rest of its circle in the outer pen style.
    if (fCircle.boundary.isArc())
        penBrush().setStates({ S, S, S, D, D, S, D });
    else
        penBrush().setStates({ S, S, S, D, D, D, S });
}

void TShapeCircle::saveInfo(TAbstractFileWriter &writer) const
{
    fCircle.saveToFile(writer);
    TShape::saveInfo(writer);
}

void TShapeCircle::loadInfo(TAbstractXmlNode &node)
{
    fCircle.loadFromFile(node);
    TShape::loadInfo(node);
}

double TShapeCircle::rawDistance(const TModelPoint &p, const TModelPoint &) const
{
    return fCircle.distance(TMathZahyo(p));
}

void TShapeCircle::drawSelected(
    const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fCircle.drawCircleOrArc(surface, pb);
    drawNormal(status, surface);
}

void TShapeCircle::drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    fCircle.drawCircleOrArc(surface, penBrush());
    fCircle.drawOuterArc(surface, penBrush());
}

void TShapeCircle::drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fCircle.drawCircleOrArc(surface, pb);
}

TShapeEllipse::TShapeEllipse()
    : TShape(TShapetype::SHAPE_ellipse)
{
    penBrush().setStates({ S, S, S, D, D, D, D });
    penBrush().setBrushStyle(TBrushStyle::bsClear);
}

double TShapeEllipse::rawDistance(const TModelPoint &p, const TModelPoint &) const
{
    if (!isDrawable())
        return 100;
    return fEllipse.distance(TMathZahyo(p));
}

void TShapeEllipse::drawSelected(
    const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fEllipse.drawEllipseShape(surface, pb);
    drawNormal(status, surface);
}

void TShapeEllipse::drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    fEllipse.drawEllipseShape(surface, penBrush());
}

void TShapeEllipse::drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fEllipse.drawEllipseShape(surface, pb);
}

} // namespace zarno
