#include "graphs/dot2function.h"
#include "graphs/dots2seishiki.h"
#include "graphs/lagrangeshokan.h"
#include "graphs/seishiki2kyokuchi.h"
#include "graphs/shapefunction.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "support/expect_souteigai.h"
#include "support/fake_surface.h"
#include "support/figure_list.h"
#include "support/guidance_names.h"
#include "support/memory_document.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

// A surface that keeps the polylines drawn on it, in model coordinates.
class PolylineSurface : public FakeSurface
{
public:
    struct Piece
    {
        std::vector<TModelPoint> points;
        bool outer;
    };
    std::vector<Piece> pieces;
    TModelViewRect view { -5, 4, 5, -4 };
    double mpp = 0.01;

    void drawPolyline(TPenBrush &pb, const TModelPoint &offset, int lastIndex, const double *xs,
        const double *ys) override
    {
        Piece p { {}, pb.getUseOuterStyle() };
        for (int i = 0; i <= lastIndex; ++i)
            p.points.push_back({ xs[i] + offset.x, ys[i] + offset.y });
        pieces.push_back(std::move(p));
    }
    TModelViewRect getModelViewRect() const override { return view; }
    TModelPoint getModelPerPixel() const override { return { mpp, mpp }; }
    int domainPieces() const
    {
        int n = 0;
        for (const Piece &p : pieces)
            n += p.outer ? 0 : 1;
        return n;
    }
};

class GraphTest : public ::testing::Test
{
protected:
    GraphTest()
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
        return g;
    }
    TShapeFunction *seishiki(const std::vector<TShapeDot *> &points)
    {
        TShapeList ps;
        for (TShapeDot *p : points)
            ps.add(p);
        TShapeStore built = factory.create(TFiguretype::FIG_seishiki, ps);
        auto *g = static_cast<TShapeFunction *>(built.first());
        field.takeAllFrom(built);
        return g;
    }
    std::vector<TShapeDot *> extremePoints(TShapeFunction *graph)
    {
        TShapeList ps;
        ps.add(graph);
        TShapeStore built = factory.create(TFiguretype::FIG_seishiki2kyokuchiDots, ps);
        std::vector<TShapeDot *> dots;
        for (TShape *s : built.items())
            dots.push_back(static_cast<TShapeDot *>(s));
        field.takeAllFrom(built);
        return dots;
    }
    bool offersExtremePoints(TShape *graph)
    {
        TShapeList ps;
        ps.add(graph);
        return factory.figureTypesFor(ps).contains(TFiguretype::FIG_seishiki2kyokuchiDots);
    }
    // Frees every shape, children first.
    void restart()
    {
        while (!field.isEmpty())
            field.take(field.last());
    }
    void draw()
    {
        surface.pieces.clear();
        TDrawStatus status;
        field.drawField(status, surface);
    }

    InstalledGuidanceNames creator;
    TShapeFactory factory;
    TShapeStore field;
    PolylineSurface surface;
};

TEST_F(GraphTest, AParabolaIsSampledAtEveryPixelColumnFromItsOrigin)
{
    graph(QStringLiteral("x^2"), point(1, 2));
    surface.view = { -5, 40, 5, -40 };
    draw();
    ASSERT_EQ(surface.pieces.size(), 1u);
    const auto &pts = surface.pieces[0].points;
    EXPECT_EQ(pts.size(), 1001u); // one sample per 0.01 from -5 to 5
    for (std::size_t i = 0; i < pts.size(); i += 97) {
        const double x = pts[i].x;
        EXPECT_NEAR(x, -5 + double(i) * 0.01, 1e-9);
        EXPECT_NEAR(pts[i].y, (x - 1) * (x - 1) + 2, 1e-9) << x;
    }
}

