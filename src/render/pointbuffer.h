#pragma once

#include "core/valuetypes.h"

#include <QPoint>
#include <vector>

namespace zarno {

class TUnitTransformer;

// The pixel points of the polyline or polygon being drawn. Up to 20001
// points go to a fixed buffer; longer runs go to a growable one. Each
// conversion returns the buffer it filled, so a short polyline after a long
// one never draws the long one's leftovers.
class TPointBuffer
{
public:
    static constexpr int kFixedCapacity = 20001;

    struct Points
    {
        const QPoint *data;
        int count;
    };

    // Converts points 0 .. lastIndex of (xs[i] + offset.x, ys[i] + offset.y).
    // The first NaN stops the conversion with an error naming its index.
    static Points convert(const TUnitTransformer &transform, const TModelPoint &offset,
        int lastIndex, const double *xs, const double *ys);

    // The one buffer pair of the program.
    static TPointBuffer &instance();

private:
    TPointBuffer();
    std::vector<QPoint> fFixed;
    std::vector<QPoint> fGrowable;
};

} // namespace zarno
