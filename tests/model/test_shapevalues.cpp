// Shape variables: what each parent kind supplies, the point whose
// coordinates are formulas in them, and the records a locus replays.
#include "core/exceptions.h"
#include "formula/calcformulafacade.h"
#include "model/field.h"
#include "model/modelclasses.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "model/shapevalues.h"
#include "model/shapevariable2dot.h"
#include "support/fake_surface.h"
#include "test_shapes.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

class ShapeValueTest : public ::testing::Test
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
    void redraw()
    {
        FakeSurface surface;
        TDrawStatus status { TCurrentDrawStatus::Dragging, false };
        field.drawField(status, surface);
    }
    // A setter list over the parents with one formula, its value now.
    double valueOf(const QString &formula, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        auto facade = TCalcFormulaFacade::createCalcFormulaFacade();
        TVariableOnOffCreator::done(
            TFiguretype::FIG_shapeVariable2dot, ps, facade->symbolSwitch(), false, false);
        TShapeValueSetterList setters;
        setters.setRelation(ps, formula, facade.get(), nullptr, QString());
        setters.pushAll();
        return facade->calculate();
    }

    TShapeFactory factory;
    TField field;
};

} // namespace

TEST_F(ShapeValueTest, EachKindSuppliesItsValuesInVariableOrder)
{
    TShapeDot *p = point(2, 3);
    TShapeCircle circle;
    circle.setCentreRadius({ -1, 5 }, 4);
    TShapeEllipse ellipse;
    ellipse.ellipse().centre = TMathZahyo(TModelPoint { 1, 2 });
    ellipse.ellipse().semiAxisX = 3;
    ellipse.ellipse().semiAxisY = 2;
    TShapeEllipse tall;
    tall.ellipse().centre = TMathZahyo(TModelPoint { 0, 0 });
    tall.ellipse().semiAxisX = 2;
    tall.ellipse().semiAxisY = 3;
    TShapeDot *a = point(0, 0), *b = point(-1, 0);
    TShapeLine segment(TShapetype::SHAPE_senbun);
    segment.setLineBy2Dots(*a, *b);
    TShapeArrow arrow;
    arrow.setLineBy2Dots(*a, *b);

    const double r5 = std::sqrt(5.0);
    struct Case
    {
        const TShape *shape;
        std::vector<double> values;
    };
    const Case cases[] = { { p, { 2, 3 } }, { &circle, { -1, 5, 4 } },
        { &ellipse, { 1, 2, 6, 4, 1 - r5, 2, 1 + r5, 2 } },
        { &tall, { 0, 0, 4, 6, 0, -r5, 0, r5 } }, { &segment, { 0 } }, { &arrow, { M_PI } } };
    auto facade = TCalcFormulaFacade::createCalcFormulaFacade();
    for (const Case &c : cases) {
        const auto setter = TAbstractShapeValueSetter::create(*c.shape, 1, nullptr, nullptr);
        ASSERT_TRUE(setter);
        const std::vector<double> values = setter->currentValues();
        ASSERT_EQ(values.size(), c.values.size());
        for (std::size_t i = 0; i < values.size(); ++i)
            EXPECT_NEAR(values[i], c.values[i], 1e-12) << i;
    }
    // Through formulas: the variables carry the same values.
    EXPECT_NEAR(valueOf(QStringLiteral("e1.flx-e1.fsx"), { &ellipse }), 2 * r5, 1e-12);
    EXPECT_NEAR(valueOf(QStringLiteral("l1.angle"), { &arrow }), M_PI, 1e-12);
    EXPECT_NEAR(valueOf(QStringLiteral("l1.angle"), { &segment }), 0, 1e-12);
}

TEST_F(ShapeValueTest, ParentsAreNumberedByKindInTheirOrder)
{
    TShapeCircle circle;
    circle.setCentreRadius({ 0, 0 }, 7);
    TShapeDot *p = point(2, 3), *q = point(10, 20);
    EXPECT_EQ(valueOf(QStringLiteral("p1.x*100+p2.y+c1.r/1000"), { &circle, p, q }), 220.007);
    TShapeList parents;
    parents.add(&circle);
    parents.add(p);
    parents.add(q);
    TCalcSymbolOnOff onOff;
    onOff.pointCount = 2;
    onOff.circleCount = 1;
    EXPECT_EQ(shapeVariableNames(onOff),
        QStringList({ "p1.x", "p1.y", "p2.x", "p2.y", "c1.cx", "c1.cy", "c1.r" }));
}

