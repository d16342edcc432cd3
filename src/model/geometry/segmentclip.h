#pragma once

#include "core/valuetypes.h"

#include <optional>

namespace zarno {

// An axis-parallel box, edges included.
struct TClipBox
{
    double xMin = 0;
    double xMax = 0;
    double yMin = 0;
    double yMax = 0;
};

// The kept part of a segment p + t (q - p): t0 <= t <= t1 within 0 .. 1;
// t0 stays 0 and t1 stays 1 where p and q themselves are kept.
struct TSegmentPart
{
    double t0 = 0;
    double t1 = 1;
};

// Cuts the segment p–q to the box (Liang–Barsky), or nothing when no part
// of it lies in the box. A segment that only touches the box keeps a single
// point (t0 == t1); a segment of length 0 is kept whole or not at all.
std::optional<TSegmentPart> clipSegmentToBox(
    const TModelPoint &p, const TModelPoint &q, const TClipBox &box);

} // namespace zarno
