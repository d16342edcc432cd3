#include "app/logic/controller.h"
#include "app/logic/selectionproperties.h"
#include "interaction_fixture.h"

namespace zarno::test {
namespace {

constexpr int kRed = 1; // the colour lists' second item

class SelectionPropertiesTest : public InteractionTest
{
protected:
    TShape *segment(double x0, double y0, double x1, double y1)
    {
        clickPoint(x0, y0);
        clickPoint(x1, y1, true);
        return construct(TFiguretype::FIG_senbun);
    }
    void selectOnly(std::initializer_list<TShape *> shapes)
    {
        model.clearSelection();
        for (TShape *s : shapes)
            model.addToSelection(s);
    }
    TListState state(int list) const { return window.listStates[size_t(list)]; }
    int shown(int list) const { return window.listItems[size_t(list)]; }
};

TEST_F(SelectionPropertiesTest, TwoSegmentsShowTheirCommonValuesAndAChoiceRecolorsBoth)
{
    TShape *a = segment(-3, 1, -1, 1);
    TShape *b = segment(1, -1, 3, -1);
    a->penBrush().setPenColor(TPenBrushLists::color(3)); // blue
    a->penBrush().setPenWidthIndex(2);
    b->penBrush().setPenWidthIndex(2);
    b->penBrush().setPenStyle(TPenStyle::psDash);
    a->penBrush().setPenStyle(TPenStyle::psDash);
    a->changed();
    b->changed();
    selectOnly({ a, b });
    EXPECT_EQ(state(TPenBrush::aPenColor), TListState::Mixed);
    EXPECT_EQ(shown(TPenBrush::aPenColor), -1);
    EXPECT_EQ(state(TPenBrush::aPenWidth), TListState::Common);
    EXPECT_EQ(shown(TPenBrush::aPenWidth), 2); // 太線
    EXPECT_EQ(state(TPenBrush::aPenStyle), TListState::Common);
    EXPECT_EQ(shown(TPenBrush::aPenStyle), 1); // 破線

    const int steps = controller->history().undoCount();
    const int atA = field().indexOf(a);
    controller->choosePenBrushItem(TPenBrush::aPenColor, kRed);
    EXPECT_EQ(a->penBrush().getPenColor(), kColorRed);
    EXPECT_EQ(b->penBrush().getPenColor(), kColorRed);
    // Only the colour: widths and styles are kept.
    EXPECT_EQ(a->penBrush().getPenWidthIndex(), 2);
    EXPECT_EQ(b->penBrush().getPenWidthIndex(), 2);
    EXPECT_EQ(a->penBrush().getPenStyle(), TPenStyle::psDash);
    // The lists follow at once, and the change is one undoable step.
    EXPECT_EQ(state(TPenBrush::aPenColor), TListState::Common);
    EXPECT_EQ(shown(TPenBrush::aPenColor), kRed);
    EXPECT_EQ(shown(TPenBrush::aPenWidth), 2);
    // The edits made above outside any command became a step of their own.
    EXPECT_EQ(controller->history().undoCount(), steps + 2);
    EXPECT_TRUE(field().isChanged());
    controller->executeAction(TCommandId::cmdUndo); // a new field: a and b are gone
    EXPECT_EQ(field().item(atA)->penBrush().getPenColor(), TPenBrushLists::color(3));
}

TEST_F(SelectionPropertiesTest, AnAttributeOneSelectedShapeLacksIsGreyedAndLeftAlone)
{
    TShape *line = segment(-3, 1, -1, 1);
    clickPoint(2, 0);
    clickPoint(3, 0, true);
    TShape *circle = construct(TFiguretype::FIG_circle);
    ASSERT_NE(circle, nullptr);
    // A segment has an outer pen style (its ends beyond the points), a
    // full circle has none; neither has a brush.
    selectOnly({ line, circle });
    EXPECT_EQ(state(TPenBrush::aPenColor), TListState::Common);
    EXPECT_EQ(state(TPenBrush::aOuterPenStyle), TListState::Disabled);
    EXPECT_EQ(state(TPenBrush::aBrushStyle), TListState::Disabled);
    EXPECT_EQ(state(TPenBrush::aViewType), TListState::Common);
    selectOnly({ line });
    EXPECT_NE(state(TPenBrush::aOuterPenStyle), TListState::Disabled);

    // "透明" reaches the segment's outer style; given to both, it leaves the
    // circle, which has none, as it was.
    const TPenStyle circleOuter = circle->penBrush().getOuterPenStyle();
    controller->choosePenBrushItem(TPenBrush::aOuterPenStyle, 5);
    EXPECT_EQ(line->penBrush().getOuterPenStyle(), TPenStyle::psClear);
    selectOnly({ line, circle });
    controller->choosePenBrushItem(TPenBrush::aOuterPenStyle, 1); // 破線
    EXPECT_EQ(line->penBrush().getOuterPenStyle(), TPenStyle::psDash);
    EXPECT_EQ(circle->penBrush().getOuterPenStyle(), circleOuter);
}

TEST_F(SelectionPropertiesTest, NothingSelectedGreysEveryList)
{
    segment(-3, 1, -1, 1);
    EXPECT_NE(state(TPenBrush::aPenColor), TListState::Disabled);
    press(5, -4); // the empty field
    release(5, -4);
    ASSERT_TRUE(selection().isEmpty());
    for (int k = 0; k < TPenBrushLists::kListCount; ++k)
        EXPECT_EQ(state(k), TListState::Disabled) << k;
}

// Every item of every list shows its own value back, so a common value is
// always found and a choice is always shown.
TEST(PenBrushLists, EveryItemAppliedIsTheItemShown)
{
    for (int k = 0; k < TPenBrushLists::kListCount; ++k)
        for (int i = 0; i < TPenBrushLists::itemCount(k); ++i) {
            TPenBrush p;
            TPenBrushLists::applyTo(k, i, p);
            EXPECT_EQ(p.state(k), TPenBrushState::pbSelect);
            EXPECT_EQ(TPenBrushLists::matchingItem(k, p), i) << k << " " << i;
            EXPECT_FALSE(TPenBrushLists::itemText(k, i).isEmpty()) << k << " " << i;
        }
    EXPECT_EQ(TPenBrushLists::itemText(TPenBrush::aOuterPenStyle, 5), QStringLiteral("透明"));
    EXPECT_EQ(TPenBrushLists::itemCount(TPenBrush::aPenStyle), 5);
    EXPECT_EQ(TPenBrushLists::itemText(TPenBrush::aBrushStyle, 2), QStringLiteral("右斜線"));
}

} // namespace
} // namespace zarno::test
