// The own rasterizer against independent reference computations: exact
// line pixels (also when clipped), and the ellipse outline's geometry.
#include "platform/rasterizer.h"

#include <QSet>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace zarno;
using namespace zarno::raster;

namespace {

constexpr std::uint32_t kInk = 0xFF000000;
constexpr std::uint32_t kPaper = 0xFFFFFFFF;

struct Grid
{
    Grid(int w, int h)
        : width(w)
        , height(h)
        , pixels(std::size_t(w) * h, kPaper)
    { }
    int width, height;
    std::vector<std::uint32_t> pixels;

    TPixelTarget target(QRect clip = QRect())
    {
        TPixelTarget t;
        t.bits = pixels.data();
        t.stride = width;
        t.bounds = clip.isNull() ? QRect(0, 0, width, height) : clip & QRect(0, 0, width, height);
        t.color = kInk;
        return t;
    }
    bool at(int x, int y) const { return pixels[std::size_t(y) * width + x] == kInk; }
    QSet<QPair<int, int>> inked() const
    {
        QSet<QPair<int, int>> s;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y))
                    s.insert({ x, y });
        return s;
    }
};

// The pixels a line must cover: for every major coordinate between the ends,
// the minor coordinate of the ideal line rounded half up, measured from the
// end with the smaller major coordinate. Computed directly, not stepped.
QSet<QPair<int, int>> referenceLine(int x0, int y0, int x1, int y1, QRect keep)
{
    QSet<QPair<int, int>> s;
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    if (xMajor ? x1 < x0 : y1 < y0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const long long dMajor = xMajor ? x1 - x0 : y1 - y0;
    const long long dMinor = xMajor ? y1 - y0 : x1 - x0;
    for (long long t = 0; t <= dMajor; ++t) {
        long long m = 0;
        if (dMajor > 0) {
            // floor(t·|dMinor|/dMajor + 1/2) with exact integers
            m = (2 * t * std::llabs(dMinor) + dMajor) / (2 * dMajor);
            if (dMinor < 0)
                m = -m;
        }
        const int x = int(xMajor ? x0 + t : x0 + m);
        const int y = int(xMajor ? y0 + m : y0 + t);
        if (keep.contains(x, y))
            s.insert({ x, y });
    }
    return s;
}

} // namespace

TEST(RasterLine, MatchesTheReferenceAndDoesNotDependOnDirection)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(0, 119);
    for (int k = 0; k < 300; ++k) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        Grid forward(120, 120), backward(120, 120);
        line(forward.target(), x0, y0, x1, y1);
        line(backward.target(), x1, y1, x0, y0);
        const auto expected = referenceLine(x0, y0, x1, y1, QRect(0, 0, 120, 120));
        ASSERT_EQ(forward.inked(), expected) << x0 << "," << y0 << " -> " << x1 << "," << y1;
        ASSERT_EQ(backward.inked(), expected);
        EXPECT_TRUE(forward.at(x0, y0));
        EXPECT_TRUE(forward.at(x1, y1));
    }
}

