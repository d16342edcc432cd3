#include "model/curverelations.h"
#include "model/modelclasses.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "support/fake_surface.h"
#include "support/figure_list.h"
#include "support/guidance_names.h"
#include "support/memory_document.h"
#include "test_shapes.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

class ConstructionTest : public ::testing::Test
{
protected:
    void SetUp() override { registerModelRelationClasses(factory); }

    TShapeDot *point(double x, double y)
    {
        TShapeStore built = factory.create(TFiguretype::FIG_dotOnField, TShapeList());
        auto *d = static_cast<TShapeDot *>(built.first());
        d->setInitialXY({ x, y });
        field.takeAllFrom(built);
        return d;
    }
    QList<TShape *> build(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore built = factory.create(type, ps);
        QList<TShape *> made = built.items();
        field.takeAllFrom(built);
        return made;
    }
    template <typename T> T *one(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        const QList<TShape *> made = build(type, parents);
        EXPECT_EQ(made.size(), 1);
        return static_cast<T *>(made.first());
    }
    QStringList redraw()
    {
        FakeSurface surface;
        TDrawStatus status { TCurrentDrawStatus::Dragging, false };
        field.drawField(status, surface);
        return surface.drawn;
    }
    static double distanceTo(const TShapeLine *line, const TShapeDot *d)
    {
        const TMathCyokusen &l = line->line();
        return std::fabs(l.a * d->getX() + l.b * d->getY() + l.c) / std::hypot(l.a, l.b);
    }
    TFiguretypeSet allowed(std::initializer_list<TShape *> selection)
    {
        TShapeList s;
        for (TShape *p : selection)
            s.add(p);
        return factory.figureTypesFor(s);
    }

    InstalledGuidanceNames creator;
    TShapeFactory factory;
    TShapeStore field;
};

TEST_F(ConstructionTest, ParentRulesForOneTwoAndThreePoints)
{
    TShapeDot *a = point(0, 0), *b = point(1, 0), *c = point(0, 1);
    // Any one to five shapes can carry a point with formula coordinates.
    EXPECT_EQ(allowed({ a }), TFiguretypeSet { TFiguretype::FIG_shapeVariable2dot });
    const TFiguretypeSet two = allowed({ a, b });
    for (TFiguretype t :
        { TFiguretype::FIG_line, TFiguretype::FIG_senbun, TFiguretype::FIG_hanCyokusen,
            TFiguretype::FIG_arrow, TFiguretype::FIG_arrowLine, TFiguretype::FIG_arrowHanCyokusen,
            TFiguretype::FIG_printAreaSenbun, TFiguretype::FIG_circle })
        EXPECT_TRUE(two.contains(t)) << TEnumConverter<TFiguretype>::name(t).toStdString();
    EXPECT_FALSE(two.contains(TFiguretype::FIG_gaisetsuen));
    const TFiguretypeSet three = allowed({ a, b, c });
    EXPECT_EQ(three,
        (TFiguretypeSet { TFiguretype::FIG_gaisetsuen, TFiguretype::FIG_arc,
            TFiguretype::FIG_ellipse, TFiguretype::FIG_shapeVariable2dot }));
}

TEST_F(ConstructionTest, ALineFollowsItsDraggedPoints)
{
    TShapeDot *p = point(0, 0), *q = point(1, 1);
    auto *line = one<TShapeLine>(TFiguretype::FIG_line, { p, q });
    EXPECT_EQ(line->getLineKind(), TBoundaryType::btAll);
    p->moveXYOffsetXY(-2, 3);
    q->moveXYOffsetXY(4, 0.5);
    redraw();
    EXPECT_NEAR(distanceTo(line, p), 0, 1e-12);
    EXPECT_NEAR(distanceTo(line, q), 0, 1e-12);
    EXPECT_TRUE(line->isDrawable());
    EXPECT_EQ(line->guidanceName(), QString()); // names come with the renumbering
    field.renumber();
    EXPECT_EQ(line->guidanceName(), QStringLiteral("#0点 ,#1点 を通る直線"));
}

