#include "base/penbrush.h"
#include "core/exceptions.h"
#include "support/recording_canvas.h"

#include <gtest/gtest.h>

using namespace zarno;
using zarno::test::RecordingCanvas;

namespace {
void enableAll(TPenBrush &pb)
{
    for (int i = 0; i < TPenBrush::kAttributeCount; ++i)
        pb.setState(i, TPenBrushState::pbSelect);
}
} // namespace

TEST(PenBrush, WidthTable)
{
    struct Row
    {
        bool output, wide, selected;
        int widths[4];
    } rows[] = {
        { false, false, false, { 1, 2, 3, 4 } },
        { false, true, false, { 2, 3, 4, 5 } },
        { true, false, false, { 2, 5, 8, 12 } },
        { true, true, false, { 5, 8, 10, 12 } },
        { false, false, true, { 3, 4, 5, 6 } },
        { false, true, true, { 4, 5, 6, 7 } },
    };
    for (const Row &r : rows)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(TPenBrush::penLineWidth(i, r.output, r.wide, r.selected), r.widths[i])
                << "output=" << r.output << " wide=" << r.wide << " selected=" << r.selected
                << " i=" << i;
}

TEST(PenBrush, SelectedLookOnAnOutputSurfaceIsAFault)
{
    try {
        TPenBrush::penLineWidth(0, true, false, true);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("penLineWidth"));
        EXPECT_EQ(e.detail(), QStringLiteral("graphicファイル出力時は \"選択\" できません。"));
    }
}

TEST(PenBrush, SelectionPenBrushUsesContrastColoursAndKeepsWidth)
{
    struct Case
    {
        TColor in, out;
    } cases[] = {
        { makeColor(128, 0, 0), kColorBlack },
        { makeColor(255, 255, 255), kColorBlack },
        { makeColor(127, 255, 255), kColorRed },
        { kColorBlack, kColorRed },
        { makeColor(0, 0, 255), kColorRed },
    };
    for (const Case &c : cases) {
        TPenBrush pb;
        pb.setPenColor(c.in);
        pb.setBrushColor(c.in);
        pb.setPenWidthIndex(2);
        const auto sel = pb.selectionPenBrush();
        EXPECT_EQ(sel->getPenColor(), c.out) << std::hex << c.in;
        EXPECT_EQ(sel->getBrushColor(), c.out);
        EXPECT_EQ(sel->getPenWidthIndex(), 2);
        EXPECT_TRUE(sel->getSelectedLook());
        EXPECT_FALSE(pb.getSelectedLook());
    }
}

TEST(PenBrush, WideDashedPenBecomesGeometricAndIsReleased)
{
    TPenBrush pb;
    enableAll(pb);
    pb.setPenWidthIndex(2);
    pb.setPenStyle(TPenStyle::psDash);
    pb.setPenColor(makeColor(0, 0, 200));
    RecordingCanvas canvas;
    pb.applyToCanvas(false, canvas);
    EXPECT_EQ(canvas.penWidth(), 3);
    EXPECT_TRUE(canvas.geometric);
    EXPECT_TRUE(canvas.log.contains(QStringLiteral("geometricPen psDash 3 c80000")));
    pb.releasePen(canvas);
    EXPECT_FALSE(canvas.geometric);

    // A 1-pixel dashed line keeps the cosmetic pen.
    pb.setPenWidthIndex(0);
    RecordingCanvas thin;
    pb.applyToCanvas(false, thin);
    EXPECT_FALSE(thin.geometric);

    // Points use the wide row.
    RecordingCanvas wide;
    pb.setPenStyle(TPenStyle::psSolid);
    pb.applyToCanvasWide(true, wide);
    EXPECT_EQ(wide.penWidth(), 5);
}

TEST(PenBrush, OnlyApplicableAttributesReachTheCanvasAndOuterStyleWins)
{
    TPenBrush pb;
    pb.setState(TPenBrush::aPenStyle, TPenBrushState::pbSelect);
    pb.setPenColor(makeColor(1, 2, 3));
    pb.setPenStyle(TPenStyle::psDot);
    pb.setOuterPenStyle(TPenStyle::psClear);
    pb.setUseOuterStyle(true);
    RecordingCanvas canvas;
    pb.applyToCanvas(false, canvas);
    EXPECT_EQ(canvas.log, QStringList { QStringLiteral("penStyle psClear") });
    EXPECT_FALSE(pb.isPenVisible());
    pb.setUseOuterStyle(false);
    EXPECT_TRUE(pb.isPenVisible());
}

TEST(PenBrush, CopyApplicableAndCompare)
{
    TPenBrush target, source;
    target.setState(TPenBrush::aPenColor, TPenBrushState::pbSelect);
    target.setState(TPenBrush::aBrushColor, TPenBrushState::pbSelect);
    source.setState(TPenBrush::aPenColor, TPenBrushState::pbSelect);
    source.setPenColor(0x123456);
    source.setBrushColor(0x654321);
    target.copyApplicable(source);
    EXPECT_EQ(target.getPenColor(), 0x123456u);
    EXPECT_EQ(target.getBrushColor(), 0u); // not applicable in the source

    target.setPenWidthIndex(3); // width is not applicable in target: no flag
    const auto flags = target.compare(source);
    EXPECT_FALSE(flags[TPenBrush::aPenColor]);
    EXPECT_FALSE(flags[TPenBrush::aPenWidth]);
    target.setPenColor(1);
    EXPECT_TRUE(target.compare(source)[TPenBrush::aPenColor]);

    const auto copy = source.clone();
    EXPECT_EQ(copy->getBrushColor(), 0x654321u);
    EXPECT_EQ(copy->states(), source.states());
}

TEST(PenBrush, UserFacingNames)
{
    EXPECT_EQ(TPenBrush::penWidthName(0), QStringLiteral("極細線"));
    EXPECT_EQ(TPenBrush::penWidthName(3), QStringLiteral("極太線"));
    EXPECT_EQ(TPenBrush::penStyleName(TPenStyle::psDashDotDot), QStringLiteral("二点鎖線"));
    EXPECT_EQ(TPenBrush::penStyleName(TPenStyle::psClear), QStringLiteral("透明"));
    EXPECT_EQ(TPenBrush::brushStyleName(TBrushStyle::bsFDiagonal), QStringLiteral("左斜線"));
    EXPECT_EQ(TPenBrush::brushStyleName(TBrushStyle::bsClear), QStringLiteral("なし"));
    EXPECT_EQ(TPenBrush::viewTypeName(TViewType::vtEditVisible), QStringLiteral("編集時表示"));
}
