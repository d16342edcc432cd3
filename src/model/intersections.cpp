#include "model/intersections.h"

#include "base/fileio.h"
#include "model/curvepoints.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "model/shapelist.h"
#include "model/shapestore.h"

#include <cmath>

namespace zarno {

namespace {

constexpr double kTol = TCheckZeroInfinity::kTolerance;

// a·x + b·y + c = 0 with (a, b) of length 1, so that comparisons with the
// tolerance mean the same whatever the points the line was built from.
struct UnitLine
{
    double a = 0, b = 0, c = 0;
    bool ok = false;
    explicit UnitLine(const TMathCyokusen &line)
    {
        const double n = std::hypot(line.a, line.b);
        if (!(n > 0) || !std::isfinite(n))
            return;
        a = line.a / n;
        b = line.b / n;
        c = line.c / n;
        ok = std::isfinite(c);
    }
};

// On the drawn part of a segment or ray (a whole line has no ends).
bool onDrawnPart(const TMathZahyo &p, const TMathCyokusen &line)
{
    const TBoundaryType t = line.boundary.type;
    if (t == TBoundaryType::btAll || t == TBoundaryType::btAllVec)
        return true;
    return line.distance(p) <= kTol;
}

bool onDrawnPart(const TMathZahyo &p, const TMathEn &circle)
{
    return !circle.boundary.isArc() || circle.distance(p) <= kTol;
}

const TMathCyokusen &lineOf(const TShape *shape)
{
    return static_cast<const TShapeLine &>(*shape).line();
}

const TMathEn &circleOf(const TShape *shape)
{
    return static_cast<const TShapeCircle &>(*shape).circle();
}

bool isLineLike(const TShape *shape)
{
    return lineLikeShapeTypes().contains(shape->shapeType());
}

} // namespace

QString TParentCurves2Kouten::className() const
{
    return fClass.className();
}

bool TParentCurves2Kouten::calcChildren(TAbstractImageAdapter *)
{
    TMathZahyo p;
    setValid(myShape()->parents().count() == 2 && intersection(p) && std::isfinite(p.x)
        && std::isfinite(p.y));
    if (isValid())
        static_cast<TShapeDot &>(*myShape()).setXY(p.toPoint());
    return isValid();
}

void TParentCurves2Kouten::setGuidanceName(const TShapeList &parents)
{
    if (!fCustomName.isEmpty()) {
        fGuidanceName = fCustomName;
        return;
    }
    QStringList names;
    for (const TShape *p : parents.items())
        names.append(p->noAndShapetypeString() + QLatin1Char(' '));
    fGuidanceName = names.join(QLatin1Char(',')) + QStringLiteral("の交点");
}

void TParentCurves2Kouten::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeInteger(QStringLiteral("index"), fIndex);
    writer.newLine();
    TParents2Children::saveToFile(writer);
}

void TParentCurves2Kouten::loadFromFile(TAbstractXmlNode &figureNode)
{
    fIndex = figureNode.readIntegerOr(QStringLiteral("index"), 1);
    TParents2Children::loadFromFile(figureNode);
}

bool TParentLines2Kouten::intersection(TMathZahyo &point) const
{
    const TShapeList &ps = myShape()->parents();
    if (fIndex != 1 || !isLineLike(ps.first()) || !isLineLike(ps.second()))
        return false;
    const TMathCyokusen &l1 = lineOf(ps.first());
    const TMathCyokusen &l2 = lineOf(ps.second());
    const UnitLine u1(l1), u2(l2);
    if (!u1.ok || !u2.ok)
        return false;
    // The sine of the angle between the lines: parallel within the tolerance.
    const double det = u1.a * u2.b - u2.a * u1.b;
    if (std::fabs(det) <= kTol)
        return false;
    point.setXY((u1.b * u2.c - u2.b * u1.c) / det, (u2.a * u1.c - u1.a * u2.c) / det);
    return onDrawnPart(point, l1) && onDrawnPart(point, l2);
}

