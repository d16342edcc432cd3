// The real main window, driven offscreen as a user would: tools, menus,
// the delete question, the zoom sliders and the single-instance start.
#include "app/appli.h"
#include "app/figureactionmanager.h"
#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/logic/model.h"
#include "app/mainwindow.h"
#include "app/menuactionmanager.h"
#include "app/savegraphicfiledialog.h"
#include "app/singleinstance.h"
#include "app/splash.h"
#include "app/zarnoapplication.h"
#include "dialogs/frmformula.h"
#include "graphs/shapefunction.h"
#include "labels/shapewriting.h"
#include "model/field.h"
#include "model/shapedot.h"
#include "persist/loadsave.h"
#include "render/displayadapter.h"
#include "support/scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

// Where the user sees a slider's thumb along the slider, in pixels: the
// middle of the rows (or columns) across which the picture is wider than
// the groove.
double thumbAt(QSlider *slider)
{
    const QImage image = slider->grab().toImage();
    const bool vertical = slider->orientation() == Qt::Vertical;
    const int along = vertical ? image.height() : image.width();
    const int across = vertical ? image.width() : image.height();
    const QRgb background = image.pixel(0, 0);
    double sum = 0;
    int n = 0;
    for (int i = 0; i < along; ++i) {
        int ink = 0;
        for (int j = 0; j < across; ++j) {
            const QRgb p = vertical ? image.pixel(j, i) : image.pixel(i, j);
            ink += std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background))
                    + std::abs(qBlue(p) - qBlue(background))
                > 6;
        }
        if (3 * ink > 2 * across) {
            sum += i;
            ++n;
        }
    }
    return n > 0 ? sum / n : -1;
}

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest()
    {
        // Every test starts as a first start, also when the tests share a
        // process and so a settings folder.
        QFile::remove(QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                          .filePath(QStringLiteral("zarno.zni")));
        window.resize(900, 700);
        appli = std::make_unique<TAppli>(window);
        base = field().count(); // a new document already holds the hidden output area
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    ~MainWindowTest() override { appli.reset(); }

    TField &field() { return appli->controller().field(); }
    QPoint px(double x, double y) { return appli->screen().modelToPixel({ x, y }); }
    void clickAt(double x, double y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(window.view(), Qt::LeftButton, mods, px(x, y));
    }
    QAction *tool(TFiguretype t) { return appli->tools().toolAction(t); }

    test::ScopedScriptedDialogs dialogs;
    TfrmMain window;
    std::unique_ptr<TAppli> appli;
    int base = 0;
};

TEST_F(MainWindowTest, ThePointToolMakesPointsAndTheToolsFollowTheSelection)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("zarno - "));
    EXPECT_FALSE(tool(TFiguretype::FIG_senbun)->isEnabled());
    appli->tools().pointTool()->setChecked(true);
    clickAt(-1, 0);
    ASSERT_EQ(field().count(), base + 1);
    clickAt(1, 0);
    EXPECT_EQ(appli->model().getSelection().count(), 2);
    for (TFiguretype t : { TFiguretype::FIG_line, TFiguretype::FIG_senbun,
             TFiguretype::FIG_hanCyokusen, TFiguretype::FIG_arrow, TFiguretype::FIG_circle }) {
        EXPECT_TRUE(tool(t)->isEnabled()) << TEnumConverter<TFiguretype>::name(t).toStdString();
        EXPECT_TRUE(appli->tools().menuAction(t)->isEnabled());
    }
    EXPECT_FALSE(tool(TFiguretype::FIG_gaisetsuen)->isEnabled());
    clickAt(0, 1);
    EXPECT_TRUE(tool(TFiguretype::FIG_gaisetsuen)->isEnabled());
    EXPECT_FALSE(tool(TFiguretype::FIG_senbun)->isEnabled());

    tool(TFiguretype::FIG_gaisetsuen)->trigger();
    EXPECT_EQ(field().count(), base + 4);
    EXPECT_EQ(field().last()->getFigureType(), TFiguretype::FIG_gaisetsuen);
    EXPECT_FALSE(appli->tools().pointTool()->isChecked()); // the point tool is up again
    EXPECT_EQ(appli->model().getSelection().first(), field().last());
}