TEST_F(GraphTest, TheCurveReachesTheLastPixelColumnWhenTheViewIsNoWholeNumberOfSteps)
{
    // The view from -5 to 5 in steps that do not divide 10: the last column
    // is the last step inside the view, exactly, never one step short.
    struct Case
    {
        double mpp;
        std::size_t samples;
        double last;
    } cases[] = { { 0.03, 334, 4.99 }, { 0.07, 143, 4.94 }, { 0.011, 910, 4.999 },
        { 0.1, 101, 5.0 }, { 0.01, 1001, 5.0 } };
    graph(QStringLiteral("x/10"), point(0, 0));
    for (const Case &c : cases) {
        surface.mpp = c.mpp;
        draw();
        ASSERT_EQ(surface.pieces.size(), 1u) << c.mpp;
        const auto &pts = surface.pieces[0].points;
        EXPECT_EQ(pts.size(), c.samples) << c.mpp;
        EXPECT_NEAR(pts.back().x, c.last, 1e-9) << c.mpp;
        EXPECT_NEAR(pts.front().x, -5, 1e-12) << c.mpp;
    }
}

TEST_F(GraphTest, ASteepGraphIsHitBesideItAlongTheStepAxis)
{
    // y = 100x rises 100 pixels per column: beside it, the nearest part of
    // the curve is across, not above or below.
    TShapeFunction *g = graph(QStringLiteral("100*x"), point(0, 0));
    TShapeFunction *h = graph(QStringLiteral("100*y"), point(0, 0), true); // x = 100y
    draw();
    const TModelPoint px { 0.01, 0.01 };
    for (double d : { 0.02, 0.03, 0.04, -0.02, -0.03, -0.04 }) {
        EXPECT_EQ(g->rawDistance({ 0.013 + d, 1.3 }, px), 0) << d;
        EXPECT_EQ(h->rawDistance({ 1.3, 0.013 + d }, px), 0) << d;
    }
    for (double d : { 0.08, -0.08 }) {
        EXPECT_EQ(g->rawDistance({ 0.013 + d, 1.3 }, px), 100) << d;
        EXPECT_EQ(h->rawDistance({ 1.3, 0.013 + d }, px), 100) << d;
    }
}

TEST_F(GraphTest, PolesAreNeverBridged)
{
    struct Case
    {
        const char *formula;
        int pieces;
    } cases[] = { { "1/x", 2 }, { "tan(x)", 5 } }; // tan: poles at ±π/2 and ±3π/2 in [-5, 5]
    for (const Case &c : cases) {
        restart();
        graph(QString::fromUtf8(c.formula), point(0, 0));
        draw();
        ASSERT_EQ(int(surface.pieces.size()), c.pieces) << c.formula;
        for (const auto &piece : surface.pieces) {
            // Each piece runs between the edges it meets; none jumps across the view.
            for (std::size_t i = 1; i < piece.points.size(); ++i)
                EXPECT_LT(std::fabs(piece.points[i].y - piece.points[i - 1].y), 4) << c.formula;
        }
        const auto &left = surface.pieces.front().points;
        const auto &right = surface.pieces.back().points;
        if (QString::fromUtf8(c.formula) == QLatin1String("1/x")) {
            EXPECT_DOUBLE_EQ(left.back().y, -4); // down to the bottom edge
            EXPECT_DOUBLE_EQ(right.front().y, 4); // and back from the top edge
            EXPECT_LT(left.back().x, 0);
            EXPECT_GT(right.front().x, 0);
        } else {
            for (const auto &piece : surface.pieces) {
                // Branches that begin or end inside the view do so at an edge.
                if (piece.points.front().x > -4.9) {
                    EXPECT_DOUBLE_EQ(piece.points.front().y, -4);
                }
                if (piece.points.back().x < 4.9) {
                    EXPECT_DOUBLE_EQ(piece.points.back().y, 4);
                }
            }
        }
    }
}

TEST_F(GraphTest, NoValueLeavesGapsAndTheCurveGoesOnAfterThem)
{
    graph(QStringLiteral("sqrt(x)"), point(0, 0));
    draw();
    ASSERT_EQ(surface.pieces.size(), 1u);
    EXPECT_GE(surface.pieces[0].points.front().x, 0);
    EXPECT_LT(surface.pieces[0].points.front().x, 0.01);

    // A formula defined nowhere draws nothing; one defined on two stretches draws both.
    restart();
    graph(QStringLiteral("sqrt(x)+sqrt(-x-1)"), point(0, 0));
    draw();
    EXPECT_TRUE(surface.pieces.empty());
    restart();
    graph(QStringLiteral("sqrt(x*(x-1)*(x+3))"), point(0, 0)); // defined on [-3, 0] and [1, 5]
    draw();
    EXPECT_EQ(surface.pieces.size(), 2u);
}