TEST(RasterLine, ClippingKeepsThePixelsOfTheWholeLine)
{
    // Far ends (the transform clamps to ±10001) and a clip inside the grid:
    // starting the walk at the clip must not shift the rounding.
    struct Case
    {
        int x0, y0, x1, y1;
    };
    const Case cases[] = { { -10001, -3000, 10001, 3107 }, { -10001, 10001, 10001, -10001 },
        { 37, -10001, 61, 10001 }, { 10001, 45, -10001, 52 }, { -500, 17, 9000, 18 } };
    const QRect clip(20, 10, 60, 50);
    for (const Case &c : cases) {
        Grid g(100, 80);
        line(g.target(clip), c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(g.inked(), referenceLine(c.x0, c.y0, c.x1, c.y1, clip))
            << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    }
}

TEST(RasterLine, SeveralClipRectanglesLetOnlyTheirPixelsThrough)
{
    Grid g(60, 20);
    const QVector<QRect> rects { QRect(0, 0, 10, 20), QRect(30, 0, 10, 20) };
    TPixelTarget t = g.target(QRect(0, 0, 40, 20));
    t.rects = &rects;
    line(t, 0, 5, 59, 5);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(g.at(x, 5), (x < 10) || (x >= 30 && x < 40)) << x;
}

namespace {

// Four times the squared distance from a pixel centre to the segment, by the
// textbook projection; exact for the small integers used here.
double fourDistanceSquared(int x, int y, int x0, int y0, int x1, int y1)
{
    const double dx = x1 - x0, dy = y1 - y0, px = x - x0, py = y - y0;
    const double l2 = dx * dx + dy * dy, dot = px * dx + py * dy;
    if (dot <= 0)
        return 4 * (px * px + py * py);
    if (dot >= l2)
        return 4 * ((px - dx) * (px - dx) + (py - dy) * (py - dy));
    const double cross = px * dy - py * dx;
    return 4 * cross * cross / l2;
}

} // namespace

TEST(RasterWideLine, CoversExactlyTheCentresWithinHalfThePenWidth)
{
    // Random segments and the awkward ones: a point, axis-parallel lines
    // whose edges fall on pixel centres, 45°, ends beyond the grid.
    struct Case
    {
        int x0, y0, x1, y1, w;
    };
    std::vector<Case> cases { { 30, 30, 30, 30, 6 }, { 10, 20, 70, 20, 2 }, { 10, 20, 70, 20, 5 },
        { 40, 5, 40, 75, 4 }, { 5, 5, 75, 75, 3 }, { 60, 10, 10, 60, 8 }, { -50, 40, 130, 47, 7 },
        { 3, 3, 4, 77, 2 } };
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-10, 90), width(2, 12);
    for (int k = 0; k < 200; ++k)
        cases.push_back({ coord(rng), coord(rng), coord(rng), coord(rng), width(rng) });
    for (const Case &c : cases) {
        Grid forward(80, 80), backward(80, 80);
        wideLine(forward.target(), c.x0, c.y0, c.x1, c.y1, c.w);
        wideLine(backward.target(), c.x1, c.y1, c.x0, c.y0, c.w);
        QSet<QPair<int, int>> expected;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x)
                if (fourDistanceSquared(x, y, c.x0, c.y0, c.x1, c.y1) <= double(c.w) * c.w)
                    expected.insert({ x, y });
        ASSERT_EQ(forward.inked(), expected)
            << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1 << " w " << c.w;
        ASSERT_EQ(backward.inked(), expected);
    }
    // A clip cuts the same pixels out of the whole line.
    Grid clipped(80, 80);
    const QRect inner(20, 15, 30, 40);
    wideLine(clipped.target(inner), 0, 0, 79, 60, 9);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(clipped.at(x, y),
                inner.contains(x, y) && fourDistanceSquared(x, y, 0, 0, 79, 60) <= 81)
                << x << "," << y;
}

namespace {

// Distance in pixels from a pixel centre to the ideal ellipse, estimated by
// one Newton step on the implicit equation.
double distanceToEllipse(double x, double y, double cx, double cy, double a, double b)
{
    const double u = (x - cx) / a, v = (y - cy) / b;
    const double f = u * u + v * v - 1;
    const double gx = 2 * u / a, gy = 2 * v / b;
    return std::fabs(f) / std::hypot(gx, gy);
}

// One flood reaches every pixel; in a ring (closed) every pixel also has
// at least two neighbours.
bool eightConnected(const QSet<QPair<int, int>> &pixels, bool ring)
{
    for (const auto &p : pixels) {
        if (!ring)
            break;
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((dx || dy) && pixels.contains({ p.first + dx, p.second + dy }))
                    ++n;
        if (n < 2)
            return false;
    }
    QSet<QPair<int, int>> seen;
    QList<QPair<int, int>> todo { *pixels.begin() };
    while (!todo.isEmpty()) {
        const auto p = todo.takeLast();
        if (seen.contains(p))
            continue;
        seen.insert(p);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (pixels.contains({ p.first + dx, p.second + dy }))
                    todo.append({ p.first + dx, p.second + dy });
    }
    return seen.size() == pixels.size();
}

} // namespace

