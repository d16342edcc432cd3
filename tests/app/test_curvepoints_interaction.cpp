#include "graphs/dot2function.h"
#include "graphs/range.h"
#include "graphs/shapefunction.h"
#include "interaction_fixture.h"
#include "model/shapecircle.h"
#include "model/shapeline.h"

#include <cmath>
#include <optional>

using namespace zarno;
using namespace zarno::test;

namespace {

// The formula dialog of graphs answers with a formula given beforehand.
class GivenFormula : public TFunctionDialogFacade
{
public:
    explicit GivenFormula(QString text)
        : fText(std::move(text))
    { }
    bool editFunction(QString &text, TRange &, bool) override
    {
        text = fText;
        return true;
    }

private:
    QString fText;
};

class CurvePointInteraction : public InteractionTest
{
protected:
    CurvePointInteraction() { registerGraphRelationClasses(factory); }
    ~CurvePointInteraction() override { TFunctionDialogFacade::install(nullptr); }

    void mouseAt(TMouseKind kind, const QPoint &p, unsigned shift = 0)
    {
        controller->mouse(kind, TMouseButton::mbLeft, shift, p.x(), p.y());
    }
    // A Ctrl+click at a pixel; what it made, or nullptr.
    TShapeDot *ctrlClickAt(const QPoint &p)
    {
        const int before = field().count();
        mouseAt(TMouseKind::mkPress, p, ssCtrl);
        mouseAt(TMouseKind::mkRelease, p);
        return field().count() == before + 1 ? static_cast<TShapeDot *>(field().last()) : nullptr;
    }
    // The user drags a point from its pixel to another.
    void dragPixels(const QPoint &from, const QPoint &to)
    {
        mouseAt(TMouseKind::mkPress, from);
        mouseAt(TMouseKind::mkMove, (from + to) / 2);
        mouseAt(TMouseKind::mkMove, to);
        mouseAt(TMouseKind::mkRelease, to);
    }
    QPoint pixelOf(const TShapeDot *d) { return px(d->getX(), d->getY()); }
    TShape *graphOf(
        const QString &formula, TShapeDot *origin, TFiguretype type = TFiguretype::FIG_function)
    {
        TFunctionDialogFacade::install(std::make_unique<GivenFormula>(formula));
        model.clearSelection();
        model.addToSelection(origin);
        return construct(type);
    }
    // Distance of a point from the curve; 0 on it.
    static double offCurve(const TShape *curve, const TShapeDot *d)
    {
        const TMathZahyo p(d->getXY());
        switch (curve->shapeType()) {
        case TShapetype::SHAPE_circle:
            return static_cast<const TShapeCircle *>(curve)->circle().distance(p);
        case TShapetype::SHAPE_ellipse: {
            const TMathDaen &e = static_cast<const TShapeEllipse *>(curve)->ellipse();
            const double u = (p.x - e.centre.x) / e.semiAxisX, v = (p.y - e.centre.y) / e.semiAxisY;
            return std::fabs(std::hypot(u, v) - 1);
        }
        case TShapetype::SHAPE_function: {
            const auto *g = static_cast<const TShapeFunction *>(curve);
            if (g->isY())
                return std::fabs(g->pointAt(p.y - g->origin().y).x - p.x);
            return std::fabs(g->pointAt(p.x - g->origin().x).y - p.y);
        }
        default: return static_cast<const TShapeLine *>(curve)->line().distance(p);
        }
    }
};

struct CurveCase
{
    const char *name;
    TFiguretype figure;
    TFiguretype pointKind;
    TModelPoint onCurve; // where the click is aimed, 3 pixels below it
    TModelPoint dragTo;
    const char *formula = nullptr; // graphs
    std::optional<TModelPoint> third = std::nullopt; // the third point of arcs and ellipses
};

void PrintTo(const CurveCase &c, std::ostream *os)
{
    *os << c.name;
}

class CurveKinds : public CurvePointInteraction, public ::testing::WithParamInterface<CurveCase>
{
};

// Each kind of curve, picked by a Ctrl+click three pixels beside it: the
// point made is selected and lies on the curve; dragged by the mouse it
// slides along the curve; and it is on the curve again after a point the
// curve is built from has been dragged.
TEST_P(CurveKinds, CtrlClickBesideTheCurveMakesAPointThatStaysOnIt)
{
    const CurveCase &c = GetParam();
    TShape *curve = nullptr;
    TShapeDot *moved = clickPoint(c.figure == TFiguretype::FIG_senbun ? -2 : 0, 0);
    if (c.formula) {
        curve = graphOf(QString::fromLatin1(c.formula), moved, c.figure);
    } else {
        clickPoint(2, 0, true);
        if (c.third)
            clickPoint(c.third->x, c.third->y, true);
        curve = construct(c.figure);
    }
    ASSERT_NE(curve, nullptr);
    ASSERT_EQ(curve->getFigureType(), c.figure);

    TShapeDot *p = ctrlClickAt(px(c.onCurve.x, c.onCurve.y) + QPoint(0, 3));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->getFigureType(), c.pointKind);
    EXPECT_EQ(p->parents().first(), curve);
    EXPECT_EQ(selection().count(), 1);
    EXPECT_TRUE(p->getFSelected());
    EXPECT_LT(offCurve(curve, p), 1e-9);
    EXPECT_LT(std::hypot(p->getX() - c.onCurve.x, p->getY() - c.onCurve.y), 0.1);

