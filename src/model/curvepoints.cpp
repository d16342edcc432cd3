#include "model/curvepoints.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "model/shapestore.h"

#include <cmath>

namespace zarno {

namespace {

bool isFinite(const TMathZahyo &p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

TShapetypeSet lineLikeShapeTypes()
{
    return { TShapetype::SHAPE_line, TShapetype::SHAPE_senbun, TShapetype::SHAPE_arrow,
        TShapetype::SHAPE_arrowLine };
}

QString TParentDotOnSomething::className() const
{
    return fClass.className();
}

TShapeDot &TParentDotOnSomething::dot() const
{
    return static_cast<TShapeDot &>(*myShape());
}

TShape &TParentDotOnSomething::curve() const
{
    return *myShape()->parents().first();
}

void TParentDotOnSomething::setDotInitialXY(const TModelPoint &point)
{
    placeAt(point);
    calcChildren(nullptr);
}

void TParentDotOnSomething::dragDotTo(TShape &, const TModelPoint &cursor, const TModelPoint &)
{
    dragAt(cursor);
    dot().changed();
    calcChildren(nullptr);
}

void TParentDotOnSomething::moveXYOffsetXY_p2dot(TShape &point, const TModelPoint &offset)
{
    const TModelPoint p = dot().getXY();
    dragDotTo(point, { p.x + offset.x, p.y + offset.y }, offset);
}

// ---------------------------------------------------------------- on a line

TShapeLine &TParentLine2Dot::line() const
{
    return static_cast<TShapeLine &>(curve());
}

void TParentLine2Dot::placeAt(const TModelPoint &point)
{
    fX0 = point.x;
    fY0 = point.y;
}

void TParentLine2Dot::dragAt(const TModelPoint &point)
{
    TMathZahyo nearest;
    nearest.setNearestOnLine(TMathZahyo(point), line().line());
    // A line never yet formed has no direction to project on.
    if (isFinite(nearest))
        placeAt(nearest.toPoint());
}

bool TParentLine2Dot::calcChildren(TAbstractImageAdapter *)
{
    TMathZahyo nearest;
    nearest.setNearestOnLine(TMathZahyo(fX0, fY0), line().line());
    if (isFinite(nearest))
        dot().setXY(nearest.toPoint());
    return isValid();
}

void TParentLine2Dot::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeDouble(QStringLiteral("x0"), fX0);
    writer.writeDouble(QStringLiteral("y0"), fY0);
    writer.newLine();
    TParents2Children::saveToFile(writer);
}

void TParentLine2Dot::loadFromFile(TAbstractXmlNode &figureNode)
{
    fX0 = figureNode.readDouble(QStringLiteral("x0"));
    fY0 = figureNode.readDouble(QStringLiteral("y0"));
    TParents2Children::loadFromFile(figureNode);
}

// ---------------------------------------------------------------- on a circle

TShapeCircle &TParentCircle2Dot::circle() const
{
    return static_cast<TShapeCircle &>(curve());
}

void TParentCircle2Dot::placeAt(const TModelPoint &point)
{
    const TMathEn &c = circle().circle();
    const double dx = point.x - c.centre.x, dy = point.y - c.centre.y;
    if (isGeomZero(std::hypot(dx, dy))) {
        // No direction from the centre itself: the rightmost point.
        fXd0 = c.radius;
        fYd0 = 0;
    } else {
        fXd0 = dx;
        fYd0 = dy;
    }
}

bool TParentCircle2Dot::calcChildren(TAbstractImageAdapter *)
{
    const TMathEn &c = circle().circle();
    TMathZahyo onCircle;
    if (onCircle.setNearestOnCircle(TMathZahyo(c.centre.x + fXd0, c.centre.y + fYd0), c)
        && isFinite(onCircle))
        dot().setXY(onCircle.toPoint());
    return isValid();
}

void TParentCircle2Dot::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeDouble(QStringLiteral("xd0"), fXd0);
    writer.writeDouble(QStringLiteral("yd0"), fYd0);
    writer.newLine();
    TParents2Children::saveToFile(writer);
}

void TParentCircle2Dot::loadFromFile(TAbstractXmlNode &figureNode)
{
    fXd0 = figureNode.readDouble(QStringLiteral("xd0"));
    fYd0 = figureNode.readDouble(QStringLiteral("yd0"));
    TParents2Children::loadFromFile(figureNode);
}

// ---------------------------------------------------------------- on an ellipse

TShapeEllipse &TParentEllipse2Dot::ellipse() const
{
    return static_cast<TShapeEllipse &>(curve());
}

bool TParentEllipse2Dot::project(double dx, double dy, TModelPoint &onEllipse) const
{
    const TMathDaen &e = ellipse().ellipse();
    const double a = e.semiAxisX, b = e.semiAxisY;
    if (!(a > TCheckZeroInfinity::kTolerance && b > TCheckZeroInfinity::kTolerance))
        return false;
    const double norm = std::sqrt(b * b * dx * dx + a * a * dy * dy);
    if (!(norm > 0) || !std::isfinite(norm))
        return false;
    const double k = a * b / norm;
    onEllipse = { dx * k, dy * k };
    return std::isfinite(onEllipse.x) && std::isfinite(onEllipse.y);
}

void TParentEllipse2Dot::placeAt(const TModelPoint &point)
{
    const TMathDaen &e = ellipse().ellipse();
    double dx = point.x - e.centre.x, dy = point.y - e.centre.y;
    if (isGeomZero(dx) && isGeomZero(dy)) {
        dx = e.semiAxisX;
        dy = 0;
    }
    TModelPoint offset;
    // A flat ellipse gives no direction: the point keeps the one it had.
    if (project(dx, dy, offset)) {
        fXd0 = offset.x;
        fYd0 = offset.y;
    }
}

bool TParentEllipse2Dot::calcChildren(TAbstractImageAdapter *)
{
    // Valid again as soon as the ellipse is no longer flat, so a point that
    // hid never stays lost once its ellipse is back.
    const TMathDaen &e = ellipse().ellipse();
    TModelPoint offset;
    setValid(project(fXd0, fYd0, offset));
    if (isValid())
        dot().setXY({ e.centre.x + offset.x, e.centre.y + offset.y });
    return isValid();
}

void TParentEllipse2Dot::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeDouble(QStringLiteral("xd0"), fXd0);
    writer.writeDouble(QStringLiteral("yd0"), fYd0);
    writer.newLine();
    TParents2Children::saveToFile(writer);
}