TEST_F(GraphTest, TheDomainAndTheOuterStyle)
{
    TShapeFunction *g = graph(QStringLiteral("x"), point(0, 0));
    g->range().fMinIsInfinity = false;
    g->range().fMaxIsInfinity = false;
    ASSERT_TRUE(g->range().setMinText(QStringLiteral("-1")));
    ASSERT_TRUE(g->range().setMaxText(QStringLiteral("4/2")));
    EXPECT_FALSE(g->range().setMaxText(QStringLiteral("x")));
    draw();
    ASSERT_EQ(surface.pieces.size(), 1u);
    EXPECT_NEAR(surface.pieces[0].points.front().x, -1, 1e-9);
    EXPECT_NEAR(surface.pieces[0].points.back().x, 2, 0.011);

    g->penBrush().setOuterPenStyle(TPenStyle::psDot);
    draw();
    EXPECT_EQ(surface.pieces.size(), 3u);
    EXPECT_EQ(surface.domainPieces(), 1);

    // Hits only where the domain part was drawn.
    const TModelPoint pixel { 0.01, 0.01 };
    EXPECT_EQ(g->rawDistance({ 1, 1.03 }, pixel), 0);
    EXPECT_EQ(g->rawDistance({ 1, 1.2 }, pixel), 100);
    EXPECT_EQ(g->rawDistance({ 3, 3 }, pixel), 100);
}

TEST_F(GraphTest, XOfYGraphsOpenSideways)
{
    graph(QStringLiteral("y^2"), point(0, 0), true);
    surface.view = { -1, 2, 5, -2 };
    draw();
    ASSERT_EQ(surface.pieces.size(), 1u);
    for (const TModelPoint &p : surface.pieces[0].points)
        EXPECT_NEAR(p.x, p.y * p.y, 1e-9);
    EXPECT_NEAR(surface.pieces[0].points.front().y, -2, 1e-9);
}

TEST_F(GraphTest, ACurveAboveTheViewDrawsNothingAndIsNeverHit)
{
    TShapeFunction *g = graph(QStringLiteral("x^2+10"), point(0, 0));
    draw();
    EXPECT_TRUE(surface.pieces.empty());
    EXPECT_EQ(g->rawDistance({ 0, 4 }, { 0.01, 0.01 }), 100);
    EXPECT_TRUE(std::isnan(g->anchorPoint().x));
}

TEST_F(GraphTest, TheGraphFollowsItsOrigin)
{
    TShapeDot *p = point(0, 0);
    TShapeFunction *g = graph(QStringLiteral("x^2"), p);
    draw();
    EXPECT_EQ(g->rawDistance({ 1, 1 }, { 0.01, 0.01 }), 0);
    p->moveXYOffsetXY(1, -1);
    draw();
    EXPECT_EQ(g->rawDistance({ 2, 0 }, { 0.01, 0.01 }), 0);
    EXPECT_EQ(g->rawDistance({ 1, 1 }, { 0.01, 0.01 }), 100);
    EXPECT_EQ(g->pointAt(2), (TModelPoint { 3, 3 })); // s is relative to the origin (1, -1)
    // The visible part is |x - 1| ≤ √5: its middle is the vertex.
    EXPECT_NEAR(g->anchorPoint().x, 1, 0.011);
    EXPECT_NEAR(g->anchorPoint().y, -1, 0.001);
}