bool TParentLineCircle2Kouten::intersection(TMathZahyo &point) const
{
    const TShapeList &ps = myShape()->parents();
    if (!isLineLike(ps.first()) || ps.second()->shapeType() != TShapetype::SHAPE_circle)
        return false;
    const TMathCyokusen &line = lineOf(ps.first());
    const TMathEn &circle = circleOf(ps.second());
    const UnitLine u(line);
    if (!u.ok)
        return false;
    const double r = circle.radius;
    const double s = u.a * circle.centre.x + u.b * circle.centre.y + u.c;
    const double d = std::fabs(s);
    if (d > r + kTol)
        return false;
    const bool touching = std::fabs(d - r) <= kTol;
    if (touching && fIndex != 1)
        return false;
    if (fIndex != 1 && fIndex != 2)
        return false;
    // The foot of the perpendicular from the centre, then along the line's
    // direction of travel (−b, a): the first point behind, the second ahead.
    const double fx = circle.centre.x - s * u.a, fy = circle.centre.y - s * u.b;
    const double h = touching ? 0 : std::sqrt(std::max(0.0, r * r - d * d));
    const double sign = fIndex == 1 ? -1 : 1;
    point.setXY(fx - sign * h * u.b, fy + sign * h * u.a);
    return onDrawnPart(point, line) && onDrawnPart(point, circle);
}

bool TParentCircles2Kouten::intersection(TMathZahyo &point) const
{
    const TShapeList &ps = myShape()->parents();
    if (ps.first()->shapeType() != TShapetype::SHAPE_circle
        || ps.second()->shapeType() != TShapetype::SHAPE_circle)
        return false;
    const TMathEn &c1 = circleOf(ps.first());
    const TMathEn &c2 = circleOf(ps.second());
    const double r1 = c1.radius, r2 = c2.radius;
    const double vx = c2.centre.x - c1.centre.x, vy = c2.centre.y - c1.centre.y;
    const double d = std::hypot(vx, vy);
    // Concentric circles share all points or none.
    if (d <= kTol || d > r1 + r2 + kTol || d < std::fabs(r1 - r2) - kTol)
        return false;
    const bool touching
        = std::fabs(d - (r1 + r2)) <= kTol || std::fabs(d - std::fabs(r1 - r2)) <= kTol;
    if (touching && fIndex != 1)
        return false;
    if (fIndex != 1 && fIndex != 2)
        return false;
    const double ex = vx / d, ey = vy / d;
    const double along = (d * d + r1 * r1 - r2 * r2) / (2 * d);
    const double h = touching ? 0 : std::sqrt(std::max(0.0, r1 * r1 - along * along));
    // The first point on the left of the way from the first centre to the second.
    const double sign = fIndex == 1 ? 1 : -1;
    point.setXY(c1.centre.x + along * ex - sign * h * ey, c1.centre.y + along * ey + sign * h * ex);
    return onDrawnPart(point, c1) && onDrawnPart(point, c2);
}

void TCurves2KoutenClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    TShapeList curves;
    order(parents, curves);
    const int count = interactive ? pointCount() : 1;
    for (int index = 1; index <= count; ++index) {
        std::unique_ptr<TShapeDot> dot(TShapeDot::createFreeShapeDot());
        // Where the curves cross: neither dragged nor edited in a dialog.
        dot->setCanMoveAnywhere(false);
        dot->setPropertyType(TPropertyType::None);
        auto *relation = static_cast<TParentCurves2Kouten *>(attachNew(figureType, *dot));
        relation->setIndex(index);
        relation->setRelation(dot.get(), curves);
        outList.add(std::move(dot));
    }
}

std::unique_ptr<TAbstractParents2Children> TParentLines2KoutenClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentLines2Kouten>(*this, figureType);
}

void TParentLines2KoutenClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add(lineLikeShapeTypes(), 2, 2);
}

std::unique_ptr<TAbstractParents2Children> TParentLineCircle2KoutenClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentLineCircle2Kouten>(*this, figureType);
}

void TCurves2KoutenClass::order(const TShapeList &parents, TShapeList &out) const
{
    for (TShape *p : parents.items())
        out.add(p);
}

void TParentLineCircle2KoutenClass::order(const TShapeList &parents, TShapeList &out) const
{
    for (TShape *p : parents.items())
        if (isLineLike(p))
            out.add(p);
    for (TShape *p : parents.items())
        if (!isLineLike(p))
            out.add(p);
}

void TParentLineCircle2KoutenClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add(lineLikeShapeTypes(), 1, 1);
    rules.add({ TShapetype::SHAPE_circle }, 1, 1);
}

std::unique_ptr<TAbstractParents2Children> TParentCircles2KoutenClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentCircles2Kouten>(*this, figureType);
}

void TParentCircles2KoutenClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_circle }, 2, 2);
}

} // namespace zarno
