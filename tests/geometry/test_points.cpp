#include "model/geometry/mathcyokusen.h"
#include "model/geometry/mathzahyo.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;

TEST(MathZahyo, SameWithinTheTolerance)
{
    const TMathZahyo o(0, 0);
    EXPECT_TRUE(o.isSame({ 1e-5, -1e-5 }));
    EXPECT_FALSE(o.isSame({ 2e-5, 0 }));
    EXPECT_FALSE(o.isSame({ 0, -1.1e-5 }));
}

TEST(MathZahyo, AngleDegreeToTable)
{
    struct Case
    {
        double x, y, degrees;
    };
    const Case cases[] = {
        { 1, 0, 0 },
        { 1, 1, 45 },
        { 0, 1, 90 },
        { -1, 1, 135 },
        { -1, 0, 180 },
        { -1, -1, -135 },
        { 0, -1, -90 },
        { 1, -1, -45 },
        { 0, 0, -90 }, // coincident
        { 1e-6, 5, 90 },
        { -3, 1e-6, 180 },
        { 2, 1e-6, 0 },
        { -1, -1e-6, 180 }, // within the tolerance
        { -2, -2 * std::sqrt(3.0), -120 },
    };
    const TMathZahyo o(0, 0);
    for (const Case &c : cases)
        EXPECT_NEAR(o.angleDegreeTo({ c.x, c.y }), c.degrees, 1e-9) << c.x << "," << c.y;
    // From another start point.
    EXPECT_NEAR(TMathZahyo(1, 1).angleDegreeTo({ 0, 0 }), -135, 1e-9);
}

TEST(MathZahyo, RotateAndDivide)
{
    TMathZahyo p(3, 1);
    p.rotateAbout({ 1, 1 }, M_PI / 2);
    EXPECT_NEAR(p.x, 1, 1e-12);
    EXPECT_NEAR(p.y, 3, 1e-12);

    TMathZahyo d(7, 7);
    EXPECT_TRUE(d.setInternalDivision({ 0, 0 }, { 4, 8 }, 1, 3));
    EXPECT_DOUBLE_EQ(d.x, 1);
    EXPECT_DOUBLE_EQ(d.y, 2);
    // m + n zero (within the tolerance): refused, unchanged.
    EXPECT_FALSE(d.setInternalDivision({ 0, 0 }, { 4, 8 }, 2, -2 + 1e-6));
    EXPECT_DOUBLE_EQ(d.x, 1);
    // External division by a negative part.
    EXPECT_TRUE(d.setInternalDivision({ 0, 0 }, { 1, 0 }, 2, -1));
    EXPECT_DOUBLE_EQ(d.x, 2);
}

TEST(MathZahyo, IntersectionAndFoot)
{
    TMathCyokusen l1, l2;
    ASSERT_TRUE(l1.setBy2Points(0, 0, 2, 2));
    ASSERT_TRUE(l2.setBy2Points(0, 4, 4, 0));
    TMathZahyo p(9, 9);
    ASSERT_TRUE(p.setIntersection(l1, l2));
    EXPECT_DOUBLE_EQ(p.x, 2);
    EXPECT_DOUBLE_EQ(p.y, 2);

    TMathCyokusen parallel;
    parallel.setParallel(l1, 0, 1);
    EXPECT_FALSE(p.setIntersection(l1, parallel));
    EXPECT_DOUBLE_EQ(p.x, 2); // unchanged

    p.setFootOnLine({ 0, 4 }, l1);
    EXPECT_DOUBLE_EQ(p.x, 2);
    EXPECT_DOUBLE_EQ(p.y, 2);
}

TEST(MathVector, AngleIsAtan2)
{
    EXPECT_DOUBLE_EQ(TMathVector(-1, 0).angle(), M_PI);
    EXPECT_DOUBLE_EQ(TMathVector(0, -2).angle(), -M_PI / 2);
}