TEST_F(ConstructionTest, ASegmentOfCoincidentPointsDisappearsUntilTheyPart)
{
    TShapeDot *p = point(0, 0), *q = point(1, 0);
    auto *segment = one<TShapeLine>(TFiguretype::FIG_senbun, { p, q });
    EXPECT_EQ(segment->shapeType(), TShapetype::SHAPE_senbun);
    q->moveXYOffsetXY(-1, 0);
    redraw();
    EXPECT_FALSE(segment->isDrawable());
    q->moveXYOffsetXY(0, 2);
    redraw();
    EXPECT_TRUE(segment->isDrawable());
    EXPECT_EQ(segment->boundary().first.toPoint(), (TModelPoint { 0, 0 }));
    EXPECT_EQ(segment->boundary().second.toPoint(), (TModelPoint { 0, 2 }));
}

TEST_F(ConstructionTest, CollinearPointsHideTheCircumcircleAndEverythingOnIt)
{
    TShapeDot *a = point(0, 0), *b = point(2, 0), *c = point(0, 2);
    auto *circle = one<TShapeCircle>(TFiguretype::FIG_gaisetsuen, { a, b, c });
    // Something built on the circle.
    TestRelationClass onCircle(QStringLiteral("TOnCircle"), { TFiguretype::FIG_writing });
    TestShape *label = newLabel(QStringLiteral("W"));
    TShapeList ps;
    ps.add(circle);
    onCircle.attachNew(TFiguretype::FIG_writing, *label)->setRelation(label, ps);
    field.add(std::unique_ptr<TShape>(label));

    redraw();
    EXPECT_NEAR(circle->centreX(), 1, 1e-12);
    EXPECT_NEAR(circle->centreY(), 1, 1e-12);
    EXPECT_NEAR(circle->radius(), std::sqrt(2.0), 1e-12);
    EXPECT_TRUE(redraw().contains(QStringLiteral("W")));

    c->moveXYOffsetXY(1, -2); // C = (1, 0), on the line AB
    EXPECT_FALSE(redraw().contains(QStringLiteral("W")));
    EXPECT_FALSE(circle->isDrawable());
    EXPECT_FALSE(label->isDrawable());

    c->moveXYOffsetXY(0, -1);
    EXPECT_TRUE(redraw().contains(QStringLiteral("W")));
    EXPECT_NEAR(circle->centreY(), 0, 1e-12);
}

TEST_F(ConstructionTest, ParallelsAndPerpendicularsInEitherSelectionOrder)
{
    TShapeDot *a = point(5, 1);
    TShapeDot *s1 = point(0, 0), *s2 = point(0, 3);
    auto *segment = one<TShapeLine>(TFiguretype::FIG_senbun, { s1, s2 });
    EXPECT_TRUE(allowed({ a, segment }).contains(TFiguretype::FIG_line_1tenHeikou));
    EXPECT_TRUE(allowed({ segment, a }).contains(TFiguretype::FIG_line_1tenSuicyoku));
    auto *parallel = one<TShapeLine>(TFiguretype::FIG_line_1tenHeikou, { segment, a });
    auto *perpendicular = one<TShapeLine>(TFiguretype::FIG_line_1tenSuicyoku, { a, segment });
    EXPECT_EQ(parallel->parents().first(), a);
    EXPECT_EQ(perpendicular->parents().first(), a);
    redraw();
    // The vertical line x = 5, unbounded whatever the parent's kind.
    EXPECT_EQ(parallel->getLineKind(), TBoundaryType::btAll);
    EXPECT_NEAR(distanceTo(parallel, a), 0, 1e-12);
    EXPECT_NEAR(parallel->line().xAt(-100), 5, 1e-12);
    EXPECT_NEAR(perpendicular->line().yAt(-100), 1, 1e-12);
    s2->moveXYOffsetXY(3, 0); // the segment turns to 45°
    redraw();
    EXPECT_NEAR(parallel->line().yAt(6), 2, 1e-12);
    EXPECT_NEAR(perpendicular->line().yAt(6), 0, 1e-12);
}

TEST_F(ConstructionTest, ThePointChainClosesItsPolygon)
{
    TShapeDot *p[4] = { point(0, 0), point(1, 0), point(1, 1), point(0, 1) };
    const QList<TShape *> edges = build(TFiguretype::FIG_senbun, { p[0], p[1], p[2], p[3] });
    ASSERT_EQ(edges.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(edges[i]->parents().first(), p[i]);
        EXPECT_EQ(edges[i]->parents().second(), p[(i + 1) % 4]);
    }
    EXPECT_EQ(build(TFiguretype::FIG_senbun, { p[0], p[2] }).size(), 1);
}

