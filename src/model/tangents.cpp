#include "model/tangents.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "model/shapestore.h"

#include <algorithm>
#include <cmath>

namespace zarno {

TShape *parentOfType(const TShape &child, TShapetype type)
{
    for (TShape *p : child.parents().items())
        if (p->shapeType() == type)
            return p;
    return nullptr;
}

namespace {

// A point that only a construction places: no drag, no dialog.
std::unique_ptr<TShapeDot> constructedDot()
{
    std::unique_ptr<TShapeDot> dot(TShapeDot::createFreeShapeDot());
    dot->setCanMoveAnywhere(false);
    dot->setPropertyType(TPropertyType::None);
    return dot;
}

} // namespace

// ---------------------------------------------------------------- points of tangency

bool TParentDotCircle2setten::calcChildren(TAbstractImageAdapter *)
{
    auto &dot = static_cast<TShapeDot &>(*myShape());
    auto *from = static_cast<TShapeDot *>(parentOfType(dot, TShapetype::SHAPE_dot));
    auto *circle = static_cast<TShapeCircle *>(parentOfType(dot, TShapetype::SHAPE_circle));
    setValid(false);
    if (!from || !circle)
        return false;
    const TMathEn &en = circle->circle();
    const TMathZahyo c = en.centre;
    const TMathZahyo p(from->getXY());
    const double r = en.radius;
    const double d = c.distance(p);
    // Inside the circle no tangent passes through P; on it, the one tangent
    // touches at P itself.
    if (d < r - TCheckZeroInfinity::kTolerance)
        return false;
    TMathZahyo q;
    if (!q.setInternalDivision(c, p, r, d - r) || isGeomZero(d))
        return false;
    const double theta = std::acos(std::clamp(r / d, -1.0, 1.0));
    q.rotateAbout(c, fDirection == TDotCircle2settenDirection::dcsPlus ? theta : -theta);
    if (!std::isfinite(q.x) || !std::isfinite(q.y))
        return false;
    setValid(en.isInArc(q));
    dot.setXY(q.toPoint());
    return isValid();
}

void TParentDotCircle2setten::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeDotCircle2settenDirection(fDirection);
    writer.newLine();
    TParents2Children::saveToFile(writer);
}

void TParentDotCircle2setten::loadFromFile(TAbstractXmlNode &figureNode)
{
    fDirection = figureNode.readEnumOr(
        TEnumConverter<TDotCircle2settenDirection>::tagName(), TDotCircle2settenDirection::dcsPlus);
    TParents2Children::loadFromFile(figureNode);
}

std::unique_ptr<TAbstractParents2Children> TParentDotCircle2settenClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentDotCircle2setten>(*this, figureType);
}

void TParentDotCircle2settenClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
    rules.add({ TShapetype::SHAPE_circle }, 1, 1);
}

void TParentDotCircle2settenClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    const QList<TDotCircle2settenDirection> directions = interactive
        ? QList { TDotCircle2settenDirection::dcsPlus, TDotCircle2settenDirection::dcsMinus }
        : QList { TDotCircle2settenDirection::dcsPlus };
    for (TDotCircle2settenDirection direction : directions) {
        std::unique_ptr<TShapeDot> dot = constructedDot();
        auto *relation = static_cast<TParentDotCircle2setten *>(attachNew(figureType, *dot));
        relation->setDirection(direction);
        relation->setRelationChildAndParentsThinkFirst(TShapetype::SHAPE_dot, dot.get(), parents);
        outList.add(std::move(dot));
    }
}

// ---------------------------------------------------------------- tangents

bool TParentCircleSetten2Sessen::calcChildren(TAbstractImageAdapter *)
{
    auto &line = static_cast<TShapeLine &>(*myShape());
    auto *circle = static_cast<TShapeCircle *>(parentOfType(line, TShapetype::SHAPE_circle));
    auto *at = static_cast<TShapeDot *>(parentOfType(line, TShapetype::SHAPE_dot));
    setValid(false);
    if (!circle || !at)
        return false;
    // A point on the centre (a circle of radius 0) has no radius to be
    // perpendicular to: the tangent hides and keeps its last position.
    TMathCyokusen radius;
    if (!radius.setBy2Points(circle->centreX(), circle->centreY(), at->getX(), at->getY()))
        return false;
    line.line().setPerpendicular(radius, at->getX(), at->getY());
    setValid(true);
    return true;
}

bool TParentEllipseSetten2Sessen::calcChildren(TAbstractImageAdapter *)
{
    auto &line = static_cast<TShapeLine &>(*myShape());
    auto *ellipse = static_cast<TShapeEllipse *>(parentOfType(line, TShapetype::SHAPE_ellipse));
    auto *at = static_cast<TShapeDot *>(parentOfType(line, TShapetype::SHAPE_dot));
    setValid(false);
    if (!ellipse || !at)
        return false;
    const TMathDaen &e = ellipse->ellipse();
    const double cx = e.centre.x, cy = e.centre.y;
    const double a2 = e.semiAxisX * e.semiAxisX, b2 = e.semiAxisY * e.semiAxisY;
    const double A = (at->getX() - cx) / a2;
    const double B = (at->getY() - cy) / b2;
    const double C = -cx * A - cy * B - 1;
    if (!std::isfinite(A) || !std::isfinite(B) || !std::isfinite(C))
        return false;
    // Refused (the point on the centre): the line keeps its last position, hidden.
    setValid(line.line().setABC(A, B, C));
    return isValid();
}

void TCurveSetten2SessenClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ curveType() }, 1, 1);
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
}

bool TCurveSetten2SessenClass::isMyParentShapes(const TShapeList *shapes) const
{
    if (!TRelationClass::isMyParentShapes(shapes))
        return false;
    const TShape *curve = nullptr;
    const TShape *point = nullptr;
    for (const TShape *s : shapes->items())
        (s->shapeType() == TShapetype::SHAPE_dot ? point : curve) = s;
    return curve && point && point->isChildOf(*curve);
}

void TCurveSetten2SessenClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    auto line = std::make_unique<TShapeLine>(TShapetype::SHAPE_line);
    line->setLineKind(TBoundaryType::btAll);
    attachNew(figureType, *line)
        ->setRelationChildAndParentsThinkFirst(curveType(), line.get(), parents);
    outList.add(std::move(line));
}

std::unique_ptr<TAbstractParents2Children> TParentCircleSetten2SessenClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentCircleSetten2Sessen>(*this, figureType);
}

std::unique_ptr<TAbstractParents2Children> TParentEllipseSetten2SessenClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentEllipseSetten2Sessen>(*this, figureType);
}

} // namespace zarno