TEST(RasterEllipse, ClosedSymmetricAndOnTheCurve)
{
    // Boxes of odd and even sizes, circles, flat and tall ellipses.
    std::vector<std::array<int, 2>> sizes { { 2, 2 }, { 3, 3 }, { 4, 7 }, { 10, 10 }, { 11, 11 },
        { 40, 9 }, { 9, 40 }, { 60, 60 }, { 61, 30 }, { 80, 3 }, { 3, 80 }, { 1, 50 }, { 88, 87 } };
    for (int w = 2; w <= 50; w += 3)
        for (int h = 2; h <= 50; h += 4)
            sizes.push_back({ w, h });
    for (const auto &s : sizes) {
        const int x1 = 5, y1 = 6, x2 = x1 + s[0], y2 = y1 + s[1];
        Grid g(100, 100);
        ellipse(g.target(), x1, y1, x2, y2);
        const auto pixels = g.inked();
        SCOPED_TRACE(testing::Message() << "box " << s[0] << "x" << s[1]);
        ASSERT_FALSE(pixels.isEmpty());
        // The outline reaches all four edges of the box and stays inside it.
        int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
        for (const auto &p : pixels) {
            minX = std::min(minX, p.first);
            maxX = std::max(maxX, p.first);
            minY = std::min(minY, p.second);
            maxY = std::max(maxY, p.second);
            EXPECT_TRUE(pixels.contains({ x1 + x2 - p.first, p.second }));
            EXPECT_TRUE(pixels.contains({ p.first, y1 + y2 - p.second }));
            const double d = distanceToEllipse(
                p.first, p.second, (x1 + x2) / 2.0, (y1 + y2) / 2.0, s[0] / 2.0, s[1] / 2.0);
            if (s[0] >= 4 && s[1] >= 4) {
                EXPECT_LE(d, 0.75) << p.first << "," << p.second;
            }
        }
        EXPECT_EQ(minX, x1);
        EXPECT_EQ(maxX, x2);
        EXPECT_EQ(minY, y1);
        EXPECT_EQ(maxY, y2);
        // Boxes two pixels high or wide end in a one-pixel spur at the tips.
        EXPECT_TRUE(eightConnected(pixels, s[0] >= 4 && s[1] >= 4));
        // A thin curve: never a full 2 × 2 block of ink. (The tip of a narrow
        // ellipse centred between two pixels is one, rightly.)
        if (s[0] >= 8 && s[1] >= 8) {
            for (const auto &p : pixels)
                EXPECT_FALSE(pixels.contains({ p.first + 1, p.second })
                    && pixels.contains({ p.first, p.second + 1 })
                    && pixels.contains({ p.first + 1, p.second + 1 }))
                    << p.first << "," << p.second;
        }
    }
}

TEST(RasterEllipse, HugeCircleClippedToTheGridCostsOnlyTheVisiblePart)
{
    // A circle of radius 10001 around a point left of the grid: its visible
    // part is a nearly straight vertical run through the grid.
    Grid g(50, 50);
    ellipse(g.target(), -19977, -9976, 25, 10026);
    int rows = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            if (g.at(x, y)) {
                ++rows;
                EXPECT_GE(x, 24);
                EXPECT_LE(x, 25);
            }
    EXPECT_GE(rows, 50);
}