TEST_F(GraphTest, SyntaxErrorsDrawNothingAndFormulasSaveAndLoad)
{
    TShapeDot *p = point(0.5, 0);
    graph(QStringLiteral("2+*x"), p);
    draw();
    EXPECT_TRUE(surface.pieces.empty());
    TShapeFunction *g = graph(QStringLiteral("sin(x)"), p, true);
    g->range().fMinIsInfinity = false;
    g->range().setMinText(QStringLiteral("-pi"));
    field.renumber();
    MemoryWriter w = savedFigureList(field);
    TShapeStore loaded;
    factory.readAll(*w.root().findChild(QStringLiteral("figureList")), loaded);
    ASSERT_EQ(loaded.count(), 3);
    auto *back = static_cast<TShapeFunction *>(loaded.last());
    EXPECT_TRUE(back->isY());
    EXPECT_EQ(
        static_cast<TParentDot2Function *>(back->relation())->formula(), QStringLiteral("sin(x)"));
    EXPECT_FALSE(back->range().fMinIsInfinity);
    EXPECT_NEAR(back->range().lower(), -M_PI, 1e-12);
    EXPECT_TRUE(back->range().fMaxIsInfinity);
}

TEST(Combinations, SubsetsAsMasksInLexicographicOrder)
{
    const auto masks = [](int n, int offset, int k) {
        std::vector<quint32> out;
        for (TCombinationsIterator it(n, offset, k); it.hasNext();)
            out.push_back(it.next());
        return out;
    };
    EXPECT_EQ(
        masks(4, 0, 2), (std::vector<quint32> { 0b0011, 0b0101, 0b1001, 0b0110, 0b1010, 0b1100 }));
    EXPECT_EQ(masks(3, 2, 3), (std::vector<quint32> { 0b11100 }));
    EXPECT_TRUE(masks(4, 0, 0).empty());
    EXPECT_EQ(masks(5, 0, 3).size(), 10u);
    expectSouteigai([] { TCombinationsIterator(30, 2, 1); }, QStringLiteral("Create"),
        QStringLiteral("combinationのパラメータが範囲を超えています。"));
}

TEST_F(GraphTest, ThePolynomialThroughThreeToFivePoints)
{
    const auto quartic = [](double x) { return x * x * x * x - 2 * x * x + 0.5 * x - 1; };
    const auto cubic = [](double x) { return x * x * x - x; };
    const struct
    {
        const char *name;
        std::vector<double> xs;
        std::function<double(double)> f;
        std::vector<double> coefficients;
    } cases[] = {
        { "x^2", { -1, 0, 1 }, [](double x) { return x * x; }, { 0, 0, 1 } },
        // Collinear points: a line, still of stored degree 2.
        { "x", { 0, 1, 2 }, [](double x) { return x; }, { 0, 1, 0 } },
        { "x^3-x", { -2, -0.5, 1, 3 }, cubic, { 0, -1, 0, 1 } },
        { "quartic", { 2.5, -2, -1, 0.5, 1.5 }, quartic, { -1, 0.5, -2, 0, 1 } },
    };
    for (const auto &c : cases) {
        restart();
        std::vector<TShapeDot *> points;
        for (double x : c.xs)
            points.push_back(point(x, c.f(x)));
        TShapeFunction *g = seishiki(points);
        EXPECT_EQ(g->propertyType(), TPropertyType::None) << c.name; // no formula to edit
        surface.view = { -3, 10, 3, -10 };
        draw();
        ASSERT_EQ(surface.pieces.size(), 1u) << c.name;
        for (const TShapeDot *p : points)
            EXPECT_NEAR(g->valueAt(p->getX()), p->getY(), 1e-9) << c.name;
        // The drawn curve is the polynomial between the points too.
        for (const TModelPoint &q : surface.pieces[0].points)
            if (std::fabs(q.y) < 9.9) {
                EXPECT_NEAR(q.y, c.f(q.x), 1e-9) << c.name << " at " << q.x;
            }
        const TDimensionInfo &d = g->degreeInfo();
        EXPECT_EQ(d.state(), TDimensionInfo::dsPolynomial) << c.name;
        EXPECT_EQ(d.degree(), int(c.xs.size()) - 1) << c.name;
        for (int k = 0; k < int(c.coefficients.size()); ++k)
            EXPECT_NEAR(d.coefficient(k), c.coefficients[std::size_t(k)], 1e-9)
                << c.name << " x^" << k;
    }
}

