// The coordinate dialogs, the axes dialog and the shape list window, driven
// offscreen in the real main window. The formula, text and number dialogs
// behind them are stand-ins that give the answers a test queues.
#include "app/appli.h"
#include "app/axesdialog.h"
#include "app/checkinputbox.h"
#include "app/coorddialogs.h"
#include "app/figureactionmanager.h"
#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/logic/model.h"
#include "app/mainwindow.h"
#include "app/menuactionmanager.h"
#include "app/previewbox.h"
#include "app/shapelistwindow.h"
#include "core/exceptions.h"
#include "formula/calcformulafacade.h"
#include "labels/shapewriting.h"
#include "labels/writing.h"
#include "labels/zahyoujiku.h"
#include "labels/zahyouproperty.h"
#include "model/field.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/zahyou.h"
#include "persist/inifile.h"
#include "render/displayadapter.h"
#include "support/scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

// The formula dialog: answers from a queue (an empty queue cancels), and
// remembers what it was offered.
struct GivenFormulas : TCalcFormulaDialogFacade
{
    struct Request
    {
        QString place, text;
        bool selectAll;
    };
    std::deque<QString> answers;
    std::vector<Request> requests;
    bool editCalc(
        const QString &place, TCalcFormulaFacade &, QString &text, int &, bool selectAll) override
    {
        requests.push_back({ place, text, selectAll });
        if (answers.empty())
            return false;
        text = answers.front();
        answers.pop_front();
        return true;
    }
};

// The number dialog: each request runs the next script on the label.
struct GivenNumbers : TNumberDialogFacade
{
    std::deque<std::function<void(TWriting &)>> scripts;
    int asked = 0;
    bool editNumber(double, double, TWriting &writing) override
    {
        ++asked;
        if (scripts.empty())
            return false;
        scripts.front()(writing);
        scripts.pop_front();
        return true;
    }
};

struct GivenTexts : TWritingDialogFacade
{
    std::deque<QString> answers;
    bool editWriting(QString &text, int &) override
    {
        if (answers.empty())
            return false;
        text = answers.front();
        answers.pop_front();
        return true;
    }
};

template <typename Dialog> Dialog *modal()
{
    return dynamic_cast<Dialog *>(QApplication::activeModalWidget());
}