TEST(RasterEllipse, WidePenIsARingAroundTheOutline)
{
    // Circle box 20..60 (radius 20) with a 4-pixel pen: centres between radius
    // 18 and 22 are pen, those inside 18 are fill.
    Grid g(90, 90);
    wideEllipse(g.target(), 20, 20, 60, 60, 4, true, 0xFF0000FF);
    const auto at = [&](int x, int y) { return g.pixels[std::size_t(y) * 90 + x]; };
    for (int x = 0; x < 90; ++x) {
        const int d = std::abs(x - 40);
        const std::uint32_t expected = d > 22 ? kPaper : d >= 18 ? kInk : 0xFF0000FF;
        EXPECT_EQ(at(x, 40), expected) << x;
        EXPECT_EQ(at(40, x), expected) << x; // and the same down the middle column
    }
    // Without fill the inside keeps what was there.
    Grid ring(90, 90);
    wideEllipse(ring.target(), 20, 20, 60, 60, 4, false, 0);
    EXPECT_EQ(ring.pixels[40 * 90 + 40], kPaper);
    EXPECT_EQ(ring.pixels[40 * 90 + 19], kInk);

    // A wide arc is the ring cut by the radials: the upper-right quarter.
    Grid quarter(90, 90);
    wideArc(quarter.target(), 20, 20, 60, 60, 4, 80, 40, 40, 0);
    for (const auto &p : quarter.inked()) {
        EXPECT_GE(p.first, 40);
        EXPECT_LE(p.second, 40);
    }
    EXPECT_TRUE(quarter.at(61, 40));
    EXPECT_TRUE(quarter.at(40, 19));
}

TEST(RasterArc, SweepsCounterClockwiseAsSeen)
{
    // Circle box 10..50, centre (30, 30). From the radial to the right to the
    // radial upwards: only the upper-right quarter (y grows downwards).
    Grid quarter(61, 61);
    arc(quarter.target(), 10, 10, 50, 50, 60, 30, 30, 0);
    for (const auto &p : quarter.inked()) {
        EXPECT_GE(p.first, 30);
        EXPECT_LE(p.second, 30);
    }
    EXPECT_TRUE(quarter.at(50, 30));
    EXPECT_TRUE(quarter.at(30, 10));

    // The other way round: three quarters, the upper-right one left out.
    Grid rest(61, 61);
    arc(rest.target(), 10, 10, 50, 50, 30, 0, 60, 30);
    EXPECT_TRUE(rest.at(10, 30));
    EXPECT_TRUE(rest.at(30, 50));
    int upperRight = 0;
    for (const auto &p : rest.inked())
        if (p.first > 31 && p.second < 29)
            ++upperRight;
    EXPECT_EQ(upperRight, 0);

    // The same radial twice gives the whole circle.
    Grid full(61, 61), circle(61, 61);
    arc(full.target(), 10, 10, 50, 50, 55, 20, 55, 20);
    ellipse(circle.target(), 10, 10, 50, 50);
    EXPECT_EQ(full.inked(), circle.inked());
}

TEST(RasterArc, SweepTestTable)
{
    struct Case
    {
        int su, sv, eu, ev, u, v;
        bool in;
    };
    const Case cases[] = {
        { 1, 0, 0, 1, 1, 1, true }, // inside a quarter
        { 1, 0, 0, 1, -1, 1, false }, // past the end
        { 1, 0, 0, 1, 1, -1, false }, // before the start
        { 0, 1, 1, 0, -1, -1, true }, // three-quarter sweep
        { 0, 1, 1, 0, 1, 1, false }, // the quarter it leaves out
        { 1, 0, -1, 0, 0, 1, true }, // half, upper side
        { 1, 0, -1, 0, 0, -1, false }, // half, lower side
        { 2, 0, 5, 0, 0, -1, true }, // equal radials: everything
        { 0, 0, 0, 1, 1, 1, true }, // a radial at the centre points along +x
    };
    for (const Case &c : cases)
        EXPECT_EQ(inSweep(c.su, c.sv, c.eu, c.ev, c.u, c.v), c.in)
            << c.su << "," << c.sv << " " << c.eu << "," << c.ev << " " << c.u << "," << c.v;
}
