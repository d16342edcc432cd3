#pragma once

#include "model/geometry/mathzahyo.h"

namespace zarno {

class TAbstractImageAdapter;
class TPenBrush;

// An ellipse whose axes are parallel to the coordinate axes. Either semi-axis
// may be the longer one.
class TMathDaen : public TAbstractMathShape
{
public:
    TMathZahyo centre;
    double semiAxisX = 0;
    double semiAxisY = 0;

    QString id() const override { return QStringLiteral("mathDaen"); }

    // The ellipse about the centre through p1 and p2. On failure the centre
    // has already been replaced; the semi-axes are unchanged.
    bool setBy3Points(const TMathZahyo &c, const TMathZahyo &p1, const TMathZahyo &p2);
    TMathZahyo anchorPoint() const;
    // For picking only: exact on the ellipse, growing away from it.
    double distance(const TMathZahyo &p) const;
    double centreX() const { return centre.x; }
    double centreY() const { return centre.y; }
    // On the major axis; focus1 on the positive side.
    TMathZahyo focus1() const;
    TMathZahyo focus2() const;
    void drawEllipseShape(TAbstractImageAdapter &surface, TPenBrush &penBrush) const;
};

} // namespace zarno