TEST_F(MainWindowTest, ThePenBrushListsFollowTheSelectionAndAChoiceRecolorsIt)
{
    QToolBar *bar = window.penBrushToolbar();
    auto *colour = bar->findChild<QComboBox *>(QStringLiteral("cbePenColor"));
    auto *width = bar->findChild<QComboBox *>(QStringLiteral("cbePenWidth"));
    auto *brush = bar->findChild<QComboBox *>(QStringLiteral("cbeBrushStyle"));
    ASSERT_TRUE(colour && width && brush);
    EXPECT_EQ(bar->findChildren<QComboBox *>().size(), 7);
    EXPECT_FALSE(colour->isEnabled()); // nothing selected
    appli->tools().pointTool()->setChecked(true);
    clickAt(-1, 0);
    clickAt(1, 0);
    tool(TFiguretype::FIG_senbun)->trigger();
    TShape *segment = field().last();
    ASSERT_EQ(appli->model().getSelection().first(), segment);
    EXPECT_TRUE(colour->isEnabled());
    EXPECT_EQ(colour->currentIndex(), 0); // black
    EXPECT_EQ(width->currentText(), QStringLiteral("極細線"));
    EXPECT_FALSE(brush->isEnabled()); // a segment has no brush

    // The user picks red: what the list's activation does.
    colour->setCurrentIndex(1);
    emit colour->activated(1);
    EXPECT_EQ(segment->penBrush().getPenColor(), kColorRed);
    EXPECT_EQ(colour->currentIndex(), 1);
    EXPECT_TRUE(appli->menus().action(TCommandId::cmdUndo)->isEnabled());
}

TEST_F(MainWindowTest, DeleteAsksAboutChildrenAndNoKeepsThem)
{
    appli->tools().pointTool()->setChecked(true);
    clickAt(-1, 0);
    clickAt(1, 0);
    tool(TFiguretype::FIG_senbun)->trigger();
    clickAt(-1, 0); // select the first point alone
    ASSERT_EQ(appli->model().getSelection().count(), 1);
    QAction *del = appli->menus().action(TCommandId::cmdDelete);
    EXPECT_TRUE(del->isEnabled());
    dialogs->answers.push_back(TModalResult::mrNo);
    QTest::keyClick(window.view(), Qt::Key_Delete);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.first().text,
        QStringLiteral("選択された形には子図形があります。\r\n全部削除しますか？"));
    EXPECT_EQ(field().count(), base + 3);
    dialogs->answers.push_back(TModalResult::mrYes);
    del->trigger();
    EXPECT_EQ(field().count(), base + 1);
}

TEST_F(MainWindowTest, ZoomSlidersLinkedUnlinkedAndCtrlShiftL)
{
    const TModelPoint mm0 = field().getMmPerModel1();
    EXPECT_TRUE(window.linkBox()->isChecked());
    window.horizontalZoom()->setValue(60); // linked: both directions, the other slider mirrored
    EXPECT_EQ(window.verticalZoom()->value(), -60);
    EXPECT_NEAR(field().getMmPerModel1().x, 2 * mm0.x, 1e-9);
    EXPECT_NEAR(field().getMmPerModel1().y, 2 * mm0.y, 1e-9);
    window.horizontalZoom()->onRelease();
    EXPECT_EQ(window.horizontalZoom()->value(), 0);
    EXPECT_NEAR(field().getMmPerModel1().x, 2 * mm0.x, 1e-9);

    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(window.linkBox()->isChecked());
    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier); // Ctrl+L alone does nothing
    EXPECT_FALSE(window.linkBox()->isChecked());
    window.horizontalZoom()->setValue(60); // unlinked: horizontal only
    EXPECT_EQ(window.verticalZoom()->value(), 0);
    EXPECT_NEAR(field().getMmPerModel1().x, 4 * mm0.x, 1e-9);
    EXPECT_NEAR(field().getMmPerModel1().y, 2 * mm0.y, 1e-9);
}

