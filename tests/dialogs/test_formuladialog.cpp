// The formula dialog as its callers meet it: a graph's formula, a point's
// coordinate, a label's typeset text, with the preview, the parser's
// message, the palettes and the ways out.
#include "dialogs/formulafacade.h"
#include "dialogs/frmformula.h"
#include "dialogs/frminputnumber.h"
#include "dialogs/rangeinput.h"
#include "dialogs_support.h"
#include "formula/calcformulafacade.h"
#include "graphs/dot2function.h"
#include "graphs/range.h"
#include "graphs/shapefunction.h"
#include "labels/labelclasses.h"
#include "labels/labeldialogs.h"
#include "labels/shapewriting.h"
#include "model/dialogfacades.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapestore.h"
#include "persist/inifile.h"
#include "support/expect_souteigai.h"
#include "support/fake_surface.h"
#include "support/guidance_names.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cmath>

using namespace zarno;
using namespace zarno::test;

namespace {

class FormulaDialogTest : public DialogsTest
{
protected:
    TFrmFormula &form() { return dialogs.input().form(); }
    std::unique_ptr<TCalcFormulaFacade> calcWith(TCalcSymbolOnOff onOff)
    {
        auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
        calc->setCalcSymbolOnOff(onOff);
        return calc;
    }
    static TCalcSymbolOnOff xOnly()
    {
        TCalcSymbolOnOff onOff;
        onOff.xOn = true;
        return onOff;
    }
};

TEST_F(FormulaDialogTest, AnUnfinishedFormulaShowsWhereItBreaksAndTheFixedOneIsTypeset)
{
    QString text;
    TRange range;
    bool sawError = false;
    whenModal([&](QWidget &) {
        TFrmFormula &f = form();
        EXPECT_EQ(f.windowTitle(), QStringLiteral("計算用数式入力"));
        QTest::keyClicks(f.edit(), QStringLiteral("sin(2x"));
        // The parser's own message with its position, as the calculator has it.
        auto probe = calcWith(xOnly());
        probe->analyzeFormula(QStringLiteral("sin(2x"));
        ASSERT_FALSE(probe->errorMessage().isEmpty());
        EXPECT_EQ(f.statusLabel()->text(), probe->errorMessage());
        // The parenthesis is missing at the end of the text.
        EXPECT_TRUE(f.statusLabel()->text().endsWith(QStringLiteral("(最後)")));
        EXPECT_FALSE(f.okButton()->isEnabled());
        EXPECT_GT(inkOf(f.previewImage()).red, 5); // the rest marked
        sawError = true;

        // A fault inside the text is named by its place.
        f.edit()->setCursorPosition(4);
        QTest::keyClicks(f.edit(), QStringLiteral("$"));
        EXPECT_TRUE(f.statusLabel()->text().contains(QStringLiteral("5文字目")))
            << f.statusLabel()->text().toStdString();
        EXPECT_FALSE(f.okButton()->isEnabled());
        QTest::keyClick(f.edit(), Qt::Key_Backspace);
        f.edit()->end(false);

        QTest::keyClicks(f.edit(), QStringLiteral(")"));
        EXPECT_TRUE(f.okButton()->isEnabled());
        EXPECT_TRUE(f.statusLabel()->text().isEmpty());
        probe->analyzeFormula(QStringLiteral("sin(2x)"));
        EXPECT_EQ(f.previewTeX(), probe->getTeXString());
        EXPECT_TRUE(f.previewTeX().contains(QStringLiteral("\\sin")));
        const Ink ink = inkOf(f.previewImage());
        EXPECT_GT(ink.black, 30);
        EXPECT_EQ(ink.red, 0);
        // Enter confirms acceptable input.
        QTest::keyClick(f.edit(), Qt::Key_Return);
    });
    EXPECT_TRUE(TFunctionDialogFacade::edit(text, range, false));
    EXPECT_TRUE(sawError);
    EXPECT_EQ(text, QStringLiteral("sin(2x)"));
}

TEST_F(FormulaDialogTest, EachUseAcceptsOnlyItsOwnFormulas)
{
    TCalcSymbolOnOff none;
    TCalcSymbolOnOff twoPoints;
    twoPoints.pointCount = 2;
    TCalcSymbolOnOff yOnly;
    yOnly.yOn = true;
    struct Case
    {
        const char *use;
        TCalcSymbolOnOff onOff;
        const char *text;
        bool acceptable;
    } cases[] = {
        { "coordinate", none, "2/4", true },
        { "coordinate", none, "1/0", false }, // no value
        { "coordinate", none, "x", false }, // no variables here
        { "coordinate", twoPoints, "p1.x+p2.y", true },
        { "coordinate", twoPoints, "p3.x", false },
        { "graph y=f(x)", xOnly(), "x^2-1", true },
        { "graph y=f(x)", xOnly(), "y+1", false },
        { "graph x=g(y)", yOnly, "y^2", true },
        { "graph x=g(y)", yOnly, "x", false },
    };
    for (const Case &c : cases) {
        auto calc = calcWith(c.onOff);
        form().prepare(calc.get(), QString::fromUtf8(c.text), 14, true);
        EXPECT_EQ(form().okButton()->isEnabled(), c.acceptable) << c.use << ": " << c.text;
        EXPECT_EQ(form().statusLabel()->text().isEmpty(), c.acceptable) << c.use << ": " << c.text;
    }
}

TEST_F(FormulaDialogTest, APaletteButtonInsertsItsTemplateAtTheCaret)
{
    struct Case
    {
        const char *before;
        int selStart;
        int selLength; // 0: the caret at selStart
        const char *button;
        const char *after;
        int caret;
    } cases[] = {
        { "", 0, 0, "logn", "logN(, )", 5 }, { "2+", 2, 0, "pi", "2+pi", 4 },
        { "1+3", 1, 0, "^", "1^+3", 1 }, // the caret where "@" stood
        { "abc", 1, 1, "sqrt", "asqrtc", 5 }, // the selection is replaced
    };
    auto calc = calcWith(xOnly());
    for (const Case &c : cases) {
        form().prepare(calc.get(), QString::fromUtf8(c.before), 14, false);
        if (c.selLength > 0)
            form().edit()->setSelection(c.selStart, c.selLength);
        else
            form().edit()->setCursorPosition(c.selStart);
        QToolButton *b = form().button(QString::fromUtf8(c.button));
        ASSERT_NE(b, nullptr) << c.button;
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(form().edit()->text(), QString::fromUtf8(c.after)) << c.button;
        EXPECT_EQ(form().edit()->cursorPosition(), c.caret) << c.button;
    }
}

TEST_F(FormulaDialogTest, TheShapeAttributeTabOffersExactlyTheEnabledVariables)
{
    const QString tab = QStringLiteral("形の属性");
    auto alone = calcWith({});
    form().prepare(alone.get(), QString(), 14, false);
    for (int i = 0; i < form().palette()->count(); ++i)
        EXPECT_NE(form().palette()->tabText(i), tab);
    EXPECT_EQ(form().button(QStringLiteral("x")), nullptr);
    EXPECT_NE(form().button(QStringLiteral("sin")), nullptr);
    expectSouteigai([&] { form().showTab(tab); }, QStringLiteral("tabOnChange"),
        QStringLiteral("タブ名(形の属性)は存在しません。"));

    TCalcSymbolOnOff twoPoints;
    twoPoints.pointCount = 2;
    auto shaped = calcWith(twoPoints);
    form().prepare(shaped.get(), QStringLiteral("1+"), 14, false);
    form().showTab(tab);
    QStringList names;
    for (QToolButton *b : form().palette()->currentWidget()->findChildren<QToolButton *>())
        names << b->objectName();
    EXPECT_EQ(names,
        QStringList({ QStringLiteral("p1.x"), QStringLiteral("p1.y"), QStringLiteral("p2.x"),
            QStringLiteral("p2.y") }));
    QTest::mouseClick(form().button(QStringLiteral("p2.y")), Qt::LeftButton);
    EXPECT_EQ(form().edit()->text(), QStringLiteral("1+p2.y"));
    EXPECT_TRUE(form().okButton()->isEnabled());

    // Ctrl+Tab walks the tabs round.
    const int count = form().palette()->count();
    form().palette()->setCurrentIndex(count - 1);
    QTest::keyClick(form().edit(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form().palette()->currentIndex(), 0);
    QTest::keyClick(form().edit(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form().palette()->currentIndex(), count - 1);
}

TEST_F(FormulaDialogTest, TheDisplayPaletteOffersTheTypesetNotations)
{
    form().prepare(nullptr, QString(), 14, false);
    EXPECT_EQ(form().windowTitle(), QStringLiteral("表示用数式入力"));
    QTest::mouseClick(form().button(QStringLiteral("\\frac")), Qt::LeftButton);
    EXPECT_EQ(form().edit()->text(), QStringLiteral("\\frac{}{}"));
    EXPECT_EQ(form().edit()->cursorPosition(), 6);
    QTest::keyClicks(form().edit(), QStringLiteral("1"));
    QTest::keyClick(form().edit(), Qt::Key_Right);
    QTest::keyClick(form().edit(), Qt::Key_Right);
    QTest::keyClicks(form().edit(), QStringLiteral("2"));
    EXPECT_EQ(form().edit()->text(), QStringLiteral("\\frac{1}{2}"));
    EXPECT_FALSE(form().hasError());
    for (const char *name : { "\\sqrt", "\\alpha", "\\,", "\\vec" })
        EXPECT_NE(form().button(QString::fromUtf8(name)), nullptr) << name;
    for (const char *name : { "\\phantom", "\\dfrac", "sin" })
        EXPECT_EQ(form().button(QString::fromUtf8(name)), nullptr) << name;
}

TEST_F(FormulaDialogTest, CancellingAsksOnlyWhenTheTextChanged)
{
    QString text = QStringLiteral("A");
    int pt = 14;
    // Unchanged: closes at once.
    whenModal([&](QWidget &) { QTest::keyClick(form().edit(), Qt::Key_Escape); });
    EXPECT_FALSE(TWritingDialogFacade::edit(text, pt));
    EXPECT_TRUE(messages->shown.isEmpty());

    // Changed: No keeps the dialog, Yes discards.
    bool stayed = false;
    whenModal([&](QWidget &modal) {
        QTest::keyClicks(form().edit(), QStringLiteral("B"));
        messages->answers.push_back(TModalResult::mrNo);
        form().cancelButton()->click();
        stayed = modal.isVisible();
        messages->answers.push_back(TModalResult::mrYes);
        QTest::keyClick(form().edit(), Qt::Key_Escape);
    });
    EXPECT_FALSE(TWritingDialogFacade::edit(text, pt));
    EXPECT_TRUE(stayed);
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[0].text, QStringLiteral("入力を破棄してもかまいませんか？"));
    EXPECT_EQ(text, QStringLiteral("A"));
}

TEST_F(FormulaDialogTest, AFormulaWithAnErrorNeverLeavesThroughOk)
{
    auto calc = calcWith(xOnly());
    QString text;
    int pt = 0;
    bool stayed = false;
    whenModal([&](QWidget &modal) {
        QTest::keyClicks(form().edit(), QStringLiteral("sin("));
        // Enter does nothing while OK is off; the close box counts as OK and
        // says why it stays.
        QTest::keyClick(form().edit(), Qt::Key_Return);
        modal.close();
        stayed = modal.isVisible();
        messages->answers.push_back(TModalResult::mrYes);
        form().cancelButton()->click();
    });
    EXPECT_FALSE(
        TCalcFormulaDialogFacade::edit(QStringLiteral("inputZahyou"), *calc, text, pt, true));
    EXPECT_TRUE(stayed);
    ASSERT_GE(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text, QStringLiteral("数式にエラーがあります。"));
    EXPECT_EQ(messages->shown[0].type, TMsgDlgType::mtError);
}

TEST_F(FormulaDialogTest, ATypesetTextWithAnErrorIsConfirmedOnlyAfterYes)
{
    QString text;
    int pt = 14;
    whenModal([&](QWidget &modal) {
        QTest::keyClicks(form().edit(), QStringLiteral("\\frac{1}{"));
        EXPECT_TRUE(form().hasError());
        EXPECT_FALSE(form().statusLabel()->text().isEmpty());
        messages->answers.push_back(TModalResult::mrNo);
        form().accept();
        EXPECT_TRUE(modal.isVisible());
        form().sizeBox()->setCurrentIndex(form().sizeBox()->findData(20));
        messages->answers.push_back(TModalResult::mrYes);
        form().accept();
    });
    EXPECT_TRUE(TWritingDialogFacade::edit(text, pt));
    EXPECT_EQ(text, QStringLiteral("\\frac{1}{"));
    EXPECT_EQ(pt, 20);
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[1].text,
        QStringLiteral("数式にエラーがあります。\r\nこの数式のまま入力を確定しますか？"));
}

TEST_F(FormulaDialogTest, EachPlaceKeepsTheSizeChosenThere)
{
    TCalcSymbolOnOff none;
    auto calc = calcWith(none);
    QString text = QStringLiteral("1");
    int pt = 0; // the place's own size
    whenModal([&](QWidget &) {
        EXPECT_EQ(form().pt(), 14);
        form().sizeBox()->setCurrentIndex(form().sizeBox()->findData(24));
        form().okButton()->click();
    });
    ASSERT_TRUE(
        TCalcFormulaDialogFacade::edit(QStringLiteral("zahyouProperty"), *calc, text, pt, true));
    EXPECT_EQ(pt, 24);
    EXPECT_EQ(dialogs.facade(QStringLiteral("zahyouProperty")).fontPt(), 24);
    EXPECT_EQ(dialogs.facade(QStringLiteral("inputZahyou")).fontPt(), 14);
}

// A label on a point, edited through its property operation.
class LabelEditTest : public FormulaDialogTest
{
protected:
    LabelEditTest()
    {
        registerModelRelationClasses(factory);
        registerLabelRelationClasses(factory);
        TShapeStore built = factory.createSilently(TFiguretype::FIG_dotOnField, TShapeList());
        point = static_cast<TShapeDot *>(built.first());
        field.takeAllFrom(built);
        TShapeList parents;
        parents.add(point);
        TShapeStore labelled = factory.createSilently(TFiguretype::FIG_writing, parents);
        label = static_cast<TShapeWriting *>(labelled.first());
        label->setTextAndPt(QStringLiteral("\\alpha"), 16);
        field.takeAllFrom(labelled);
    }
    ~LabelEditTest() override
    {
        while (!field.isEmpty())
            field.take(field.last());
    }

