#include "base/surface.h"
#include "core/exceptions.h"
#include "model/geometry/mathcyokusen.h"
#include "support/memory_document.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

TMathCyokusen lineThrough(
    double x1, double y1, double x2, double y2, TBoundaryType type = TBoundaryType::btAll)
{
    TMathCyokusen l;
    EXPECT_TRUE(l.setBy2Points(x1, y1, x2, y2));
    l.boundary.type = type;
    l.boundary.first.setXY(x1, y1);
    l.boundary.second.setXY(x2, y2);
    l.boundary.setDirectionBy(l.boundary.first, l.boundary.second);
    return l;
}

const TModelViewRect kView { -5, 4, 5, -4 }; // left, top, right, bottom

void expectPoint(const TMathZahyo &p, double x, double y)
{
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
}

} // namespace

TEST(MathCyokusen, TwoPointsMustDifferByMoreThanTheTolerance)
{
    TMathCyokusen l;
    l.setABC(1, 2, 3);
    EXPECT_FALSE(l.setBy2Points(0, 0, 1e-5, 1e-5));
    EXPECT_EQ(l.a, 1); // unchanged
    EXPECT_EQ(l.c, 3);
    EXPECT_TRUE(l.setBy2Points(0, 0, 2e-5, 0));
    // a = y2 − y1, b = x1 − x2, c = x2·y1 − x1·y2; travel (−b, a) = P2 − P1.
    ASSERT_TRUE(l.setBy2Points(1, 2, 4, 6));
    EXPECT_EQ(l.a, 4);
    EXPECT_EQ(l.b, -3);
    EXPECT_EQ(l.c, 4 * 2 - 1 * 6);
    EXPECT_FALSE(l.setABC(0, 0, 5));
    EXPECT_TRUE(l.setABC(0, 1e-300, 5));
}

TEST(MathCyokusen, ValuesAnglesAndConstructions)
{
    TMathCyokusen v = lineThrough(2, 0, 2, 3);
    EXPECT_TRUE(std::isnan(v.yAt(1)));
    EXPECT_DOUBLE_EQ(v.xAt(17), 2);
    EXPECT_DOUBLE_EQ(v.angle(), M_PI / 2);
    TMathCyokusen h = lineThrough(0, 1, 3, 1);
    EXPECT_TRUE(std::isnan(h.xAt(1)));
    EXPECT_DOUBLE_EQ(h.yAt(-8), 1);
    EXPECT_DOUBLE_EQ(h.angle(), 0);
    // The angle says nothing about the direction of travel.
    EXPECT_DOUBLE_EQ(lineThrough(1, 1, 0, 0).angle(), M_PI / 4);

    TMathCyokusen perp;
    perp.setPerpendicular(lineThrough(0, 0, 1, 1), 0, 2);
    EXPECT_DOUBLE_EQ(perp.yAt(1), 1);
    EXPECT_TRUE(perp.isParallel(lineThrough(0, 0, 1, -1)));
    EXPECT_FALSE(perp.isParallel(lineThrough(0, 0, 1, 1)));

    TMathCyokusen bis;
    EXPECT_FALSE(bis.setPerpendicularBisector({ 1, 1 }, { 1 + 1e-6, 1 }));
    ASSERT_TRUE(bis.setPerpendicularBisector({ 0, 0 }, { 4, 2 }));
    EXPECT_NEAR(bis.distanceXY(2, 1), 0, 1e-12);
    EXPECT_DOUBLE_EQ(bis.a * 0 + bis.b * 0 + bis.c, -(bis.a * 4 + bis.b * 2 + bis.c));
}

TEST(MathCyokusen, EdgePointsTable)
{
    struct Case
    {
        const char *name;
        TMathCyokusen line;
        double e1x, e1y, e2x, e2y;
    };
    TMathCyokusen rayDown = lineThrough(2, 3, 2, 0, TBoundaryType::btOneSide);
    TMathCyokusen leftwards = lineThrough(10, 1, 0, 0, TBoundaryType::btAllVec);
    const Case cases[] = {
        { "diagonal", lineThrough(0, 0, 1, 1), 4, 4, -4, -4 },
        { "falling", lineThrough(0, 0, 1, -1), 4, -4, -4, 4 },
        { "shallow", lineThrough(0, 0, 10, 1), 5, 0.5, -5, -0.5 },
        { "vertical", lineThrough(2, 0, 2, 3), 2, 4, 2, -4 },
        { "ray down", rayDown, 2, -4, 2, 4 },
        { "horizontal", lineThrough(0, 1, 3, 1), 5, 1, -5, 1 },
        { "arrow line to the left", leftwards, -5, -0.5, 5, 0.5 },
        // Misses the view: both ends lie outside, nothing is visible.
        { "missing", lineThrough(0, 20, 1, 21), -5, 15, -16, 4 },
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        c.line.getEdgePoint(kView);
        expectPoint(c.line.boundary.edge1, c.e1x, c.e1y);
        expectPoint(c.line.boundary.edge2, c.e2x, c.e2y);
    }
    EXPECT_FALSE(rayDown.boundary.getDirection());
}

