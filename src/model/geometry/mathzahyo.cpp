#include "model/geometry/mathzahyo.h"

#include "model/geometry/mathcyokusen.h"
#include "model/geometry/mathen.h"

#include <cmath>

namespace zarno {

bool TMathZahyo::isSame(const TMathZahyo &p) const
{
    return isGeomZero(x - p.x) && isGeomZero(y - p.y);
}

double TMathZahyo::distance(const TMathZahyo &p) const
{
    return distanceXY(p.x, p.y);
}

double TMathZahyo::distanceXY(double px, double py) const
{
    return std::hypot(px - x, py - y);
}

double TMathZahyo::angleDegreeTo(const TMathZahyo &q) const
{
    const double dx = q.x - x, dy = q.y - y;
    if (isGeomZero(dx))
        return q.y > y ? 90.0 : -90.0;
    if (isGeomZero(dy))
        return q.x >= x ? 0.0 : 180.0;
    double theta = std::atan(dy / dx) * 180.0 / M_PI;
    if (q.x < x)
        theta += q.y > y ? 180.0 : -180.0;
    return theta;
}

void TMathZahyo::rotateAbout(const TMathZahyo &centre, double theta)
{
    const double c = std::cos(theta), s = std::sin(theta);
    const double dx = x - centre.x, dy = y - centre.y;
    x = c * dx - s * dy + centre.x;
    y = s * dx + c * dy + centre.y;
}

bool TMathZahyo::setInternalDivision(const TMathZahyo &p, const TMathZahyo &q, double m, double n)
{
    const double sum = m + n;
    if (isGeomZero(sum))
        return false;
    const double nx = (n * p.x + m * q.x) / sum;
    const double ny = (n * p.y + m * q.y) / sum;
    setXY(nx, ny);
    return true;
}

void TMathZahyo::setFootOnLine(const TMathZahyo &p, const TMathCyokusen &line)
{
    const double a = line.a, b = line.b, c = line.c;
    const double d = a * a + b * b;
    const double px = p.x, py = p.y;
    setXY((b * b * px - a * b * py - a * c) / d, (-a * b * px + a * a * py - b * c) / d);
}

bool TMathZahyo::setNearestOnLine(const TMathZahyo &p, const TMathCyokusen &line)
{
    const TBoundaryOfLine &bd = line.boundary;
    if (bd.type == TBoundaryType::btAll || bd.type == TBoundaryType::btAllVec) {
        setFootOnLine(p, line);
        return true;
    }
    // Along the line's direction of travel (−b, a): behind the start gives
    // the start, beyond a segment's end gives the end.
    const double dx = -line.b, dy = line.a;
    const double t0 = dx * (p.x - bd.first.x) + dy * (p.y - bd.first.y);
    if (t0 < 0) {
        *this = bd.first;
        return true;
    }
    if (bd.type == TBoundaryType::btBothSides
        && dx * (p.x - bd.second.x) + dy * (p.y - bd.second.y) > 0) {
        *this = bd.second;
        return true;
    }
    setFootOnLine(p, line);
    return true;
}

bool TMathZahyo::setRadialProjection(const TMathZahyo &p, const TMathEn &circle)
{
    const double dist = circle.centre.distance(p);
    if (isGeomZero(dist))
        return false;
    const TMathZahyo centre = circle.centre;
    return setInternalDivision(centre, p, circle.radius, dist - circle.radius);
}

bool TMathZahyo::setNearestOnCircle(const TMathZahyo &p, const TMathEn &circle)
{
    if (!setRadialProjection(p, circle))
        return false;
    if (!circle.boundary.isArc())
        return true;
    double s = circle.boundaryAngle(0);
    double e = circle.boundaryAngle(1);
    double phi = circle.centre.angleDegreeTo(*this);
    if (phi < s)
        phi += 360;
    if (e < s)
        e += 360;
    if (phi > e)
        *this = (phi - e) > (s + 360 - phi) ? circle.boundary.first : circle.boundary.second;
    return true;
}

bool TMathZahyo::setIntersection(const TMathCyokusen &line1, const TMathCyokusen &line2)
{
    const double det = line1.a * line2.b - line2.a * line1.b;
    if (isGeomZero(det))
        return false;
    const double nx = -(line1.c * line2.b - line2.c * line1.b) / det;
    const double ny = (line1.c * line2.a - line2.c * line1.a) / det;
    setXY(nx, ny);
    return true;
}

double TMathVector::angle() const
{
    return std::atan2(y, x);
}

} // namespace zarno