// Runs work on the modal dialog of type Dialog once start has opened it;
// answers whether the dialog came.
template <typename Dialog>
bool withModal(const std::function<void()> &start, const std::function<void(Dialog &)> &work)
{
    bool came = false;
    QTimer::singleShot(0, [&] {
        Dialog *d = modal<Dialog>();
        if (!d) {
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        came = true;
        work(*d);
        if (d->isVisible())
            d->reject();
    });
    start();
    return came;
}

// How many pixels in a small box around p are dark.
int darkAround(const QImage &image, QPoint p, int radius)
{
    int n = 0;
    for (int y = p.y() - radius; y <= p.y() + radius; ++y)
        for (int x = p.x() - radius; x <= p.x() + radius; ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100)
                ++n;
    return n;
}

// With ZARNO_SHOT_DIR set, a picture of the widget goes there to be looked at.
void keepPicture(QWidget &w, const char *name)
{
    if (qEnvironmentVariableIsSet("ZARNO_SHOT_DIR"))
        w.grab().save(QDir(qEnvironmentVariable("ZARNO_SHOT_DIR")).filePath(QLatin1String(name)));
}

class DialogsTest : public ::testing::Test
{
protected:
    DialogsTest()
    {
        QFile::remove(QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                          .filePath(QStringLiteral("zarno.zni")));
        window.resize(900, 700);
        appli = std::make_unique<TAppli>(window);
        base = field().count();
        auto f = std::make_unique<GivenFormulas>();
        formulas = f.get();
        TCalcFormulaDialogFacade::install(std::move(f));
        auto n = std::make_unique<GivenNumbers>();
        numbers = n.get();
        TNumberDialogFacade::install(std::move(n));
        auto t = std::make_unique<GivenTexts>();
        texts = t.get();
        previousTexts = TWritingDialogFacade::install(std::move(t));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    ~DialogsTest() override
    {
        TCalcFormulaDialogFacade::install(nullptr);
        TNumberDialogFacade::install(nullptr);
        TWritingDialogFacade::install(std::move(previousTexts));
        appli.reset();
    }

    TField &field() { return appli->controller().field(); }
    QPoint px(double x, double y) { return appli->screen().modelToPixel({ x, y }); }
    void clickAt(double x, double y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(window.view(), Qt::LeftButton, mods, px(x, y));
    }
    TShapeDot *newPoint(double x, double y)
    {
        appli->tools().pointTool()->setChecked(true);
        clickAt(x, y);
        appli->tools().pointTool()->setChecked(false);
        return dynamic_cast<TShapeDot *>(field().last());
    }
    void drag(double x0, double y0, double x1, double y1)
    {
        QTest::mousePress(window.view(), Qt::LeftButton, Qt::NoModifier, px(x0, y0));
        QTest::mouseMove(window.view(), px((x0 + x1) / 2, (y0 + y1) / 2));
        QTest::mouseMove(window.view(), px(x1, y1));
        QTest::mouseRelease(window.view(), Qt::LeftButton, Qt::NoModifier, px(x1, y1));
    }
    QAction *command(TCommandId id) { return appli->menus().action(id); }
    QImage viewImage() { return window.view()->grab().toImage(); }

    test::ScopedScriptedDialogs dialogs;
    TfrmMain window;
    std::unique_ptr<TAppli> appli;
    GivenFormulas *formulas = nullptr;
    GivenNumbers *numbers = nullptr;
    GivenTexts *texts = nullptr;
    std::unique_ptr<TWritingDialogFacade> previousTexts;
    int base = 0;
};

// ---------------------------------------------------------------- coordinates

TEST_F(DialogsTest, AFreePointTakesAFormulaForXAndCancelLeavesItAsItWas)
{
    TShapeDot *p = newPoint(1, 1);
    ASSERT_NE(p, nullptr);
    clickAt(1, 1);
    ASSERT_TRUE(command(TCommandId::cmdFigureProperty)->isEnabled());

    formulas->answers = { QStringLiteral("2+"), QStringLiteral("3") };
    const bool came
        = withModal<TFrmInputZahyou>([&] { command(TCommandId::cmdFigureProperty)->trigger(); },
            [&](TFrmInputZahyou &d) {
                EXPECT_EQ(d.windowTitle(), QStringLiteral("点の座標の入力"));
                // A free point offers free movement, both checked.
                for (int axis : { 0, 1 }) {
                    EXPECT_FALSE(d.freeBox(axis)->isHidden());
                    EXPECT_TRUE(d.freeBox(axis)->isChecked());
                    EXPECT_FALSE(d.preview(axis)->isEnabled());
                }
                d.preview(0)->click(); // a free coordinate has nothing to edit
                EXPECT_TRUE(formulas->requests.empty());

                d.freeBox(0)->click();
                EXPECT_TRUE(d.preview(0)->isEnabled());
                d.preview(0)->click(); // "2+": OK is refused
                EXPECT_EQ(d.errorFlag(0), 1);
                EXPECT_FALSE(d.okButton()->isEnabled());
                keepPicture(d, "coordinate-error.png");
                d.preview(0)->click(); // "3"
                keepPicture(d, "coordinate.png");
                EXPECT_EQ(d.errorFlag(0), 0);
                EXPECT_TRUE(d.okButton()->isEnabled());
                d.okButton()->click();
            });
    ASSERT_TRUE(came);
    ASSERT_EQ(formulas->requests.size(), 2u);
    EXPECT_EQ(formulas->requests[0].place, QStringLiteral("inputZahyou"));
    EXPECT_EQ(formulas->requests[1].text, QStringLiteral("2+"));
    EXPECT_NEAR(p->getX(), 3, 1e-9);
    EXPECT_NEAR(p->getY(), 1, 0.05);

    // x stays at its formula while a drag moves y.
    drag(3, 1, 4, 2);
    EXPECT_NEAR(p->getX(), 3, 1e-9);
    EXPECT_NEAR(p->getY(), 2, 0.05);

    // A double click opens the dialog too; a cancel keeps the formula 3
    // whatever was chosen in it.
    const double y = p->getY();
    formulas->answers = { QStringLiteral("5") };
    const bool again = withModal<TFrmInputZahyou>(
        [&] { QTest::mouseDClick(window.view(), Qt::LeftButton, Qt::NoModifier, px(3, y)); },
        [&](TFrmInputZahyou &d) {
            EXPECT_FALSE(d.freeBox(0)->isChecked());
            d.preview(0)->click();
            d.freeBox(1)->click(); // y no longer free
            d.reject();
        });
    ASSERT_TRUE(again);
    appli->controller().refreshChanged();
    EXPECT_NEAR(p->getX(), 3, 1e-9);
    drag(3, y, 3.5, y + 1);
    EXPECT_NEAR(p->getX(), 3, 1e-9);
    EXPECT_NEAR(p->getY(), y + 1, 0.05); // y is still free
}

TEST_F(DialogsTest, APointWithShapeFormulasFollowsItsParent)
{
    TShapeDot *a = newPoint(0, 0);
    TShapeDot *b = newPoint(2, 1);
    clickAt(0, 0);
    clickAt(2, 1, Qt::ShiftModifier);
    ASSERT_EQ(appli->model().getSelection().count(), 2);
    QAction *formulaPoint = appli->tools().toolAction(TFiguretype::FIG_shapeVariable2dot);
    ASSERT_TRUE(formulaPoint && formulaPoint->isEnabled());

    formulas->answers = { QStringLiteral("p2.x+1"), QStringLiteral("p2.y") };
    ASSERT_TRUE(withModal<TFrmInputZahyou>([&] { formulaPoint->trigger(); },
        [&](TFrmInputZahyou &d) {
            // Only formulas: no free movement offered.
            EXPECT_TRUE(d.freeBox(0)->isHidden());
            d.preview(0)->click();
            d.preview(1)->click();
            keepPicture(d, "coordinate-shapevalues.png");
            EXPECT_TRUE(d.okButton()->isEnabled());
            d.okButton()->click();
        }));
    auto *q = dynamic_cast<TShapeDot *>(field().last());
    ASSERT_NE(q, nullptr);
    ASSERT_NE(q, b);
    EXPECT_NEAR(q->getX(), b->getX() + 1, 1e-9);
    EXPECT_NEAR(q->getY(), b->getY(), 1e-9);
    EXPECT_NEAR(q->getX(), 3, 0.05);
    drag(2, 1, 3, 2);
    EXPECT_NEAR(q->getX(), b->getX() + 1, 1e-9);
    EXPECT_NEAR(q->getY(), b->getY(), 1e-9);
    EXPECT_NEAR(q->getX(), 4, 0.05);
    (void)a;
}

TEST(CoordinateDialog, FreeMovementIsOfferedOnlyWhereAZahyouMayBeFree)
{
    test::ScopedScriptedDialogs messages;
    struct Case
    {
        std::unique_ptr<TZahyou> (*create)();
        bool offered;
    };
    const Case cases[]
        = { { &TZahyou::createFreeZahyou, true }, { &TZahyou::createFormulaZahyou, false } };
    for (const Case &c : cases) {
        auto zahyou = c.create();
        auto fx = TCalcFormulaFacade::createCalcFormulaFacade();
        auto fy = TCalcFormulaFacade::createCalcFormulaFacade();
        TFrmInputZahyou form;
        bool hidden = !c.offered;
        QTimer::singleShot(0, [&] {
            hidden = form.freeBox(0)->isHidden() && form.freeBox(1)->isHidden();
            form.reject();
        });
        EXPECT_EQ(form.run(*fx, *fy, *zahyou), 2);
        EXPECT_EQ(hidden, !c.offered);
    }
}

// ------------------------------------------------------ display of a read-out

// Labels need the typesetting the program sets up: these run in its window.
TEST_F(DialogsTest, TheReadOutDialogTakesTheChoicesAndCancelRestoresTheName)
{
    GivenTexts *given = texts;
    TZahyouPropertyFacade facade(&window);
    for (const bool ok : { true, false }) {
        TZahyouProperty property;
        given->answers = { QStringLiteral("B") };
        QTimer::singleShot(0, [&] {
            TFrmInputZahyouProperty &d = facade.form();
            EXPECT_EQ(d.windowTitle(), QStringLiteral("座標の表示設定"));
            EXPECT_FALSE(d.isValueMode());
            EXPECT_TRUE(d.valuePreview()->isHidden());
            EXPECT_FALSE(d.group(1)->isHidden());
            d.namePreview()->click();
            d.scaleRadio(1, 1)->click(); // y as a multiple of π
            for (int i = 0; i < 8; ++i)
                d.digits()->stepUp();
            EXPECT_EQ(d.digits()->value(), TZahyouProperty::kMaxDigits);
            keepPicture(d, "zahyouproperty.png");
            ok ? d.okButton()->click() : d.reject();
        });
        EXPECT_EQ(facade.editZahyouProperty(property), ok);
        EXPECT_EQ(property.name().text(), ok ? QStringLiteral("B") : QStringLiteral("A"));
        EXPECT_EQ(
            property.yScaletype, ok ? TZahyouScaletype::zstDoublePi : TZahyouScaletype::zstDouble);
        EXPECT_EQ(property.xScaletype, TZahyouScaletype::zstDouble);
        EXPECT_EQ(property.digits, ok ? 5 : 1);
    }
}

TEST_F(DialogsTest, TheValueDisplayDialogEditsFormulaFormAndDigits)
{
    TZahyouPropertyFacade facade(&window);
    auto name = TWriting::createTextWriting();
    name->setText(QStringLiteral("L"));
    auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
    for (const bool ok : { true, false }) {
        TValueDisplay value { name.get(), QStringLiteral("0"), TZahyouScaletype::zstDouble, 2 };
        formulas->answers = { QStringLiteral("pi/3") };
        QTimer::singleShot(0, [&] {
            TFrmInputZahyouProperty &d = facade.form();
            EXPECT_EQ(d.windowTitle(), QStringLiteral("形の属性を使った式の表示設定"));
            EXPECT_FALSE(d.valuePreview()->isHidden());
            EXPECT_TRUE(d.group(1)->isHidden());
            EXPECT_EQ(d.group(0)->title(), QStringLiteral("数値の種類"));
            d.valuePreview()->click();
            d.scaleRadio(0, 2)->click(); // degrees
            d.digits()->stepDown();
            d.digits()->stepDown(); // stops at 1
            keepPicture(d, "valueproperty.png");
            ok ? d.okButton()->click() : d.reject();
        });
        EXPECT_EQ(facade.editValue(*calc, value), ok ? 1 : 2);
        ASSERT_FALSE(formulas->requests.empty());
        EXPECT_EQ(formulas->requests.back().place, QStringLiteral("zahyouProperty"));
        EXPECT_TRUE(formulas->requests.back().selectAll); // "0" comes selected
        EXPECT_EQ(value.valueStr, ok ? QStringLiteral("pi/3") : QStringLiteral("0"));
        EXPECT_EQ(value.scaletype, ok ? TZahyouScaletype::zstDegree : TZahyouScaletype::zstDouble);
        EXPECT_EQ(value.digits, ok ? 1 : 2);
    }
}

TEST_F(DialogsTest, AValueLabelMadeWithTheToolShowsTheDistanceAndFollowsADrag)
{
    newPoint(0, 0);
    TShapeDot *b = newPoint(2, 1);
    clickAt(0, 0);
    clickAt(2, 1, Qt::ShiftModifier);
    QAction *valueTool = appli->tools().toolAction(TFiguretype::FIG_shapeVariable2value);
    ASSERT_TRUE(valueTool && valueTool->isEnabled());
    formulas->answers = { QStringLiteral("sqrt((p1.x-p2.x)^2+(p1.y-p2.y)^2)") };
    ASSERT_TRUE(withModal<TFrmInputZahyouProperty>([&] { valueTool->trigger(); },
        [&](TFrmInputZahyouProperty &d) {
            EXPECT_TRUE(d.isValueMode());
            d.valuePreview()->click();
            d.digits()->stepUp(); // two digits
            d.okButton()->click();
        }));
    auto *label = dynamic_cast<TShapeWriting *>(field().last());
    ASSERT_NE(label, nullptr);
    auto *a = static_cast<TShapeDot *>(label->parents().first());
    auto distance = [&] { return std::hypot(b->getX() - a->getX(), b->getY() - a->getY()); };
    EXPECT_EQ(label->writing().text(), QStringLiteral("{A}") + QString::number(distance(), 'f', 2));
    drag(2, 1, 3, -1);
    EXPECT_EQ(label->writing().text(), QStringLiteral("{A}") + QString::number(distance(), 'f', 2));
    EXPECT_NEAR(distance(), std::hypot(3, 1), 0.1);

    // A cancelled edit of the label leaves it as it was.
    const QString before = label->writing().text();
    formulas->answers = { QStringLiteral("p1.x") };
    ASSERT_TRUE(withModal<TFrmInputZahyouProperty>([&] { label->relation()->setupProperty(); },
        [&](TFrmInputZahyouProperty &d) {
            d.valuePreview()->click();
            d.reject();
        }));
    appli->controller().refreshChanged();
    EXPECT_EQ(label->writing().text(), before);
}

// ------------------------------------------------------------ position editor

TEST(PositionEditor, DistanceAndDirectionGiveTheOffset)
{
    struct Case
    {
        T_Direction direction;
        int position;
        TModelPoint mm;
    };
    const Case cases[] = {
        { T_Direction::dirNE, 0, { 5, 5 } },
        { T_Direction::dirN, 0, { 0, 5 } },
        { T_Direction::dirSW, 5, { -2.5, -2.5 } },
        { T_Direction::dirW, 9, { -0.5, 0 } },
        { T_Direction::dirNE, 10, { 0, 0 } },
        { T_Direction::dirS, 10, { 0, 0 } },
        { T_Direction::dirCt, 0, { 0, 0 } },
    };
    for (const Case &c : cases) {
        const TModelPoint o = TCheckInputBoxAddPosition::offsetFor(int(c.direction), c.position);
        EXPECT_DOUBLE_EQ(o.x, c.mm.x) << int(c.direction) << " at " << c.position;
        EXPECT_DOUBLE_EQ(o.y, c.mm.y) << int(c.direction) << " at " << c.position;
    }
}

TEST_F(DialogsTest, ThePositionEditorLoadsALabelsOffsetAndRefusesOneOffItsDirection)
{
    QWidget owner;
    owner.resize(300, 200);
    TCheckInputBoxAddPosition editor(0, &owner);
    editor.layout(QRect(10, 10, 280, 139));
    auto writing = TWriting::createNumberWriting();
    writing->renderBitmap(kColorBlack);
    writing->setDirection(T_Direction::dirSE);
    writing->setOffsetMmXy({ 1.5, -1.5 });
    editor.load(*writing);
    EXPECT_EQ(editor.trackBar()->value(), 7);
    EXPECT_EQ(editor.directions()->itemIndex(), int(T_Direction::dirSE));
    // Moving the slider moves the label at once.
    editor.trackBar()->setValue(0);
    EXPECT_DOUBLE_EQ(writing->getOffsetMmXy().x, 5);
    EXPECT_DOUBLE_EQ(writing->getOffsetMmXy().y, -5);
    editor.finish();

    writing->setOffsetMmXy({ 1, 1 }); // north-east offset, south-east direction
    EXPECT_THROW(editor.load(*writing), ESouteigai);
}

// ------------------------------------------------------------------- axes

TEST_F(DialogsTest, TheAxesDialogSwitchesTheGridOnAndTheScaleToMultiplesOfPi)
{
    command(TCommandId::cmdZahyoujikuToggle)->trigger();
    ASSERT_TRUE(field().isAxesShown());
    auto *axes = dynamic_cast<TShapeZahyoujiku *>(field().axes());
    ASSERT_NE(axes, nullptr);
    // Before: a tick at x = 1, no grid at x = 1/2 (nothing selected, so
    // the axis is drawn thin).
    const QPoint up(0, -2);
    const QImage before = viewImage();
    const QPoint gridProbe = px(0.5, 1.7);
    EXPECT_GT(darkAround(before, px(1, 0) + up, 1), 0);
    EXPECT_EQ(darkAround(before, px(1.25, 0) + up, 1), 0);
    EXPECT_EQ(before.pixel(gridProbe), qRgb(255, 255, 255));

    // Cancel first: nothing changes.
    const auto half = [](TWriting &w) { w.setRationalNumber("1", "2", w.pt()); };
    const auto halfPi = [](TWriting &w) { w.setRationalNumberPi("1", "2", w.pt()); };
    for (const bool ok : { false, true }) {
        numbers->scripts = { half, half, halfPi, halfPi };
        appli->controller().addToSelection(axes->parts().item(TShapeZahyoujiku::XAxis));
        ASSERT_TRUE(command(TCommandId::cmdFigureProperty)->isEnabled());
        ASSERT_TRUE(withModal<TFrmZahyoujikuProperty>(
            [&] { command(TCommandId::cmdFigureProperty)->trigger(); },
            [&](TFrmZahyoujikuProperty &d) {
                EXPECT_EQ(d.windowTitle(), QStringLiteral("座標軸の設定"));
                for (int axis : { 0, 1 }) {
                    TCheckInputBox &grid = d.axeInput(axis).row(2);
                    EXPECT_EQ(grid.checkBox()->text(),
                        axis == 0 ? QStringLiteral("格子線(&5)") : QStringLiteral("格子線(&6)"));
                    EXPECT_FALSE(grid.checkBox()->isChecked());
                    EXPECT_FALSE(grid.preview()->isEnabled());
                    grid.checkBox()->click();
                    EXPECT_TRUE(grid.preview()->isEnabled());
                    grid.preview()->click();
                }
                EXPECT_EQ(d.axeInput(1).row(1).label()->text(), QStringLiteral("間隔(<u>T</u>)"));
                // Alt+S and Alt+T: the scales' number dialogs.
                QTest::keyClick(&d, Qt::Key_S, Qt::AltModifier);
                QTest::keyClick(&d, Qt::Key_T, Qt::AltModifier);
                EXPECT_TRUE(numbers->scripts.empty());
                keepPicture(d, "axes-dialog.png");
                ok ? d.btnOk()->click() : d.btnCancel()->click();
            }));
        EXPECT_EQ(numbers->asked, ok ? 8 : 4);
        clickAt(2.7, 2.3); // nothing there: the selection goes
        ASSERT_TRUE(appli->model().getSelection().isEmpty());
        const QImage after = viewImage();
        const TWriting &scale = axes->property().axe(0).scaleInterval();
        const TWriting &grid = axes->property().axe(1).gridlineInterval();
        if (!ok) {
            EXPECT_EQ(after.pixel(gridProbe), qRgb(255, 255, 255));
            EXPECT_FALSE(grid.view());
            EXPECT_EQ(scale.numberMode(), TNumberMode::nmRational);
            EXPECT_NEAR(scale.value(1), 1, 1e-12);
            EXPECT_GT(darkAround(after, px(1, 0) + up, 1), 0);
            continue;
        }
        EXPECT_TRUE(grid.view());
        EXPECT_NEAR(grid.value(1), 0.5, 1e-12);
        EXPECT_NEAR(scale.value(1), M_PI / 2, 1e-12);
        // A grey grid line at x = 1/2 and at y = 1/2, ticks at π/2 and not at 1.
        const QRgb g = after.pixel(gridProbe);
        EXPECT_NE(g, qRgb(255, 255, 255));
        EXPECT_EQ(qRed(g), qGreen(g));
        EXPECT_NE(after.pixel(px(1.7, 0.5)), qRgb(255, 255, 255));
        EXPECT_GT(darkAround(after, px(M_PI / 2, 0) + up, 1), 0);
        EXPECT_EQ(darkAround(after, px(1, 0) + up, 1), 0);
        EXPECT_GT(darkAround(after, px(0, M_PI / 2) + QPoint(2, 0), 1), 0);
        if (qEnvironmentVariableIsSet("ZARNO_SHOT_DIR"))
            after.save(QDir(qEnvironmentVariable("ZARNO_SHOT_DIR")).filePath("axes-after.png"));
    }
}

// -------------------------------------------------------------- shape list

TEST_F(DialogsTest, TheShapeListFollowsTheSelectionBothWays)
{
    TFormViewShapeList &list = appli->shapeList().form();
    QAction *toggle = command(TCommandId::cmdFigureList);
    ASSERT_TRUE(toggle->isEnabled());
    // Room on the screen's right for the list beside the window.
    window.setGeometry(0, 0, 420, 500);
    EXPECT_FALSE(list.isVisible());
    const QRect frame = window.frameGeometry();
    toggle->trigger();
    ASSERT_TRUE(list.isVisible());
    EXPECT_EQ(list.windowTitle(), QStringLiteral("図形リスト"));
    EXPECT_EQ(list.x(), frame.right() + 1);
    EXPECT_EQ(list.y(), frame.top());
    EXPECT_GE(list.width(), TFormViewShapeList::kMinWidth);

    // Of the axes only the origin and the two axis lines are listed; their
    // labels, unit points and the output area are not.
    command(TCommandId::cmdZahyoujikuToggle)->trigger();
    ASSERT_EQ(list.list()->count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(list.shapeAt(i)->getFView2list());
    EXPECT_EQ(list.shapeAt(0)->guidanceName(), QStringLiteral("原点"));
    TShapeDot *p1 = newPoint(-1, -1);
    TShapeDot *p2 = newPoint(1, -1);
    ASSERT_EQ(list.list()->count(), 5);
    EXPECT_EQ(list.shapeAt(3), p1);
    EXPECT_EQ(list.list()->item(4)->text(), QStringLiteral("点 : ") + p2->guidanceName());
    EXPECT_EQ(list.list()->item(4)->data(Qt::UserRole + 1).toString(), QStringLiteral("#4点"));

    // A row checked: its shape is selected and the tools follow.
    appli->controller().addToSelection(nullptr); // ignored
    clickAt(3, 3); // nothing selected
    ASSERT_TRUE(appli->model().getSelection().isEmpty());
    list.list()->item(3)->setCheckState(Qt::Checked);
    EXPECT_TRUE(p1->getFSelected());
    EXPECT_TRUE(command(TCommandId::cmdFigureProperty)->isEnabled());
    list.list()->item(4)->setCheckState(Qt::Checked);
    EXPECT_EQ(appli->model().getSelection().count(), 2);
    EXPECT_TRUE(appli->tools().toolAction(TFiguretype::FIG_senbun)->isEnabled());
    list.list()->item(3)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(p1->getFSelected());
    EXPECT_TRUE(p2->getFSelected());

    // A shape selected in the field: its row is checked, the others not.
    clickAt(-1, -1);
    EXPECT_EQ(list.list()->item(3)->checkState(), Qt::Checked);
    EXPECT_EQ(list.list()->item(4)->checkState(), Qt::Unchecked);

    // Deleting: the row goes, and the rest are numbered anew.
    const QString secondNumber = list.list()->item(4)->data(Qt::UserRole + 1).toString();
    command(TCommandId::cmdDelete)->trigger();
    ASSERT_EQ(list.list()->count(), 4);
    EXPECT_EQ(list.shapeAt(3), p2);
    EXPECT_NE(list.list()->item(3)->data(Qt::UserRole + 1).toString(), secondNumber);
    EXPECT_EQ(list.list()->item(3)->data(Qt::UserRole + 1).toString(), p2->noAndShapetypeString());

    // Its own popup holds the shape commands.
    EXPECT_EQ(list.popupMenu()->actions().size(), 3);

    // Closing unchecks the command; the width is kept for the next showing.
    list.resize(320, list.height());
    list.closeButton()->click();
    EXPECT_FALSE(list.isVisible());
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(TXmlIniFile::formPositionAndSize(QStringLiteral("viewShapeList"))
                  .readInteger(QStringLiteral("width"), 0),
        320);
    toggle->trigger();
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(list.width(), 320);
}

TEST_F(DialogsTest, TheShapeListStaysInsideTheScreensRightEdge)
{
    TFormViewShapeList &list = appli->shapeList().form();
    QAction *toggle = command(TCommandId::cmdFigureList);
    toggle->setChecked(true);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    list.place(toggle, area.right() - 100, 300, area.top() + 10);
    EXPECT_TRUE(list.isVisible());
    EXPECT_GE(list.width(), TFormViewShapeList::kMinWidth);
    EXPECT_LE(list.frameGeometry().right(), area.right());
    toggle->setChecked(false);
    list.place(toggle, 0, 300, 0);
    EXPECT_FALSE(list.isVisible());
}

} // namespace
