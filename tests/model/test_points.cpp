#include "core/exceptions.h"
#include "model/dialogfacades.h"
#include "model/parentnil2dot.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
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

// Stands in for the coordinate dialog: edits the zahyou, then answers.
class ScriptedZahyouDialog : public TZahyouDialogFacade
{
public:
    std::function<int(TZahyou &)> script;
    int opened = 0;
    int editZahyou(TCalcFormulaFacade &, TCalcFormulaFacade &, TZahyou &zahyou) override
    {
        ++opened;
        return script(zahyou);
    }
};

class PointTest : public ::testing::Test
{
protected:
    void SetUp() override { factory.registerClass(std::make_unique<TParentNil2dotClass>()); }
    void TearDown() override { TZahyouDialogFacade::install(nullptr); }

    TShapeDot *newPoint(double x, double y)
    {
        TShapeStore built = factory.create(TFiguretype::FIG_dotOnField, TShapeList());
        auto *dot = static_cast<TShapeDot *>(built.first());
        dot->setInitialXY({ x, y });
        field.takeAllFrom(built);
        return dot;
    }
    TParentSomething2dot &relationOf(TShapeDot *d)
    {
        return *static_cast<TParentSomething2dot *>(d->relation());
    }
    void redraw()
    {
        FakeSurface surface;
        TDrawStatus status { TCurrentDrawStatus::Dragging, false };
        field.drawField(status, surface);
        drawn = surface.drawn;
    }
    ScriptedZahyouDialog *installDialog(std::function<int(TZahyou &)> script)
    {
        auto d = std::make_unique<ScriptedZahyouDialog>();
        d->script = std::move(script);
        ScriptedZahyouDialog *raw = d.get();
        TZahyouDialogFacade::install(std::move(d));
        return raw;
    }

    InstalledGuidanceNames creator;
    TShapeFactory factory;
    TShapeStore field;
    QStringList drawn;
};

TEST_F(PointTest, AFreePointMovesExactlyByTheDragOffset)
{
    TShapeDot *p = newPoint(1.25, -3);
    p->moveXYOffsetXY(0.5, 2.125);
    redraw();
    EXPECT_EQ(p->getXY(), (TModelPoint { 1.75, -0.875 }));
    EXPECT_TRUE(p->isChanged());
    EXPECT_DOUBLE_EQ(p->rawDistance({ 1.75 + 3, -0.875 + 4 }, {}), 5);
    EXPECT_EQ(p->getFigureType(), TFiguretype::FIG_dotOnField);
    EXPECT_EQ(p->propertyType(), TPropertyType::DotCoordinates);
}

TEST_F(PointTest, AFormulaCoordinateComesBackAfterADrag)
{
    TShapeDot *p = newPoint(0, 0);
    TParentSomething2dot &r = relationOf(p);
    r.zahyou().setFXfree(false);
    r.zahyou().setXstr(QStringLiteral("2"));
    r.prepareFormulas();
    p->moveXYOffsetXY(1, 1);
    redraw();
    EXPECT_DOUBLE_EQ(p->getX(), 2);
    EXPECT_DOUBLE_EQ(p->getY(), 1);
}

TEST_F(PointTest, APointWithoutAValueIsNeitherDrawnNorPicked)
{
    TShapeDot *p = newPoint(0, 0);
    TShapeDot *q = newPoint(1, 1);
    TParentSomething2dot &r = relationOf(p);
    r.zahyou().setFXfree(false);
    r.zahyou().setXstr(QStringLiteral("sqrt(-1)"));
    r.prepareFormulas();
    redraw();
    EXPECT_FALSE(p->isDrawable());
    EXPECT_EQ(p->rawDistance({ 0, 0 }, {}), 100);
    EXPECT_EQ(drawn.size(), 1); // only q
    // A formula that does not even compile behaves the same.
    r.zahyou().setXstr(QStringLiteral("2+*"));
    r.prepareFormulas();
    redraw();
    EXPECT_FALSE(p->isDrawable());
    // Back to a number: the point returns.
    r.zahyou().setXstr(QStringLiteral("3"));
    r.prepareFormulas();
    redraw();
    EXPECT_TRUE(p->isDrawable());
    EXPECT_EQ(p->getX(), 3);
    EXPECT_EQ(q->getX(), 1);
}

TEST_F(PointTest, FixedPointsNeverMove)
{
    TShapeList none;
    TParentNil2dotClass cls;
    std::unique_ptr<TShapeDot> made = cls.createDotWithZahyou(TFiguretype::FIG_genten,
        TZahyou::createFormulaZahyou(), TParentSomething2dotClass::Mode::mProgram, none);
    TShapeDot *origin = made.get();
    origin->setFixed(true);
    origin->setCanDelete(false);
    field.add(std::move(made));
    origin->moveXYOffsetXY(5, 5);
    redraw();
    EXPECT_EQ(origin->getXY(), (TModelPoint { 0, 0 }));
    try {
        relationOf(origin).zahyou().setFXfree(true);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("この座標を自由移動にすることはできません。"));
    }
}