TEST_F(GraphTest, ThePolynomialHidesWhileTwoPointsShareAnXAndFollowsItsPoints)
{
    TShapeDot *a = point(-1, 1), *b = point(0, 0), *c = point(1, 1);
    TShapeFunction *g = seishiki({ a, b, c });
    draw();
    ASSERT_EQ(surface.pieces.size(), 1u);
    EXPECT_NEAR(g->valueAt(2), 4, 1e-9);

    c->moveXYOffsetXY(-1, 2); // now above B: no function passes through both
    draw();
    EXPECT_TRUE(surface.pieces.empty());
    EXPECT_FALSE(g->isDrawable()); // so it is not picked either
    EXPECT_EQ(g->degreeInfo().state(), TDimensionInfo::dsNotPolynomial);

    c->moveXYOffsetXY(2, -2); // to (2, 1): back, and through the new place
    draw();
    ASSERT_EQ(surface.pieces.size(), 1u);
    EXPECT_TRUE(g->isDrawable());
    EXPECT_NEAR(g->valueAt(2), 1, 1e-9);
    EXPECT_NEAR(g->valueAt(-1), 1, 1e-9);
    EXPECT_EQ(g->rawDistance({ 1, g->valueAt(1) }, { 0.01, 0.01 }), 0);
}

TEST_F(GraphTest, ThreeToFivePointsOfferThePolynomialAndItSavesAsItsParents)
{
    std::vector<TShapeDot *> points;
    for (int i = 0; i < 6; ++i)
        points.push_back(point(i, (i - 2) * (i - 3)));
    for (int n = 2; n <= 6; ++n) {
        TShapeList selection;
        for (int i = 0; i < n; ++i)
            selection.add(points[std::size_t(i)]);
        EXPECT_EQ(
            factory.figureTypesFor(selection).contains(TFiguretype::FIG_seishiki), n >= 3 && n <= 5)
            << n;
    }

    TShapeFunction *g = seishiki({ points[0], points[1], points[4], points[5] });
    draw();
    field.renumber();
    MemoryWriter w = savedFigureList(field);
    TShapeStore loaded;
    factory.readAll(*w.root().findChild(QStringLiteral("figureList")), loaded);
    ASSERT_EQ(loaded.count(), 7);
    auto *back = static_cast<TShapeFunction *>(loaded.last());
    EXPECT_EQ(back->getFigureType(), TFiguretype::FIG_seishiki);
    EXPECT_EQ(back->parents().count(), 4);
    EXPECT_EQ(back->propertyType(), TPropertyType::None);
    ASSERT_TRUE(back->relation()->calcChildren(nullptr));
    for (double x : { -1.0, 0.5, 2.5, 7.0 })
        EXPECT_NEAR(back->valueAt(x), g->valueAt(x), 1e-9) << x;
    EXPECT_NEAR(back->valueAt(2.5), -0.25, 1e-9); // the parabola through all six points
}

int indexOf(const TShapeDot *dot)
{
    return static_cast<const TParentSeishiki2diffIs0dots *>(dot->relation())->index();
}

TEST_F(GraphTest, ExtremePointsSitWhereTheDerivativeIsZero)
{
    const struct
    {
        const char *formula;
        bool isY;
        TModelPoint origin;
        std::vector<TModelPoint> points; // in model coordinates, left to right
    } cases[] = {
        { "x^3-3x", false, { 0, 0 }, { { -1, 2 }, { 1, -2 } } },
        { "x^4-2x^2", false, { 0, 0 }, { { -1, -1 }, { 0, 0 }, { 1, -1 } } },
        { "x^3-3x", false, { 1, 2 }, { { 0, 4 }, { 2, 0 } } },
        { "(x-1)^2(x+2)", false, { 0, 0 }, { { -1, 4 }, { 1, 0 } } },
        { "x^3", false, { 0, 0 }, { { 0, 0 } } }, // a level inflection point counts too
        { "x^3+x", false, { 0, 0 }, {} }, // p' = 3x² + 1 has no real zero
        { "2x-1", false, { 0, 0 }, {} },
        { "y^2-2y", true, { 0.5, 0 }, { { -0.5, 1 } } }, // x = g(y) turns at y = 1
    };
    for (const auto &c : cases) {
        restart();
        TShapeFunction *g
            = graph(QString::fromUtf8(c.formula), point(c.origin.x, c.origin.y), c.isY);
        ASSERT_TRUE(offersExtremePoints(g)) << c.formula;
        const std::vector<TShapeDot *> dots = extremePoints(g);
        // One point per degree, numbered in order; those without a zero hide.
        ASSERT_EQ(int(dots.size()), g->degreeInfo().degree()) << c.formula;
        draw();
        for (std::size_t i = 0; i < dots.size(); ++i) {
            EXPECT_EQ(indexOf(dots[i]), int(i) + 1);
            EXPECT_EQ(dots[i]->propertyType(), TPropertyType::None);
            EXPECT_EQ(dots[i]->getViewType(), TViewType::vtVisible);
            if (i < c.points.size()) {
                ASSERT_TRUE(dots[i]->isDrawable()) << c.formula << " " << i;
                EXPECT_NEAR(dots[i]->getX(), c.points[i].x, 1e-9) << c.formula << " " << i;
                EXPECT_NEAR(dots[i]->getY(), c.points[i].y, 1e-9) << c.formula << " " << i;
            } else {
                EXPECT_FALSE(dots[i]->isDrawable()) << c.formula << " " << i;
            }
        }
    }
}

