#include "interaction_fixture.h"
#include "model/modelscale.h"
#include "model/parentnil2dot.h"
#include "model/shapedot.h"
#include "model/shapeline.h"

#include <array>
#include <cmath>

using namespace zarno;
using namespace zarno::test;

namespace {

TEST_F(InteractionTest, ANewDocumentIsReadyAndFixed)
{
    EXPECT_TRUE(model.isReady());
    EXPECT_TRUE(field().getFFixField());
    EXPECT_TRUE(window.checked.value(TCommandId::cmdFixFieldToggle));
    EXPECT_EQ(window.title, QStringLiteral("zarno - "));
    EXPECT_FALSE(field().isChanged());
    EXPECT_EQ(px(0, 0), QPoint(320, 240));
}

TEST_F(InteractionTest, CtrlClickMakesSelectedFreePointsAndShiftKeepsThem)
{
    TShapeDot *a = clickPoint(1, 1);
    EXPECT_EQ(a->getFigureType(), TFiguretype::FIG_dotOnField);
    EXPECT_NEAR(a->getX(), 1, 0.02);
    EXPECT_EQ(selection().count(), 1);
    TShapeDot *b = clickPoint(-1, 2, true);
    EXPECT_EQ(selection().count(), 2);
    EXPECT_TRUE(a->getFSelected() && b->getFSelected());
    // Two points enable the two-point constructions.
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_senbun));
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_circle));
    EXPECT_FALSE(window.enabledTools.contains(TFiguretype::FIG_gaisetsuen));
}

TEST_F(InteractionTest, ThePointToolBuildsUpASelectionOfNewPoints)
{
    window.pointToolDown = true;
    for (int i = 0; i < 3; ++i) {
        press(i, 0);
        release(i, 0);
    }
    EXPECT_EQ(selection().count(), 3);
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_gaisetsuen));
    // Near an existing point the tool makes nothing and selects nothing more.
    press(1.02, 0);
    release(1.02, 0);
    EXPECT_EQ(field().count(), 3);
    EXPECT_EQ(selection().count(), 3);
}

TEST_F(InteractionTest, PressingEmptyFieldClearsTheSelectionEvenWithShift)
{
    clickPoint(1, 1);
    for (unsigned shift : { 0u, unsigned(ssShift) }) {
        press(1, 1);
        release(1, 1);
        ASSERT_FALSE(selection().isEmpty());
        press(-3, -3, shift);
        release(-3, -3);
        EXPECT_TRUE(selection().isEmpty()) << shift;
    }
}

TEST_F(InteractionTest, CtrlClickNearLinesMakesNothingWhilePointsOnLinesDoNotExist)
{
    TShapeDot *a = clickPoint(-2, 0);
    clickPoint(2, 0, true);
    construct(TFiguretype::FIG_line);
    TShapeDot *c = clickPoint(0, -2);
    clickPoint(0, 2, true);
    construct(TFiguretype::FIG_line);
    const int before = field().count();
    press(1, 0.02, ssCtrl); // near one line
    release(1, 0.02);
    press(0, 0, ssCtrl); // where two lines cross
    release(0, 0);
    EXPECT_EQ(field().count(), before);
    press(-2, 0.01, ssCtrl); // near a point: neither creates nor selects it
    release(-2, 0.01);
    EXPECT_EQ(field().count(), before);
    EXPECT_FALSE(a->getFSelected());
    EXPECT_FALSE(c->getFSelected());
}

TEST_F(InteractionTest, DraggingAFreePointAndALineThroughTwoFreePoints)
{
    TShapeDot *a = clickPoint(-1, 0);
    TShapeDot *b = clickPoint(1, 0, true);
    auto *line = static_cast<TShapeLine *>(construct(TFiguretype::FIG_senbun));
    EXPECT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().first(), line);

    drag(-1, 0, -1, 1); // the point a
    EXPECT_NEAR(a->getY(), 1, 0.03);
    EXPECT_NEAR(b->getY(), 0, 1e-12);

    const TModelPoint a0 = a->getXY(), b0 = b->getXY();
    drag(0, 0.5, 0.5, -0.5); // the segment, between its points
    EXPECT_NEAR(a->getX() - a0.x, 0.5, 0.03);
    EXPECT_NEAR(a->getY() - a0.y, -1, 0.03);
    EXPECT_NEAR(b->getX() - b0.x, a->getX() - a0.x, 1e-12);
    EXPECT_NEAR(b->getY() - b0.y, a->getY() - a0.y, 1e-12);
    EXPECT_TRUE(line->isDrawable());
    EXPECT_EQ(model.mouseStatus(), TMouseStatus::msUp);
    EXPECT_EQ(model.drawStatus(), TCurrentDrawStatus::Ordinary);
}

