// Dragging the image output area through the controller: a corner drags
// its neighbours along, an edge drags the whole area, and a hidden area is
// not there to be picked.
#include "interaction_fixture.h"
#include "model/shapeline.h"
#include "render/printarea.h"

#include <gtest/gtest.h>

using namespace zarno;

namespace {

class PrintAreaDragTest : public test::InteractionTest
{
protected:
    PrintAreaDragTest()
        : InteractionTest(true)
    { }

    TShapePrintArea &area() { return static_cast<TShapePrintArea &>(*field().printArea()); }
    TModelPoint corner(int i) { return area().corner(i).getXY(); }
    // The model point the controller gets for the pixel of (x, y).
    TModelPoint seen(double x, double y)
    {
        const QPoint p = px(x, y);
        return screen.pixelToModel(p.x(), p.y());
    }
    // The model offset of a drag from (x0, y0) to (x1, y1), in whole pixels.
    TModelPoint dragOffset(double x0, double y0, double x1, double y1)
    {
        const TModelPoint a = seen(x0, y0), b = seen(x1, y1);
        return { b.x - a.x, b.y - a.y };
    }
};

void expectNear(const TModelPoint &actual, const TModelPoint &expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

} // namespace

TEST_F(PrintAreaDragTest, ANewDocumentHoldsTheAreaHidden)
{
    ASSERT_NE(field().printArea(), nullptr);
    EXPECT_EQ(field().count(), 9);
    EXPECT_EQ(field().last(), field().printArea());
    EXPECT_FALSE(field().isPrintAreaShown());
    EXPECT_FALSE(window.checked.value(TCommandId::cmdPrintAreaToggle, true));
    controller->executeAction(TCommandId::cmdPrintAreaToggle, true);
    EXPECT_TRUE(area().isShown());
    EXPECT_TRUE(field().isModified());
}

TEST_F(PrintAreaDragTest, DraggingACornerKeepsTheAreaRectangular)
{
    controller->executeAction(TCommandId::cmdPrintAreaToggle, true);
    field().clearChanged();
    // The default area nearly fills the 640 × 480 view: drags stay inside it.
    const TModelPoint d = dragOffset(4, 3, 3.5, 2);
    drag(4, 3, 3.5, 2);
    expectNear(corner(0), { 4 + d.x, 3 + d.y });
    expectNear(corner(1), { 4 + d.x, -3 });
    expectNear(corner(2), { -4, -3 });
    expectNear(corner(3), { -4, 3 + d.y });
    EXPECT_TRUE(field().isChanged());
    // The edges were recomputed by the redraw: 41H runs along the new top.
    EXPECT_NEAR(area().edge(3).rawDistance({ 0, 3 + d.y }, { 0, 0 }), 0, 1e-9);

    // Then the opposite corner, the other way.
    const TModelPoint e = dragOffset(-4, -3, -3, -2.5);
    drag(-4, -3, -3, -2.5);
    expectNear(corner(2), { -4 + e.x, -3 + e.y });
    expectNear(corner(1), { 4 + d.x, -3 + e.y });
    expectNear(corner(3), { -4 + e.x, 3 + d.y });
    const TModelViewRect r = area().modelRect();
    EXPECT_NEAR(r.right - r.left, 8 + d.x - e.x, 1e-9);
    EXPECT_NEAR(r.top - r.bottom, 6 + d.y - e.y, 1e-9);
}

TEST_F(PrintAreaDragTest, DraggingAnEdgeSelectsAllFourAndMovesTheWholeArea)
{
    controller->executeAction(TCommandId::cmdPrintAreaToggle, true);
    press(4, 0); // on edge 12V
    release(4, 0);
    ASSERT_EQ(selection().count(), 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(selection().contains(&area().edge(k)));

    const TModelPoint d = dragOffset(4, 0, 2.5, -0.5);
    drag(4, 0, 2.5, -0.5);
    const TModelPoint initial[4] = { { 4, 3 }, { 4, -3 }, { -4, -3 }, { -4, 3 } };
    for (int i = 0; i < 4; ++i)
        expectNear(corner(i), { initial[i].x + d.x, initial[i].y + d.y });
    EXPECT_EQ(selection().count(), 4);
}

TEST_F(PrintAreaDragTest, AHiddenAreaIsNotPickedAndTheDragScrollsTheField)
{
    controller->executeAction(TCommandId::cmdFixFieldToggle, false);
    const TModelPoint centre = field().getCenterXy();
    press(4, 3);
    release(4, 3);
    EXPECT_TRUE(selection().isEmpty());
    drag(4, 3, 3, 2);
    EXPECT_NE(field().getCenterXy(), centre);
    expectNear(corner(0), { 4, 3 });
    expectNear(corner(1), { 4, -3 });
}

TEST_F(PrintAreaDragTest, ADragOfAUserPointAlongWithTheAreaMovesNothing)
{
    controller->executeAction(TCommandId::cmdPrintAreaToggle, true);
    TShapeDot *dot = clickPoint(0, 0);
    press(4, 0, ssShift); // the edges join the point in the selection
    release(4, 0);
    ASSERT_EQ(selection().count(), 5);
    drag(0, 0, 1, 1);
    expectNear(dot->getXY(), { 0, 0 });
    expectNear(corner(0), { 4, 3 });
}

TEST_F(PrintAreaDragTest, AnExportHidesTheAreaAndUnselectsThenPutsBoth)
{
    controller->executeAction(TCommandId::cmdPrintAreaToggle, true);
    press(4, 0);
    release(4, 0);
    // Everything comes back also when the export fails half-way.
    try {
        const TExportScope exporting(model);
        EXPECT_FALSE(area().isShown());
        EXPECT_FALSE(area().edge(0).getFSelected());
        throw std::runtime_error("disk full");
    } catch (const std::runtime_error &) { }
    EXPECT_TRUE(area().isShown());
    EXPECT_TRUE(area().edge(0).getFSelected());
    EXPECT_EQ(selection().count(), 4);
}
