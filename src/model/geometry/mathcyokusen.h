#pragma once

#include "model/geometry/boundary.h"

#include <QString>

namespace zarno {

struct TModelViewRect;

// A straight line a·x + b·y + c = 0 with its bounded part (whole line, ray,
// segment or arrow line). A line built through P1 then P2 travels along
// (−b, a) = P2 − P1; the coefficients are never normalised.
class TMathCyokusen : public TAbstractMathShape
{
public:
    double a = 0;
    double b = 0;
    double c = 0;
    TBoundaryOfLine boundary;

    QString id() const override { return QStringLiteral("mathCyokusen"); }

    // False, unchanged, when the two points coincide within the tolerance.
    virtual bool setBy2Points(double x1, double y1, double x2, double y2);
    // NaN for a vertical line.
    virtual double yAt(double x) const;
    // NaN for a horizontal line.
    virtual double xAt(double y) const;
    // Distance to the drawn part (whole line, ray or segment).
    virtual double distance(const TMathZahyo &p) const;
    virtual double distanceXY(double x, double y) const;
    virtual QString equationString() const;

    // Refuses only a and b both exactly zero.
    bool setABC(double na, double nb, double nc);
    void setParallel(const TMathCyokusen &line, double x0, double y0);
    void setPerpendicular(const TMathCyokusen &line, double x0, double y0);
    bool setPerpendicularBisector(const TMathZahyo &p, const TMathZahyo &q);
    bool isParallel(const TMathCyokusen &line) const;
    // Radians in (−π/2, π/2]; says nothing about the direction of travel.
    double angle() const;

    // Clips the unbounded line to the visible rectangle into the boundary's
    // edge points (edge1 ahead in the line's direction).
    void getEdgePoint(const TModelViewRect &view);
    void drawLine(TAbstractImageAdapter &surface, TPenBrush &penBrush);
    // The parts beyond the defining points, in the pen-brush's outer style.
    void drawOuterLine(TAbstractImageAdapter &surface, TPenBrush &penBrush);

    void assign(const TMathCyokusen &other);
    void saveToFile(TAbstractFileWriter &writer) const;
    // Reads the mathCyokusen group below the given node.
    void loadFromFile(TAbstractXmlNode &parentNode);
};

// The general floating format with the given number of significant digits:
// "0", "-1", "0.5", "1.235E4", "1E-5".
QString generalFloatText(double v, int significantDigits);

} // namespace zarno
