#pragma once

#include "model/geometry/boundary.h"

namespace zarno {

// A circle, or an arc running counter-clockwise from boundary.first to
// boundary.second.
class TMathEn : public TAbstractMathShape
{
public:
    TMathZahyo centre;
    double radius = 0;
    TBoundaryOfCircle boundary;

    QString id() const override { return QStringLiteral("mathEn"); }

    void setCentreRadius(const TMathZahyo &c, double r)
    {
        centre = c;
        radius = r;
    }
    TModelPoint centrePair() const { return centre.toPoint(); }
    // Distance to the circle or arc; the radius for a point at the centre.
    double distance(const TMathZahyo &p) const;
    // Degrees from the centre to boundary point i, in (-180, 180].
    double boundaryAngle(int i) const;
    // False, unchanged, for coincident or collinear points.
    bool setCircumcircle(const TMathZahyo &p1, const TMathZahyo &p2, const TMathZahyo &p3);
    // Where a locus mark of the circle sits: 45° on a full circle, mid-arc on an arc.
    TMathZahyo anchorPoint() const;
    // Places arc end i on the circle in the direction of (x, y) from the centre.
    void setBoundaryPointFrom(int i, double x, double y);
    bool isInArc(const TMathZahyo &p) const;

    void drawCircleOrArc(TAbstractImageAdapter &surface, TPenBrush &penBrush) const;
    // The rest of the circle beyond an arc, in the pen-brush's outer style.
    void drawOuterArc(TAbstractImageAdapter &surface, TPenBrush &penBrush) const;

    void assign(const TMathEn &other);
    void saveToFile(TAbstractFileWriter &writer) const;
    // Reads the mathEn group below the given node.
    void loadFromFile(TAbstractXmlNode &parentNode);
};

} // namespace zarno