TEST(MathCyokusen, EdgePointOfAnUnsetLineRaises)
{
    TMathCyokusen unset;
    try {
        unset.getEdgePoint(kView);
        FAIL() << "expected ESouteigai";
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("getEdgePoint"));
        EXPECT_TRUE(e.detail().startsWith(QStringLiteral("Fp1=(")));
    }
}

TEST(MathCyokusen, EndPointsAndDirectionsByType)
{
    TMathCyokusen l = lineThrough(1, 0, -1, 0);
    l.getEdgePoint(kView);
    expectPoint(l.boundary.endPoint(1), 5, 0); // a plain line always runs right
    expectPoint(l.boundary.endPoint(0), -5, 0);

    l.boundary.type = TBoundaryType::btOneSide; // ray from (1,0) to the left
    l.getEdgePoint(kView);
    expectPoint(l.boundary.endPoint(0), 1, 0);
    expectPoint(l.boundary.endPoint(1), -5, 0);

    l.boundary.type = TBoundaryType::btBothSides;
    expectPoint(l.boundary.endPoint(0), 1, 0);
    expectPoint(l.boundary.endPoint(1), -1, 0);
    EXPECT_FALSE(l.boundary.getDirection());

    // Points one above the other within the tolerance order by y.
    EXPECT_TRUE(precedes({ 0, 0 }, { 1e-6, 1 }));
    EXPECT_TRUE(precedes({ 1e-6, 0 }, { 0, 1 }));
    EXPECT_FALSE(precedes({ 1e-6, 2 }, { 0, 1 }));
}

TEST(MathCyokusen, NearestPointOfRaysAndSegments)
{
    TMathCyokusen ray = lineThrough(0, 0, 1, 0, TBoundaryType::btOneSide);
    TMathZahyo n;
    n.setNearestOnLine({ -3, 2 }, ray);
    expectPoint(n, 0, 0); // behind the start
    n.setNearestOnLine({ 3, 2 }, ray);
    expectPoint(n, 3, 0);
    EXPECT_DOUBLE_EQ(ray.distanceXY(-3, 4), 5);

    TMathCyokusen seg = lineThrough(0, 0, 2, 0, TBoundaryType::btBothSides);
    n.setNearestOnLine({ 5, 1 }, seg);
    expectPoint(n, 2, 0); // beyond the end
    n.setNearestOnLine({ 1, 1 }, seg);
    expectPoint(n, 1, 0);
    EXPECT_DOUBLE_EQ(seg.distanceXY(5, 4), 5);

    TMathCyokusen whole = lineThrough(0, 0, 2, 0);
    EXPECT_DOUBLE_EQ(whole.distanceXY(-7, 3), 3);
}

TEST(MathCyokusen, EquationText)
{
    struct Case
    {
        double a, b, c;
        const char *text;
    };
    const Case cases[] = {
        { 0, -1, 0, "0x-1y0=0" },
        { 2, 3.14159, -12346, "2x+3.142y-1.235E4=0" },
        { -0.5, 1e-6, 0.000123456, "-0.5x+1E-6y+0.0001235=0" },
        { 1234, -99999, 7, "1234x-1E5y+7=0" },
    };
    for (const Case &k : cases) {
        TMathCyokusen l;
        l.setABC(k.a, k.b, k.c);
        EXPECT_EQ(l.equationString(), QString::fromUtf8(k.text));
    }
    TMathCyokusen l;
    l.setBy2Points(0, 0, 1, 0);
    EXPECT_EQ(l.equationString(), QStringLiteral("0x-1y0=0"));
}

TEST(MathCyokusen, SaveAndLoadKeepCoefficientsAndBoundary)
{
    TMathCyokusen l = lineThrough(0.5, -2, 3, 7.25, TBoundaryType::btOneSide);
    test::MemoryWriter w;
    l.saveToFile(w);
    const QStringList lines = w.lines();
    EXPECT_EQ(lines.first(), QStringLiteral("<mathCyokusen>"));
    EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("<type>btOneSide</type>")));

    TMathCyokusen back;
    back.loadFromFile(w.root());
    EXPECT_EQ(back.a, l.a);
    EXPECT_EQ(back.b, l.b);
    EXPECT_EQ(back.c, l.c);
    EXPECT_EQ(back.boundary.type, TBoundaryType::btOneSide);
    EXPECT_EQ(back.boundary.first.x, 0.5);
    EXPECT_EQ(back.boundary.second.y, 7.25);
    EXPECT_EQ(back.boundary.direction, l.boundary.direction);
}