    const TModelPoint before = p->getXY();
    dragPixels(pixelOf(p), px(c.dragTo.x, c.dragTo.y));
    EXPECT_LT(offCurve(curve, p), 1e-9);
    EXPECT_GT(std::hypot(p->getX() - before.x, p->getY() - before.y), 0.5);

    const TModelPoint was = moved->getXY();
    dragPixels(pixelOf(moved), pixelOf(moved) + QPoint(40, -25));
    ASSERT_GT(std::hypot(moved->getX() - was.x, moved->getY() - was.y), 0.3);
    ASSERT_TRUE(curve->isDrawable());
    EXPECT_LT(offCurve(curve, p), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(EachKind, CurveKinds,
    ::testing::Values(CurveCase { "segment", TFiguretype::FIG_senbun, TFiguretype::FIG_dotOnLine,
                          { 0, 0 }, { 1, 2 } },
        CurveCase {
            "ray", TFiguretype::FIG_hanCyokusen, TFiguretype::FIG_dotOnLine, { 3, 0 }, { 5, -1 } },
        CurveCase {
            "circle", TFiguretype::FIG_circle, TFiguretype::FIG_dotOnCircle, { 0, 2 }, { -2, 0 } },
        // The quarter from (2, 0) to (0, 2).
        CurveCase { "arc", TFiguretype::FIG_arc, TFiguretype::FIG_dotOnCircle,
            { std::sqrt(2.0), std::sqrt(2.0) }, { 0.5, 2 }, nullptr, TModelPoint { 0, 2 } },
        CurveCase { "ellipse", TFiguretype::FIG_ellipse, TFiguretype::FIG_dotOnEllipse, { 0, 1 },
            { 2, -1 }, nullptr, TModelPoint { 1, std::sqrt(3.0) / 2 } },
        CurveCase { "graph", TFiguretype::FIG_function, TFiguretype::FIG_dotOnFunction, { 1, 1 },
            { -1, 0 }, "x^2" },
        // x = y^2: the click is aimed where the curve is not steep in y.
        CurveCase { "graphOfY", TFiguretype::FIG_functionY, TFiguretype::FIG_dotOnFunction,
            { 0.25, 0.5 }, { 3, -1 }, "y^2" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CurvePointInteraction, AShapeBuiltOnAPointOfACurveIsNotDraggedFreely)
{
    TShapeDot *c = clickPoint(0, 0);
    clickPoint(2, 0, true);
    construct(TFiguretype::FIG_circle);
    TShapeDot *onCircle = ctrlClickAt(px(0, 2) + QPoint(0, 2));
    ASSERT_NE(onCircle, nullptr);
    TShapeDot *free = clickPoint(3, 3, true);
    construct(TFiguretype::FIG_senbun);
    const TModelPoint a = onCircle->getXY(), b = free->getXY();
    dragPixels(px(1.5, 2.5), px(2.5, 1.5)); // the segment between its points
    EXPECT_EQ(onCircle->getXY(), a);
    EXPECT_EQ(free->getXY(), b);
    EXPECT_EQ(c->getXY(), (TModelPoint { 0, 0 }));
}

TEST_F(CurvePointInteraction, TangentAndIntersectionToolsFollowTheSelection)
{
    clickPoint(0, 0);
    clickPoint(2, 0, true);
    TShape *circle = construct(TFiguretype::FIG_circle);
    TShapeDot *p = ctrlClickAt(px(0, -2) + QPoint(0, 2));
    ASSERT_NE(p, nullptr);
    model.addToSelection(circle);
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_sessenOnCircle));
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_setten));
    auto *tangent = static_cast<TShapeLine *>(construct(TFiguretype::FIG_sessenOnCircle));
    EXPECT_EQ(tangent->getFigureType(), TFiguretype::FIG_sessenOnCircle);
    // Horizontal, through the point at the bottom of the circle.
    EXPECT_NEAR(tangent->line().a, 0, 1e-9);
    EXPECT_NEAR(-tangent->line().c / tangent->line().b, p->getY(), 1e-9);
    EXPECT_NEAR(p->getY(), -2, 0.05);
    EXPECT_EQ(selection().first(), tangent);

    // The tangent and the circle meet at the point; the line and circle tool
    // makes two points, the second hidden.
    model.addToSelection(circle);
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_koutenLineCircle));
    EXPECT_FALSE(window.enabledTools.contains(TFiguretype::FIG_koutenCircleCircle));
    controller->createFigure(TFiguretype::FIG_koutenLineCircle);
    ASSERT_EQ(selection().count(), 2);
    auto *k = static_cast<TShapeDot *>(selection().first());
    EXPECT_TRUE(k->isDrawable());
    EXPECT_NEAR(k->getX(), p->getX(), 1e-6);
    EXPECT_NEAR(k->getY(), p->getY(), 1e-6);
    EXPECT_FALSE(selection().second()->isDrawable());
}

} // namespace