TEST_F(MainWindowTest, EachSliderEnlargesTowardsItsOwnEnlargeEnd)
{
    TZoomSlider *h = window.horizontalZoom();
    TZoomSlider *v = window.verticalZoom();
    const double hMiddle = thumbAt(h), vMiddle = thumbAt(v);
    ASSERT_GT(hMiddle, 0);
    ASSERT_GT(vMiddle, 0);
    const TModelPoint mm0 = field().getMmPerModel1();

    // Linked: the vertical thumb dragged up (拡大) enlarges both ways, and
    // the horizontal thumb shows it at its right (拡大) end.
    const QPoint grip(v->width() / 2, int(vMiddle));
    QTest::mousePress(v, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(v, grip - QPoint(0, 60));
    QTest::mouseMove(v, grip - QPoint(0, 120));
    EXPECT_LT(thumbAt(v), vMiddle - 100);
    EXPECT_GT(thumbAt(h), hMiddle + 50);
    EXPECT_GT(field().getMmPerModel1().x, 1.2 * mm0.x);
    EXPECT_GT(field().getMmPerModel1().y, 1.2 * mm0.y);
    QTest::mouseRelease(v, Qt::LeftButton, Qt::NoModifier, grip - QPoint(0, 120));
    EXPECT_EQ(v->value(), 0);
    EXPECT_NEAR(thumbAt(v), vMiddle, 1);
    EXPECT_NEAR(thumbAt(h), hMiddle, 1);
    const TModelPoint mm1 = field().getMmPerModel1();
    EXPECT_GT(mm1.y, 1.2 * mm0.y); // the scale stays

    // The arrow keys the same way: Right on the horizontal slider moves the
    // vertical thumb up, Up on the vertical one the horizontal thumb right.
    struct Case
    {
        TZoomSlider *slider;
        Qt::Key key;
    } cases[] = { { h, Qt::Key_Right }, { v, Qt::Key_Up } };
    for (const Case &c : cases) {
        const TModelPoint before = field().getMmPerModel1();
        c.slider->setFocus();
        QTest::keyPress(c.slider, c.key);
        EXPECT_GT(thumbAt(h), hMiddle) << c.key;
        EXPECT_LT(thumbAt(v), vMiddle) << c.key;
        EXPECT_GT(field().getMmPerModel1().x, before.x) << c.key;
        EXPECT_GT(field().getMmPerModel1().y, before.y) << c.key;
        QTest::keyRelease(c.slider, c.key);
        EXPECT_EQ(c.slider->value(), 0);
    }

    // Unlinked: Up on the vertical slider enlarges vertically only.
    window.linkBox()->setChecked(false);
    const TModelPoint before = field().getMmPerModel1();
    QTest::keyPress(v, Qt::Key_Up);
    EXPECT_LT(thumbAt(v), vMiddle);
    EXPECT_NEAR(thumbAt(h), hMiddle, 1);
    EXPECT_EQ(field().getMmPerModel1().x, before.x);
    EXPECT_GT(field().getMmPerModel1().y, before.y);
    QTest::keyRelease(v, Qt::Key_Up);
}

TEST_F(MainWindowTest, AClickOnTheGrooveOrTheWheelAlsoEndsWithTheSliderBackAtNought)
{
    TZoomSlider *h = window.horizontalZoom();
    TZoomSlider *v = window.verticalZoom();
    const double hMiddle = thumbAt(h), vMiddle = thumbAt(v);
    struct Case
    {
        const char *what;
        std::function<void()> act;
    } cases[] = {
        { "click near the right end of the horizontal groove",
            [&] {
                QTest::mouseClick(
                    h, Qt::LeftButton, Qt::NoModifier, QPoint(h->width() - 20, h->height() / 2));
            } },
        { "click near the top of the vertical groove",
            [&] {
                QTest::mouseClick(v, Qt::LeftButton, Qt::NoModifier, QPoint(v->width() / 2, 20));
            } },
        { "wheel up on the vertical slider",
            [&] {
                const QPointF at(v->width() / 2.0, vMiddle);
                QWheelEvent wheel(at, v->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(v, &wheel);
            } },
    };
    for (const Case &c : cases) {
        const TModelPoint before = field().getMmPerModel1();
        c.act();
        EXPECT_EQ(h->value(), 0) << c.what;
        EXPECT_EQ(v->value(), 0) << c.what;
        EXPECT_NEAR(thumbAt(h), hMiddle, 1) << c.what;
        EXPECT_NEAR(thumbAt(v), vMiddle, 1) << c.what;
        // Each moved towards 拡大: the view stays enlarged.
        EXPECT_GT(field().getMmPerModel1().x, before.x) << c.what;
        EXPECT_GT(field().getMmPerModel1().y, before.y) << c.what;
    }
}

TEST_F(MainWindowTest, MenusAndCommandsAreThereInJapanese)
{
    QStringList top;
    for (QAction *a : window.menuBar()->actions())
        top << a->text();
    EXPECT_EQ(top,
        (QStringList { QStringLiteral("ファイル(&F)"), QStringLiteral("図形(&P)"),
            QStringLiteral("編集(&E)"), QStringLiteral("表示(&V)"),
            QStringLiteral("モード切替(&M)"), QStringLiteral("設定(&S)"),
            QStringLiteral("ヘルプ(&H)") }));
    EXPECT_EQ(appli->menus().action(TCommandId::cmdOpen)->shortcut(), QKeySequence(Qt::Key_O));
    EXPECT_EQ(appli->menus().action(TCommandId::cmdNewFile)->shortcut(),
        QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_TRUE(appli->menus().action(TCommandId::cmdFixFieldToggle)->isChecked());
    // The figure menu holds the groups whose constructions exist.
    QStringList groups;
    for (QAction *a : appli->menus().figureMenu()->actions())
        groups << a->text();
    EXPECT_TRUE(groups.contains(QStringLiteral("直線(&L)")));
    EXPECT_TRUE(groups.contains(QStringLiteral("円(&C)")));
    EXPECT_EQ(appli->tools().menuAction(TFiguretype::FIG_line_1tenHeikou)->text(),
        QStringLiteral("点1を通り, 直線1に平行な直線(&2)"));
    // Erasing a locus waits for a locus mark to be selected.
    EXPECT_FALSE(appli->menus().action(TCommandId::cmdEraseTrace)->isEnabled());
    EXPECT_TRUE(appli->menus().action(TCommandId::cmdSaveGraphicfile)->isEnabled());
}

TEST_F(MainWindowTest, ALocusMarkSelectedOffersTheEraseCommand)
{
    appli->tools().pointTool()->setChecked(true);
    clickAt(-1, 0);
    ASSERT_TRUE(tool(TFiguretype::FIG_tracer)->isEnabled());
    tool(TFiguretype::FIG_tracer)->trigger();
    ASSERT_EQ(field().last()->getFigureType(), TFiguretype::FIG_tracer);
    QAction *erase = appli->menus().action(TCommandId::cmdEraseTrace);
    EXPECT_EQ(erase->text(), QStringLiteral("軌跡消去(&E)"));
    EXPECT_TRUE(erase->isEnabled());
    EXPECT_TRUE(erase->isVisible());
    EXPECT_FALSE(appli->menus().action(TCommandId::cmdFigureProperty)->isEnabled());
    clickAt(3, 2); // nothing there: the selection goes
    EXPECT_FALSE(erase->isEnabled());
}

TEST_F(MainWindowTest, CtrlZUndoesAndCtrlYOrCtrlShiftZRedoes)
{
    QAction *undo = appli->menus().action(TCommandId::cmdUndo);
    QAction *redo = appli->menus().action(TCommandId::cmdRedo);
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U)"));
    EXPECT_EQ(redo->text(), QStringLiteral("やり直し(&R)"));
    EXPECT_EQ(redo->shortcuts(),
        (QList<QKeySequence> {
            QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) }));
    auto *edit = window.menuBar()->findChild<QMenu *>(QStringLiteral("mnuEdit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->actions().contains(undo) && edit->actions().contains(redo));
    EXPECT_TRUE(window.commandToolbar()->actions().contains(undo));
    EXPECT_TRUE(window.commandToolbar()->actions().contains(redo));
    EXPECT_FALSE(undo->icon().isNull());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    appli->tools().pointTool()->setChecked(true);
    clickAt(-1, 0);
    clickAt(1, 0);
    ASSERT_EQ(field().count(), base + 2);
    EXPECT_TRUE(undo->isEnabled());
    QTest::keyClick(window.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field().count(), base + 1);
    EXPECT_TRUE(redo->isEnabled());
    QTest::keyClick(window.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field().count(), base);
    EXPECT_FALSE(undo->isEnabled());
    QTest::keyClick(window.view(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(field().count(), base + 1);
    QTest::keyClick(window.view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field().count(), base + 2);
    EXPECT_FALSE(redo->isEnabled());
}

TEST_F(MainWindowTest, TheToolbarCustomisationCanBeCancelled)
{
    QAction *line = tool(TFiguretype::FIG_line);
    ASSERT_TRUE(line->isVisible());
    TfrmCustomizeToolbar *w = appli->tools().customizeWindow();
    QTimer::singleShot(0, w, [w] {
        w->list()->item(1)->setCheckState(Qt::Unchecked);
        w->reject();
    });
    EXPECT_FALSE(appli->tools().customise());
    EXPECT_TRUE(line->isVisible());
    QTimer::singleShot(0, w, [w] {
        for (int i = 0; i < w->list()->count(); ++i)
            if (w->list()->item(i)->text().contains(QStringLiteral("点1,点2を通る直線")))
                w->list()->item(i)->setCheckState(Qt::Unchecked);
        w->accept();
    });
    EXPECT_TRUE(appli->tools().customise());
    EXPECT_FALSE(line->isVisible());
    EXPECT_TRUE(appli->tools().menuAction(TFiguretype::FIG_line)->isVisible()); // still in the menu
}

TEST_F(MainWindowTest, AGraphThroughTheFormulaDialogFollowsItsOrigin)
{
    appli->tools().pointTool()->setChecked(true);
    clickAt(0, 0);
    QAction *graphTool = tool(TFiguretype::FIG_function);
    ASSERT_TRUE(graphTool->isEnabled());
    bool sawError = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        auto *d = dynamic_cast<TFrmFormula *>(dialog);
        ASSERT_NE(d, nullptr);
        // The typeset preview: ink, and red only where the formula breaks off.
        const auto inks = [d] {
            int black = 0, red = 0;
            const QImage &img = d->previewImage();
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb p = img.pixel(x, y);
                    black += qRed(p) < 80 && qGreen(p) < 80 ? 1 : 0;
                    red += qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80 ? 1 : 0;
                }
            return std::make_pair(black, red);
        };
        QTest::keyClicks(d->edit(), QStringLiteral("x^2-"));
        sawError = !d->okButton()->isEnabled() && !d->statusLabel()->text().isEmpty();
        EXPECT_GT(inks().first, 20);
        EXPECT_GT(inks().second, 5);
        QTest::keyClicks(d->edit(), QStringLiteral("2"));
        EXPECT_TRUE(d->okButton()->isEnabled());
        EXPECT_GT(inks().first, 20);
        EXPECT_EQ(inks().second, 0);
        d->okButton()->click();
    });
    graphTool->trigger();
    EXPECT_TRUE(sawError);
    ASSERT_EQ(field().count(), base + 2);
    auto *g = static_cast<TShapeFunction *>(field().last());
    EXPECT_EQ(g->getFigureType(), TFiguretype::FIG_function);
    EXPECT_EQ(g->rawDistance({ 0, -2 }, appli->screen().getModelPerPixel()), 0); // the vertex

    // Drag the origin point: the parabola goes with it.
    auto *origin = static_cast<TShapeDot *>(field().item(base));
    QTest::mousePress(window.view(), Qt::LeftButton, Qt::NoModifier, px(0, 0));
    QTest::mouseMove(window.view(), px(0.5, 0.5));
    QTest::mouseMove(window.view(), px(1, 1));
    QTest::mouseRelease(window.view(), Qt::LeftButton, Qt::NoModifier, px(1, 1));
    EXPECT_NEAR(origin->getX(), 1, 0.03);
    EXPECT_EQ(g->rawDistance({ 1, -1 }, appli->screen().getModelPerPixel()),
        0); // the vertex moved to (1, -1)
    EXPECT_EQ(g->rawDistance({ 0, -2 }, appli->screen().getModelPerPixel()), 100);
}

TEST_F(MainWindowTest, ALabelThroughTheFormulaDialogWithItsTypesetPreview)
{
    appli->tools().pointTool()->setChecked(true);
    clickAt(1, 1);
    auto *point = field().last();
    QAction *labelTool = tool(TFiguretype::FIG_writing);
    ASSERT_TRUE(labelTool->isEnabled());
    bool emptyRefused = false, sawError = false;
    QTimer::singleShot(0, [&] {
        auto *d = dynamic_cast<TFrmFormula *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        const auto inks = [d] {
            int black = 0, red = 0;
            const QImage &img = d->previewImage();
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb p = img.pixel(x, y);
                    black += qRed(p) < 80 && qGreen(p) < 80 ? 1 : 0;
                    red += qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80 ? 1 : 0;
                }
            return std::make_pair(black, red);
        };
        emptyRefused = !d->okButton()->isEnabled();
        QTest::keyClicks(d->edit(), QStringLiteral("\\frac{1}{"));
        sawError = d->hasError() && !d->statusLabel()->text().isEmpty();
        EXPECT_GT(inks().second, 5); // the broken-off rest in red
        QTest::keyClicks(d->edit(), QStringLiteral("2}"));
        EXPECT_FALSE(d->hasError());
        EXPECT_TRUE(d->statusLabel()->text().isEmpty());
        EXPECT_GT(inks().first, 20);
        EXPECT_EQ(inks().second, 0);
        d->sizeBox()->setCurrentIndex(d->sizeBox()->findData(20));
        d->okButton()->click();
    });
    labelTool->trigger();
    EXPECT_TRUE(emptyRefused);
    EXPECT_TRUE(sawError);
    auto *label = dynamic_cast<TShapeWriting *>(field().last());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->writing().text(), QStringLiteral("\\frac{1}{2}"));
    EXPECT_EQ(label->writing().pt(), 20);
    EXPECT_EQ(label->parents().first(), point);

    // Cancelled: nothing more is built.
    clickAt(1, 1);
    const int count = field().count();
    ASSERT_EQ(appli->model().getSelection().first(), point);
    ASSERT_TRUE(labelTool->isEnabled());
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget() != nullptr;
        if (shown)
            QApplication::activeModalWidget()->close();
    });
    labelTool->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(field().count(), count);
}

