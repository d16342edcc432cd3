// Constructions over other shapes' attributes as a user meets them: a value
// label that follows a dragged point, a graph that follows a circle, what
// an undefined parent hides, and documents holding every kind.
#include "core/exceptions.h"
#include "formula/calcformulafacade.h"
#include "graphs/shapefunction.h"
#include "graphs/shapevariable2function.h"
#include "labels/shapevariable2value.h"
#include "labels/writing.h"
#include "labels_fixture.h"
#include "model/shapevariable2dot.h"
#include "persist/zarnofile.h"
#include "support/expect_souteigai.h"
#include "support/fake_surface.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <functional>

using namespace zarno;
using namespace zarno::test;

namespace {

// The value dialog as a test answers it: changes the settings, then
// confirms or cancels.
class ScriptedValueDialog : public TValueDialogFacade
{
public:
    std::function<bool(TCalcFormulaFacade &, TShapeVariable2value &)> answer;
    int asked = 0;
    bool editValue(TCalcFormulaFacade &facade, TShapeVariable2value &value) override
    {
        ++asked;
        return answer(facade, value);
    }
};

class ShapeVariableTest : public LabelInteractionTest
{
protected:
    ShapeVariableTest()
    {
        registerGraphRelationClasses(factory);
        auto d = std::make_unique<ScriptedValueDialog>();
        valueDialog = d.get();
        previous = TValueDialogFacade::install(std::move(d));
    }
    ~ShapeVariableTest() override { TValueDialogFacade::install(std::move(previous)); }

    static TShapeList listOf(std::initializer_list<TShape *> shapes)
    {
        TShapeList l;
        for (TShape *s : shapes)
            l.add(s);
        return l;
    }
    template <typename C> const C &classOf(TFiguretype type)
    {
        return static_cast<const C &>(*factory.relationClassFor(type));
    }
    TShapeWriting *valueLabel(std::initializer_list<TShape *> parents, const QString &formula,
        TZahyouScaletype scaletype = TZahyouScaletype::zstDouble, int digits = 1)
    {
        auto label = classOf<TParentShapeVariable2valueClass>(TFiguretype::FIG_shapeVariable2value)
                         .createWithFormula(listOf(parents), formula, scaletype, digits);
        TShapeWriting *w = label.get();
        field().add(std::move(label));
        return w;
    }
    TShapeFunction *graph(std::initializer_list<TShape *> parents, const QString &formula)
    {
        std::unique_ptr<TShape> g
            = classOf<TParentShapeVariable2functionClass>(TFiguretype::FIG_shapeVariable2function)
                  .createWithFormula(listOf(parents), formula);
        auto *f = static_cast<TShapeFunction *>(g.get());
        field().add(std::move(g));
        return f;
    }
    TShapeDot *formulaPoint(
        std::initializer_list<TShape *> parents, const QString &x, const QString &y)
    {
        std::unique_ptr<TShapeDot> d
            = classOf<TParentShapeVariable2dotClass>(TFiguretype::FIG_shapeVariable2dot)
                  .createWithFormulas(listOf(parents), x, y);
        TShapeDot *p = d.get();
        field().add(std::move(d));
        return p;
    }
    void redraw() { model.setDrawStatusAndRedraw(TCurrentDrawStatus::DocumentChanged); }