TEST_F(InteractionTest, ALineThroughAPointWithAFormulaXMovesThatPointInYOnly)
{
    TShapeDot *a = clickPoint(-1, 0);
    TShapeDot *b = clickPoint(1, 0, true);
    construct(TFiguretype::FIG_senbun);
    auto *relation = static_cast<TParentSomething2dot *>(b->relation());
    relation->zahyou().setFXfree(false);
    relation->zahyou().setXstr(QStringLiteral("1"));
    relation->prepareFormulas();
    const TModelPoint a0 = a->getXY();
    drag(0, 0, 0.5, 1);
    EXPECT_NEAR(a->getX() - a0.x, 0.5, 0.03);
    EXPECT_NEAR(a->getY() - a0.y, 1, 0.03);
    EXPECT_NEAR(b->getX(), 1, 1e-12); // the formula holds x
    EXPECT_NEAR(b->getY(), a->getY() - a0.y, 1e-12); // y went along
}

TEST_F(InteractionTest, TheFixedFieldDoesNotScrollAndTheFreeOneDoes)
{
    clickPoint(1, 1);
    field().clearChanged();
    drag(-3, -3, -2, -3); // empty drag on the fixed field
    EXPECT_EQ(field().getCenterXy(), (TModelPoint { 0, 0 }));
    EXPECT_FALSE(field().isChanged());

    controller->executeAction(TCommandId::cmdFixFieldToggle, false);
    EXPECT_FALSE(field().getFFixField());
    EXPECT_TRUE(field().isChanged());
    drag(-3, -3, -2, -3);
    // The figure moved with the cursor: the centre moved the other way.
    EXPECT_NEAR(field().getCenterXy().x, -1, 0.03);
    EXPECT_NEAR(field().getCenterXy().y, 0, 0.03);
}

TEST_F(InteractionTest, DeleteAsksOnlyWhenThereAreChildren)
{
    TShapeDot *a = clickPoint(0, 0);
    clickPoint(1, 1);
    const int before = field().count();
    controller->executeAction(TCommandId::cmdDelete); // a lone point
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_EQ(field().count(), before - 1);

    press(0, 0);
    release(0, 0);
    clickPoint(2, 0, true);
    construct(TFiguretype::FIG_line);
    press(0, 0);
    release(0, 0);
    ASSERT_EQ(selection().first(), a);
    dialogs->answers.push_back(TModalResult::mrNo);
    controller->executeAction(TCommandId::cmdDelete);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.first().text,
        QStringLiteral("選択された形には子図形があります。\r\n全部削除しますか？"));
    EXPECT_EQ(dialogs->shown.first().buttons, unsigned(mbYes | mbNo));
    EXPECT_EQ(field().count(), before + 1);
    EXPECT_TRUE(a->getFSelected());

    dialogs->answers.push_back(TModalResult::mrYes);
    controller->executeAction(TCommandId::cmdDelete);
    EXPECT_EQ(field().count(), before - 1); // the point and the line through it
    EXPECT_TRUE(selection().isEmpty());
}

TEST_F(InteractionTest, ZoomDoublesAtHalfAndSpringsBackWithoutScaling)
{
    const TModelPoint mm0 = field().getMmPerModel1();
    controller->zoomControl(TZoomControl::zcBoth, 0.5);
    EXPECT_NEAR(field().getMmPerModel1().x, 2 * mm0.x, 1e-9);
    EXPECT_NEAR(field().getMmPerModel1().y, 2 * mm0.y, 1e-9);
    controller->zoomControl(TZoomControl::zcBoth, 0);
    EXPECT_NEAR(field().getMmPerModel1().x, 2 * mm0.x, 1e-9);
    controller->zoomControl(TZoomControl::zcHorizontal, 0.5); // horizontal only, from the new scale
    EXPECT_NEAR(field().getMmPerModel1().x, 4 * mm0.x, 1e-9);
    EXPECT_NEAR(field().getMmPerModel1().y, 2 * mm0.y, 1e-9);
}

TEST_F(InteractionTest, StatusReadOutAndMovesOutsideTheView)
{
    moveTo(1.5, -0.25);
    EXPECT_EQ(window.status, QStringLiteral("( 1.50, -0.25 )"));
    controller->mouse(
        TMouseKind::mkMove, TMouseButton::mbLeft, 0, 700, 100); // beyond the 640-pixel view
    EXPECT_EQ(window.status, QStringLiteral("( 1.50, -0.25 )"));
}

// A click at a pixel, and a point made there by Ctrl+click.
void clickAt(TController &controller, int x, int y, unsigned shift = 0)
{
    controller.mouse(TMouseKind::mkPress, TMouseButton::mbLeft, shift, x, y);
    controller.mouse(TMouseKind::mkRelease, TMouseButton::mbLeft, 0, x, y);
}