// Answers the file dialogs with one prepared name each.
class OneNameDialogs : public TFileDialogs
{
public:
    explicit OneNameDialogs(QString name)
        : fName(std::move(name))
    { }
    QString openDialog(const QString &, const QString &) override { return fName; }
    QString saveDialog(const QString &, const QString &, const QString &) override { return fName; }

private:
    QString fName;
};

TEST_F(MainWindowTest, SaveNewOpenBringsTheFigureBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lesson.znt"));
    auto previous = TFileDialogs::install(std::make_unique<OneNameDialogs>(path));
    appli->tools().pointTool()->setChecked(true);
    clickAt(-1, 0);
    clickAt(1, 0);
    clickAt(0, 1);
    tool(TFiguretype::FIG_gaisetsuen)->trigger();
    QTest::keyClick(window.view(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("zarno - lesson.znt"));
    QTest::keyClick(window.view(), Qt::Key_N, Qt::ControlModifier); // saved: no question
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_EQ(field().count(), base);
    QTest::keyClick(window.view(), Qt::Key_O); // the plain O opens
    ASSERT_EQ(field().count(), base + 4);
    EXPECT_EQ(field().last()->getFigureType(), TFiguretype::FIG_gaisetsuen);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("zarno - lesson.znt"));
    TFileDialogs::install(std::move(previous));
}

