#include "model/geometry/mathdaen.h"
#include "model/geometry/mathen.h"
#include "support/memory_document.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;

namespace {
TMathEn arc(double cx, double cy, double r, double a0, double a1)
{
    TMathEn e;
    e.setCentreRadius({ cx, cy }, r);
    e.boundary.type = TBoundaryType::btBothSides;
    e.boundary.first.setXY(cx + r * std::cos(a0), cy + r * std::sin(a0));
    e.boundary.second.setXY(cx + r * std::cos(a1), cy + r * std::sin(a1));
    return e;
}
} // namespace

TEST(MathEn, CircumcircleAndItsFailures)
{
    TMathEn c;
    ASSERT_TRUE(c.setCircumcircle({ 0, 0 }, { 2, 0 }, { 0, 2 }));
    EXPECT_NEAR(c.centre.x, 1, 1e-12);
    EXPECT_NEAR(c.centre.y, 1, 1e-12);
    EXPECT_NEAR(c.radius, std::sqrt(2.0), 1e-12);

    struct Case
    {
        TMathZahyo p1, p2, p3;
    };
    const Case failing[] = {
        { { 0, 0 }, { 1, 1 }, { 3, 3 } }, // collinear
        { { 0, 0 }, { 1e-6, 0 }, { 0, 5 } }, // p1 = p2
        { { 0, 0 }, { 4, 1 }, { 0, 1e-6 } }, // p1 = p3
        { { 0, 0 }, { 4, 1 }, { 4, 1 + 1e-7 } }, // p2 = p3: parallel bisectors
    };
    for (const Case &k : failing) {
        EXPECT_FALSE(c.setCircumcircle(k.p1, k.p2, k.p3));
        EXPECT_NEAR(c.centre.x, 1, 1e-12); // unchanged
        EXPECT_NEAR(c.radius, std::sqrt(2.0), 1e-12);
    }
}

TEST(MathEn, ProjectionsOntoCircleAndArc)
{
    TMathEn c;
    c.setCentreRadius({ 1, 1 }, 2);
    TMathZahyo p;
    ASSERT_TRUE(p.setRadialProjection({ 4, 5 }, c)); // 3-4-5 direction
    EXPECT_NEAR(p.x, 1 + 2 * 0.6, 1e-12);
    EXPECT_NEAR(p.y, 1 + 2 * 0.8, 1e-12);
    EXPECT_FALSE(p.setRadialProjection({ 1, 1 + 1e-6 }, c));
    EXPECT_DOUBLE_EQ(c.distance({ 1, 1 }), 2); // at the centre: the radius
    EXPECT_NEAR(c.distance({ 1, 5 }), 2, 1e-12);

    // Arc of the first quadrant about the origin.
    TMathEn q = arc(0, 0, 1, 0, M_PI / 2);
    struct Case
    {
        double x, y, nx, ny;
    };
    const Case cases[] = {
        { 2, 2, std::sqrt(0.5), std::sqrt(0.5) }, // on the arc's side
        { 3, -1, 1, 0 }, // just past the start: the start
        { -1, 3, 0, 1 }, // just past the end: the end
        { -2, -1.9, 0, 1 }, // opposite, nearer the end by angle
        { -1.9, -2, 1, 0 }, // opposite, nearer the start
    };
    for (const Case &k : cases) {
        ASSERT_TRUE(p.setNearestOnCircle({ k.x, k.y }, q));
        EXPECT_NEAR(p.x, k.nx, 1e-12) << k.x << "," << k.y;
        EXPECT_NEAR(p.y, k.ny, 1e-12) << k.x << "," << k.y;
    }
    EXPECT_TRUE(q.isInArc({ 1, 1 }));
    EXPECT_FALSE(q.isInArc({ -1, 1 }));
    EXPECT_FALSE(q.isInArc({ 1, -0.01 }));
    // An arc that crosses the negative x axis.
    TMathEn wrap = arc(0, 0, 1, M_PI * 0.75, -M_PI * 0.75);
    EXPECT_TRUE(wrap.isInArc({ -1, 0 }));
    EXPECT_FALSE(wrap.isInArc({ 1, 0 }));
    EXPECT_NEAR(wrap.boundaryAngle(0), 135, 1e-9);
    EXPECT_NEAR(wrap.boundaryAngle(1), -135, 1e-9);
}