TEST_F(ShapeValueTest, TheSwitchRefusesForeignShapesAndMoreThanFive)
{
    TControlCalcSymbolOnOff holder;
    TShapeList six;
    for (int i = 0; i < 6; ++i)
        six.add(point(i, 0));
    EXPECT_THROW(
        TVariableOnOffCreator::done(TFiguretype::FIG_shapeVariable2dot, six, holder, false, false),
        ESouteigai);
    TestShape label(TShapetype::SHAPE_writing, "w", "word", "W");
    TShapeList foreign;
    foreign.add(&label);
    EXPECT_THROW(TVariableOnOffCreator::done(
                     TFiguretype::FIG_shapeVariable2dot, foreign, holder, false, false),
        ESouteigai);
    TShapeValueSetterList setters;
    EXPECT_THROW(
        setters.setRelation(foreign, QStringLiteral("1"), nullptr, nullptr, {}), ESouteigai);
    // A line and x on: what a graph of the line's angle uses.
    TShapeLine line(TShapetype::SHAPE_line);
    TShapeList lines;
    lines.add(&line);
    TVariableOnOffCreator::done(
        TFiguretype::FIG_shapeVariable2function, lines, holder, true, false);
    EXPECT_EQ(holder.onOff().lineCount, 1);
    EXPECT_TRUE(holder.onOff().xOn);
}

TEST_F(ShapeValueTest, APointWithFormulaCoordinatesFollowsItsParentsAndHidesWithoutValue)
{
    TShapeDot *p = point(2, 3);
    TShapeStore circleStore = factory.create(TFiguretype::FIG_circle, [&] {
        TShapeList ps;
        ps.add(point(0, 0));
        ps.add(point(4, 0));
        return ps;
    }());
    TShape *circle = circleStore.first();
    field.takeAllFrom(circleStore);
    TShapeList parents;
    parents.add(p);
    parents.add(circle);
    const auto &cls = static_cast<const TParentShapeVariable2dotClass &>(
        *factory.relationClassFor(TFiguretype::FIG_shapeVariable2dot));
    std::unique_ptr<TShapeDot> made
        = cls.createWithFormulas(parents, QStringLiteral("p1.x+1"), QStringLiteral("c1.r"));
    ASSERT_TRUE(made);
    TShapeDot *d = made.get();
    EXPECT_FALSE(d->canMoveAnywhere());
    field.add(std::move(made));
    redraw();
    EXPECT_DOUBLE_EQ(d->getX(), 3);
    EXPECT_DOUBLE_EQ(d->getY(), 4);
    p->setXY({ 5, 3 });
    redraw();
    EXPECT_DOUBLE_EQ(d->getX(), 6);
    EXPECT_DOUBLE_EQ(d->getY(), 4);

    TShapeList one;
    one.add(p);
    std::unique_ptr<TShapeDot> inverse
        = cls.createWithFormulas(one, QStringLiteral("1/(p1.x)"), QStringLiteral("0"));
    TShapeDot *v = inverse.get();
    field.add(std::move(inverse));
    p->setXY({ 0, 3 });
    redraw();
    EXPECT_FALSE(v->relation()->isValid());
    p->setXY({ 2, 3 });
    redraw();
    EXPECT_TRUE(v->relation()->isValid());
    EXPECT_DOUBLE_EQ(v->getX(), 0.5);
}

TEST_F(ShapeValueTest, RecordsCompareReplayAndOutliveTheirSetters)
{
    TShapeDot *p = point(1, 2);
    TShapeEllipse ellipse;
    ellipse.ellipse().centre = TMathZahyo(TModelPoint { 1, 2 });
    ellipse.ellipse().semiAxisX = 3;
    ellipse.ellipse().semiAxisY = 2;
    TShapeList parents;
    parents.add(p);
    parents.add(&ellipse);
    auto facade = TCalcFormulaFacade::createCalcFormulaFacade();
    TVariableOnOffCreator::done(
        TFiguretype::FIG_shapeVariable2dot, parents, facade->symbolSwitch(), false, false);
    auto setters = std::make_unique<TShapeValueSetterList>();
    setters->setRelation(
        parents, QStringLiteral("p1.y+e1.alenx+e1.fly"), facade.get(), nullptr, {});
    auto records = setters->createValueRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]->asText(), QStringLiteral("(1.00000,2.00000)"));

    // Within 1e-5 equal; otherwise the first unequal value decides.
    p->setXY({ 1.000001, 2 });
    EXPECT_EQ(setters->createValueRecords()[0]->compare(*records[0]), 0);
    p->setXY({ 1, 2.1 });
    EXPECT_EQ(records[0]->compare(*setters->createValueRecords()[0]), 2);
    EXPECT_EQ(setters->createValueRecords()[0]->compare(*records[0]), 1);

    // Replaying: the recorded values stay in the variables even though the
    // setters push again, until the records are released.
    ellipse.ellipse().semiAxisX = 5;
    for (const auto &r : records)
        r->restore();
    setters->pushAll();
    EXPECT_NEAR(facade->calculate(), 2 + 6 + 2, 1e-12);
    for (const auto &r : records)
        r->release();
    setters->pushAll();
    EXPECT_NEAR(facade->calculate(), 2.1 + 10 + 2, 1e-12);

    // New setters (a formula compiled again): old records do nothing.
    setters.reset();
    records[0]->restore();
    records[0]->release();
}
