#include "core/valuetypes.h"

#include <cmath>

namespace zarno {

bool TModelRectST::contains(const TModelRectST &b) const
{
    return sMin <= b.sMin && b.sMax <= sMax && tMin <= b.tMin && b.tMax <= tMax;
}

bool TModelRectST::containsPoint(const TModelPoint &p) const
{
    return sMin <= p.x && p.x <= sMax && tMin <= p.y && p.y <= tMax;
}

int TModelRectST::checkRange_inOrOut(const TModelPoint &p) const
{
    if (!(sMin <= p.x && p.x <= sMax))
        throw ESouteigai(QStringLiteral("modelRectST"),
            QStringLiteral("sの値が範囲を外れています。"), QStringLiteral("checkRange_inOrOut"));
    if (std::isnan(p.y))
        return 3;
    if (p.y > tMax)
        return 1;
    if (p.y < tMin)
        return 2;
    return 0;
}

double TModelRectST::clampT(double y) const
{
    if (y < tMin)
        return tMin;
    if (y > tMax)
        return tMax;
    return y;
}

void T_intRangeMinMax::set(int a, int b)
{
    fMin = a < b ? a : b;
    fMax = a < b ? b : a;
    fSet = true;
}

int T_intRangeMinMax::getMin() const
{
    if (!fSet)
        throw ESouteigai(QStringLiteral("T_intRangeMinMax"),
            QStringLiteral("intRangeMinMaxには正しい範囲がありません。"), QStringLiteral("getMin"));
    return fMin;
}

int T_intRangeMinMax::getMax() const
{
    if (!fSet)
        throw ESouteigai(QStringLiteral("T_intRangeMinMax"),
            QStringLiteral("intRangeMinMaxには正しい範囲がありません。"), QStringLiteral("getMax"));
    return fMax;
}

bool T_intRangeMinMax::contains(int v) const
{
    return getMin() <= v && v <= getMax();
}

bool TCheckZeroInfinity::isZero(double x)
{
    return std::fabs(x) <= kTolerance;
}

QPoint textAnchorOffset(int width, int height, T_Direction direction)
{
    // Integer halves round toward zero, as C++ division does.
    const int hw = width / 2;
    const int hh = height / 2;
    switch (direction) {
    case T_Direction::dirN: return { -hw, -height };
    case T_Direction::dirNE: return { 0, -height };
    case T_Direction::dirE: return { 0, -hh };
    case T_Direction::dirSE: return { 0, 0 };
    case T_Direction::dirS: return { -hw, 0 };
    case T_Direction::dirSW: return { -width, 0 };
    case T_Direction::dirW: return { -width, -hh };
    case T_Direction::dirNW: return { -width, -height };
    case T_Direction::dirCt: return { -hw, -hh };
    }
    return { 0, 0 };
}

} // namespace zarno
