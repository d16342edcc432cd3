#include "model/shapedot.h"

#include "base/fileio.h"
#include "model/relation.h"

#include <cmath>

namespace zarno {

TShapeDot::TShapeDot()
    : TShape(TShapetype::SHAPE_dot)
{
    setPropertyType(TPropertyType::DotCoordinates);
    // A point is a disc: its rim is the pen, its inside the brush.
    penBrush().setStates({ TPenBrushState::pbSelect, TPenBrushState::pbSelect,
        TPenBrushState::pbDisable, TPenBrushState::pbSelect, TPenBrushState::pbDisable,
        TPenBrushState::pbDisable, TPenBrushState::pbSelect });
    penBrush().setViewType(TViewType::vtVisible);
}

TShapeDot *TShapeDot::createFreeShapeDot()
{
    return new TShapeDot();
}

TShapeDot *TShapeDot::createFormulaShapeDot()
{
    return new TShapeDot();
}

void TShapeDot::setInitialXY(const TModelPoint &p)
{
    if (relation())
        relation()->setDotInitialXY(p);
    else
        setXY(p);
}

bool TShapeDot::isDraggable() const
{
    return fCanMoveAnywhere && !fFixed;
}

void TShapeDot::saveInfo(TAbstractFileWriter &w) const
{
    w.writeBool(QStringLiteral("fCanMoveAnywhere"), fCanMoveAnywhere);
    w.writeDouble(QStringLiteral("x"), fX);
    w.writeDouble(QStringLiteral("y"), fY);
    w.newLine();
    TShape::saveInfo(w);
}

void TShapeDot::loadInfo(TAbstractXmlNode &node)
{
    fCanMoveAnywhere = node.readBool(QStringLiteral("fCanMoveAnywhere"));
    fX = node.readDouble(QStringLiteral("x"));
    fY = node.readDouble(QStringLiteral("y"));
    TShape::loadInfo(node);
}

void TShapeDot::moveXYOffsetXY(double dx, double dy)
{
    if (fFixed || !relation())
        return;
    relation()->moveXYOffsetXY_p2dot(*this, { dx, dy });
}

void TShapeDot::dragTo(const TModelPoint &cursor, const TModelPoint &offset)
{
    if (fFixed || !relation())
        return;
    relation()->dragDotTo(*this, cursor, offset);
}

double TShapeDot::rawDistance(const TModelPoint &p, const TModelPoint &) const
{
    if (!isDrawable())
        return 100;
    return std::hypot(p.x - fX, p.y - fY);
}

void TShapeDot::drawSelected(
    const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb)
{
    surface.drawDot(pb, fX, fY);
    drawNormal(status, surface);
}

void TShapeDot::drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    surface.drawDot(penBrush(), fX, fY);
}

void TShapeDot::drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    surface.drawDot(pb, fX, fY);
}

} // namespace zarno
