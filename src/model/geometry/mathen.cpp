#include "model/geometry/mathen.h"

#include "base/fileio.h"
#include "base/penbrush.h"
#include "base/surface.h"
#include "model/geometry/mathcyokusen.h"

#include <cmath>

namespace zarno {

double TMathEn::distance(const TMathZahyo &p) const
{
    TMathZahyo nearest;
    if (!nearest.setNearestOnCircle(p, *this))
        return radius;
    return nearest.distance(p);
}

double TMathEn::boundaryAngle(int i) const
{
    return centre.angleDegreeTo(boundary.getPoint(i));
}

bool TMathEn::setCircumcircle(const TMathZahyo &p1, const TMathZahyo &p2, const TMathZahyo &p3)
{
    if (p1.isSame(p2) || p1.isSame(p3))
        return false;
    TMathCyokusen bisector12, bisector13;
    bisector12.setPerpendicularBisector(p1, p2);
    bisector13.setPerpendicularBisector(p1, p3);
    if (bisector12.isParallel(bisector13))
        return false;
    TMathZahyo c;
    if (!c.setIntersection(bisector12, bisector13))
        return false;
    centre = c;
    radius = c.distance(p1);
    return true;
}

namespace {
// Start and end angles of an arc in radians, the end unwrapped past the start.
void arcAngles(const TMathEn &circle, double &alpha0, double &alpha1)
{
    const TMathZahyo &c = circle.centre;
    alpha0 = std::atan2(circle.boundary.first.y - c.y, circle.boundary.first.x - c.x);
    alpha1 = std::atan2(circle.boundary.second.y - c.y, circle.boundary.second.x - c.x);
    if (alpha1 < alpha0)
        alpha1 += 2 * M_PI;
}
} // namespace

TMathZahyo TMathEn::anchorPoint() const
{
    double angle = M_PI / 4;
    if (boundary.isArc()) {
        double alpha0, alpha1;
        arcAngles(*this, alpha0, alpha1);
        angle = (alpha0 + alpha1) / 2;
    }
    return { centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle) };
}

void TMathEn::setBoundaryPointFrom(int i, double x, double y)
{
    const double dist = centre.distanceXY(x, y);
    if (isGeomZero(dist)) {
        boundary.setPoint(i, TMathZahyo(centre.x + radius, centre.y));
        return;
    }
    if (isGeomZero(radius))
        radius = dist;
    const double k = radius / dist;
    boundary.setPoint(i, TMathZahyo(centre.x + k * (x - centre.x), centre.y + k * (y - centre.y)));
}

bool TMathEn::isInArc(const TMathZahyo &p) const
{
    if (boundary.type == TBoundaryType::btAll)
        return true;
    double alpha0, alpha1;
    arcAngles(*this, alpha0, alpha1);
    double phi = std::atan2(p.y - centre.y, p.x - centre.x);
    if (phi < alpha0)
        phi += 2 * M_PI;
    return phi <= alpha1;
}

void TMathEn::drawCircleOrArc(TAbstractImageAdapter &surface, TPenBrush &penBrush) const
{
    if (!boundary.isArc()) {
        surface.drawCircle(penBrush, centre.x, centre.y, radius);
        return;
    }
    surface.drawArc(penBrush, centre.x, centre.y, radius, boundary.first.x, boundary.first.y,
        boundary.second.x, boundary.second.y);
}

void TMathEn::drawOuterArc(TAbstractImageAdapter &surface, TPenBrush &penBrush) const
{
    if (!boundary.isArc())
        return;
    penBrush.setUseOuterStyle(true);
    try {
        surface.drawArc(penBrush, centre.x, centre.y, radius, boundary.second.x, boundary.second.y,
            boundary.first.x, boundary.first.y);
    } catch (...) {
        penBrush.setUseOuterStyle(false);
        throw;
    }
    penBrush.setUseOuterStyle(false);
}

void TMathEn::assign(const TMathEn &other)
{
    centre = other.centre;
    radius = other.radius;
    boundary.assign(other.boundary);
}

void TMathEn::saveToFile(TAbstractFileWriter &writer) const
{
    writer.openTag(id());
    boundary.saveToFile(writer);
    writer.closeTag(id());
}

void TMathEn::loadFromFile(TAbstractXmlNode &parentNode)
{
    TAbstractXmlNode &group = parentNode.getThisTagNode(id());
    boundary.loadFromFile(group.getThisTagNode(boundary.tagName()));
}

} // namespace zarno