    InstalledGuidanceNames creator;
    TShapeFactory factory;
    TShapeStore field;
    TShapeDot *point = nullptr;
    TShapeWriting *label = nullptr;
};

TEST_F(LabelEditTest, CancellingLeavesTheLabelAndOkTakesTextAndSize)
{
    whenModal([&](QWidget &) {
        EXPECT_EQ(form().edit()->text(), QStringLiteral("\\alpha"));
        EXPECT_EQ(form().pt(), 16);
        QTest::keyClicks(form().edit(), QStringLiteral("\\beta"));
        form().sizeBox()->setCurrentIndex(form().sizeBox()->findData(28));
        messages->answers.push_back(TModalResult::mrYes);
        QTest::keyClick(form().edit(), Qt::Key_Escape);
    });
    label->setupProperty();
    EXPECT_EQ(label->writing().text(), QStringLiteral("\\alpha"));
    EXPECT_EQ(label->writing().pt(), 16);

    whenModal([&](QWidget &) {
        QTest::keyClicks(form().edit(), QStringLiteral("\\beta"));
        form().sizeBox()->setCurrentIndex(form().sizeBox()->findData(28));
        QTest::keyClick(form().edit(), Qt::Key_Enter);
    });
    label->setupProperty();
    EXPECT_EQ(label->writing().text(), QStringLiteral("\\beta"));
    EXPECT_EQ(label->writing().pt(), 28);
}

// A surface that keeps the polylines drawn on it, in model coordinates.
class PolylineSurface : public FakeSurface
{
public:
    std::vector<std::vector<TModelPoint>> pieces;
    void drawPolyline(TPenBrush &, const TModelPoint &offset, int lastIndex, const double *xs,
        const double *ys) override
    {
        std::vector<TModelPoint> piece;
        for (int i = 0; i <= lastIndex; ++i)
            piece.push_back({ xs[i] + offset.x, ys[i] + offset.y });
        pieces.push_back(std::move(piece));
    }
    TModelViewRect getModelViewRect() const override { return { -5, 4, 5, -4 }; }
    TModelPoint getModelPerPixel() const override { return { 0.01, 0.01 }; }
};

class GraphDialogTest : public FormulaDialogTest
{
protected:
    GraphDialogTest()
    {
        registerModelRelationClasses(factory);
        registerGraphRelationClasses(factory);
        TShapeStore built = factory.createSilently(TFiguretype::FIG_dotOnField, TShapeList());
        origin = static_cast<TShapeDot *>(built.first());
        origin->setInitialXY({ 0, 0 });
        field.takeAllFrom(built);
    }
    ~GraphDialogTest() override
    {
        while (!field.isEmpty())
            field.take(field.last());
    }
    // Sets one bound to a number through the number dialog, as a user does.
    void typeBound(int bound, const QString &number)
    {
        TRangeInput &range = dialogs.rangeInput();
        QTest::mouseClick(range.finiteButton(bound), Qt::LeftButton);
        ASSERT_TRUE(range.preview(bound)->isEnabled());
        whenModal([number](QWidget &modal) {
            auto &d = static_cast<TFrmInputNumber &>(modal);
            d.typeButton(TNumberMode::nmReal)->click();
            d.formulaEdit()->selectAll();
            QTest::keyClicks(d.formulaEdit(), number);
            d.okButton()->click();
        });
        QTest::mouseClick(range.preview(bound), Qt::LeftButton);
    }