    ScriptedValueDialog *valueDialog;
    std::unique_ptr<TValueDialogFacade> previous;
};

TEST(ValueLabelText, NameNumberFormAndDigits)
{
    TShapeVariable2value v;
    struct Case
    {
        QString name;
        TZahyouScaletype type;
        int digits;
        double x;
        QString text;
    } cases[] = {
        { "A", TZahyouScaletype::zstDouble, 2, 0.5, "{A}0.50" },
        { "A", TZahyouScaletype::zstDoublePi, 2, M_PI / 2, "{A}0.50\\pi" },
        { "A", TZahyouScaletype::zstDegree, 2, M_PI / 2, "{A}90.00^{\\:\\circ}" },
        { "A", TZahyouScaletype::zstInvisible, 1, M_PI, "{A}180.0^{\\:\\circ}" },
        { "   ", TZahyouScaletype::zstDouble, 2, 0.5, "0.50" },
        { "\\mathrm{AB}=", TZahyouScaletype::zstDouble, 3, -2, "{\\mathrm{AB}=}-2.000" },
    };
    for (const Case &c : cases) {
        v.name().setText(c.name);
        v.scaletype = c.type;
        v.ketasuuBelowPoint = c.digits;
        EXPECT_EQ(v.text(c.x), c.text) << c.text.toStdString();
    }
}

TEST(ValueLabelText, SavedStatesComeBackWithTheNameAndAreBounded)
{
    TShapeVariable2value v;
    v.pushCurrent();
    v.valueStr = QStringLiteral("p1.x");
    v.scaletype = TZahyouScaletype::zstDegree;
    v.ketasuuBelowPoint = 4;
    v.name().setText(QStringLiteral("B"));
    v.pop();
    EXPECT_EQ(v.valueStr, QStringLiteral("0"));
    EXPECT_EQ(v.scaletype, TZahyouScaletype::zstDouble);
    EXPECT_EQ(v.ketasuuBelowPoint, 1);
    EXPECT_EQ(v.name().text(), QStringLiteral("A"));
    test::expectSouteigai(
        [&] { v.pop(); }, QStringLiteral("pop"), QStringLiteral("情報がpushされていません。"));
    for (int i = 0; i < 3; ++i)
        v.pushCurrent();
    test::expectSouteigai([&] { v.pushCurrent(); }, QStringLiteral("pushCurrent"),
        QStringLiteral("情報は既にpushされています。"));
}

TEST_F(ShapeVariableTest, AValueLabelShowsTheDistanceAndFollowsADraggedPoint)
{
    // Away from the origin, which the axes hold.
    TShapeDot *a = clickPoint(-1, -1);
    model.clearSelection();
    TShapeDot *b = clickPoint(2, 3);
    TShapeWriting *label = valueLabel({ a, b }, QStringLiteral("sqrt((p1.x-p2.x)^2+(p1.y-p2.y)^2)"),
        TZahyouScaletype::zstDouble, 2);
    a->setXY({ -1, -1 });
    b->setXY({ 2, 3 });
    redraw();
    EXPECT_EQ(label->writing().text(), QStringLiteral("{A}5.00"));
    EXPECT_EQ(label->anchor(), a->getXY());

    model.clearSelection();
    dragPx(px(2, 3), px(3, 2));
    EXPECT_NEAR(b->getX(), 3, 0.05);
    const double d = std::hypot(b->getX() - a->getX(), b->getY() - a->getY());
    EXPECT_EQ(label->writing().text(), QStringLiteral("{A}") + QString::number(d, 'f', 2));
    EXPECT_EQ(label->anchor(), a->getXY());
    EXPECT_EQ(label->propertyType(), TPropertyType::ShapeVariableValue);
}

TEST_F(ShapeVariableTest, TheValueDialogDecidesAtCreationAndACancelledEditChangesNothing)
{
    TShapeDot *a = clickPoint(1, 1);
    model.clearSelection();
    TShapeDot *b = clickPoint(3, 2);
    a->setXY({ 1, 1 });
    b->setXY({ 3, 2 });
    ASSERT_TRUE([&] {
        model.clearSelection();
        model.addToSelection(a);
        model.addToSelection(b);
        return window.enabledTools.contains(TFiguretype::FIG_shapeVariable2value);
    }());
    // The dialog sees exactly the parents' variables.
    TCalcSymbolOnOff offered;
    valueDialog->answer = [&](TCalcFormulaFacade &facade, TShapeVariable2value &) {
        offered = facade.calcSymbolOnOff();
        return false;
    };
    EXPECT_EQ(construct(TFiguretype::FIG_shapeVariable2value, { a, b }), nullptr);
    EXPECT_EQ(offered.pointCount, 2);
    EXPECT_FALSE(offered.xOn);

    valueDialog->answer = [](TCalcFormulaFacade &, TShapeVariable2value &v) {
        v.valueStr = QStringLiteral("p2.x-p1.x");
        v.name().setText(QStringLiteral("d"));
        return true;
    };
    auto *label
        = dynamic_cast<TShapeWriting *>(construct(TFiguretype::FIG_shapeVariable2value, { a, b }));
    ASSERT_NE(label, nullptr);
    redraw();
    EXPECT_EQ(label->writing().text(), QStringLiteral("{d}2.0"));

    // Editing: a cancel restores every setting the dialog touched.
    valueDialog->answer = [](TCalcFormulaFacade &, TShapeVariable2value &v) {
        v.valueStr = QStringLiteral("p2.y");
        v.ketasuuBelowPoint = 3;
        return false;
    };
    label->relation()->setupProperty();
    redraw();
    auto &value = static_cast<TParentShapeVariable2value &>(*label->relation()).value();
    EXPECT_EQ(value.valueStr, QStringLiteral("p2.x-p1.x"));
    EXPECT_EQ(label->writing().text(), QStringLiteral("{d}2.0"));
    valueDialog->answer = [](TCalcFormulaFacade &, TShapeVariable2value &v) {
        v.valueStr = QStringLiteral("p2.y");
        v.ketasuuBelowPoint = 3;
        return true;
    };
    label->relation()->setupProperty();
    redraw();
    EXPECT_EQ(label->writing().text(), QStringLiteral("{d}2.000"));
}

TEST_F(ShapeVariableTest, AGraphOfACircleAttributeFollowsTheCircle)
{
    TShapeDot *origin = clickPoint(0.5, 0.5);
    model.clearSelection();
    TShapeDot *centre = clickPoint(-3, 2);
    model.clearSelection();
    TShapeDot *rim = clickPoint(-1, 2);
    origin->setXY({ 0, 0 });
    centre->setXY({ -3, 2 });
    rim->setXY({ -1, 2 });
    TShape *circle = construct(TFiguretype::FIG_circle, { centre, rim });
    ASSERT_NE(circle, nullptr);
    TShapeFunction *g = graph({ circle, origin }, QStringLiteral("c1.r*sin(x)"));
    redraw();
    EXPECT_EQ(g->parents().first(), origin);
    EXPECT_NEAR(g->valueAt(M_PI / 2), 2, 1e-12);
    rim->setXY({ 0.5, 2 });
    redraw();
    EXPECT_NEAR(g->valueAt(M_PI / 2), 3.5, 1e-12);
    EXPECT_NEAR(g->pointAt(M_PI / 2).y, 3.5, 1e-12);
}

TEST_F(ShapeVariableTest, AnUndefinedParentHidesEveryConstructionOnIt)
{
    TShapeDot *p = clickPoint(2, 1);
    p->setXY({ 2, 1 });
    // Undefined while p is on the y axis.
    TShapeDot *q = formulaPoint({ p }, QStringLiteral("1/(p1.x)"), QStringLiteral("p1.y"));
    TShapeWriting *label = valueLabel({ q, p }, QStringLiteral("p1.x+p2.x"));
    TShapeFunction *g = graph({ q }, QStringLiteral("x+p1.y"));
    redraw();
    EXPECT_EQ(label->writing().text(), QStringLiteral("{A}2.5"));
    for (TShape *s :
        { static_cast<TShape *>(q), static_cast<TShape *>(label), static_cast<TShape *>(g) })
        EXPECT_TRUE(s->isDrawable());

    p->setXY({ 0, 1 });
    redraw();
    for (TShape *s :
        { static_cast<TShape *>(q), static_cast<TShape *>(label), static_cast<TShape *>(g) })
        EXPECT_FALSE(s->isDrawable());
    p->setXY({ 5, 1 });
    redraw();
    EXPECT_TRUE(label->isDrawable());
    EXPECT_TRUE(g->isDrawable());
    EXPECT_EQ(label->writing().text(), QStringLiteral("{A}5.2"));
}

TEST_F(ShapeVariableTest, EveryKindSavesLoadsAndSavesToTheSameBytes)
{
    TShapeDot *a = clickPoint(1, 0.5);
    model.clearSelection();
    TShapeDot *b = clickPoint(-2, 1.25);
    a->setXY({ 1, 0.5 });
    b->setXY({ -2, 1.25 });
    TShape *segment = construct(TFiguretype::FIG_senbun, { a, b });
    TShape *circle = construct(TFiguretype::FIG_circle, { a, b });
    TShapeDot *q = formulaPoint(
        { a, segment }, QStringLiteral("p1.x+cos(l1.angle)"), QStringLiteral("p1.y/3"));
    TShapeWriting *label = valueLabel(
        { a, circle, segment }, QStringLiteral("l1.angle+c1.r"), TZahyouScaletype::zstDoublePi, 3);
    auto &value = static_cast<TParentShapeVariable2value &>(*label->relation()).value();
    value.name().setText(QStringLiteral("\\theta"));
    graph({ q, circle }, QStringLiteral("c1.r*sin(x)+p1.y"));
    redraw();
    const QString shown = label->writing().text();

    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.znt"));
    const QString second = dir.filePath(QStringLiteral("second.znt"));
    TDocumentWriter::write(controller->document(), first);
    auto loaded = TFileReader(first, factory).read();
    TDocumentWriter::write(*loaded, second);
    auto bytes = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_FALSE(bytes(first).isEmpty());
    EXPECT_EQ(bytes(first), bytes(second));

    // What was read computes what was saved.
    FakeSurface surface;
    TDrawStatus status { TCurrentDrawStatus::DocumentChanged, false };
    loaded->field().drawField(status, surface);
    TShapeWriting *read = nullptr;
    TShapeFunction *readGraph = nullptr;
    TShapeDot *readPoint = nullptr;
    for (TShape *s : loaded->field().items()) {
        if (s->propertyType() == TPropertyType::ShapeVariableValue)
            read = static_cast<TShapeWriting *>(s);
        if (auto *f = dynamic_cast<TShapeFunction *>(s))
            readGraph = f;
        if (s->relation() && s->relation()->getFigureType() == TFiguretype::FIG_shapeVariable2dot)
            readPoint = static_cast<TShapeDot *>(s);
    }
    ASSERT_TRUE(read && readGraph && readPoint);
    EXPECT_EQ(read->writing().text(), shown);
    EXPECT_NEAR(readPoint->getX(), 1 + std::cos(std::atan2(-0.75, -3) + M_PI), 1e-9);
    const double r = std::hypot(3, 0.75);
    EXPECT_NEAR(readGraph->valueAt(M_PI / 2), r + 0.5 / 3, 1e-9);
}

} // namespace

