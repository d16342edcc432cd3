// Undo and redo through the controller: every kind of change is taken back
// to the very bytes of the document before it and brought back to the
// bytes after it.
#include "base/penbrush.h"
#include "interaction_fixture.h"
#include "model/dialogfacades.h"
#include "model/guidancename.h"
#include "model/zahyou.h"
#include "persist/zarnofile.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>

using namespace zarno;
using namespace zarno::test;

namespace {

// Stands in for the coordinate dialog: edits the zahyou and answers OK.
class ScriptedZahyouDialog : public TZahyouDialogFacade
{
public:
    std::function<void(TZahyou &)> script;
    int editZahyou(TCalcFormulaFacade &, TCalcFormulaFacade &, TZahyou &zahyou) override
    {
        script(zahyou);
        return mrOk;
    }
};

class UndoTest : public InteractionTest
{
public:
    // The table of changes below drives the fixture from outside.
    using InteractionTest::clickPoint;
    using InteractionTest::construct;
    using InteractionTest::controller;
    using InteractionTest::dialogs;
    using InteractionTest::model;
    using InteractionTest::press;
    using InteractionTest::release;
    using InteractionTest::selection;

    UndoTest()
        : InteractionTest(true)
    { }
    ~UndoTest() override { TZahyouDialogFacade::install(nullptr); }

protected:
    // The document exactly as a save writes it.
    QByteArray documentBytes()
    {
        const QString path = dir.filePath(QStringLiteral("undo.znt"));
        TDocumentWriter::write(controller->document(), path);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    const TUndoHistory &history() { return controller->history(); }
    void undo() { controller->executeAction(TCommandId::cmdUndo); }
    void redo() { controller->executeAction(TCommandId::cmdRedo); }

public:
    // A drag in many small moves, as the mouse sends them.
    void slowDrag(double x0, double y0, double x1, double y1)
    {
        press(x0, y0);
        for (int i = 1; i <= 10; ++i)
            moveTo(x0 + (x1 - x0) * i / 10, y0 + (y1 - y0) * i / 10);
        release(x1, y1);
    }
    void segment()
    {
        clickPoint(-2, 1);
        clickPoint(2, 1, true);
        construct(TFiguretype::FIG_senbun);
    }

protected:
    QTemporaryDir dir;
};

struct EditKind
{
    const char *name;
    std::function<void(UndoTest &)> prepare;
    std::function<void(UndoTest &)> edit;
};

void PrintTo(const EditKind &kind, std::ostream *out)
{
    *out << kind.name;
}

// The changes a user makes, each after what it needs.
namespace does {
void point(UndoTest &t)
{
    t.clickPoint(1, 1);
}
void twoPoints(UndoTest &t)
{
    t.clickPoint(-1, 0);
    t.clickPoint(1, 0, true);
}
void threePoints(UndoTest &t)
{
    twoPoints(t);
    t.clickPoint(0, 1.5, true);
}
void segment(UndoTest &t)
{
    t.segment();
}
void pointWithChildrenSelected(UndoTest &t)
{
    t.segment();
    t.press(-2, 1);
    t.release(-2, 1);
    t.dialogs->answers.push_back(TModalResult::mrYes); // delete the children too
}
void pointAndCoordinatesDialog(UndoTest &t)
{
    point(t);
    auto dialog = std::make_unique<ScriptedZahyouDialog>();
    dialog->script = [](TZahyou &z) {
        z.setFXfree(false);
        z.setXstr(QStringLiteral("sqrt(2)"));
    };
    TZahyouDialogFacade::install(std::move(dialog));
}
void penColour(UndoTest &t)
{
    // The pen-brush bar reaches the model directly, outside any action of
    // the controller: the change becomes its own step before the next one.
    TPenBrush source;
    source.copyFrom(t.selection().first()->penBrush());
    source.setPenColor(0x0000FF);
    t.model.applyPenBrush(source);
}
auto command(TCommandId id, bool checked = false)
{
    return [id, checked](UndoTest &t) { t.controller->executeAction(id, checked); };
}
auto construction(TFiguretype type)
{
    return [type](UndoTest &t) { t.construct(type); };
}
auto slowDrag(double x0, double y0, double x1, double y1)
{
    return [=](UndoTest &t) { t.slowDrag(x0, y0, x1, y1); };
}
void nothing(UndoTest &) { }
} // namespace does

const EditKind kKinds[] = {
    { "PointByCtrlClick", does::nothing, does::point },
    { "Segment", does::twoPoints, does::construction(TFiguretype::FIG_senbun) },
    { "Circumcircle", does::threePoints, does::construction(TFiguretype::FIG_gaisetsuen) },
    { "DeleteWithChildren", does::pointWithChildrenSelected, does::command(TCommandId::cmdDelete) },
    { "DragAPoint", does::point, does::slowDrag(1, 1, 2.5, -0.5) },
    { "DragASegmentByItsPoints", does::segment, does::slowDrag(0, 1, 1, -1) },
    { "CoordinatesInThePropertyDialog", does::pointAndCoordinatesDialog,
        does::command(TCommandId::cmdFigureProperty) },
    { "PenColour", does::segment, does::penColour },
    { "OutputAreaShown", does::nothing, does::command(TCommandId::cmdPrintAreaToggle, true) },
    { "OutputAreaCornerDragged", does::command(TCommandId::cmdPrintAreaToggle, true),
        does::slowDrag(4, 3, 3.5, 2) },
    { "FieldUnfixed", does::nothing, does::command(TCommandId::cmdFixFieldToggle, false) },
};

class UndoEachKind : public UndoTest, public ::testing::WithParamInterface<EditKind>
{
};

TEST_P(UndoEachKind, UndoGivesTheBytesBeforeAndRedoTheBytesAfter)
{
    GetParam().prepare(*this);
    const int steps = history().undoCount();
    const QByteArray before = documentBytes();
    GetParam().edit(*this);
    const QByteArray after = documentBytes();
    ASSERT_NE(before, after) << "the edit changed nothing";

    undo();
    EXPECT_EQ(documentBytes(), before);
    EXPECT_EQ(history().undoCount(), steps) << "the change was not one step";
    EXPECT_TRUE(window.enabled.value(TCommandId::cmdRedo));
    redo();
    EXPECT_EQ(documentBytes(), after);
    EXPECT_EQ(history().undoCount(), steps + 1);
    EXPECT_FALSE(window.enabled.value(TCommandId::cmdRedo));
    // And the same once more, from the document put back by undo.
    undo();
    EXPECT_EQ(documentBytes(), before);
    redo();
    EXPECT_EQ(documentBytes(), after);
}

INSTANTIATE_TEST_SUITE_P(Changes, UndoEachKind, ::testing::ValuesIn(kKinds),
    [](const ::testing::TestParamInfo<EditKind> &info) { return std::string(info.param.name); });

TEST_F(UndoTest, TheCommandsAreOfferedOnlyWhenThereIsSomethingToUndoOrRedo)
{
    EXPECT_FALSE(window.enabled.value(TCommandId::cmdUndo, true));
    EXPECT_FALSE(window.enabled.value(TCommandId::cmdRedo, true));
    undo(); // nothing to undo: nothing happens
    redo();
    EXPECT_EQ(field().count(), 9); // the hidden output area
    clickPoint(0, 0);
    EXPECT_TRUE(window.enabled.value(TCommandId::cmdUndo));
    EXPECT_FALSE(window.enabled.value(TCommandId::cmdRedo));
    undo();
    EXPECT_FALSE(window.enabled.value(TCommandId::cmdUndo));
    EXPECT_TRUE(window.enabled.value(TCommandId::cmdRedo));
    EXPECT_EQ(field().count(), 9);
}

TEST_F(UndoTest, ANewChangeAfterUndoDropsWhatCouldBeRedone)
{
    clickPoint(0, 0);
    clickPoint(1, 1);
    undo();
    EXPECT_TRUE(history().canRedo());
    clickPoint(-1, -1);
    EXPECT_FALSE(history().canRedo());
    EXPECT_FALSE(window.enabled.value(TCommandId::cmdRedo));
    redo(); // nothing to redo
    EXPECT_EQ(field().count(), 11);
    undo();
    undo();
    EXPECT_EQ(field().count(), 9);
}

TEST_F(UndoTest, ADragIsOneStepAndUndoWaitsForTheButton)
{
    TShapeDot *p = clickPoint(1, 1);
    const TModelPoint start = p->getXY();
    const int steps = history().undoCount();
    press(1, 1);
    for (int i = 1; i <= 5; ++i)
        moveTo(1 + 0.2 * i, 1);
    undo(); // while the button is held nothing is taken back
    EXPECT_NEAR(p->getX(), 2, 0.03);
    EXPECT_EQ(history().undoCount(), steps);
    for (int i = 1; i <= 5; ++i)
        moveTo(2, 1 - 0.2 * i);
    release(2, 0);
    EXPECT_EQ(history().undoCount(), steps + 1);
    undo();
    ASSERT_EQ(selection().count(), 0); // the shapes are new: nothing is selected
    const auto *back = static_cast<const TShapeDot *>(field().last());
    EXPECT_EQ(back->getXY().x, start.x);
    EXPECT_EQ(back->getXY().y, start.y);
}

TEST_F(UndoTest, UndoBackToTheSavedStateClearsTheChangedMark)
{
    clickPoint(0, 0);
    controller->document().setDocumentName(dir.filePath(QStringLiteral("saved.znt")));
    controller->executeAction(TCommandId::cmdSave);
    ASSERT_FALSE(field().isChanged());
    const QByteArray saved = documentBytes();
    drag(0, 0, 1, 1);
    clickPoint(2, 2);
    EXPECT_TRUE(field().isChanged());
    undo();
    EXPECT_TRUE(field().isChanged());
    undo();
    EXPECT_FALSE(field().isChanged());
    EXPECT_EQ(documentBytes(), saved);
    EXPECT_TRUE(controller->closeQuery());
    EXPECT_TRUE(dialogs->shown.isEmpty()); // nothing to ask about
    undo(); // before the save: changed again
    EXPECT_TRUE(field().isChanged());
    redo();
    EXPECT_FALSE(field().isChanged());
    redo();
    EXPECT_TRUE(field().isChanged());
}

TEST_F(UndoTest, ASaveInTheMiddleOfADragMakesNoStateTheSavedOne)
{
    clickPoint(0, 0);
    controller->document().setDocumentName(dir.filePath(QStringLiteral("dragging.znt")));
    press(0, 0);
    moveTo(0.5, 0.5);
    controller->executeAction(TCommandId::cmdSave); // Ctrl+S with the button down
    moveTo(1, 1);
    release(1, 1);
    EXPECT_TRUE(field().isChanged());
    undo(); // before the drag: not what the file holds
    EXPECT_TRUE(field().isChanged());
    redo();
    EXPECT_TRUE(field().isChanged());
}

TEST_F(UndoTest, TheHistoryKeepsTheLastHundredSteps)
{
    EXPECT_EQ(history().limits().maxSteps, 100);
    EXPECT_EQ(history().limits().maxBytes, 64 * 1048576);
    for (int i = 0; i < 103; ++i)
        clickPoint(-5 + 0.1 * i, (i % 5) * 0.5);
    EXPECT_EQ(history().undoCount(), 100);
    while (history().canUndo())
        undo();
    EXPECT_EQ(field().count(), 9 + 3); // the first three points stay
}

TEST_F(UndoTest, ViewChangesAreNoStepsAndUndoKeepsTheView)
{
    controller->executeAction(TCommandId::cmdFixFieldToggle, false);
    const int steps = history().undoCount();
    drag(-3, -3, -2, -2); // an empty drag scrolls the free field
    controller->zoomControl(TZoomControl::zcBoth, 0.5);
    controller->executeAction(TCommandId::cmdScale1_1);
    EXPECT_EQ(history().undoCount(), steps);
    const TModelPoint centre = field().getCenterXy(), mm = field().getMmPerModel1();
    ASSERT_NE(centre.x, 0);
    ASSERT_NE(mm.x, 20);

    undo(); // the field is fixed again, seen as it is now
    EXPECT_TRUE(field().getFFixField());
    EXPECT_TRUE(window.checked.value(TCommandId::cmdFixFieldToggle));
    EXPECT_EQ(field().getCenterXy(), centre);
    EXPECT_EQ(field().getMmPerModel1(), mm);
}

TEST_F(UndoTest, ANewDocumentOrAnOpenedOneStartsWithoutHistory)
{
    clickPoint(0, 0);
    controller->document().setDocumentName(dir.filePath(QStringLiteral("one.znt")));
    controller->executeAction(TCommandId::cmdSave);
    clickPoint(1, 1);
    controller->openFile(dir.filePath(QStringLiteral("one.znt")));
    EXPECT_FALSE(history().canUndo());
    EXPECT_FALSE(window.enabled.value(TCommandId::cmdUndo, true));
    clickPoint(1, 1);
    dialogs->answers.push_back(TModalResult::mrNo); // do not save
    controller->executeAction(TCommandId::cmdNewFile);
    EXPECT_FALSE(history().canUndo());
    EXPECT_FALSE(history().canRedo());
    // A file that cannot be read leaves the document and its history alone.
    clickPoint(1, 1);
    dialogs->answers.clear();
    controller->openFile(dir.filePath(QStringLiteral("missing.znt")));
    EXPECT_TRUE(history().canUndo());
}

TEST_F(UndoTest, TheFigurePutBackIsAliveAndItsNamesStayAutomatic)
{
    TShapeDot *p0 = clickPoint(-3, 0);
    segment();
    drag(-3, 0, -3, 1);
    undo();
    // The restored point 0 is deleted: the segment's points are numbered
    // anew, and its name follows them as it would have without the undo.
    press(-3, 0);
    release(-3, 0);
    ASSERT_EQ(selection().count(), 1);
    EXPECT_NE(selection().first(), p0);
    controller->executeAction(TCommandId::cmdDelete);
    TShape *seg = field().last();
    ASSERT_EQ(seg->getFigureType(), TFiguretype::FIG_senbun);
    EXPECT_EQ(seg->guidanceName(),
        TParents2Children::guidanceNameCreator()->nameFor(TFiguretype::FIG_senbun, seg->parents()));
    EXPECT_TRUE(seg->guidanceName().contains(QStringLiteral("#0")))
        << seg->guidanceName().toStdString();
    // Dragging a point moves the segment.
    drag(2, 1, 2, 2);
    EXPECT_NEAR(static_cast<TShapeDot *>(seg->parents().last())->getY(), 2, 0.03);
    EXPECT_TRUE(seg->isDrawable());
}

} // namespace