    InstalledGuidanceNames creator;
    TShapeFactory factory;
    TShapeStore field;
    TShapeDot *origin = nullptr;
};

TEST_F(GraphDialogTest, AGraphWithTheDomainMinusOneToTwoIsDrawnOnlyThere)
{
    whenModal([&](QWidget &) {
        TRangeInput &range = dialogs.rangeInput();
        EXPECT_TRUE(range.isVisible());
        EXPECT_TRUE(range.infiniteButton(0)->isChecked()); // a new graph: unbounded
        EXPECT_FALSE(range.preview(0)->isEnabled());
        QTest::keyClicks(form().edit(), QStringLiteral("x^2"));
        typeBound(0, QStringLiteral("-1"));
        typeBound(1, QStringLiteral("2"));
        form().okButton()->click();
    });
    TShapeList parents;
    parents.add(origin);
    TShapeStore built = factory.create(TFiguretype::FIG_function, parents);
    ASSERT_EQ(built.count(), 1);
    auto *graph = static_cast<TShapeFunction *>(built.first());
    field.takeAllFrom(built);
    EXPECT_FALSE(graph->range().fMinIsInfinity);
    EXPECT_FALSE(graph->range().fMaxIsInfinity);
    EXPECT_DOUBLE_EQ(graph->range().lower(), -1);
    EXPECT_DOUBLE_EQ(graph->range().upper(), 2);

    PolylineSurface surface;
    TDrawStatus status;
    field.drawField(status, surface);
    ASSERT_EQ(surface.pieces.size(), 1u);
    EXPECT_NEAR(surface.pieces[0].front().x, -1, 1e-9);
    EXPECT_NEAR(surface.pieces[0].back().x, 2, 0.011);
    EXPECT_NEAR(surface.pieces[0].back().y, 4, 0.05);
    EXPECT_FALSE(dialogs.rangeInput().isVisible()); // the panel goes with the dialog
}

TEST_F(GraphDialogTest, AGraphOverAnotherPointTakesItsAttributesButNotY)
{
    TShapeStore more = factory.createSilently(TFiguretype::FIG_dotOnField, TShapeList());
    auto *q = static_cast<TShapeDot *>(more.first());
    q->setInitialXY({ 2, 3 });
    field.takeAllFrom(more);
    whenModal([&](QWidget &) {
        QTest::keyClicks(form().edit(), QStringLiteral("y+p2.y"));
        EXPECT_FALSE(form().okButton()->isEnabled());
        form().edit()->clear();
        QTest::keyClicks(form().edit(), QStringLiteral("p2.y*sin(x)"));
        EXPECT_TRUE(form().okButton()->isEnabled()) << form().statusLabel()->text().toStdString();
        form().okButton()->click();
    });
    TShapeList parents;
    parents.add(origin);
    parents.add(q);
    TShapeStore built = factory.create(TFiguretype::FIG_shapeVariable2function, parents);
    ASSERT_EQ(built.count(), 1);
    auto *graph = static_cast<TShapeFunction *>(built.first());
    field.takeAllFrom(built);
    // The first point is the origin and p1; the other is p2.
    EXPECT_EQ(graph->parents().first(), origin);
    EXPECT_NEAR(graph->valueAt(M_PI / 2), 3, 1e-12);
}

TEST_F(GraphDialogTest, ACancelledEditLeavesFormulaAndDomainAsTheyWere)
{
    TShapeList parents;
    parents.add(origin);
    TShapeStore built = factory.createSilently(TFiguretype::FIG_function, parents);
    auto *graph = static_cast<TShapeFunction *>(built.first());
    static_cast<TParentDot2Function *>(graph->relation())->setFormula(QStringLiteral("x"));
    field.takeAllFrom(built);
    whenModal([&](QWidget &) {
        EXPECT_EQ(form().edit()->text(), QStringLiteral("x"));
        QTest::keyClicks(form().edit(), QStringLiteral("+1"));
        typeBound(0, QStringLiteral("0"));
        messages->answers.push_back(TModalResult::mrYes);
        form().cancelButton()->click();
    });
    graph->setupProperty();
    EXPECT_TRUE(graph->range().fMinIsInfinity);
    EXPECT_DOUBLE_EQ(graph->valueAt(3), 3);
}

} // namespace