void TParentEllipse2Dot::loadFromFile(TAbstractXmlNode &figureNode)
{
    fXd0 = figureNode.readDouble(QStringLiteral("xd0"));
    fYd0 = figureNode.readDouble(QStringLiteral("yd0"));
    TParents2Children::loadFromFile(figureNode);
}

// ---------------------------------------------------------------- descriptors

bool TDotOnSomethingClass::acceptsParents(const TShapeList &parents) const
{
    return parents.count() == 1 && curveTypes().contains(parents.first()->shapeType());
}

void TDotOnSomethingClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    if (!acceptsParents(parents))
        throw ESouteigai(className(), { fmtArg(parents.count()) },
            QStringLiteral("親(%d個)は, 点をのせる曲線1個でなければなりません。"),
            QStringLiteral("s_createShapes2shapeList"));
    std::unique_ptr<TShapeDot> dot(TShapeDot::createFreeShapeDot());
    // Dragged along its curve only, and nothing to edit in a dialog.
    dot->setCanMoveAnywhere(false);
    dot->setPropertyType(TPropertyType::None);
    attachNew(figureType, *dot)->setRelation(dot.get(), parents);
    outList.add(std::move(dot));
}

TShapetypeSet TParentLine2DotClass::curveTypes() const
{
    return lineLikeShapeTypes();
}

} // namespace zarno
