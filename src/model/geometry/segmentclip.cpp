#include "model/geometry/segmentclip.h"

#include <algorithm>

namespace zarno {

std::optional<TSegmentPart> clipSegmentToBox(
    const TModelPoint &p, const TModelPoint &q, const TClipBox &box)
{
    const double dx = q.x - p.x, dy = q.y - p.y;
    // For each edge: how fast the segment approaches it, and how far inside p is.
    const double towards[4] = { -dx, dx, -dy, dy };
    const double inside[4] = { p.x - box.xMin, box.xMax - p.x, p.y - box.yMin, box.yMax - p.y };
    TSegmentPart part;
    for (int i = 0; i < 4; ++i) {
        if (towards[i] == 0) {
            // Parallel to this edge: wholly outside it or not limited by it.
            if (inside[i] < 0)
                return std::nullopt;
            continue;
        }
        const double t = inside[i] / towards[i];
        if (towards[i] < 0)
            part.t0 = std::max(part.t0, t);
        else
            part.t1 = std::min(part.t1, t);
        if (part.t0 > part.t1)
            return std::nullopt;
    }
    return part;
}

} // namespace zarno
