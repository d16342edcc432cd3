#pragma once

#include "core/valuetypes.h"

#include <QString>

namespace zarno {

class TMathCyokusen;
class TMathEn;

// The one tolerance of every geometric comparison, in whatever unit a value has.
inline bool isGeomZero(double v)
{
    return TCheckZeroInfinity::isZero(v);
}

// Base of the primitives that are saved under a tag of their own.
class TAbstractMathShape
{
public:
    virtual ~TAbstractMathShape() = default;
    // The tag name the primitive is saved under.
    virtual QString id() const = 0;
};

// A point in model units.
class TMathZahyo
{
public:
    TMathZahyo() = default;
    TMathZahyo(double ax, double ay)
        : x(ax)
        , y(ay)
    { }
    explicit TMathZahyo(const TModelPoint &p)
        : x(p.x)
        , y(p.y)
    { }

    double x = 0;
    double y = 0;

    void setXY(double ax, double ay)
    {
        x = ax;
        y = ay;
    }
    void assign(const TModelPoint &p) { setXY(p.x, p.y); }
    TModelPoint toPoint() const { return { x, y }; }

    // Both coordinates agree within the tolerance.
    bool isSame(const TMathZahyo &p) const;
    double distance(const TMathZahyo &p) const;
    double distanceXY(double px, double py) const;
    // Direction from this point to q in degrees, in (-180, 180]; -90 when they coincide.
    double angleDegreeTo(const TMathZahyo &q) const;
    // Counter-clockwise about the centre by theta radians.
    void rotateAbout(const TMathZahyo &centre, double theta);
    // The point dividing p->q in the ratio m:n; false (unchanged) when m + n is zero.
    bool setInternalDivision(const TMathZahyo &p, const TMathZahyo &q, double m, double n);
    // Foot of the perpendicular from p on the unbounded line.
    void setFootOnLine(const TMathZahyo &p, const TMathCyokusen &line);
    // Nearest point of the drawn part of the line (whole line, ray or segment).
    bool setNearestOnLine(const TMathZahyo &p, const TMathCyokusen &line);
    // The point of the full circle on the ray from its centre through p.
    bool setRadialProjection(const TMathZahyo &p, const TMathEn &circle);
    // Nearest point of the circle or arc; false when p is at the centre.
    bool setNearestOnCircle(const TMathZahyo &p, const TMathEn &circle);
    // The common point of two lines; false when they are parallel.
    bool setIntersection(const TMathCyokusen &line1, const TMathCyokusen &line2);
};

// A direction in model units.
class TMathVector
{
public:
    TMathVector() = default;
    TMathVector(double ax, double ay)
        : x(ax)
        , y(ay)
    { }

    double x = 0;
    double y = 0;

    void setXY(double ax, double ay)
    {
        x = ax;
        y = ay;
    }
    // atan2(y, x) in radians.
    double angle() const;
};

} // namespace zarno
