#include "core/exceptions.h"
#include "model/curvepoints.h"
#include "model/intersections.h"
#include "model/modelclasses.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "model/tangents.h"
#include "support/fake_surface.h"
#include "support/figure_list.h"
#include "support/guidance_names.h"
#include "support/memory_document.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace zarno;
using namespace zarno::test;

namespace {

const double kRoot3 = std::sqrt(3.0);

class CurvePointTest : public ::testing::Test
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
        redraw();
        return made;
    }
    template <typename T> T *one(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        const QList<TShape *> made = build(type, parents);
        EXPECT_EQ(made.size(), 1);
        return static_cast<T *>(made.first());
    }
    // A point put on the curve where the user clicked, as the model does.
    TShapeDot *pointOn(TShape *curve, double x, double y)
    {
        TShapeList near;
        near.add(curve);
        TShapeStore built = factory.create(TShapeFactory::pointFigureTypeFor(near), near);
        auto *d = static_cast<TShapeDot *>(built.first());
        d->setInitialXY({ x, y });
        field.takeAllFrom(built);
        return d;
    }
    void redraw()
    {
        FakeSurface surface;
        TDrawStatus status { TCurrentDrawStatus::Dragging, false };
        field.drawField(status, surface);
    }
    // Frees every shape, children first.
    void restart()
    {
        while (!field.isEmpty())
            field.take(field.last());
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

// How far a point lies from the drawn part of a curve (0 on it).
double offCurve(const TShape *curve, const TModelPoint &p)
{
    switch (curve->shapeType()) {
    case TShapetype::SHAPE_circle: {
        const auto &c = static_cast<const TShapeCircle *>(curve)->circle();
        return c.distance(TMathZahyo(p));
    }
    case TShapetype::SHAPE_ellipse: {
        const auto &e = static_cast<const TShapeEllipse *>(curve)->ellipse();
        const double u = (p.x - e.centre.x) / e.semiAxisX, v = (p.y - e.centre.y) / e.semiAxisY;
        return std::fabs(std::hypot(u, v) - 1) * std::min(e.semiAxisX, e.semiAxisY);
    }
    default: return static_cast<const TShapeLine *>(curve)->line().distance(TMathZahyo(p));
    }
}

TModelPoint xy(const TShapeDot *d)
{
    return d->getXY();
}

void expectAt(const TShapeDot *d, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(d->getX(), x, tol);
    EXPECT_NEAR(d->getY(), y, tol);
}

// Every kind of curve: a point made next to it sits on it, slides along it
// under a dragging cursor, and is found on it again after the points the
// curve is built from have moved.
TEST_F(CurvePointTest, APointOnEveryKindOfCurveStaysOnItWhileDraggedAndWhenTheCurveMoves)
{
    struct Case
    {
        TFiguretype curve;
        TFiguretype expectedPoint;
        TModelPoint click;
        TModelPoint cursor;
    } cases[] = {
        { TFiguretype::FIG_line, TFiguretype::FIG_dotOnLine, { 1, 0.7 }, { -3, 1 } },
        { TFiguretype::FIG_senbun, TFiguretype::FIG_dotOnLine, { 1, 0.7 }, { 2, 1 } },
        { TFiguretype::FIG_hanCyokusen, TFiguretype::FIG_dotOnLine, { 1, 0.7 }, { 5, 2 } },
        { TFiguretype::FIG_arrow, TFiguretype::FIG_dotOnLine, { 1, 0.7 }, { 0.5, 0 } },
        { TFiguretype::FIG_arrowLine, TFiguretype::FIG_dotOnLine, { 1, 0.7 }, { -4, -4 } },
        { TFiguretype::FIG_arrowHanCyokusen, TFiguretype::FIG_dotOnLine, { 1, 0.7 }, { 3, 3 } },
        { TFiguretype::FIG_circle, TFiguretype::FIG_dotOnCircle, { 0.1, 2.2 }, { -3, -1 } },
        { TFiguretype::FIG_arc, TFiguretype::FIG_dotOnCircle, { 1.5, 1.4 }, { 2, 0.5 } },
        { TFiguretype::FIG_gaisetsuen, TFiguretype::FIG_dotOnCircle, { 2, 3 }, { 0, -5 } },
        { TFiguretype::FIG_ellipse, TFiguretype::FIG_dotOnEllipse, { 1, 0.8 }, { -1, 3 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(TEnumConverter<TFiguretype>::name(c.curve).toStdString());
        restart();
        TShapeDot *a = point(0, 0), *b = point(2, 1.5), *d = point(0.3, 2.1);
        const bool three = c.curve == TFiguretype::FIG_arc || c.curve == TFiguretype::FIG_gaisetsuen
            || c.curve == TFiguretype::FIG_ellipse;
        TShape *curve
            = three ? build(c.curve, { a, b, d }).first() : build(c.curve, { a, b }).first();

        TShapeDot *p = pointOn(curve, c.click.x, c.click.y);
        redraw();
        EXPECT_EQ(p->getFigureType(), c.expectedPoint);
        EXPECT_FALSE(p->canMoveAnywhere());
        EXPECT_EQ(p->propertyType(), TPropertyType::None);
        EXPECT_LT(offCurve(curve, xy(p)), 1e-9);

        p->dragTo(c.cursor, { 0, 0 });
        redraw();
        EXPECT_LT(offCurve(curve, xy(p)), 1e-9);
        EXPECT_TRUE(p->isChanged());

        a->moveXYOffsetXY(-0.4, 0.3);
        b->moveXYOffsetXY(0.7, -0.2);
        d->moveXYOffsetXY(-0.2, 0.4);
        redraw();
        ASSERT_TRUE(curve->isDrawable());
        EXPECT_TRUE(p->isDrawable());
        EXPECT_LT(offCurve(curve, xy(p)), 1e-9);
    }
}

TEST_F(CurvePointTest, APointOnASegmentOrRayStopsAtItsEnds)
{
    TShapeDot *a = point(0, 0), *b = point(4, 0);
    TShape *segment = build(TFiguretype::FIG_senbun, { a, b }).first();
    TShape *ray = build(TFiguretype::FIG_hanCyokusen, { a, b }).first();
    TShapeDot *p = pointOn(segment, 2, 0.1);
    TShapeDot *q = pointOn(ray, 3, -0.1);
    p->dragTo({ 6, 1 }, {});
    expectAt(p, 4, 0);
    p->dragTo({ -3, 2 }, {});
    expectAt(p, 0, 0);
    p->dragTo({ 2, 5 }, {});
    expectAt(p, 2, 0);
    q->dragTo({ -2, 1 }, {});
    expectAt(q, 0, 0);
    q->dragTo({ 9, 1 }, {});
    expectAt(q, 9, 0);

    // The kept position is the last one on the segment: shortening the
    // segment pulls the point along, lengthening it again gives it back.
    b->moveXYOffsetXY(-3, 0);
    redraw();
    expectAt(p, 1, 0);
    b->moveXYOffsetXY(3, 0);
    redraw();
    expectAt(p, 2, 0);
}

TEST_F(CurvePointTest, APointOnACircleKeepsItsDirectionFromTheCentre)
{
    TShapeDot *c = point(0, 0), *r = point(2, 0);
    TShape *circle = build(TFiguretype::FIG_circle, { c, r }).first();
    TShapeDot *p = pointOn(circle, 1, 1.1);
    p->dragTo({ 0, 5 }, {});
    expectAt(p, 0, 2);
    r->moveXYOffsetXY(1, 0); // radius 3
    redraw();
    expectAt(p, 0, 3);
    c->moveXYOffsetXY(1, 1); // the centre moves; the radius point stays: radius √5
    redraw();
    expectAt(p, 1, 1 + std::sqrt(5.0));

    // Dragged onto the centre: the rightmost point.
    p->dragTo({ 1, 1 }, {});
    expectAt(p, 1 + std::sqrt(5.0), 1);

    // An arc keeps the point on itself: the quarter from (1, 0) to (0, 1).
    TShapeDot *o = point(10, 0), *s = point(11, 0), *e = point(10, 5);
    TShape *arc = build(TFiguretype::FIG_arc, { o, s, e }).first();
    TShapeDot *q = pointOn(arc, 10.6, 0.6);
    q->dragTo({ 9, -0.2 }, {}); // nearer the end (0, 1) round the circle
    expectAt(q, 10, 1);
    q->dragTo({ 10.2, -1 }, {}); // nearer the start
    expectAt(q, 11, 0);
}

TEST_F(CurvePointTest, APointOnAnEllipseSitsWhereTheRayFromTheCentreMeetsIt)
{
    TShapeDot *c = point(0, 0), *a = point(2, 0), *b = point(0, 1);
    TShape *ellipse = build(TFiguretype::FIG_ellipse, { c, a, b }).first();
    TShapeDot *p = pointOn(ellipse, 1, 1);
    p->dragTo({ 0, 5 }, {});
    expectAt(p, 0, 1);
    p->dragTo({ 5, 0 }, {});
    expectAt(p, 2, 0);
    p->dragTo({ 0, 0 }, {}); // the centre: the end of the x semi-axis
    expectAt(p, 2, 0);
    p->dragTo({ 3, 3 }, {});
    const double k = 2 / std::sqrt(5.0);
    expectAt(p, k, k);

    // No ellipse through both points: it hides, and the point with it; it
    // comes back, on the curve, when the ellipse does.
    b->moveXYOffsetXY(0, -1);
    redraw();
    EXPECT_FALSE(ellipse->isDrawable());
    EXPECT_FALSE(p->isDrawable());
    b->moveXYOffsetXY(0, 3);
    redraw();
    EXPECT_TRUE(p->isDrawable());
    EXPECT_LT(offCurve(ellipse, xy(p)), 1e-9);
}

TEST_F(CurvePointTest, PointsOfTangencyFromAnOutsidePoint)
{
    TShapeDot *c = point(0, 0), *r = point(1, 0), *from = point(2, 0);
    TShape *circle = build(TFiguretype::FIG_circle, { c, r }).first();
    EXPECT_TRUE(allowed({ circle, from }).contains(TFiguretype::FIG_setten));
    EXPECT_EQ(allowed({ from }), TFiguretypeSet { TFiguretype::FIG_shapeVariable2dot });
    const QList<TShape *> made = build(TFiguretype::FIG_setten, { circle, from });
    ASSERT_EQ(made.size(), 2);
    auto *plus = static_cast<TShapeDot *>(made[0]);
    auto *minus = static_cast<TShapeDot *>(made[1]);
    EXPECT_EQ(static_cast<TParentDotCircle2setten *>(plus->relation())->direction(),
        TDotCircle2settenDirection::dcsPlus);
    EXPECT_EQ(static_cast<TParentDotCircle2setten *>(minus->relation())->direction(),
        TDotCircle2settenDirection::dcsMinus);
    EXPECT_EQ(plus->parents().first(), from); // the outside point first
    expectAt(plus, 0.5, kRoot3 / 2);
    expectAt(minus, 0.5, -kRoot3 / 2);
    EXPECT_FALSE(plus->canMoveAnywhere());

    // From inside the circle there is no tangent: both hide, and everything on them.
    TShape *chord = build(TFiguretype::FIG_senbun, { plus, minus }).first();
    from->moveXYOffsetXY(-1.5, 0);
    redraw();
    EXPECT_FALSE(plus->isDrawable());
    EXPECT_FALSE(minus->isDrawable());
    EXPECT_FALSE(chord->isDrawable());
    plus->dragTo({ 5, 5 }, { 1, 1 }); // cannot be dragged
    redraw();

    // Out again, elsewhere: both back, each where its radius is perpendicular
    // to the tangent, on either side.
    from->moveXYOffsetXY(-1.5, 3);
    redraw();
    for (TShapeDot *t : { plus, minus }) {
        EXPECT_TRUE(t->isDrawable());
        EXPECT_NEAR(std::hypot(t->getX(), t->getY()), 1, 1e-9);
        const double dot
            = t->getX() * (t->getX() - from->getX()) + t->getY() * (t->getY() - from->getY());
        EXPECT_NEAR(dot, 0, 1e-9);
    }
    const double cross = [&](const TShapeDot *t) {
        return from->getX() * t->getY() - from->getY() * t->getX();
    }(plus);
    EXPECT_GT(cross, 0); // dcsPlus counter-clockwise from the direction to P
    EXPECT_TRUE(chord->isDrawable());

    // On an arc only the point of tangency on the arc shows.
    TShapeDot *o = point(10, 0), *s = point(11, 0), *e = point(10, 5), *f = point(12, 0);
    TShape *arc = build(TFiguretype::FIG_arc, { o, s, e }).first();
    const QList<TShape *> onArc = build(TFiguretype::FIG_setten, { f, arc });
    EXPECT_TRUE(onArc[0]->isDrawable());
    EXPECT_FALSE(onArc[1]->isDrawable());
}

TEST_F(CurvePointTest, TheTangentAtAPointOfACircleIsPerpendicularToTheRadius)
{
    TShapeDot *c = point(1, 1), *r = point(3, 1), *free = point(0, 0);
    TShape *circle = build(TFiguretype::FIG_circle, { c, r }).first();
    TShape *other = build(TFiguretype::FIG_circle, { free, r }).first();
    TShapeDot *p = pointOn(circle, 1, 3.5);
    expectAt(p, 1, 3);
    // Offered only for a point built on that very circle.
    EXPECT_TRUE(allowed({ p, circle }).contains(TFiguretype::FIG_sessenOnCircle));
    EXPECT_FALSE(allowed({ free, circle }).contains(TFiguretype::FIG_sessenOnCircle));
    EXPECT_FALSE(allowed({ p, other }).contains(TFiguretype::FIG_sessenOnCircle));
    auto *tangent = one<TShapeLine>(TFiguretype::FIG_sessenOnCircle, { p, circle });
    EXPECT_EQ(tangent->parents().first(), circle);
    EXPECT_EQ(tangent->getLineKind(), TBoundaryType::btAll);

    auto check = [&] {
        const TMathCyokusen &l = tangent->line();
        EXPECT_TRUE(tangent->isDrawable());
        EXPECT_LT(l.distance(TMathZahyo(p->getXY())), 1e-9);
        // The line's direction (−b, a) against the radius.
        const double rx = p->getX() - c->getX(), ry = p->getY() - c->getY();
        EXPECT_NEAR((-l.b * rx + l.a * ry) / std::hypot(l.a, l.b), 0, 1e-9);
    };
    check();
    p->dragTo({ 4, -1 }, {});
    redraw();
    check();
    c->moveXYOffsetXY(-0.5, 0.25);
    redraw();
    check();

    // A circle of radius 0 has no tangent: hidden until it grows again.
    r->moveXYOffsetXY(c->getX() - r->getX(), c->getY() - r->getY());
    redraw();
    EXPECT_FALSE(tangent->isDrawable());
    r->moveXYOffsetXY(1, 0);
    redraw();
    check();
}

TEST_F(CurvePointTest, TheTangentToAnEllipseHasTheSlopeOfTheEllipse)
{
    TShapeDot *c = point(1, 2), *a = point(3, 2), *b = point(1, 3);
    TShape *ellipse = build(TFiguretype::FIG_ellipse, { c, a, b }).first();
    TShapeDot *p = pointOn(ellipse, 3.5, 2);
    EXPECT_TRUE(allowed({ ellipse, p }).contains(TFiguretype::FIG_sessenOnEllipse));
    EXPECT_FALSE(allowed({ ellipse, c }).contains(TFiguretype::FIG_sessenOnEllipse));
    auto *tangent = one<TShapeLine>(TFiguretype::FIG_sessenOnEllipse, { ellipse, p });
    // At the end of the x semi-axis the tangent is the vertical x = 3.
    EXPECT_NEAR(tangent->line().b, 0, 1e-12);
    EXPECT_NEAR(-tangent->line().c / tangent->line().a, 3, 1e-12);

    // Elsewhere its slope is −b²(x0 − cx) / (a²(y0 − cy)), a = 2, b = 1.
    for (TModelPoint cursor :
        { TModelPoint { 4, 5 }, TModelPoint { -1, 1 }, TModelPoint { 1.5, 0 } }) {
        p->dragTo(cursor, {});
        redraw();
        const double dx = p->getX() - 1, dy = p->getY() - 2;
        const TMathCyokusen &l = tangent->line();
        EXPECT_NEAR(-l.a / l.b, -(1 * dx) / (4 * dy), 1e-9);
        EXPECT_LT(l.distance(TMathZahyo(p->getXY())), 1e-9);
    }
}

struct KoutenCase
{
    const char *name;
    TFiguretype curve1;
    TModelPoint p1, p2;
    TFiguretype curve2;
    TModelPoint q1, q2;
    TFiguretype kouten;
    int made;
    std::vector<std::optional<TModelPoint>> expected; // nullopt: hidden
};

// Curves of two points each: lines from p1 to p2, circles with centre p1
// through p2.
TEST_F(CurvePointTest, IntersectionPointsOfEveryPairOfCurveKinds)
{
    using F = TFiguretype;
    using P = TModelPoint;
    const std::optional<P> hidden;
    const double h = kRoot3 / 2;
    const KoutenCase cases[] = {
        { "crossing lines", F::FIG_line, { 0, 0 }, { 2, 2 }, F::FIG_line, { 0, 2 }, { 2, 0 },
            F::FIG_koutenLineLine, 1, { P { 1, 1 } } },
        { "parallel lines", F::FIG_line, { 0, 0 }, { 2, 2 }, F::FIG_line, { 0, 1 }, { 1, 2 },
            F::FIG_koutenLineLine, 1, { hidden } },
        { "segments that cross", F::FIG_senbun, { 0, 0 }, { 2, 0 }, F::FIG_senbun, { 1, -1 },
            { 1, 3 }, F::FIG_koutenLineLine, 1, { P { 1, 0 } } },
        { "segments that do not reach", F::FIG_senbun, { 0, 0 }, { 1, 0 }, F::FIG_senbun, { 2, -1 },
            { 2, 1 }, F::FIG_koutenLineLine, 1, { hidden } },
        { "a ray behind its start", F::FIG_hanCyokusen, { 0, 0 }, { 1, 0 }, F::FIG_line, { -1, -1 },
            { -1, 1 }, F::FIG_koutenLineLine, 1, { hidden } },
        { "line through a circle", F::FIG_line, { -2, 0 }, { 2, 0 }, F::FIG_circle, { 0, 0 },
            { 0, 1 }, F::FIG_koutenLineCircle, 2, { P { -1, 0 }, P { 1, 0 } } },
        { "line touching a circle", F::FIG_line, { -2, 1 }, { 2, 1 }, F::FIG_circle, { 0, 0 },
            { 0, 1 }, F::FIG_koutenLineCircle, 2, { P { 0, 1 }, hidden } },
        { "line missing a circle", F::FIG_line, { -2, 2 }, { 2, 2 }, F::FIG_circle, { 0, 0 },
            { 0, 1 }, F::FIG_koutenLineCircle, 2, { hidden, hidden } },
        { "segment ending inside a circle", F::FIG_senbun, { -2, 0 }, { 0, 0 }, F::FIG_circle,
            { 0, 0 }, { 0, 1 }, F::FIG_koutenLineCircle, 2, { P { -1, 0 }, hidden } },
        { "circles crossing", F::FIG_circle, { 0, 0 }, { 1, 0 }, F::FIG_circle, { 1, 0 }, { 0, 0 },
            F::FIG_koutenCircleCircle, 2, { P { 0.5, h }, P { 0.5, -h } } },
        { "circles touching outside", F::FIG_circle, { 0, 0 }, { 1, 0 }, F::FIG_circle, { 2, 0 },
            { 3, 0 }, F::FIG_koutenCircleCircle, 2, { P { 1, 0 }, hidden } },
        { "circles touching inside", F::FIG_circle, { 0, 0 }, { 2, 0 }, F::FIG_circle, { 1, 0 },
            { 2, 0 }, F::FIG_koutenCircleCircle, 2, { P { 2, 0 }, hidden } },
        { "circles apart", F::FIG_circle, { 0, 0 }, { 1, 0 }, F::FIG_circle, { 3, 0 }, { 4, 0 },
            F::FIG_koutenCircleCircle, 2, { hidden, hidden } },
        { "one circle inside the other", F::FIG_circle, { 0, 0 }, { 3, 0 }, F::FIG_circle,
            { 0.5, 0 }, { 1, 0 }, F::FIG_koutenCircleCircle, 2, { hidden, hidden } },
        { "concentric circles", F::FIG_circle, { 0, 0 }, { 1, 0 }, F::FIG_circle, { 0, 0 },
            { 2, 0 }, F::FIG_koutenCircleCircle, 2, { hidden, hidden } },
    };
    for (const KoutenCase &c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        TShape *first = build(c.curve1, { point(c.p1.x, c.p1.y), point(c.p2.x, c.p2.y) }).first();
        TShape *second = build(c.curve2, { point(c.q1.x, c.q1.y), point(c.q2.x, c.q2.y) }).first();
        EXPECT_TRUE(allowed({ first, second }).contains(c.kouten));
        // Picked in either order, the line of a line and a circle comes first;
        // two circles or lines keep the order they were picked in.
        const QList<TShape *> made = c.kouten == F::FIG_koutenLineCircle
            ? build(c.kouten, { second, first })
            : build(c.kouten, { first, second });
        ASSERT_EQ(made.size(), c.made);
        for (int i = 0; i < c.made; ++i) {
            auto *d = static_cast<TShapeDot *>(made[i]);
            EXPECT_FALSE(d->canMoveAnywhere());
            if (c.kouten == F::FIG_koutenLineCircle) {
                EXPECT_EQ(d->parents().first(), first);
            }
            const auto &want = c.expected[std::size_t(i)];
            EXPECT_EQ(d->isDrawable(), want.has_value()) << i;
            if (want)
                expectAt(d, want->x, want->y);
        }
    }
}

TEST_F(CurvePointTest, IntersectionPointsFollowTheirCurvesAndComeBack)
{
    TShapeDot *a = point(0, 0), *b = point(1, 0), *c = point(3, 0), *d = point(4, 0);
    TShape *c1 = build(TFiguretype::FIG_circle, { a, b }).first();
    TShape *c2 = build(TFiguretype::FIG_circle, { c, d }).first();
    const QList<TShape *> points = build(TFiguretype::FIG_koutenCircleCircle, { c1, c2 });
    EXPECT_FALSE(points[0]->isDrawable());
    c->moveXYOffsetXY(-1.5, 0); // centres 1.5 apart, both radius 1
    d->moveXYOffsetXY(-1.5, 0);
    redraw();
    for (int i = 0; i < 2; ++i) {
        auto *p = static_cast<TShapeDot *>(points[i]);
        ASSERT_TRUE(p->isDrawable());
        EXPECT_NEAR(offCurve(c1, xy(p)), 0, 1e-9);
        EXPECT_NEAR(offCurve(c2, xy(p)), 0, 1e-9);
    }
    field.renumber();
    EXPECT_EQ(points[0]->guidanceName(), QStringLiteral("#4円 ,#5円 の交点"));
}

TEST_F(CurvePointTest, TheKeptStateSavesAndReadsBack)
{
    TShapeDot *a = point(0, 0), *b = point(4, 0), *c = point(0, 1), *f = point(3, 3);
    TShape *segment = build(TFiguretype::FIG_senbun, { a, b }).first();
    TShape *circle = build(TFiguretype::FIG_circle, { a, c }).first();
    TShape *ellipse = build(TFiguretype::FIG_ellipse, { a, b, c }).first();
    pointOn(segment, 1.5, 0.1);
    pointOn(circle, -1, 1);
    pointOn(ellipse, 0.2, 3);
    build(TFiguretype::FIG_setten, { f, circle });
    build(TFiguretype::FIG_koutenLineCircle, { circle, segment });
    field.renumber();
    MemoryWriter saved = savedFigureList(field);
    TShapeStore loaded;
    factory.readAll(*saved.root().findChild(QStringLiteral("figureList")), loaded);
    ASSERT_EQ(loaded.count(), field.count());
    loaded.renumber();
    FakeSurface surface;
    TDrawStatus status;
    loaded.drawField(status, surface);
    for (int i = 0; i < field.count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(loaded.item(i)->getFigureType(), field.item(i)->getFigureType());
        EXPECT_EQ(loaded.item(i)->isDrawable(), field.item(i)->isDrawable());
        EXPECT_EQ(loaded.item(i)->guidanceName(), field.item(i)->guidanceName());
        if (auto *d = dynamic_cast<TShapeDot *>(field.item(i))) {
            auto *e = static_cast<TShapeDot *>(loaded.item(i));
            EXPECT_NEAR(e->getX(), d->getX(), 1e-12);
            EXPECT_NEAR(e->getY(), d->getY(), 1e-12);
            EXPECT_EQ(e->canMoveAnywhere(), d->canMoveAnywhere());
        }
    }
    EXPECT_EQ(static_cast<TParentDotCircle2setten *>(loaded.item(11)->relation())->direction(),
        TDotCircle2settenDirection::dcsMinus);
    EXPECT_EQ(static_cast<TParentCurves2Kouten *>(loaded.item(13)->relation())->index(), 2);
}

// A document whose point-on-curve record names a parent of the wrong kind
// is refused as malformed, never computed from the wrong shape.
TEST_F(CurvePointTest, APointOnACurveReadWithTheWrongParentIsRefused)
{
    struct Case
    {
        TFiguretype figure;
        const char *wrongParent;
    } cases[] = {
        { TFiguretype::FIG_dotOnLine, "circle,3" },
        { TFiguretype::FIG_dotOnCircle, "senbun,2" },
        { TFiguretype::FIG_dotOnEllipse, "dot,0" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.wrongParent);
        restart();
        TShapeDot *a = point(0, 0), *b = point(2, 0);
        TShape *segment = build(TFiguretype::FIG_senbun, { a, b }).first();
        TShape *circle = build(TFiguretype::FIG_circle, { a, b }).first();
        TShape *ellipse = build(TFiguretype::FIG_ellipse, { a, b, point(0, 1) }).first();
        TShape *curve = c.figure == TFiguretype::FIG_dotOnLine
            ? segment
            : (c.figure == TFiguretype::FIG_dotOnCircle ? circle : ellipse);
        pointOn(curve, 1, 1);
        field.renumber();
        MemoryWriter saved = savedFigureList(field);
        MemoryNode *list = saved.root().findChild(QStringLiteral("figureList"));
        auto *record = static_cast<MemoryNode *>(list->children().last());
        record->findChild(QStringLiteral("parent"))
            ->findChild(QStringLiteral("id"))
            ->setValue(QString::fromLatin1(c.wrongParent));
        TShapeStore loaded;
        try {
            factory.readAll(*list, loaded);
            ADD_FAILURE() << "read";
        } catch (const EFileFormatError &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("figure(")
                + TEnumConverter<TFiguretype>::name(c.figure)
                + QStringLiteral(")の親が正しくありません。")))
                << e.message().toStdString();
        }
    }
}

} // namespace
