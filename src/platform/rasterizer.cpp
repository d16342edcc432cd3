#include "platform/rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace zarno::raster {

namespace {

// std::floor and std::ceil go through the C library here (no SSE4.1 in the
// baseline); these run once per row or column.
inline qint64 floorToInt(double v)
{
    const qint64 i = qint64(v);
    return v < double(i) ? i - 1 : i;
}
inline qint64 ceilToInt(double v)
{
    const qint64 i = qint64(v);
    return v > double(i) ? i + 1 : i;
}

// floor(a / b) and ceil(a / b) for b > 0.
qint64 floorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
qint64 ceilDiv(qint64 a, qint64 b)
{
    return -floorDiv(-a, b);
}

// Steps t = 0 .. dMajor along the major axis; the minor offset at step t is
// m(t) = floor((2·t·|dMinor| + dMajor) / (2·dMajor)), the ideal one rounded
// half up. Only the steps whose pixel lies in the bounds are walked: the
// bounds are turned into a range of t first, so a line from −10001 to 10001
// costs what its visible part costs.
void walk(const TPixelTarget &t, bool xMajor, int major0, int minor0, int dMajor, int dMinor)
{
    const QRect &b = t.bounds;
    const qint64 majorLo = xMajor ? b.left() : b.top(), majorHi = xMajor ? b.right() : b.bottom();
    const qint64 minorLo = xMajor ? b.top() : b.left(), minorHi = xMajor ? b.bottom() : b.right();
    const qint64 A = std::abs(dMinor), D = dMajor;
    const int sMinor = dMinor < 0 ? -1 : 1;
    qint64 tStart = std::max<qint64>(0, majorLo - major0);
    qint64 tEnd = std::min<qint64>(D, majorHi - major0);
    // The offsets m that keep the minor coordinate in the bounds.
    qint64 mLo = sMinor > 0 ? minorLo - minor0 : minor0 - minorHi;
    qint64 mHi = sMinor > 0 ? minorHi - minor0 : minor0 - minorLo;
    if (A == 0) {
        if (mLo > 0 || mHi < 0)
            return;
    } else {
        // m(t) >= k  <=>  t >= ceil((2Dk − D) / 2A);  m(t) <= k  <=>  t < ceil((2D(k+1) − D) / 2A)
        if (mLo > 0)
            tStart = std::max(tStart, ceilDiv(2 * D * mLo - D, 2 * A));
        tEnd = std::min(tEnd, ceilDiv(2 * D * (mHi + 1) - D, 2 * A) - 1);
    }
    if (tStart > tEnd)
        return;
    const qint64 twoD = 2 * D;
    const qint64 num = 2 * tStart * A + D;
    qint64 m = num / twoD;
    qint64 r = num % twoD;
    const qint64 stepMajor = xMajor ? 1 : t.stride;
    const qint64 stepMinor = (xMajor ? t.stride : 1) * sMinor;
    const qint64 x0 = xMajor ? major0 + tStart : minor0 + sMinor * m;
    const qint64 y0 = xMajor ? minor0 + sMinor * m : major0 + tStart;
    std::uint32_t *p = t.bits + y0 * t.stride + x0;
    const std::uint32_t color = t.color;
    if (!t.rects) {
        for (qint64 k = tStart; k <= tEnd; ++k) {
            *p = color;
            p += stepMajor;
            r += 2 * A;
            if (r >= twoD) {
                r -= twoD;
                p += stepMinor;
            }
        }
        return;
    }
    qint64 major = major0 + tStart, minor = minor0 + sMinor * m;
    for (qint64 k = tStart; k <= tEnd; ++k) {
        if (xMajor ? t.contains(int(major), int(minor)) : t.contains(int(minor), int(major)))
            *p = color;
        p += stepMajor;
        ++major;
        r += 2 * A;
        if (r >= twoD) {
            r -= twoD;
            p += stepMinor;
            minor += sMinor;
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
        walk(t, true, x0, y0, x1 - x0, y1 - y0);
    } else {
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        walk(t, false, y0, x0, y1 - y0, x1 - x0);
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

// Along one axis of an ellipse, the pixel on the near side of the curve for
// each step away from the centre: k = floor(c + 1/2 − d), d the curve's
// distance from the centre line at that step, the rounding exact in
// integers. All lengths are doubled so that half pixels are whole numbers:
// stepSize and otherSize are the box's extents (twice the semi-axes),
// centre2 twice the centre along the other axis, ds twice the step's offset.
// Steps go outwards and k only grows, so each step costs a few products.
class TNearestRounder
{
public:
    TNearestRounder(qint64 stepSize, qint64 otherSize, qint64 centre2)
        : fA2(stepSize * stepSize)
        , fB2(otherSize * otherSize)
        , fC2(centre2)
    { }
    // Seeds k from an estimate of the pixel's centre position.
    void start(qint64 ds, double estimate)
    {
        fK = floorToInt(estimate + 0.5);
        fit(ds);
    }
    qint64 next(qint64 ds)
    {
        fit(ds);
        return fK;
    }

private:
    // With P = c2 + 1 − 2k and Q = A²·(2d)² = B²·(A² − ds²), k is right when
    // P − 2 < 2d <= P, that is (P >= 0 and A²P² >= Q) and (P − 2 < 0 or A²(P − 2)² < Q).
    void fit(qint64 ds)
    {
        // 128-bit products: with coordinates up to 2^20 they reach 2^86.
        using Wide = __int128;
        const Wide q = Wide(fB2) * (fA2 - ds * ds);
        auto within = [&](qint64 p) { return p >= 0 && Wide(fA2) * p * p >= q; };
        while (!within(fC2 + 1 - 2 * fK))
            --fK;
        while (within(fC2 - 1 - 2 * fK))
            ++fK;
    }

    qint64 fA2, fB2, fC2;
    qint64 fK = 0;
};

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
    const double invA2 = 1 / a2, invB2 = 1 / b2;
    const double hyp = std::sqrt(a2 + b2);
    const double xt = a2 / hyp; // where the slope is ±1
    const double yt = b2 / hyp;

    // put only ever sees pixels inside the bounds.
    const qint64 L = clip.left(), R = clip.right(), T = clip.top(), B = clip.bottom();
    auto put1 = [&](qint64 x, qint64 y) {
        if (x >= L && x <= R && y >= T && y <= B)
            put(int(x), int(y));
    };
    auto put4 = [&](qint64 x, qint64 y) {
        put1(x, y);
        put1(cx2 - x, y);
        put1(x, cy2 - y);
        put1(cx2 - x, cy2 - y);
    };
    // Columns right of the centre whose pixel or mirror can be in the clip;
    // each gets the row nearest the curve in the upper half.
    const qint64 colFirst = ceilToInt(cx);
    // One column past the 45° point: the pixel there may lie between the
    // last whole row of the steep part and the last column of the flat part.
    const qint64 colLast = std::min<qint64>(x2, ceilToInt(cx + xt));
    auto columns = [&](qint64 lo, qint64 hi) {
        lo = std::max(lo, colFirst);
        hi = std::min(hi, colLast);
        if (lo > hi)
            return;
        TNearestRounder rounder(x2 - x1, y2 - y1, cy2);
        rounder.start(
            2 * lo - cx2, cy - b * std::sqrt(std::max(0.0, 1.0 - (lo - cx) * (lo - cx) * invA2)));
        for (qint64 x = lo; x <= hi; ++x)
            put4(x, rounder.next(2 * x - cx2));
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

    // Rows below the centre, each with the column nearest the curve on the
    // left (mirrored to the right).
    const qint64 rowFirst = ceilToInt(cy);
    const qint64 rowLast = std::min<qint64>(y2, ceilToInt(cy + yt));
    auto rows = [&](qint64 lo, qint64 hi) {
        lo = std::max(lo, rowFirst);
        hi = std::min(hi, rowLast);
        if (lo > hi)
            return;
        TNearestRounder rounder(y2 - y1, x2 - x1, cx2);
        rounder.start(
            2 * lo - cy2, cx - a * std::sqrt(std::max(0.0, 1.0 - (lo - cy) * (lo - cy) * invB2)));
        for (qint64 y = lo; y <= hi; ++y)
            put4(rounder.next(2 * y - cy2), y);
    };
    eachSpan(clip.top(), clip.bottom(), cy2, rows);

    // The four extremes, which a very flat or very tall ellipse reaches
    // between two whole rows or columns; a centre between two pixels gives
    // both of them.
    for (qint64 y = floorToInt(cy); y <= ceilToInt(cy); ++y)
        put4(x2, y);
    for (qint64 x = floorToInt(cx); x <= ceilToInt(cx); ++x)
        put4(x, y1);
}

} // namespace

void ellipse(const TPixelTarget &t, int x1, int y1, int x2, int y2)
{
    std::uint32_t *const bits = t.bits;
    const qint64 stride = t.stride;
    const std::uint32_t color = t.color;
    if (t.rects)
        ellipsePixels(t, x1, y1, x2, y2, [&](int x, int y) { t.plot(x, y); });
    else
        ellipsePixels(t, x1, y1, x2, y2,
            [bits, stride, color](int x, int y) { bits[y * stride + x] = color; });
}

void arc(const TPixelTarget &t, int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey)
{
    const qint64 cx2 = qint64(x1) + x2, cy2 = qint64(y1) + y2;
    // Doubled offsets from the centre with y pointing up.
    const qint64 su = 2 * qint64(sx) - cx2, sv = cy2 - 2 * qint64(sy);
    const qint64 eu = 2 * qint64(ex) - cx2, ev = cy2 - 2 * qint64(ey);
    ellipsePixels(t, x1, y1, x2, y2, [&](int x, int y) {
        if (inSweep(su, sv, eu, ev, 2 * qint64(x) - cx2, cy2 - 2 * qint64(y))
            && (!t.rects || t.contains(x, y)))
            t.bits[qint64(y) * t.stride + x] = t.color;
    });
}

namespace {

// Writes the pixels x0 .. x1 of row y that lie in the target.
template <typename Color> void span(const TPixelTarget &t, int y, qint64 x0, qint64 x1, Color color)
{
    if (y < t.bounds.top() || y > t.bounds.bottom())
        return;
    x0 = std::max<qint64>(x0, t.bounds.left());
    x1 = std::min<qint64>(x1, t.bounds.right());
    std::uint32_t *row = t.bits + qint64(y) * t.stride;
    for (qint64 x = x0; x <= x1; ++x)
        if (!t.rects || t.contains(int(x), y))
            row[x] = color(int(x), y);
}

// Row by row, the pixel centres inside the outer ellipse (semi-axes a + h,
// b + h) and strictly inside the inner one (a − h, b − h), as column ranges:
// rowSpans(y, outerLo, outerHi, innerLo, innerHi), the inner range empty
// (innerLo > innerHi) where the inner ellipse does not reach the row.
template <typename RowSpans>
void ringRows(const TPixelTarget &t, int x1, int y1, int x2, int y2, double h, RowSpans rowSpans)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    const double cx = (qint64(x1) + x2) / 2.0, cy = (qint64(y1) + y2) / 2.0;
    const double a = (x2 - x1) / 2.0, b = (y2 - y1) / 2.0;
    const double ao = a + h, bo = b + h, ai = a - h, bi = b - h;
    if (!(ao > 0 && bo > 0))
        return; // a flat box without a pen has no inside
    const QRect &clip = t.bounds;
    if (clip.isEmpty() || cx + ao < clip.left() || cx - ao > clip.right() || cy + bo < clip.top()
        || cy - bo > clip.bottom())
        return;
    const qint64 top = std::max<qint64>(ceilToInt(cy - bo), clip.top());
    const qint64 bottom = std::min<qint64>(floorToInt(cy + bo), clip.bottom());
    for (qint64 y = top; y <= bottom; ++y) {
        const double dy = y - cy;
        const double fo = 1 - (dy / bo) * (dy / bo);
        if (fo < 0)
            continue;
        const double ox = ao * std::sqrt(fo);
        const qint64 outerLo = ceilToInt(cx - ox), outerHi = floorToInt(cx + ox);
        qint64 innerLo = 1, innerHi = 0;
        if (ai > 0 && bi > 0 && std::fabs(dy) < bi) {
            const double ix = ai * std::sqrt(1 - (dy / bi) * (dy / bi));
            innerLo = floorToInt(cx - ix) + 1;
            innerHi = ceilToInt(cx + ix) - 1;
        }
        rowSpans(int(y), outerLo, outerHi, innerLo, innerHi);
    }
}

} // namespace

void wideEllipse(const TPixelTarget &t, int x1, int y1, int x2, int y2, int width, bool fill,
    std::uint32_t fillColor)
{
    const std::uint32_t pen = t.color;
    const auto penColor = [pen](int, int) { return pen; };
    const auto inside = [fillColor](int, int) { return fillColor; };
    ringRows(
        t, x1, y1, x2, y2, width / 2.0, [&](int y, qint64 oLo, qint64 oHi, qint64 iLo, qint64 iHi) {
            if (iLo > iHi) {
                span(t, y, oLo, oHi, penColor);
                return;
            }
            span(t, y, oLo, iLo - 1, penColor);
            span(t, y, iHi + 1, oHi, penColor);
            if (fill)
                span(t, y, iLo, iHi, inside);
        });
}

void fillEllipse(const TPixelTarget &t, int x1, int y1, int x2, int y2)
{
    const std::uint32_t c = t.color;
    // Strictly inside the box's ellipse: the outer ellipse of a zero-width
    // pen would include the outline's own centres, so use the inner one.
    ringRows(t, x1, y1, x2, y2, 0, [&](int y, qint64, qint64, qint64 iLo, qint64 iHi) {
        span(t, y, iLo, iHi, [c](int, int) { return c; });
    });
}

namespace {

// The pixel centres within w/2 of the segment from a to a + d: four times
// the squared distance against w², in integers wide enough for coordinates
// of ±kMaxCoordinate.
struct TCapsule
{
    qint64 ax, ay, dx, dy, l2, w2;

    bool covers(qint64 x, qint64 y) const
    {
        const qint64 px = x - ax, py = y - ay;
        const qint64 dot = px * dx + py * dy;
        if (dot <= 0)
            return 4 * (px * px + py * py) <= w2;
        if (dot >= l2) {
            const qint64 qx = px - dx, qy = py - dy;
            return 4 * (qx * qx + qy * qy) <= w2;
        }
        const __int128 cross = __int128(px) * dy - __int128(py) * dx;
        // Most lines are short enough for 64-bit products.
        constexpr qint64 kSmall = qint64(1) << 30;
        if (cross < kSmall && cross > -kSmall && l2 < kSmall && w2 < kSmall)
            return 4 * qint64(cross) * qint64(cross) <= w2 * l2;
        return 4 * cross * cross <= __int128(w2) * l2;
    }
};

} // namespace

void wideLine(const TPixelTarget &t, int x0, int y0, int x1, int y1, int width)
{
    const qint64 dx = qint64(x1) - x0, dy = qint64(y1) - y0;
    const TCapsule c { x0, y0, dx, dy, dx * dx + dy * dy, qint64(width) * width };
    const double r = width / 2.0, r2 = r * r;
    const double rl = r * std::sqrt(double(c.l2));
    const qint64 top = std::max<qint64>(ceilToInt(std::min(y0, y1) - r), t.bounds.top());
    const qint64 bottom = std::min<qint64>(floorToInt(std::max(y0, y1) + r), t.bounds.bottom());
    // An estimate this close to a whole number may round the wrong way; the
    // integer test settles it.
    constexpr double kTie = 1e-6;
    const auto nearWhole
        = [](double v) { return std::fabs(v - double(floorToInt(v + 0.5))) < kTie; };
    if (dx == 0 || dy == 0) {
        // Lines along the axes (grids, frames) need no estimate: a row
        // within the line's rows, or within half a pen of a horizontal one,
        // is the end discs' widest row stretched along the line.
        const qint64 left = std::min(x0, x1), right = std::max(x0, x1);
        const qint64 upper = std::min(y0, y1), lower = std::max(y0, y1);
        // The largest m with 4(m² + k²) <= w², or -1 for none.
        const auto halfRow = [&](qint64 k) {
            if (4 * k * k > c.w2)
                return qint64(-1);
            qint64 m = qint64(std::sqrt(std::max(0.0, r2 - double(k * k))));
            while (m > 0 && 4 * (m * m + k * k) > c.w2)
                --m;
            while (4 * ((m + 1) * (m + 1) + k * k) <= c.w2)
                ++m;
            return m;
        };
        const qint64 middle = halfRow(0);
        for (qint64 y = top; y <= bottom; ++y) {
            const qint64 k = y < upper ? upper - y : y > lower ? y - lower : 0;
            const qint64 m = k == 0 ? middle : halfRow(k);
            if (m >= 0)
                span(t, int(y), left - m, right + m, [color = t.color](int, int) { return color; });
        }
        return;
    }
    // With dot = (x − x0)·dx + ry·dy and cross = (x − x0)·dy − ry·dx, where
    // ry = y − y0, the band's two ranges at ry = 0 and their slopes.
    const double invDx = 1.0 / double(dx), invDy = 1.0 / double(dy);
    double alongLo = x0, alongHi = x0 + double(c.l2) * invDx;
    double acrossLo = x0 - rl * invDy, acrossHi = x0 + rl * invDy;
    if (alongLo > alongHi)
        std::swap(alongLo, alongHi);
    if (acrossLo > acrossHi)
        std::swap(acrossLo, acrossHi);
    const double alongSlope = -double(dy) * invDx, acrossSlope = double(dx) * invDy;
    for (qint64 y = top; y <= bottom; ++y) {
        // The row's part of the capsule is one range (the shape is convex):
        // the hull of the two end discs' ranges and the band's between them.
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        const auto disc = [&](double cx, double cy) {
            const double h = r2 - (y - cy) * (y - cy);
            if (h >= 0) {
                const double s = std::sqrt(h);
                lo = std::min(lo, cx - s);
                hi = std::max(hi, cx + s);
            }
        };
        disc(x0, y0);
        disc(x1, y1);
        // Between the discs the band: along the segment 0 <= dot <= l2 and
        // across it |cross| <= r·len, each a range of x moving linearly
        // down the rows.
        const double ry = double(y - y0);
        const double bandLo = std::max(alongLo + ry * alongSlope, acrossLo + ry * acrossSlope);
        const double bandHi = std::min(alongHi + ry * alongSlope, acrossHi + ry * acrossSlope);
        if (bandLo <= bandHi) {
            lo = std::min(lo, bandLo);
            hi = std::max(hi, bandHi);
        }
        if (!(lo <= hi))
            continue;
        qint64 xl = ceilToInt(lo), xr = floorToInt(hi);
        if (nearWhole(lo)) {
            while (c.covers(xl - 1, y))
                --xl;
            while (xl <= xr && !c.covers(xl, y))
                ++xl;
        }
        if (nearWhole(hi)) {
            while (c.covers(xr + 1, y))
                ++xr;
            while (xr >= xl && !c.covers(xr, y))
                --xr;
        }
        if (xl <= xr)
            span(t, int(y), xl, xr, [color = t.color](int, int) { return color; });
    }
}

void wideArc(const TPixelTarget &t, int x1, int y1, int x2, int y2, int width, int sx, int sy,
    int ex, int ey)
{
    const qint64 cx2 = qint64(x1) + x2, cy2 = qint64(y1) + y2;
    const qint64 su = 2 * qint64(sx) - cx2, sv = cy2 - 2 * qint64(sy);
    const qint64 eu = 2 * qint64(ex) - cx2, ev = cy2 - 2 * qint64(ey);
    const std::uint32_t pen = t.color;
    // Pixels outside the sweep keep what is there.
    const auto sweep = [&](int y, qint64 lo, qint64 hi) {
        if (y < t.bounds.top() || y > t.bounds.bottom())
            return;
        lo = std::max<qint64>(lo, t.bounds.left());
        hi = std::min<qint64>(hi, t.bounds.right());
        std::uint32_t *row = t.bits + qint64(y) * t.stride;
        for (qint64 x = lo; x <= hi; ++x)
            if (inSweep(su, sv, eu, ev, 2 * x - cx2, cy2 - 2 * qint64(y))
                && (!t.rects || t.contains(int(x), y)))
                row[x] = pen;
    };
    ringRows(
        t, x1, y1, x2, y2, width / 2.0, [&](int y, qint64 oLo, qint64 oHi, qint64 iLo, qint64 iHi) {
            if (iLo > iHi) {
                sweep(y, oLo, oHi);
                return;
            }
            sweep(y, oLo, iLo - 1);
            sweep(y, iHi + 1, oHi);
        });
}

} // namespace zarno::raster