TEST(MathEn, AnchorAndBoundaryPlacement)
{
    TMathEn full;
    full.setCentreRadius({ 1, 2 }, 2);
    const TMathZahyo a = full.anchorPoint();
    EXPECT_NEAR(a.x, 1 + std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(a.y, 2 + std::sqrt(2.0), 1e-12);
    // Arc from 90° to 0° counter-clockwise (270° of sweep): the middle is at 225°.
    TMathEn big = arc(0, 0, 1, M_PI / 2, 0);
    const TMathZahyo m = big.anchorPoint();
    EXPECT_NEAR(m.x, -std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(m.y, -std::sqrt(0.5), 1e-12);

    TMathEn c;
    c.setCentreRadius({ 0, 0 }, 2);
    c.setBoundaryPointFrom(1, 0, -5);
    EXPECT_NEAR(c.boundary.second.y, -2, 1e-12);
    c.setBoundaryPointFrom(0, 1e-6, 0); // at the centre: to the right
    EXPECT_DOUBLE_EQ(c.boundary.first.x, 2);
    TMathEn zero;
    zero.setCentreRadius({ 1, 1 }, 0);
    zero.setBoundaryPointFrom(0, 4, 5); // a zero radius takes the distance
    EXPECT_DOUBLE_EQ(zero.radius, 5);
    EXPECT_DOUBLE_EQ(zero.boundary.first.x, 4);
}

TEST(MathEn, SaveAndLoadTheBoundary)
{
    TMathEn e = arc(0, 0, 3, 0, M_PI / 2);
    e.boundary.first.setXY(3, 0); // values that print exactly
    e.boundary.second.setXY(-0.5, 2.25);
    test::MemoryWriter w;
    e.saveToFile(w);
    TMathEn back;
    back.loadFromFile(w.root());
    EXPECT_EQ(back.boundary.type, TBoundaryType::btBothSides);
    EXPECT_EQ(back.boundary.first.x, e.boundary.first.x);
    EXPECT_EQ(back.boundary.second.y, e.boundary.second.y);
    EXPECT_FALSE(w.lines().join(QLatin1Char(' ')).contains(QStringLiteral("direction")));
}

TEST(MathDaen, EllipseThroughTwoPoints)
{
    TMathDaen e;
    ASSERT_TRUE(e.setBy3Points({ 0, 0 }, { 2, 0 }, { 0, 1 }));
    EXPECT_DOUBLE_EQ(e.semiAxisX, 2);
    EXPECT_DOUBLE_EQ(e.semiAxisY, 1);
    EXPECT_NEAR(e.focus1().x, std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(e.focus2().x, -std::sqrt(3.0), 1e-12);
    EXPECT_DOUBLE_EQ(e.focus1().y, 0);

    // D = 0: refused; the centre is already replaced, the semi-axes stay.
    EXPECT_FALSE(e.setBy3Points({ 5, 5 }, { 7, 5 }, { 6, 5 }));
    EXPECT_DOUBLE_EQ(e.centre.x, 5);
    EXPECT_DOUBLE_EQ(e.semiAxisX, 2);
    // A hyperbola through the points (U or V negative) is refused too.
    EXPECT_FALSE(e.setBy3Points({ 0, 0 }, { 1, 0.1 }, { 2, 3 }));

    TMathDaen tall; // semi-axes 1 and 2 about (1, 1)
    ASSERT_TRUE(tall.setBy3Points({ 1, 1 }, { 2, 1 }, { 1.5, 1 + std::sqrt(3.0) }));
    EXPECT_NEAR(tall.semiAxisX, 1, 1e-12);
    EXPECT_NEAR(tall.semiAxisY, 2, 1e-12);
    EXPECT_NEAR(tall.focus1().y, 1 + std::sqrt(3.0), 1e-12); // foci on the y axis
    EXPECT_NEAR(tall.focus2().y, 1 - std::sqrt(3.0), 1e-12);
    EXPECT_DOUBLE_EQ(tall.focus1().x, 1);
}

TEST(MathDaen, DistanceIsZeroOnTheEllipseAndGrowsAway)
{
    TMathDaen e;
    ASSERT_TRUE(e.setBy3Points({ 0, 0 }, { 2, 0 }, { 0, 1 }));
    EXPECT_NEAR(e.distance({ 2, 0 }), 0, 1e-12);
    EXPECT_NEAR(e.distance({ std::sqrt(2.0), std::sqrt(0.5) }), 0, 1e-12);
    EXPECT_LT(e.distance({ 2.1, 0 }), e.distance({ 2.5, 0 }));
    EXPECT_GT(e.distance({ 0, 0 }), 1e300); // never picked at the centre
    const TMathZahyo a = e.anchorPoint();
    EXPECT_NEAR(a.x, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(a.y, std::sqrt(0.5), 1e-12);
}
