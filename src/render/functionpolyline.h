#pragma once

#include "core/valuetypes.h"

#include <vector>

namespace zarno {

// The samples of the graph piece being built, x and y apart so that they go
// to a surface's polyline as they are, with the least and greatest x
// appended since the last range reset.
class TFunctionPolyline
{
public:
    static constexpr int kInitialCapacity = 20000;

    TFunctionPolyline();

    // Grows both arrays to n when they are shorter; always empties the store.
    void ensureCapacity(int n);
    // Grows as needed: a piece of any length is kept whole.
    void append(const TModelPoint &p);
    void clear() { fCount = 0; }
    void resetRange();
    TModelPoint last() const;
    TModelPoint secondLast() const;

    int count() const { return fCount; }
    int capacity() const { return int(fXs.size()); }
    const double *xs() const { return fXs.data(); }
    const double *ys() const { return fYs.data(); }
    double least() const { return fLeast; }
    double greatest() const { return fGreatest; }

private:
    std::vector<double> fXs;
    std::vector<double> fYs;
    int fCount = 0;
    double fLeast = 1.7e308;
    double fGreatest = -1.7e308;
};

} // namespace zarno
