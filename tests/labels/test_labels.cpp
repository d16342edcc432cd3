// Labels of points and arrows and the coordinate read-out, as the user
// meets them: made by their tools through the label dialog, picked inside
// their box, dragged by their offset, following their anchors.
#include "labels/zahyouproperty.h"
#include "labels_fixture.h"
#include "model/shapeline.h"

#include <cmath>

using namespace zarno;
using namespace zarno::test;

namespace {

class LabelTest : public LabelInteractionTest
{
protected:
    TShapeWriting *labelOn(TShape *parent, const QString &text, int pt = 14,
        TFiguretype type = TFiguretype::FIG_writing)
    {
        writingDialog->answers.push_back({ text, pt });
        return static_cast<TShapeWriting *>(construct(type, { parent }));
    }
    QString savedLine(TShape &shape, const QString &tag)
    {
        MemoryWriter out;
        shape.saveToFile(out);
        for (const QString &line : out.lines())
            if (line.contains(QLatin1Char('<') + tag + QLatin1Char('>')))
                return line.trimmed();
        return QString();
    }
};

TEST_F(LabelTest, TheLabelToolAsksForTheTextAndMakesNothingOnCancelOrEmptyText)
{
    TShapeDot *p = clickPoint(1, 1);
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_writing));
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_dot2zahyou));
    EXPECT_FALSE(window.enabledTools.contains(TFiguretype::FIG_arrow2writing));
    const int before = field().count();
    // Cancelled, then confirmed with an empty text: nothing either time.
    EXPECT_EQ(construct(TFiguretype::FIG_writing, { p }), nullptr);
    writingDialog->answers.push_back({ QStringLiteral("  "), 14 });
    EXPECT_EQ(construct(TFiguretype::FIG_writing, { p }), nullptr);
    EXPECT_EQ(field().count(), before);
    EXPECT_EQ(writingDialog->calls, 2);

    TShapeWriting *label = labelOn(p, QStringLiteral("P_1"), 18);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getFigureType(), TFiguretype::FIG_writing);
    EXPECT_EQ(label->writing().text(), QStringLiteral("P_1"));
    EXPECT_EQ(label->writing().pt(), 18);
    EXPECT_EQ(label->propertyType(), TPropertyType::Writing);
    EXPECT_TRUE(label->isChildOf(*p));
    EXPECT_TRUE(label->getFSelected());
    // The next label is offered the size chosen last.
    labelOn(p, QStringLiteral("Q"));
    EXPECT_EQ(writingDialog->shownPt, 18);
}

TEST_F(LabelTest, ALabelFollowsItsPointAndIsPickedInsideItsBox)
{
    TShapeDot *p = clickPoint(1, 1);
    TShapeWriting *label = labelOn(p, QStringLiteral("ABCDEF"));
    EXPECT_EQ(label->anchor(), p->getXY());
    model.clearSelection();
    model.redraw();
    // Inside the box, well away from the point: the label.
    const QPoint c = centreOf(*label);
    const QPoint farRight = px(label->writing().bounds().right, 1) - QPoint(3, 0);
    for (const QPoint &at : { c, QPoint(farRight.x(), c.y()) }) {
        mouse(TMouseKind::mkPress, at);
        mouse(TMouseKind::mkRelease, at);
        ASSERT_EQ(selection().count(), 1);
        EXPECT_EQ(selection().first(), label);
    }
    // Just outside on the right: nothing within the threshold.
    const QPoint outside = px(label->writing().bounds().right, 1) + QPoint(8, 0);
    mouse(TMouseKind::mkPress, QPoint(outside.x(), c.y()));
    mouse(TMouseKind::mkRelease, QPoint(outside.x(), c.y()));
    EXPECT_TRUE(selection().isEmpty());

    // The point moves; the label goes with it.
    dragPx(px(1, 1), px(2, -1));
    EXPECT_NEAR(label->anchor().x, p->getX(), 1e-12);
    EXPECT_NEAR(label->anchor().y, p->getY(), 1e-12);
    EXPECT_NEAR(p->getX(), 2, 0.03);
}

TEST_F(LabelTest, DraggingALabelMovesItsOffsetInTheFileAndNeverItsPoint)
{
    TShapeDot *p = clickPoint(-1, 0.5);
    TShapeWriting *label = labelOn(p, QStringLiteral("A"));
    model.clearSelection();
    model.redraw();
    EXPECT_EQ(savedLine(*label, QStringLiteral("offsetMmXy")),
        QStringLiteral("<offsetMmXy>0.5,-0.5</offsetMmXy><direction>dirSE</direction>"));
    const QString pointBefore = savedLine(*p, QStringLiteral("x"));

    // 40 pixels right and 20 up, in pixels the screen shows 20 mm per unit at.
    const QPoint from = centreOf(*label);
    dragPx(from, from + QPoint(40, -20));
    const TModelPoint mm = label->writing().getOffsetMmXy();
    // The mouse's model points, as the controller converts them.
    const QPoint to = from + QPoint(40, -20);
    const TModelPoint a = screen.pixelToModel(from.x(), from.y()),
                      b = screen.pixelToModel(to.x(), to.y());
    const TModelPoint moved = screen.modelToMm({ b.x - a.x, b.y - a.y });
    EXPECT_NEAR(mm.x, 0.5 + moved.x, 1e-9);
    EXPECT_NEAR(mm.y, -0.5 + moved.y, 1e-9);
    // About 11.3 and 5.6 mm at 90 dpi (to a tenth of a pixel).
    EXPECT_NEAR(mm.x, 0.5 + 40 * 25.4 / 90.06, 0.03);
    EXPECT_NEAR(mm.y, -0.5 + 20 * 25.4 / 90.07, 0.03);
    EXPECT_EQ(savedLine(*label, QStringLiteral("offsetMmXy")),
        QStringLiteral("<offsetMmXy>%1,%2</offsetMmXy><direction>dirSE</direction>")
            .arg(QString::number(mm.x, 'g', 15), QString::number(mm.y, 'g', 15)));
    // The point is where it was, and so is the anchor.
    EXPECT_EQ(savedLine(*p, QStringLiteral("x")), pointBefore);
    EXPECT_EQ(label->anchor(), p->getXY());
    EXPECT_TRUE(field().isChanged());
}