TEST_F(MainWindowTest, TheWelcomeChoiceIsKeptInTheSettingsAcrossARestart)
{
    EXPECT_TRUE(TfrmTutorial::shouldShowAtStart());
    {
        TfrmTutorial welcome(&window);
        welcome.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&welcome));
        auto *again = welcome.findChild<QCheckBox *>();
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->text(), QStringLiteral("このメッセージを次回起動時に再び表示する。"));
        EXPECT_TRUE(again->isEnabled());
        EXPECT_TRUE(again->isChecked());
        QTest::mouseClick(again, Qt::LeftButton, Qt::NoModifier, QPoint(8, again->height() / 2));
        EXPECT_FALSE(again->isChecked());
        welcome.accept();
    }
    // A clean end writes the settings; the next start reads them.
    appli.reset();
    const QString file = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                             .filePath(QStringLiteral("zarno.zni"));
    EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    appli = std::make_unique<TAppli>(window);
    EXPECT_FALSE(TfrmTutorial::shouldShowAtStart());
    TfrmTutorial welcome(&window);
    EXPECT_FALSE(welcome.showAgain());
    // Checked again, and the choice goes back.
    welcome.findChild<QCheckBox *>()->setChecked(true);
    welcome.accept();
    appli.reset();
    appli = std::make_unique<TAppli>(window);
    EXPECT_TRUE(TfrmTutorial::shouldShowAtStart());
}