TEST_F(GraphTest, OnlyPolynomialGraphsOfferExtremePoints)
{
    TShapeDot *o = point(0, 0);
    for (const char *text : { "sin x", "x^5", "2", "1/x", "2+*x" }) {
        TShapeFunction *g = graph(QString::fromUtf8(text), o);
        EXPECT_FALSE(offersExtremePoints(g)) << text;
    }
    EXPECT_TRUE(offersExtremePoints(graph(QStringLiteral("(x-1)(x+2)^2"), o)));
    TShapeList two;
    two.add(graph(QStringLiteral("x^2"), o));
    two.add(graph(QStringLiteral("x^3"), o));
    EXPECT_FALSE(factory.figureTypesFor(two).contains(TFiguretype::FIG_seishiki2kyokuchiDots));
}

TEST_F(GraphTest, ExtremePointsFollowTheirGraph)
{
    TShapeDot *o = point(0, 0);
    TShapeFunction *g = graph(QStringLiteral("x^3-3x"), o);
    const std::vector<TShapeDot *> dots = extremePoints(g);
    ASSERT_EQ(dots.size(), 3u);
    o->moveXYOffsetXY(2, -1);
    draw();
    EXPECT_NEAR(dots[0]->getX(), 1, 1e-9);
    EXPECT_NEAR(dots[0]->getY(), 1, 1e-9);
    EXPECT_NEAR(dots[1]->getX(), 3, 1e-9);
    EXPECT_NEAR(dots[1]->getY(), -3, 1e-9);

    // A domain that leaves out a zero hides its point only.
    g->range().fMinIsInfinity = false;
    ASSERT_TRUE(g->range().setMinText(QStringLiteral("0")));
    draw();
    EXPECT_FALSE(dots[0]->isDrawable());
    EXPECT_TRUE(dots[1]->isDrawable());
    g->range().fMinIsInfinity = true;

    // A new formula moves the points; one that is no polynomial hides them.
    auto *f = static_cast<TParentDot2Function *>(g->relation());
    f->setFormula(QStringLiteral("x^4-2x^2"));
    draw();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(dots[std::size_t(i)]->isDrawable()) << i;
    EXPECT_NEAR(dots[2]->getX(), 3, 1e-9);
    EXPECT_NEAR(dots[2]->getY(), -2, 1e-9);
    f->setFormula(QStringLiteral("sin x"));
    draw();
    for (TShapeDot *d : dots)
        EXPECT_FALSE(d->isDrawable());
    f->setFormula(QStringLiteral("x^2"));
    draw();
    EXPECT_TRUE(dots[0]->isDrawable());
    EXPECT_NEAR(dots[0]->getY(), -1, 1e-9);
    EXPECT_FALSE(dots[1]->isDrawable());

    // They cannot be dragged away from the graph.
    dots[0]->moveXYOffsetXY(1, 1);
    EXPECT_FALSE(dots[0]->isDraggable());
    draw();
    EXPECT_NEAR(dots[0]->getX(), 2, 1e-9);
}