TEST_F(LabelTest, AnArrowsLabelHangsOnItsTip)
{
    TShapeDot *a = clickPoint(-1, -1);
    TShapeDot *b = clickPoint(1, 0.5);
    auto *segment = construct(TFiguretype::FIG_arrow, { a, b });
    auto *line = construct(TFiguretype::FIG_arrowLine, { a, b });
    select(segment);
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_arrow2writing));
    EXPECT_FALSE(window.enabledTools.contains(TFiguretype::FIG_writing));
    TShapeWriting *onSegment
        = labelOn(segment, QStringLiteral("\\vec{a}"), 14, TFiguretype::FIG_arrow2writing);
    TShapeWriting *onLine = labelOn(line, QStringLiteral("l"), 14, TFiguretype::FIG_arrow2writing);
    model.redraw();
    // A segment arrow's tip is its second point; an arrow line's is where it
    // leaves the view, ahead in its direction (up and right here).
    EXPECT_EQ(onSegment->anchor(), b->getXY());
    const TModelViewRect view = screen.getModelViewRect();
    const TModelPoint tip = onLine->anchor();
    EXPECT_TRUE(std::abs(tip.x - view.right) < 1e-9 || std::abs(tip.y - view.top) < 1e-9);
    EXPECT_GT(tip.x, b->getX());
    EXPECT_NEAR((tip.y - a->getY()) / (tip.x - a->getX()),
        (b->getY() - a->getY()) / (b->getX() - a->getX()), 1e-9);
}

TEST_F(LabelTest, APropertyDialogEditsTheTextAndCancelLeavesIt)
{
    TShapeDot *p = clickPoint(0, 0);
    TShapeWriting *label = labelOn(p, QStringLiteral("a"));
    select(label);
    EXPECT_EQ(window.propertyType, TPropertyType::Writing);
    controller->executeAction(TCommandId::cmdFigureProperty, false);
    EXPECT_EQ(writingDialog->shownText, QStringLiteral("a"));
    EXPECT_EQ(label->writing().text(), QStringLiteral("a"));
    writingDialog->answers.push_back({ QStringLiteral("\\alpha"), 20 });
    controller->executeAction(TCommandId::cmdFigureProperty, false);
    EXPECT_EQ(label->writing().text(), QStringLiteral("\\alpha"));
    EXPECT_EQ(label->writing().pt(), 20);
}

TEST_F(LabelTest, ACoordinateReadOutShowsItsPointAndFollowsIt)
{
    TShapeDot *p = clickPoint(1, 2);
    p->setXY({ 1.3, -2 });
    auto *readOut = static_cast<TShapeWriting *>(construct(TFiguretype::FIG_dot2zahyou, { p }));
    ASSERT_NE(readOut, nullptr);
    EXPECT_EQ(writingDialog->calls, 0); // no text to ask for
    EXPECT_EQ(readOut->propertyType(), TPropertyType::DotZahyouLabel);
    EXPECT_EQ(readOut->writing().text(), QStringLiteral("A(1.3\\,,\\;-2.0)"));
    p->setXY({ -0.5, 3 });
    model.redraw();
    EXPECT_EQ(readOut->writing().text(), QStringLiteral("A(-0.5\\,,\\;3.0)"));
    EXPECT_EQ(readOut->anchor(), p->getXY());

    auto &property = static_cast<TParentDot2zahyou *>(readOut->relation())->property();
    property.kind = TZahyouViewtype::zvtY;
    property.digits = 3;
    property.name().setText(QStringLiteral("P"));
    model.redraw();
    EXPECT_EQ(readOut->writing().text(), QStringLiteral("P 3.000"));
}

TEST(ZahyouPropertyTest, NumbersAreFormattedInTheirScale)
{
    struct Case
    {
        TZahyouScaletype type;
        int digits;
        double x;
        const char *text;
    };
    const double pi = 3.14159265358979323846;
    // An exact half rounds away from zero, as on paper.
    for (const Case c : { Case { TZahyouScaletype::zstDouble, 1, 2.25, "2.3" },
             Case { TZahyouScaletype::zstDouble, 2, -0.5, "-0.50" },
             Case { TZahyouScaletype::zstDoublePi, 2, pi / 2, "0.50\\pi" },
             Case { TZahyouScaletype::zstDegree, 1, pi / 6, "30.0^{\\:\\circ}" },
             Case { TZahyouScaletype::zstInvisible, 1, -pi, "-180.0^{\\:\\circ}" },
             Case { TZahyouScaletype::zstDouble, 9, 1, "1.00000" } })
        EXPECT_EQ(TZahyouProperty::formatNumber(c.type, c.digits, c.x), QString::fromUtf8(c.text))
            << c.text;
}

} // namespace