TEST_F(MainWindowTest, TheToolbarLayoutTheWindowSizeAndTheFoldersComeBackAfterARestart)
{
    ASSERT_TRUE(appli->tools().isToolbarVertical());
    tool(TFiguretype::FIG_senbun)->setVisible(false);
    appli->tools().setToolbarVertical(false);
    window.resize(777, 555);
    appli->controller().loadSave().lastImageFolder = QStringLiteral("/tmp/画像");
    appli->controller().loadSave().lastDocumentFolder = QStringLiteral("/tmp/図");
    appli.reset();
    window.resize(900, 700); // the size a new window starts with
    appli = std::make_unique<TAppli>(window);
    EXPECT_FALSE(tool(TFiguretype::FIG_senbun)->isVisible());
    EXPECT_TRUE(tool(TFiguretype::FIG_line)->isVisible());
    EXPECT_FALSE(appli->tools().isToolbarVertical());
    EXPECT_EQ(window.size(), QSize(777, 555));
    EXPECT_EQ(appli->controller().loadSave().lastImageFolder, QStringLiteral("/tmp/画像"));
    EXPECT_EQ(appli->controller().loadSave().lastDocumentFolder, QStringLiteral("/tmp/図"));
    // As the other tests expect it.
    tool(TFiguretype::FIG_senbun)->setVisible(true);
    appli->tools().setToolbarVertical(true);
    window.resize(900, 700);
}

