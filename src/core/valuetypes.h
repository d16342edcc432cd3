#pragma once

#include "core/enums.h"

#include <QPoint>
#include <QRect>
#include <QVector>

namespace zarno {

struct TModelPoint
{
    double x = 0;
    double y = 0;
    bool operator==(const TModelPoint &) const = default;
};
using TModelPointArray = QVector<TModelPoint>;

struct TModelPointST
{
    double s = 0;
    double t = 0;
    bool operator==(const TModelPointST &) const = default;
};
using TModelPointSTArray = QVector<TModelPointST>;

struct TScreenPointValue
{
    int x = 0;
    int y = 0;
    double value = 0;
};

// A rectangle in model units; s runs along x, t along y.
struct TModelRectST
{
    double sMin = 0;
    double sMax = 0;
    double tMin = 0;
    double tMax = 0;

    // B lies inside this rectangle on all four sides, edges included.
    bool contains(const TModelRectST &b) const;
    bool containsPoint(const TModelPoint &p) const;
    // 0 inside, 1 above, 2 below, 3 when p.y is not a number. p.x must lie in [sMin, sMax].
    int checkRange_inOrOut(const TModelPoint &p) const;
    double clampT(double y) const;
};

// Integer range built from two integers in either order.
class T_intRangeMinMax
{
public:
    T_intRangeMinMax() = default;
    T_intRangeMinMax(int a, int b) { set(a, b); }
    void set(int a, int b);
    bool isSet() const { return fSet; }
    int getMin() const;
    int getMax() const;
    bool contains(int v) const;

private:
    int fMin = 0;
    int fMax = 0;
    bool fSet = false;
};

// |x| <= 1e-5: the one tolerance of every geometric and recorded-value comparison.
struct TCheckZeroInfinity
{
    static constexpr double kTolerance = 1e-5;
    static bool isZero(double x);
};

// Offset from an anchor point to the top-left corner of a box of the given
// size placed on the given side of the anchor.
QPoint textAnchorOffset(int width, int height, T_Direction direction);

} // namespace zarno
