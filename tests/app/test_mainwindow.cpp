// The real main window, driven offscreen as a user would: tools, menus,
// the delete question, the zoom sliders and the single-instance start.
#include "app/appli.h"
#include "app/figureactionmanager.h"
#include "app/interimfunctiondialog.h"
#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/logic/model.h"
#include "app/mainwindow.h"
#include "app/menuactionmanager.h"
#include "app/singleinstance.h"
#include "graphs/shapefunction.h"
#include "model/shapedot.h"
#include "persist/loadsave.h"
#include "render/displayadapter.h"
#include "render/field.h"
#include "support/scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest()
    {
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

TEST_F(MainWindowTest, DeleteAsksAboutChildrenAndNoKeepsThem)
{
    appli->tools().pointTool()->setChecked(true);
    clickAt(-1, 0);
    clickAt(1, 0);
    tool(TFiguretype::FIG_senbun)->trigger();
    clickAt(-1, 0); // select the first point alone
    ASSERT_EQ(appli->model().getSelection().count(), 1);
    QAction *del = appli->menus().action(cmdDelete);
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
    EXPECT_EQ(appli->menus().action(cmdOpen)->shortcut(), QKeySequence(Qt::Key_O));
    EXPECT_EQ(appli->menus().action(cmdNewFile)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_TRUE(appli->menus().action(cmdFixFieldToggle)->isChecked());
    // The figure menu holds the groups whose constructions exist.
    QStringList groups;
    for (QAction *a : appli->menus().figureMenu()->actions())
        groups << a->text();
    EXPECT_TRUE(groups.contains(QStringLiteral("直線(&L)")));
    EXPECT_TRUE(groups.contains(QStringLiteral("円(&C)")));
    EXPECT_EQ(appli->tools().menuAction(TFiguretype::FIG_line_1tenHeikou)->text(),
        QStringLiteral("点1を通り, 直線1に平行な直線(&2)"));
    // What the program cannot do yet is present and disabled.
    EXPECT_FALSE(appli->menus().action(cmdSaveGraphicfile)->isEnabled());
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

TEST_F(MainWindowTest, AGraphThroughTheInterimDialogFollowsItsOrigin)
{
    appli->tools().pointTool()->setChecked(true);
    clickAt(0, 0);
    QAction *graphTool = tool(TFiguretype::FIG_function);
    ASSERT_TRUE(graphTool->isEnabled());
    bool sawError = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        auto *d = static_cast<TInterimFunctionDialog *>(dialog);
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
        QTest::keyClicks(d->formulaEdit(), QStringLiteral("x^2-"));
        sawError = !d->okButton()->isEnabled() && !d->messageLabel()->text().isEmpty();
        EXPECT_GT(inks().first, 20);
        EXPECT_GT(inks().second, 5);
        QTest::keyClicks(d->formulaEdit(), QStringLiteral("2"));
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

TEST(SingleInstance, ASecondStartIsRefusedAndWakesTheFirst)
{
    const QString name = QStringLiteral("zarno_test_%1").arg(QCoreApplication::applicationPid());
    TSingleInstance first(name);
    int woken = 0;
    first.onActivate = [&] { ++woken; };
    ASSERT_TRUE(first.claim());
    TSingleInstance second(name);
    EXPECT_FALSE(second.claim());
    QTest::qWait(200);
    EXPECT_EQ(woken, 1);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