TEST(QtTexts, StandardButtonsAndFileDialogsSpeakJapanese)
{
    QTranslator *translator = TZarnoApplication::installQtTranslations();
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text().toStdString(), "はい(&Y)");
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().toStdString(), "キャンセル");
    QFileDialog dialog(nullptr, QString(), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList labels;
    for (QLabel *l : dialog.findChildren<QLabel *>())
        labels << l->text();
    for (QPushButton *b : dialog.findChildren<QPushButton *>())
        labels << b->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("ファイル名(&N):")))
        << labels.join(u' ').toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("保存(&S)"))) << labels.join(u' ').toStdString();
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

TEST(SingleInstance, ASecondStartIsRefusedAndHandsItsDocumentToTheFirst)
{
    const QString name = QStringLiteral("zarno_test_%1").arg(QCoreApplication::applicationPid());
    TSingleInstance first(name);
    QStringList handed;
    first.onActivate = [&](const QString &document) { handed << document; };
    ASSERT_TRUE(first.claim());
    const QString document = QStringLiteral("/tmp/授業 1.znt");
    TSingleInstance second(name);
    EXPECT_FALSE(second.claim(document));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handed.size() == 1; }, 2000));
    TSingleInstance third(name); // no document: it only comes forward
    EXPECT_FALSE(third.claim());
    EXPECT_TRUE(QTest::qWaitFor([&] { return handed.size() == 2; }, 2000));
    EXPECT_EQ(handed, (QStringList { document, QString() }));
}