TEST_F(ConstructionTest, AnArcRunsCounterClockwiseFromStartToTheEndDirection)
{
    TShapeDot *c = point(0, 0), *s = point(1, 0), *e = point(0, 5);
    auto *arc = one<TShapeCircle>(TFiguretype::FIG_arc, { c, s, e });
    redraw();
    EXPECT_TRUE(arc->circle().boundary.isArc());
    EXPECT_DOUBLE_EQ(arc->radius(), 1);
    EXPECT_NEAR(arc->circle().boundary.second.x, 0, 1e-12);
    EXPECT_NEAR(arc->circle().boundary.second.y, 1, 1e-12);
    EXPECT_TRUE(arc->isInArc({ std::cos(0.7), std::sin(0.7) }));
    EXPECT_FALSE(arc->isInArc({ -1, 0 }));
    e->moveXYOffsetXY(0, -5); // onto the centre: the arc ends at angle 0
    redraw();
    EXPECT_NEAR(arc->circle().boundary.second.x, 1, 1e-12);
    EXPECT_NEAR(arc->circle().boundary.second.y, 0, 1e-12);
    // An arc's rest may show in the outer style; a full circle has none.
    EXPECT_EQ(arc->penBrush().state(TPenBrush::aOuterPenStyle), TPenBrushState::pbSelect);
    auto *full = one<TShapeCircle>(TFiguretype::FIG_circle, { c, s });
    EXPECT_EQ(full->penBrush().state(TPenBrush::aOuterPenStyle), TPenBrushState::pbDisable);
    EXPECT_EQ(full->penBrush().getBrushStyle(), TBrushStyle::bsClear);
}

TEST_F(ConstructionTest, ArrowsCarryTheirDirection)
{
    TShapeDot *p = point(0, 0), *q = point(3, 4);
    auto *arrow = one<TShapeArrow>(TFiguretype::FIG_arrow, { p, q });
    auto *arrowLine = one<TShapeArrow>(TFiguretype::FIG_arrowLine, { q, p });
    redraw();
    EXPECT_EQ(arrow->shapeType(), TShapetype::SHAPE_arrow);
    EXPECT_EQ(arrowLine->shapeType(), TShapetype::SHAPE_arrowLine);
    EXPECT_EQ(arrow->boundary().endPoint(1).toPoint(), (TModelPoint { 3, 4 }));
    EXPECT_DOUBLE_EQ(arrow->vector().x, 3);
    EXPECT_DOUBLE_EQ(arrow->vector().y, 4);
    EXPECT_DOUBLE_EQ(arrow->angle(), std::atan2(4.0, 3.0));
    EXPECT_DOUBLE_EQ(arrowLine->angle(), std::atan2(-4.0, -3.0));
    EXPECT_EQ(arrow->penBrush().getBrushStyle(), TBrushStyle::bsSolid);
    EXPECT_EQ(arrow->penBrush().state(TPenBrush::aBrushColor), TPenBrushState::pbSelect);
    EXPECT_EQ(arrowLine->penBrush().state(TPenBrush::aBrushStyle), TPenBrushState::pbSelect);
    EXPECT_EQ(arrowLine->penBrush().state(TPenBrush::aOuterPenStyle), TPenBrushState::pbDisable);
}

// A line built on any line shape names it, whether it is a line, a segment or an arrow.
TEST_F(ConstructionTest, GuidanceNamesOfLinesBuiltOnLineShapes)
{
    TShapeDot *a = point(5, 1), *p = point(0, 0), *q = point(0, 3);
    for (TFiguretype kind :
        { TFiguretype::FIG_senbun, TFiguretype::FIG_arrow, TFiguretype::FIG_arrowLine }) {
        TShape *base = build(kind, { p, q }).first();
        auto *parallel = one<TShapeLine>(TFiguretype::FIG_line_1tenHeikou, { a, base });
        auto *perpendicular = one<TShapeLine>(TFiguretype::FIG_line_1tenSuicyoku, { base, a });
        field.renumber();
        const QString baseName = base->noAndShapetypeString() + QLatin1Char(' ');
        EXPECT_EQ(parallel->guidanceName(),
            QStringLiteral("#0点 を通り, ") + baseName + QStringLiteral("に平行な直線"));
        EXPECT_EQ(perpendicular->guidanceName(),
            QStringLiteral("#0点 を通り, ") + baseName + QStringLiteral("に垂直な直線"));
    }
}