namespace {

TEST_F(ShapeVariableTest, TheReadOutOnTheAxesBuildsFeetSegmentsAndAnXReadOutThatFollow)
{
    TShapeDot *p = clickPoint(2, 1.5);
    p->setXY({ 2, 1.5 });
    const int before = field().count();
    ASSERT_TRUE(window.enabledTools.contains(TFiguretype::FIG_dot2zahyouGroup));
    construct(TFiguretype::FIG_dot2zahyouGroup, { p });
    ASSERT_EQ(field().count(), before + 5);
    auto *footX = static_cast<TShapeDot *>(field().item(before));
    auto *footY = static_cast<TShapeDot *>(field().item(before + 1));
    auto *label = dynamic_cast<TShapeWriting *>(field().item(before + 4));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(field().item(before + 2)->guidanceName(), QStringLiteral("P1からx軸への線"));
    EXPECT_EQ(field().item(before + 3)->guidanceName(), QStringLiteral("P1からy軸への線"));
    EXPECT_EQ(label->writing().getDirection(), T_Direction::dirS);
    EXPECT_EQ(label->writing().pt(), 14);

    p->setXY({ -1, 2.5 });
    redraw();
    EXPECT_EQ(footX->getXY(), (TModelPoint { -1, 0 }));
    EXPECT_EQ(footY->getXY(), (TModelPoint { 0, 2.5 }));
    EXPECT_EQ(label->writing().text(), QStringLiteral("Z -1.0"));
    EXPECT_EQ(label->anchor(), footX->getXY());
    // The feet are fixed by their formulas.
    EXPECT_FALSE(footX->canMoveAnywhere());

    // Read back, the read-out still shows x alone under its own name.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("group.znt"));
    TDocumentWriter::write(controller->document(), path);
    auto loaded = TFileReader(path, factory).read();
    FakeSurface surface;
    TDrawStatus status { TCurrentDrawStatus::DocumentChanged, false };
    loaded->field().drawField(status, surface);
    auto *back = dynamic_cast<TShapeWriting *>(loaded->field().item(before + 4));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->writing().text(), QStringLiteral("Z -1.0"));
}

} // namespace
