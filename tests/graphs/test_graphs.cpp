#include "graphs/dot2function.h"
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

} // namespace
