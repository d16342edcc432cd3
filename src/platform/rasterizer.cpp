#include "platform/rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace zarno::raster {

namespace {

// Runs along the major axis over the steps whose major coordinate lies in
// [lo, hi], keeping the exact rounding of the whole line.
template <typename Plot>
void walk(int major0, int minor0, int dMajor, int dMinor, int lo, int hi, Plot plot)
{
    // Minor offset at step t: floor((2·t·|dMinor| + dMajor) / (2·dMajor)).
    const qint64 aMinor = std::abs(dMinor);
    const int sMinor = dMinor < 0 ? -1 : 1;
    const qint64 twoMajor = 2 * qint64(dMajor);
    qint64 tStart = std::max<qint64>(0, qint64(lo) - major0);
    const qint64 tEnd = std::min<qint64>(dMajor, qint64(hi) - major0);
    if (tStart > tEnd)
        return;
    const qint64 num = 2 * tStart * aMinor + dMajor;
    qint64 m = num / twoMajor;
    qint64 r = num % twoMajor;
    for (qint64 t = tStart; t <= tEnd; ++t) {
        plot(int(major0 + t), int(minor0 + sMinor * m));
        r += 2 * aMinor;
        if (r >= twoMajor) {
            r -= twoMajor;
            ++m;
        }
    }
}

} // namespace

void line(const TPixelTarget &t, int x0, int y0, int x1, int y1)
{
    if (t.bounds.isEmpty())
        return;
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    if (dx == 0 && dy == 0) {
        t.plot(x0, y0);
        return;
    }
    if (dx >= dy) {
        if (x1 < x0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        walk(x0, y0, x1 - x0, y1 - y0, t.bounds.left(), t.bounds.right(),
             [&](int x, int y) { t.plot(x, y); });
    } else {
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        walk(y0, x0, y1 - y0, x1 - x0, t.bounds.top(), t.bounds.bottom(),
             [&](int y, int x) { t.plot(x, y); });
    }
}

bool inSweep(qint64 su, qint64 sv, qint64 eu, qint64 ev, qint64 u, qint64 v)
{
    if (su == 0 && sv == 0)
        su = 1;
    if (eu == 0 && ev == 0)
        eu = 1;
    const qint64 crossSE = su * ev - sv * eu;
    const qint64 crossSP = su * v - sv * u;
    const qint64 crossPE = u * ev - v * eu;
    if (crossSE == 0 && su * eu + sv * ev > 0)
        return true; // the same radial twice: the whole ellipse
    if (crossSE >= 0)
        return crossSP >= 0 && crossPE >= 0;
    return crossSP >= 0 || crossPE >= 0;
}

namespace {

// Walks one quadrant of the outline and hands every pixel together with its
// three mirror images to put(x, y). Coordinates are doubled so that a box of
// odd size, whose centre lies between pixels, mirrors exactly.
template <typename Put>
void ellipsePixels(const TPixelTarget &t, int x1, int y1, int x2, int y2, Put put)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    const QRect clip = t.bounds;
    if (clip.isEmpty() || x2 < clip.left() || x1 > clip.right() || y2 < clip.top()
        || y1 > clip.bottom())
        return;
    const qint64 cx2 = qint64(x1) + x2, cy2 = qint64(y1) + y2;
    if (x1 == x2 || y1 == y2) {
        // A flat box: the ellipse degenerates to the segment across it.
        for (int y = std::max(y1, clip.top()); y <= std::min(y2, clip.bottom()); ++y)
            for (int x = std::max(x1, clip.left()); x <= std::min(x2, clip.right()); ++x)
                put(x, y);
        return;
    }
    const double cx = cx2 / 2.0, cy = cy2 / 2.0;
    const double a = (x2 - x1) / 2.0, b = (y2 - y1) / 2.0;
    const double a2 = a * a, b2 = b * b;
    const double hyp = std::sqrt(a2 + b2);
    const double xt = a2 / hyp; // where the slope is ±1
    const double yt = b2 / hyp;

    auto put4 = [&](qint64 x, qint64 y) {
        put(int(x), int(y));
        put(int(cx2 - x), int(y));
        put(int(x), int(cy2 - y));
        put(int(cx2 - x), int(cy2 - y));
    };
    // Columns right of the centre whose pixel or mirror can be in the clip.
    const qint64 colFirst = qint64(std::ceil(cx));
    const qint64 colLast = std::min<qint64>(x2, qint64(std::floor(cx + xt)));
    auto columns = [&](qint64 lo, qint64 hi) {
        lo = std::max(lo, colFirst);
        hi = std::min(hi, colLast);
        for (qint64 x = lo; x <= hi; ++x) {
            const double dx = x - cx;
            const double dy = b * std::sqrt(std::max(0.0, 1.0 - dx * dx / a2));
            put4(x, qint64(std::floor(cy - dy + 0.5)));
        }
    };
    // A pixel or its mirror image must be in the clip: the clip's own span and
    // its mirror span, merged when they overlap.
    auto eachSpan = [](qint64 lo1, qint64 hi1, qint64 mirror2, auto visit) {
        const qint64 lo2 = mirror2 - hi1, hi2 = mirror2 - lo1;
        if (lo2 <= hi1 && lo1 <= hi2) {
            visit(std::min(lo1, lo2), std::max(hi1, hi2));
        } else {
            visit(lo1, hi1);
            visit(lo2, hi2);
        }
    };
    eachSpan(clip.left(), clip.right(), cx2, columns);

    const qint64 rowFirst = qint64(std::ceil(cy));
    const qint64 rowLast = std::min<qint64>(y2, qint64(std::floor(cy + yt)));
    auto rows = [&](qint64 lo, qint64 hi) {
        lo = std::max(lo, rowFirst);
        hi = std::min(hi, rowLast);
        for (qint64 y = lo; y <= hi; ++y) {
            const double dy = y - cy;
            const double dx = a * std::sqrt(std::max(0.0, 1.0 - dy * dy / b2));
            put4(qint64(std::floor(cx + dx + 0.5)), y);
        }
    };
    eachSpan(clip.top(), clip.bottom(), cy2, rows);

    // The four extremes, which a very flat or very tall ellipse reaches
    // between two whole rows or columns; a centre between two pixels gives
    // both of them.
    for (qint64 y = qint64(std::floor(cy)); y <= qint64(std::ceil(cy)); ++y)
        put4(x2, y);
    for (qint64 x = qint64(std::floor(cx)); x <= qint64(std::ceil(cx)); ++x)
        put4(x, y1);
}

} // namespace

void ellipse(const TPixelTarget &t, int x1, int y1, int x2, int y2)
{
    ellipsePixels(t, x1, y1, x2, y2, [&](int x, int y) { t.plot(x, y); });
}

void arc(const TPixelTarget &t, int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey)
{
    const qint64 cx2 = qint64(x1) + x2, cy2 = qint64(y1) + y2;
    // Doubled offsets from the centre with y pointing up.
    const qint64 su = 2 * qint64(sx) - cx2, sv = cy2 - 2 * qint64(sy);
    const qint64 eu = 2 * qint64(ex) - cx2, ev = cy2 - 2 * qint64(ey);
    ellipsePixels(t, x1, y1, x2, y2, [&](int x, int y) {
        if (inSweep(su, sv, eu, ev, 2 * qint64(x) - cx2, cy2 - 2 * qint64(y)))
            t.plot(x, y);
    });
}

} // namespace zarno::raster