TEST_F(PointTest, SavingAFreePointStoresItsPositionAsFormulaTexts)
{
    TShapeDot *p = newPoint(0, 0);
    relationOf(p).zahyou().setXstr(QStringLiteral("sin(1)")); // left over from an earlier formula
    p->moveXYOffsetXY(1.5, 2);
    field.renumber();
    MemoryWriter w = savedFigureList(field);
    const QString text = w.lines().join(QLatin1Char('\n'));
    EXPECT_TRUE(text.contains(QStringLiteral("<fXfree>true</fXfree><fYfree>true</fYfree>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<xstr>1.5</xstr><ystr>2</ystr>")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("<fCanMoveAnywhere>true</fCanMoveAnywhere><x>1.5</x><y>2</y>")));

    TShapeStore loaded;
    factory.readAll(*w.root().findChild(QStringLiteral("figureList")), loaded);
    ASSERT_EQ(loaded.count(), 1);
    auto *back = static_cast<TShapeDot *>(loaded.first());
    EXPECT_EQ(back->getXY(), (TModelPoint { 1.5, 2 }));
    EXPECT_TRUE(relationOf(back).isXFree());
    EXPECT_TRUE(relationOf(back).isYFree());
    back->moveXYOffsetXY(1, 0);
    EXPECT_EQ(back->getX(), 2.5);
}

TEST_F(PointTest, TinyAndHugeFreePositionsComeBackFromTheirFormulaTexts)
{
    TShapeDot *p = newPoint(1.2e-17, -3.5e21);
    field.renumber();
    MemoryWriter w = savedFigureList(field);
    TShapeStore loaded;
    factory.readAll(*w.root().findChild(QStringLiteral("figureList")), loaded);
    auto *back = static_cast<TShapeDot *>(loaded.first());
    auto &relation = static_cast<TParentSomething2dot &>(*back->relation());
    EXPECT_EQ(relation.zahyou().xstr(), QStringLiteral("0.000000000000000012"));
    // The texts are formulas: read as formulas they give the position again.
    relation.zahyou().setFXfree(false);
    relation.zahyou().setFYfree(false);
    relation.prepareFormulas();
    back->relation()->calcChildren(nullptr);
    EXPECT_DOUBLE_EQ(back->getX(), 1.2e-17);
    EXPECT_DOUBLE_EQ(back->getY(), -3.5e21);
    EXPECT_EQ(p->getX(), 1.2e-17);
}

TEST_F(PointTest, TheCoordinateDialogCancelledThreeTimesLeavesTheZahyou)
{
    TShapeDot *p = newPoint(0, 0);
    ScriptedZahyouDialog *dialog = installDialog([](TZahyou &z) {
        z.setFXfree(false);
        z.setXstr(QStringLiteral("7"));
        return int(TZahyouDialogFacade::mrCancel);
    });
    for (int i = 0; i < 3; ++i) {
        p->setupProperty();
        EXPECT_TRUE(relationOf(p).zahyou().fXfree());
        EXPECT_EQ(relationOf(p).zahyou().xstr(), QStringLiteral("0"));
        EXPECT_EQ(relationOf(p).zahyou().pushedCount(), 0);
    }
    EXPECT_EQ(dialog->opened, 3);

    p->clearChanged();
    installDialog([](TZahyou &z) {
        z.setFXfree(false);
        z.setXstr(QStringLiteral("7"));
        return int(TZahyouDialogFacade::mrOk);
    });
    p->setupProperty();
    redraw();
    EXPECT_EQ(p->getX(), 7);
    EXPECT_TRUE(p->isChanged());
    EXPECT_EQ(relationOf(p).zahyou().pushedCount(), 0);
}

TEST_F(PointTest, ACancelledDialogAtCreationMakesNothing)
{
    class AskingClass : public TParentNil2dotClass
    {
    public:
        bool needsDialogAtCreation(Mode mode) const override { return mode == Mode::mInteractive; }
    };
    AskingClass cls;
    installDialog([](TZahyou &) { return int(TZahyouDialogFacade::mrCancel); });
    TShapeStore out;
    cls.s_createShapes2shapeList(out, TFiguretype::FIG_dotOnField, true, TShapeList());
    EXPECT_TRUE(out.isEmpty());
    cls.s_createShapes2shapeList(
        out, TFiguretype::FIG_dotOnField, false, TShapeList()); // loading asks nothing
    ASSERT_EQ(out.count(), 1);
}

TEST(Zahyou, SavedStates)
{
    auto z = TZahyou::createFreeZahyou();
    z->setXstr(QStringLiteral("a"));
    z->pushCurrent();
    z->setXstr(QStringLiteral("b"));
    z->pushCurrent();
    z->setXstr(QStringLiteral("c"));
    z->pushCurrent();
    try {
        z->pushCurrent();
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("情報は既にpushされています。"));
    }
    z->setXstr(QStringLiteral("d"));
    z->pop();
    EXPECT_EQ(z->xstr(), QStringLiteral("c"));
    z->clearPushed();
    EXPECT_EQ(z->xstr(), QStringLiteral("c"));
    z->pop();
    EXPECT_EQ(z->xstr(), QStringLiteral("a"));
    for (auto op : { &TZahyou::pop, &TZahyou::clearPushed }) {
        try {
            ((*z).*op)();
            FAIL();
        } catch (const ESouteigai &e) {
            EXPECT_EQ(e.detail(), QStringLiteral("情報がpushされていません。"));
        }
    }
    auto formula = TZahyou::createFormulaZahyou();
    EXPECT_FALSE(formula->fXfree());
    EXPECT_FALSE(formula->canBeFree());
    EXPECT_TRUE(z->fYfree());
}

} // namespace
