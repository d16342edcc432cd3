#include "model/geometry/mathdaen.h"

#include "base/surface.h"

#include <cmath>

namespace zarno {

bool TMathDaen::setBy3Points(const TMathZahyo &c, const TMathZahyo &p1, const TMathZahyo &p2)
{
    centre = c;
    // u²·U + w²·V = 1 through both points, U = 1/semiAxisX², V = 1/semiAxisY².
    const double u1 = p1.x - c.x, w1 = p1.y - c.y;
    const double u2 = p2.x - c.x, w2 = p2.y - c.y;
    const double d = w2 * w2 * u1 * u1 - u2 * u2 * w1 * w1;
    if (isGeomZero(d))
        return false;
    const double U = (w2 * w2 - w1 * w1) / d;
    if (!(U > 0))
        return false;
    const double V = (u1 * u1 - u2 * u2) / d;
    if (!(V > 0))
        return false;
    semiAxisX = 1 / std::sqrt(U);
    semiAxisY = 1 / std::sqrt(V);
    return true;
}

TMathZahyo TMathDaen::anchorPoint() const
{
    return { centre.x + semiAxisX * std::cos(M_PI / 4), centre.y + semiAxisY * std::sin(M_PI / 4) };
}

double TMathDaen::distance(const TMathZahyo &p) const
{
    // Distance from the point to its polar line with respect to the ellipse.
    const double u = p.x - centre.x, v = p.y - centre.y;
    const double ax2 = semiAxisX * semiAxisX, ay2 = semiAxisY * semiAxisY;
    const double A = ay2 * u, B = ax2 * v, C = -ax2 * ay2;
    const double norm = std::hypot(A, B);
    // At the centre the polar line does not exist; far enough never to be picked.
    if (norm == 0)
        return 1.7e308;
    return std::fabs(A * u + B * v + C) / norm;
}

TMathZahyo TMathDaen::focus1() const
{
    if (semiAxisX >= semiAxisY)
        return { centre.x + std::sqrt(semiAxisX * semiAxisX - semiAxisY * semiAxisY), centre.y };
    return { centre.x, centre.y + std::sqrt(semiAxisY * semiAxisY - semiAxisX * semiAxisX) };
}

TMathZahyo TMathDaen::focus2() const
{
    if (semiAxisX >= semiAxisY)
        return { centre.x - std::sqrt(semiAxisX * semiAxisX - semiAxisY * semiAxisY), centre.y };
    return { centre.x, centre.y - std::sqrt(semiAxisY * semiAxisY - semiAxisX * semiAxisX) };
}

void TMathDaen::drawEllipseShape(TAbstractImageAdapter &surface, TPenBrush &penBrush) const
{
    surface.drawEllipse(penBrush, centre.x, centre.y, semiAxisX, semiAxisY);
}

} // namespace zarno