TEST_F(GraphTest, ExtremePointsOfThePolynomialThroughPointsFollowThePoints)
{
    // The cubic (x + 2)(x − 1)(x − 3) = x³ − 2x² − 5x + 6 through four of its points.
    const auto cubic = [](double x) { return (x + 2) * (x - 1) * (x - 3); };
    std::vector<TShapeDot *> ps;
    for (double x : { -2.0, 0.0, 1.0, 3.0 })
        ps.push_back(point(x, cubic(x)));
    TShapeFunction *g = seishiki(ps);
    draw(); // the graph computes its polynomial when drawn
    ASSERT_TRUE(offersExtremePoints(g));
    const std::vector<TShapeDot *> dots = extremePoints(g);
    ASSERT_EQ(dots.size(), 3u);
    draw();
    // p' = 3x² − 4x − 5 = 0 at x = (2 ± √19) / 3.
    const double x1 = (2 - std::sqrt(19.0)) / 3, x2 = (2 + std::sqrt(19.0)) / 3;
    EXPECT_NEAR(dots[0]->getX(), x1, 1e-9);
    EXPECT_NEAR(dots[0]->getY(), cubic(x1), 1e-9);
    EXPECT_NEAR(dots[1]->getX(), x2, 1e-9);
    EXPECT_NEAR(dots[1]->getY(), cubic(x2), 1e-9);
    EXPECT_FALSE(dots[2]->isDrawable());

    // Shifting every point up shifts the turning points with them.
    for (TShapeDot *p : ps)
        p->moveXYOffsetXY(0, 1);
    draw();
    EXPECT_NEAR(dots[0]->getY(), cubic(x1) + 1, 1e-9);
    EXPECT_NEAR(dots[1]->getX(), x2, 1e-9);

    // Points on a line leave a derivative without zeros; two on one x leave no graph.
    ps[1]->moveXYOffsetXY(0, -ps[1]->getY() - 1);
    ps[0]->moveXYOffsetXY(0, -ps[0]->getY() - 1);
    ps[2]->moveXYOffsetXY(0, -ps[2]->getY() - 1);
    ps[3]->moveXYOffsetXY(0, -ps[3]->getY() - 1);
    draw();
    for (TShapeDot *d : dots)
        EXPECT_FALSE(d->isDrawable());
    ps[1]->moveXYOffsetXY(0, 2); // a bump at x = 0 between −2 and 1
    draw();
    EXPECT_TRUE(dots[0]->isDrawable());
    EXPECT_TRUE(dots[1]->isDrawable());
    EXPECT_LT(dots[0]->getX(), 0.5);
    ps[1]->moveXYOffsetXY(1, 0); // onto the x of the third point
    draw();
    EXPECT_FALSE(g->isDrawable());
    for (TShapeDot *d : dots)
        EXPECT_FALSE(d->isDrawable());
}

TEST_F(GraphTest, ExtremePointsSaveTheirIndexAndLoadOneByOne)
{
    TShapeFunction *g = graph(QStringLiteral("x^4-2x^2"), point(0, 1));
    extremePoints(g);
    draw();
    field.renumber();
    MemoryWriter w = savedFigureList(field);
    TShapeStore loaded;
    factory.readAll(*w.root().findChild(QStringLiteral("figureList")), loaded);
    ASSERT_EQ(loaded.count(), 6);
    for (int i = 0; i < 4; ++i) {
        auto *d = static_cast<TShapeDot *>(loaded.item(2 + i));
        EXPECT_EQ(d->getFigureType(), TFiguretype::FIG_seishiki2kyokuchiDots);
        EXPECT_EQ(indexOf(d), i + 1);
    }
    restart();
    field.takeAllFrom(loaded);
    draw();
    const double xs[] = { -1, 0, 1 };
    for (int i = 0; i < 3; ++i) {
        auto *d = static_cast<TShapeDot *>(field.item(2 + i));
        ASSERT_TRUE(d->isDrawable());
        EXPECT_NEAR(d->getX(), xs[i], 1e-9);
    }
    EXPECT_FALSE(field.item(5)->isDrawable());
}

} // namespace
