#pragma once

#include "core/valuetypes.h"
#include "formula/calcdimension.h"

#include <QtGlobal>
#include <vector>

namespace zarno {

// The k-element subsets of n indices, as bit masks: bit (index + offset) is
// set for every chosen index. The subsets come in lexicographic order of
// their sorted indices ({0,1,2}, {0,1,3}, …); for k = 0 there is none.
class TCombinationsIterator
{
public:
    TCombinationsIterator(int n, int offset, int k);
    bool hasNext() const { return fHasNext; }
    quint32 next();

private:
    int fN;
    int fOffset;
    std::vector<int> fIndices;
    bool fHasNext;
};

// The polynomial through given points by Lagrange's formula, with its
// coefficients for those who need them (the extreme points of the graph).
class TLagrangesHokan
{
public:
    // Points closer than this in x are one x: no polynomial passes through both.
    static constexpr double kSameX = 0.00001;

    // Computes the weights and coefficients; fewer than three points, two
    // with the same x or one without a position make the interpolation invalid.
    void setPoints(const std::vector<TModelPoint> &points);
    bool isValid() const { return !fWeights.empty(); }
    // The value of the polynomial at x (NaN while invalid).
    double valueAt(double x) const;
    // Degree (the number of points minus one, also when the leading
    // coefficient comes out zero) and coefficients; no polynomial while invalid.
    const TDimensionInfo &coefficients() const { return fCoefficients; }

private:
    std::vector<TModelPoint> fPoints;
    std::vector<double> fWeights;
    TDimensionInfo fCoefficients;
};

} // namespace zarno
