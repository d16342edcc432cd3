#include "core/exceptions.h"
#include "graphs/dot2function.h"
#include "graphs/function2dot.h"
#include "graphs/nearestpoint.h"
#include "graphs/shapefunction.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "support/fake_surface.h"
#include "support/figure_list.h"
#include "support/guidance_names.h"
#include "support/memory_document.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

// ---------------------------------------------------------------- the record

// A record of the given points, each with its piece-start mark.
TNearestPointForDotOnFunction record(
    std::initializer_list<std::pair<TModelPointST, bool>> points, int room = 0)
{
    TNearestPointForDotOnFunction r;
    r.setCapacity(room ? room : int(points.size()));
    for (const auto &[p, starts] : points)
        r.add(starts, p);
    return r;
}

TEST(DrawnCurveRecord, HitsTheBoxWhereTheDrawnCurvePassesThroughIt)
{
    const TNearestPointForDotOnFunction empty = record({}, 8);
    EXPECT_FALSE(empty.hitsBox({ -1, 1, -1, 1 }));
    EXPECT_FALSE(empty.findRange(-1, 1).isSet());

    // Two pieces: a steep one from (0, 10) to (1, -10), and from (2, 10) a
    // new piece starting at (3, -10).
    const TNearestPointForDotOnFunction r = record({ { { 0, 10 }, true }, { { 1, -10 }, false },
        { { 2, 10 }, true }, { { 3, -10 }, true }, { { 4, 0 }, false } });
    struct Case
    {
        TModelRectST box;
        bool hit;
        const char *why;
    } cases[] = {
        { { -0.5, 0.5, 9, 11 }, true, "only the first point in the box's s interval" },
        { { 3.5, 4.5, -1, 1 }, true, "only the last point" },
        { { 0, 1, -1, 1 }, true, "a segment from above to below, neither end inside" },
        { { 2, 3, -1, 1 }, false, "the same across the start of a new piece" },
        { { 0.2, 0.8, -1, 1 }, false, "no recorded point in the s interval" },
        { { 5, 6, -100, 100 }, false, "beyond the last point" },
        { { 3, 4, -20, -11 }, false, "below both ends" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(r.hitsBox(c.box), c.hit) << c.why;

    const T_intRangeMinMax range = r.findRange(0.5, 3);
    ASSERT_TRUE(range.isSet());
    EXPECT_EQ(range.getMin(), 1);
    EXPECT_EQ(range.getMax(), 3);
}

TEST(DrawnCurveRecord, TheNearestPointBySIsFoundByBisection)
{
    TNearestPointForDotOnFunction r;
    r.setCapacity(1000);
    for (int i = 0; i < 1000; ++i)
        r.add(i == 0, { double(i), 2.0 * i });
    EXPECT_EQ(r.nearestIndex(-5), 0);
    EXPECT_EQ(r.nearestIndex(1e9), 999);
    EXPECT_EQ(r.nearestIndex(100.5), 100); // exactly between two: the lower index
    EXPECT_EQ(r.nearestIndex(300.2), 300);
    EXPECT_EQ(r.pointNearestS(41.7), (TModelPointST { 42, 84 }));

    TNearestPointForDotOnFunction empty;
    EXPECT_EQ(empty.nearestIndex(3), 0);
    EXPECT_TRUE(std::isnan(empty.pointNearestS(3).s));
}

TEST(DrawnCurveRecord, NoValueAndNoRoomAreProgrammingErrors)
{
    TNearestPointForDotOnFunction r;
    r.setCapacity(2);
    EXPECT_THROW(r.add(true, { 0, std::nan("") }), ESouteigai);
    r.reset();
    r.add(true, { 0, 0 });
    r.add(false, { 1, 1 });
    EXPECT_THROW(r.add(false, { 2, 2 }), ESouteigai);
    r.setCapacity(1); // never shrinks; empties
    EXPECT_EQ(r.capacity(), 2);
    EXPECT_TRUE(r.isEmpty());
}

// ---------------------------------------------------------------- points on graphs

class FunctionPointTest : public ::testing::Test
{
protected:
    FunctionPointTest()
    {
        registerModelRelationClasses(factory);
        registerGraphRelationClasses(factory);
    }

    TShapeDot *point(double x, double y)
    {
        TShapeStore built = factory.create(TFiguretype::FIG_dotOnField, TShapeList());
        auto *d = static_cast<TShapeDot *>(built.first());
        d->setInitialXY({ x, y });
        field.takeAllFrom(built);
        return d;
    }
    TShapeFunction *graph(const QString &formula, TShapeDot *origin, bool isY = false)
    {
        TShapeList ps;
        ps.add(origin);
        auto built = factory.createSilently(
            isY ? TFiguretype::FIG_functionY : TFiguretype::FIG_function, ps);
        auto *g = static_cast<TShapeFunction *>(built.first());
        static_cast<TParentDot2Function *>(g->relation())->setFormula(formula);
        field.takeAllFrom(built);
        draw();
        return g;
    }
    // As a click on the graph makes it.
    TShapeDot *pointOn(TShape *graph, double x, double y)
    {
        TShapeList near;
        near.add(graph);
        EXPECT_EQ(TShapeFactory::pointFigureTypeFor(near), TFiguretype::FIG_dotOnFunction);
        TShapeStore built = factory.create(TFiguretype::FIG_dotOnFunction, near);
        auto *d = static_cast<TShapeDot *>(built.first());
        d->setInitialXY({ x, y });
        field.takeAllFrom(built);
        draw();
        return d;
    }
    void draw()
    {
        TDrawStatus status;
        field.drawField(status, surface);
    }

    InstalledGuidanceNames creator;
    TShapeFactory factory;
    TShapeStore field;
    FakeSurface surface;
};

void expectAt(const TShapeDot *d, double x, double y)
{
    EXPECT_NEAR(d->getX(), x, 1e-9);
    EXPECT_NEAR(d->getY(), y, 1e-9);
}

TEST_F(FunctionPointTest, APointOnAParabolaKeepsItsParameterWhenTheOriginMoves)
{
    TShapeDot *origin = point(0, 0);
    TShapeFunction *g = graph(QStringLiteral("x^2"), origin);
    TShapeDot *p = pointOn(g, 1.02, 1.1);
    EXPECT_FALSE(p->canMoveAnywhere());
    EXPECT_EQ(p->propertyType(), TPropertyType::None);
    expectAt(p, 1.02, 1.0404);
    origin->moveXYOffsetXY(1, 1);
    draw();
    expectAt(p, 2.02, 2.0404);

    // A drag follows the cursor's x and ignores its y.
    p->dragTo({ 2, -7 }, {});
    draw();
    expectAt(p, 2, 2); // x = 1 relative to the origin (1, 1)
    for (TModelPoint o : { TModelPoint { -3, 0.5 }, TModelPoint { 4, -2 } }) {
        origin->moveXYOffsetXY(o.x, o.y);
        draw();
        expectAt(p, origin->getX() + 1, origin->getY() + 1);
    }
}

TEST_F(FunctionPointTest, ADraggedPointStaysWithinTheDomain)
{
    TShapeFunction *g = graph(QStringLiteral("x^2"), point(0, 0));
    g->range().fMinIsInfinity = false;
    g->range().fMaxIsInfinity = false;
    ASSERT_TRUE(g->range().setMinText(QStringLiteral("-1")));
    ASSERT_TRUE(g->range().setMaxText(QStringLiteral("2")));
    draw();
    TShapeDot *p = pointOn(g, 0.5, 0.25);
    p->dragTo({ 5, 0 }, {});
    draw();
    expectAt(p, 2, 4);
    p->dragTo({ -3, 7 }, {});
    draw();
    expectAt(p, -1, 1);
}

TEST_F(FunctionPointTest, OnAnXOfYGraphTheParameterIsY)
{
    TShapeDot *origin = point(0, 0);
    TShapeFunction *g = graph(QStringLiteral("y^2"), origin, true);
    TShapeDot *p = pointOn(g, 1.1, 1);
    expectAt(p, 1, 1);
    origin->moveXYOffsetXY(-2, 0.5);
    draw();
    expectAt(p, -1, 1.5);
    p->dragTo({ 9, -0.5 }, {});
    draw();
    expectAt(p, -1, -0.5); // y = −1 relative to the origin: x = 1 − 2
}

TEST_F(FunctionPointTest, WhereTheFormulaHasNoValueThePointHidesAndComesBack)
{
    TShapeFunction *g = graph(QStringLiteral("sqrt(x)"), point(0, 0));
    TShapeDot *p = pointOn(g, 4, 2);
    expectAt(p, 4, 2);
    p->dragTo({ -1, 0 }, {});
    draw();
    EXPECT_TRUE(std::isnan(g->valueAt(-1)));
    EXPECT_FALSE(p->isDrawable());
    // It keeps a position a document can hold.
    EXPECT_TRUE(std::isfinite(p->getX()) && std::isfinite(p->getY()));
    p->dragTo({ 9, 0 }, {});
    draw();
    EXPECT_TRUE(p->isDrawable());
    expectAt(p, 9, 3);
}

TEST_F(FunctionPointTest, APointReadBackAfterItsOriginMovedIsWhereItWas)
{
    TShapeDot *origin = point(0, 0);
    TShapeFunction *g = graph(QStringLiteral("x^2"), origin);
    TShapeDot *p = pointOn(g, 1, 1);
    origin->moveXYOffsetXY(2, -1);
    draw();
    expectAt(p, 3, 0);
    field.renumber();
    MemoryWriter saved = savedFigureList(field);
    TShapeStore loaded;
    factory.readAll(*saved.root().findChild(QStringLiteral("figureList")), loaded);
    ASSERT_EQ(loaded.count(), 3);
    FakeSurface s;
    TDrawStatus status;
    loaded.drawField(status, s);
    auto *q = static_cast<TShapeDot *>(loaded.item(2));
    EXPECT_EQ(q->getFigureType(), TFiguretype::FIG_dotOnFunction);
    expectAt(q, 3, 0);
    EXPECT_NEAR(static_cast<TParentFunction2dot *>(q->relation())->parameter(), 1, 1e-12);
    // And moving the loaded origin moves it with the graph.
    static_cast<TShapeDot *>(loaded.item(0))->moveXYOffsetXY(-2, 1);
    loaded.drawField(status, s);
    expectAt(q, 1, 1);
}

} // namespace