TEST(SaveGraphicfileDialog, ShowsThePropertyMarksBadValuesAndRefusesThem)
{
    test::ScopedScriptedDialogs messages;
    TGraphicfileProperty property;
    property.scaleType = TGraphicFileScaletype::gstHAxe1;
    property.boxSizeMm = 600; // beyond 500: shown as the maximum
    property.hAxe1_mm = 12;
    property.fontScaleType = TGraphicFileFontScaletype::fstSameAsDisplay;
    QTemporaryDir dir;
    TSaveGraphicfileDialogWidget dialog(
        nullptr, dir.filePath(QStringLiteral("figure.jpg")), property, 53);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("名前を付けて画像ファイルを保存"));
    EXPECT_EQ(dialog.fileDialog()->nameFilters(),
        (QStringList { QStringLiteral("jpeg file (*.jpg)"),
            QStringLiteral("enhanced metafile (*.emf)"), QStringLiteral("svg file (*.svg)"),
            QStringLiteral("pdf file (*.pdf)") }));
    EXPECT_EQ(dialog.boxEdit()->text(), QStringLiteral("500"));
    EXPECT_EQ(dialog.unitEdit()->text(), QStringLiteral("12"));
    EXPECT_TRUE(dialog.unitRadio()->isChecked());
    EXPECT_TRUE(dialog.sameRadio()->isChecked());
    // Only the chosen row's edit takes input.
    EXPECT_FALSE(dialog.boxEdit()->isEnabled());
    EXPECT_TRUE(dialog.unitEdit()->isEnabled());

    // The x-unit range for an 8-unit area is 5…53 mm.
    dialog.unitEdit()->setText(QStringLiteral("54"));
    EXPECT_TRUE(TSaveGraphicfileDialogWidget::markedOutOfRange(dialog.unitEdit()));
    EXPECT_TRUE(dialog.unitEdit()->font().underline());
    EXPECT_FALSE(dialog.validateAndTake());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(
        messages->shown[0].text, QStringLiteral("x 座標の1の長さは5〜53mmでなければなりません。"));
    dialog.unitEdit()->setText(QStringLiteral("20"));
    EXPECT_FALSE(TSaveGraphicfileDialogWidget::markedOutOfRange(dialog.unitEdit()));
    dialog.boxRadio()->setChecked(true);
    dialog.boxEdit()->setText(QStringLiteral("29"));
    EXPECT_FALSE(dialog.validateAndTake());
    EXPECT_EQ(messages->shown.back().text,
        QStringLiteral("正方形の1辺は30〜500mmでなければなりません。"));
    dialog.boxEdit()->setText(QStringLiteral("120"));
    dialog.resizeRadio()->setChecked(true);
    ASSERT_TRUE(dialog.validateAndTake());
    const TGraphicfileProperty taken = dialog.property();
    EXPECT_EQ(taken.scaleType, TGraphicFileScaletype::gstInBox);
    EXPECT_EQ(taken.boxSizeMm, 120);
    EXPECT_EQ(taken.hAxe1_mm, 20);
    EXPECT_EQ(taken.fontScaleType, TGraphicFileFontScaletype::fstResize);

    // Another filter gives the typed name its extension.
    emit dialog.fileDialog()->filterSelected(QStringLiteral("enhanced metafile (*.emf)"));
    auto *name = dialog.fileDialog()->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("figure.emf"));
    if (!qEnvironmentVariableIsEmpty("ZARNO_SHOT_DIR")) {
        dialog.resize(900, 640);
        dialog.grab().save(qEnvironmentVariable("ZARNO_SHOT_DIR") + QStringLiteral("/dialog.png"));
    }
}

TEST(SaveGraphicfileDialog, ATinyUnitRangeHidesTheUnitRow)
{
    test::ScopedScriptedDialogs messages;
    TGraphicfileProperty property; // gstHAxe1
    TSaveGraphicfileDialogWidget dialog(nullptr, QStringLiteral("x.emf"), property, 1);
    EXPECT_TRUE(dialog.boxRadio()->isChecked());
    EXPECT_FALSE(dialog.unitRadio()->isEnabled());
    EXPECT_TRUE(dialog.unitRadio()->isHidden());
    EXPECT_EQ(
        dialog.fileDialog()->selectedNameFilter(), QStringLiteral("enhanced metafile (*.emf)"));
}

} // namespace