TEST_F(InteractionTest, OfTwoPointsWithinReachAClickPicksTheNearerWhateverTheirOrder)
{
    // A point is within reach up to 11 pixels (6, and 5 more for points
    // over other shapes). The click is 3 pixels from one point and 9 from
    // the other, so both are candidates; which was made first must not matter.
    for (bool nearerFirst : { true, false }) {
        const int cx = nearerFirst ? 200 : 400, cy = 200;
        const QPoint nearer(cx + 3, cy), farther(cx - 9, cy);
        TShapeDot *first = nullptr, *second = nullptr;
        const std::array<QPoint, 2> order
            = nearerFirst ? std::array { nearer, farther } : std::array { farther, nearer };
        for (QPoint p : order) {
            clickAt(*controller, p.x(), p.y(), ssCtrl);
            (first ? second : first) = static_cast<TShapeDot *>(field().last());
        }
        ASSERT_NE(first, second);
        TShapeDot *expected = nearerFirst ? first : second;
        clickAt(*controller, cx, cy);
        ASSERT_EQ(selection().count(), 1) << nearerFirst;
        EXPECT_EQ(selection().first(), expected) << nearerFirst;
    }
}

TEST_F(InteractionTest, WithUnequalScalesThePickRadiusFollowsTheFinerAxis)
{
    // x drawn four times as large as y: a model unit along x covers four times
    // the pixels. A point's reach is 11 pixels along the finer axis (x), so
    // along the compressed one (y) it is under 3 pixels: 10 pixels away along
    // y is out of reach, 10 along x within.
    controller->zoomControl(TZoomControl::zcHorizontal, 0.5);
    controller->zoomControl(TZoomControl::zcHorizontal, 0);
    controller->zoomControl(TZoomControl::zcHorizontal, 0.5);
    ASSERT_NEAR(field().getMmPerModel1().x, 4 * field().getMmPerModel1().y, 1e-9);
    clickAt(*controller, 320, 240, ssCtrl);
    TShapeDot *dot = static_cast<TShapeDot *>(field().last());
    const QPoint at = px(dot->getX(), dot->getY());
    clickAt(*controller, 600, 40); // a new point is selected: start from none
    ASSERT_TRUE(selection().isEmpty());
    struct Case
    {
        int dx, dy;
        bool picked;
    } cases[] = { { 10, 0, true }, { -10, 0, true }, { 12, 0, false }, { 0, 10, false },
        { 0, -10, false }, { 0, 3, false }, { 0, 2, true }, { 0, -2, true } };
    for (const Case &c : cases) {
        clickAt(*controller, at.x() + c.dx, at.y() + c.dy);
        EXPECT_EQ(selection().contains(dot), c.picked) << c.dx << ", " << c.dy;
        clickAt(*controller, 600, 40); // empty field: clears the selection
        ASSERT_TRUE(selection().isEmpty());
    }
}