namespace {

// Each place of use keeps its size in the settings between runs.
TEST(FormulaFacadeSettings, EachPlaceReadsAndWritesItsOwnSize)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("zarno.zni"));
    const int creator = 0;
    TXmlIniFile::open(&creator, file);
    TXmlIniFile::root()
        .section(QStringLiteral("inputFormulawriting"))
        .writeInteger(QStringLiteral("fontPt"), 20);
    {
        TFormulaFacadeList list;
        EXPECT_EQ(list.facade(QStringLiteral("writing")).fontPt(), 20);
        EXPECT_EQ(list.facade(QStringLiteral("dot2Function")).fontPt(), 14);
        list.facade(QStringLiteral("dot2Function")).setFontPt(28);
        expectSouteigai([&] { list.facade(QStringLiteral("nowhere")); }, QStringLiteral("facade"),
            QStringLiteral("数式入力の場所(nowhere)はありません。"));
    }
    const TIniHash &root = TXmlIniFile::root();
    EXPECT_EQ(const_cast<TIniHash &>(root)
                  .section(QStringLiteral("inputFormuladot2Function"))
                  .readInteger(QStringLiteral("fontPt"), 0),
        28);
    EXPECT_EQ(const_cast<TIniHash &>(root)
                  .section(QStringLiteral("inputFormulashapeVariable2function"))
                  .readInteger(QStringLiteral("fontPt"), 0),
        14);
    TXmlIniFile::close(&creator);
}

} // namespace