TEST_F(ConstructionTest, EllipseThroughTwoPointsAndItsDegenerateCase)
{
    TShapeDot *c = point(0, 0), *p = point(2, 0), *q = point(0, 1);
    auto *ellipse = one<TShapeEllipse>(TFiguretype::FIG_ellipse, { c, p, q });
    redraw();
    EXPECT_NEAR(ellipse->majorAxis(), 4, 1e-12);
    EXPECT_NEAR(ellipse->minorAxis(), 2, 1e-12);
    EXPECT_NEAR(ellipse->focus1().x, std::sqrt(3.0), 1e-12);
    q->moveXYOffsetXY(1, -1); // (1, 0): no axis-aligned ellipse through both
    redraw();
    EXPECT_FALSE(ellipse->isDrawable());
    EXPECT_EQ(ellipse->rawDistance({ 2, 0 }, {}), 100);
}

TEST_F(ConstructionTest, RaysAndSegmentsMayShowTheirOuterParts)
{
    TShapeDot *p = point(0, 0), *q = point(1, 0);
    auto *line = one<TShapeLine>(TFiguretype::FIG_line, { p, q });
    auto *ray = one<TShapeLine>(TFiguretype::FIG_hanCyokusen, { p, q });
    auto *segment = one<TShapeLine>(TFiguretype::FIG_senbun, { p, q });
    EXPECT_EQ(line->penBrush().state(TPenBrush::aOuterPenStyle), TPenBrushState::pbDisable);
    EXPECT_EQ(ray->penBrush().state(TPenBrush::aOuterPenStyle), TPenBrushState::pbSelect);
    EXPECT_EQ(segment->penBrush().state(TPenBrush::aOuterPenStyle), TPenBrushState::pbSelect);
    EXPECT_EQ(ray->penBrush().getOuterPenStyle(),
        TPenStyle::psClear); // invisible until the user picks a style
    redraw();
    EXPECT_EQ(ray->boundary().first.toPoint(), (TModelPoint { 0, 0 }));
    EXPECT_TRUE(ray->boundary().getDirection());
}

TEST_F(ConstructionTest, EveryKindSavesAndLoadsBack)
{
    TShapeDot *a = point(0, 0), *b = point(2, 0), *c = point(0, 1);
    build(TFiguretype::FIG_hanCyokusen, { a, b });
    build(TFiguretype::FIG_arrow, { a, c });
    build(TFiguretype::FIG_arrowLine, { b, c });
    build(TFiguretype::FIG_arrowHanCyokusen, { c, b });
    build(TFiguretype::FIG_arc, { a, b, c });
    build(TFiguretype::FIG_gaisetsuen, { a, b, c });
    build(TFiguretype::FIG_ellipse, { a, b, c });
    TShape *seg = build(TFiguretype::FIG_senbun, { b, c }).first();
    build(TFiguretype::FIG_line_1tenHeikou, { a, seg });
    build(TFiguretype::FIG_line_1tenSuicyoku, { a, seg });
    seg->penBrush().setOuterPenStyle(TPenStyle::psDot);
    redraw();
    field.renumber();

    MemoryWriter first = savedFigureList(field);
    TShapeStore loaded;
    factory.readAll(*first.root().findChild(QStringLiteral("figureList")), loaded);
    ASSERT_EQ(loaded.count(), field.count());
    FakeSurface surface;
    TDrawStatus status { TCurrentDrawStatus::Ordinary, false };
    loaded.drawField(status, surface);
    loaded.renumber();
    for (int i = 0; i < field.count(); ++i) {
        EXPECT_EQ(loaded.item(i)->getFigureType(), field.item(i)->getFigureType());
        EXPECT_EQ(loaded.item(i)->guidanceName(), field.item(i)->guidanceName());
    }
    EXPECT_EQ(loaded.item(10)->penBrush().getOuterPenStyle(), TPenStyle::psDot);
    EXPECT_EQ(savedFigureList(loaded).lines(), first.lines()); // saving again gives the same text
}

} // namespace