TEST_F(InteractionTest, AtBothEndsOfTheZoomPointsArePickedTheFieldScrollsAndTheReadOutHolds)
{
    controller->executeAction(TCommandId::cmdFixFieldToggle, false);
    for (double direction : { -1.0, 1.0 }) {
        for (int i = 0; i < 60; ++i) {
            controller->zoomControl(TZoomControl::zcBoth, direction);
            controller->zoomControl(TZoomControl::zcBoth, 0);
        }
        const double limit
            = direction < 0 ? TModelScale::kMinMmPerModel1 : TModelScale::kMaxMmPerModel1;
        ASSERT_EQ(field().getMmPerModel1(), (TModelPoint { limit, limit })) << direction;

        // A point made by Ctrl+click lands under the cursor and is picked there.
        clickAt(*controller, 300, 200, ssCtrl);
        auto *dot = static_cast<TShapeDot *>(field().last());
        EXPECT_LE((px(dot->getX(), dot->getY()) - QPoint(300, 200)).manhattanLength(), 1)
            << direction;
        clickAt(*controller, 600, 40);
        ASSERT_TRUE(selection().isEmpty());
        clickAt(*controller, 302, 201);
        EXPECT_TRUE(selection().contains(dot)) << direction;

        // Dragging the empty field scrolls: the point follows the cursor.
        controller->mouse(TMouseKind::mkPress, TMouseButton::mbLeft, 0, 100, 400);
        controller->mouse(TMouseKind::mkMove, TMouseButton::mbLeft, 0, 120, 410);
        controller->mouse(TMouseKind::mkMove, TMouseButton::mbLeft, 0, 140, 420);
        controller->mouse(TMouseKind::mkRelease, TMouseButton::mbLeft, 0, 140, 420);
        EXPECT_LE((px(dot->getX(), dot->getY()) - QPoint(340, 220)).manhattanLength(), 1)
            << direction;

        // The read-out shows finite numbers.
        controller->mouse(TMouseKind::mkMove, TMouseButton::mbLeft, 0, 10, 10);
        EXPECT_TRUE(window.status.startsWith(QStringLiteral("( "))) << window.status.toStdString();
        EXPECT_FALSE(window.status.contains(QStringLiteral("inf"), Qt::CaseInsensitive));
        EXPECT_FALSE(window.status.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
    }
}

TEST_F(InteractionTest, RightPressOnTheSelectionShowsThePopup)
{
    clickPoint(1, 1);
    press(1, 1, 0, TMouseButton::mbRight);
    EXPECT_EQ(window.popups, 1);
    press(-2, -2, 0, TMouseButton::mbRight);
    EXPECT_EQ(window.popups, 1);
    EXPECT_TRUE(selection().isEmpty());
    // The application key opens it at the cursor.
    press(1, 1);
    release(1, 1);
    window.cursor = px(1, 1);
    controller->key(TKeyKind::kkDown, QChar(), 0, kApplicationKey);
    EXPECT_EQ(window.popups, 2);
}

// The popup menu takes the release of a right press, so the moves that
// follow come with the button up: they must not drag or scroll.
TEST_F(InteractionTest, ARightPressStartsNoDrag)
{
    TShapeDot *p = clickPoint(1, 1);
    const TModelPoint p0 = p->getXY();
    press(1, 1, 0, TMouseButton::mbRight);
    ASSERT_EQ(window.popups, 1);
    moveTo(2, 2);
    moveTo(3, 1);
    EXPECT_EQ(p->getXY(), p0);

    controller->executeAction(TCommandId::cmdFixFieldToggle, false);
    press(-3, -3, 0, TMouseButton::mbRight); // nothing there: the selection goes
    moveTo(-2, -3);
    EXPECT_EQ(field().getCenterXy(), (TModelPoint { 0, 0 }));
    EXPECT_EQ(model.mouseStatus(), TMouseStatus::msMoving);
}

// The property command follows the selection's common property type: a
// point alone opens its coordinates, two shapes open nothing.
TEST_F(InteractionTest, PropertyCommandsFollowTheWholeSelection)
{
    clickPoint(1, 1);
    EXPECT_EQ(window.propertyType, TPropertyType::DotCoordinates);
    clickPoint(2, 1, true);
    EXPECT_EQ(selection().count(), 2);
    EXPECT_EQ(window.propertyType, TPropertyType::None);
    EXPECT_TRUE(window.deleteEnabled);
    press(-3, -3);
    release(-3, -3);
    EXPECT_EQ(window.propertyType, TPropertyType::None);
    EXPECT_FALSE(window.deleteEnabled);
    press(2, 1); // the second point alone
    release(2, 1);
    EXPECT_EQ(window.propertyType, TPropertyType::DotCoordinates);
}

TEST_F(InteractionTest, AConstructionBecomesTheOnlySelectionAndReleasesThePointTool)
{
    clickPoint(0, 0);
    clickPoint(1, 0, true);
    clickPoint(0, 1, true);
    window.pointToolDown = true;
    TShape *circle = construct(TFiguretype::FIG_gaisetsuen);
    EXPECT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().first(), circle);
    EXPECT_FALSE(window.pointToolDown);
    EXPECT_TRUE(circle->getFSelected());
    EXPECT_EQ(circle->guidanceName(), QStringLiteral("#0点 ,#1点 ,#2点 を通る円"));
}

TEST_F(InteractionTest, InputIsIgnoredWhileNotAccepted)
{
    controller->setAcceptInput(false);
    press(1, 1, ssCtrl);
    EXPECT_EQ(field().count(), 0);
    controller->setAcceptInput(true);
}

TEST_F(InteractionTest, ClosingAChangedDocumentAsks)
{
    EXPECT_TRUE(controller->closeQuery()); // unchanged: no question
    EXPECT_TRUE(dialogs->shown.isEmpty());
    clickPoint(1, 1);
    dialogs->answers.push_back(TModalResult::mrCancel);
    EXPECT_FALSE(controller->closeQuery());
    EXPECT_EQ(dialogs->shown.last().text, QStringLiteral("変更を保存しますか。"));
    EXPECT_EQ(dialogs->shown.last().caption, QStringLiteral("zarnoファイルを保存"));
    dialogs->answers.push_back(TModalResult::mrNo);
    EXPECT_TRUE(controller->closeQuery());
}

TEST_F(InteractionTest, DroppedFilesThatCannotBeOpened)
{
    controller->openDroppedFiles({ QStringLiteral("/tmp/a.ZNT") });
    EXPECT_EQ(dialogs->shown.last().text,
        QStringLiteral("zarnoで開くことのできるファイルではありません。"));
    EXPECT_EQ(dialogs->shown.last().caption, QStringLiteral("zarno"));
}

} // namespace
