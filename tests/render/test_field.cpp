// The field: figure-type registration, shown groups, modified state, the
// draw order on a real surface, and saving the field information.
#include "model/field.h"
#include "platform/bitmap.h"
#include "render/displayadapter.h"
#include "render_shapes.h"
#include "support/memory_document.h"

#include <gtest/gtest.h>

using namespace zarno;
using test::PaintShape;

namespace {

class GroupShape : public PaintShape, public TShownShape
{
public:
    GroupShape()
        : PaintShape(TShapetype::SHAPE_zahyoujiku, [](auto &, auto &) {})
    { }
    void setShown(bool shown) override { fShown = shown; }
    bool isShown() const override { return fShown; }

private:
    bool fShown = false;
};

TShape *withFigure(TShape *shape, TFiguretype figure)
{
    shape->setParents2Children(std::make_unique<test::FigureOnly>(figure));
    return shape;
}

} // namespace

TEST(Field, RemembersTheAxesAndTheOutputAreaAndShowsThem)
{
    TField field;
    EXPECT_FALSE(field.isAxesShown());
    field.setAxesShown(true); // nothing to show yet: no effect, no error
    auto *axes = new GroupShape;
    auto *area = new GroupShape;
    withFigure(axes, TFiguretype::FIG_zahyoujiku);
    withFigure(area, TFiguretype::FIG_printArea);
    field.add(std::make_unique<PaintShape>(
        TShapetype::SHAPE_dot, [](auto &, auto &) {}, true));
    field.add(std::unique_ptr<TShape>(axes));
    field.add(std::unique_ptr<TShape>(area));
    EXPECT_EQ(field.axes(), axes);
    EXPECT_EQ(field.printArea(), area);
    field.setAxesShown(true);
    EXPECT_TRUE(field.isAxesShown());
    EXPECT_FALSE(field.isPrintAreaShown());
    field.setPrintAreaShown(true);
    EXPECT_TRUE(area->isShown());

    // A loaded list hands its shapes over, in order.
    TField loaded;
    auto *axes2 = new GroupShape;
    withFigure(axes2, TFiguretype::FIG_zahyoujiku);
    loaded.add(std::unique_ptr<TShape>(axes2));
    loaded.add(std::make_unique<PaintShape>(TShapetype::SHAPE_line, [](auto &, auto &) {}));
    TField fresh;
    fresh.takeAllFrom(loaded);
    EXPECT_EQ(loaded.count(), 0);
    EXPECT_EQ(fresh.count(), 2);
    EXPECT_EQ(fresh.first(), axes2);
    EXPECT_EQ(fresh.axes(), axes2);
}

TEST(Field, ModifiedFlagAndShapeChanges)
{
    TField field;
    auto *s = new PaintShape(TShapetype::SHAPE_line, [](auto &, auto &) {});
    field.add(std::unique_ptr<TShape>(s));
    EXPECT_TRUE(field.isChanged()); // a new shape is marked changed
    field.clearChanged();
    EXPECT_FALSE(field.isChanged());
    s->changed();
    EXPECT_TRUE(field.isChanged());
    field.clearChanged();
    field.setModified(QStringLiteral("model.executeCommand"));
    EXPECT_TRUE(field.isChanged());
    EXPECT_EQ(field.lastModifiedBy(), QStringLiteral("model.executeCommand"));
    field.clearChanged();
    EXPECT_FALSE(field.isModified());
}

TEST(Field, ScaleCommandsGoThroughTheField)
{
    TField field;
    field.modelScale().setScale({ 20, 35 });
    field.scale1_1();
    EXPECT_EQ(field.getMmPerModel1(), (TModelPoint { 20, 20 }));
    field.moveCentre(2, 3);
    field.centerGenten();
    EXPECT_EQ(field.getCenterXy(), (TModelPoint { 0, 0 }));
    EXPECT_TRUE(field.zoomBySliders({ 1, 0 }));
    EXPECT_DOUBLE_EQ(field.getMmPerModel1().x, 80);
    EXPECT_FALSE(field.zoomBySliders({ 0, 0 }));
    EXPECT_TRUE(field.getFFixField());
    field.setFFixField(false);
    EXPECT_FALSE(field.modelScale().fixField());
}

TEST(Field, SavesTheFieldInformationAndReadsItBack)
{
    TField field;
    field.modelScale().setCenterXy({ 1.5, -2 });
    field.modelScale().setScale({ 10, 12.5 });
    field.setFFixField(false);
    test::MemoryWriter w;
    field.saveToFile(w);
    const QStringList lines = w.lines();
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("<fieldInfo>"));
    EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("<figureList>")));

    TField back;
    back.loadFieldInfo(w.root());
    EXPECT_EQ(back.getCenterXy(), (TModelPoint { 1.5, -2 }));
    EXPECT_EQ(back.getMmPerModel1(), (TModelPoint { 10, 12.5 }));
    EXPECT_FALSE(back.getFFixField());
}

TEST(Field, PointsAreDrawnOnTopAndTheStatusIsReset)
{
    test::ScreenDpi dpi;
    TField field;
    TFixedDrawingBox box(QSize(200, 160)); // outlives the surface attached to it
    TDisplayAdapter screen;
    screen.attachMainWindow(&box);
    screen.setController(&field);
    screen.fitToView();

    // The point comes first in the list but must end up above the line.
    auto *dot = new PaintShape(
        TShapetype::SHAPE_dot, [](TAbstractImageAdapter &s, TPenBrush &pb) { s.drawDot(pb, 0, 0); },
        true);
    dot->penBrush().setPenColor(kColorRed);
    dot->penBrush().setBrushColor(kColorRed);
    dot->penBrush().setBrushStyle(TBrushStyle::bsSolid);
    auto *line = new PaintShape(TShapetype::SHAPE_line,
        [](TAbstractImageAdapter &s, TPenBrush &pb) { s.drawSegment(pb, -1, 0, 1, 0); });
    line->penBrush().setPenWidthIndex(3);
    field.add(std::unique_ptr<TShape>(dot));
    field.add(std::unique_ptr<TShape>(line));

    TDrawStatus status { TCurrentDrawStatus::Dragging, false };
    screen.redraw(field, status);
    EXPECT_EQ(status.value, TCurrentDrawStatus::Ordinary);
    EXPECT_EQ(box.shown(), &screen.getBitmap());
    const QPoint o = screen.modelToPixel({ 0, 0 });
    EXPECT_EQ(screen.getBitmap().pixel(o.x(), o.y()), kColorRed);
    EXPECT_EQ(screen.getBitmap().pixel(o.x() + 20, o.y()), kColorBlack);

    // In preview mode a shape visible only while editing disappears.
    line->penBrush().setViewType(TViewType::vtEditVisible);
    screen.FPreview = 1;
    screen.redraw(field, status);
    EXPECT_EQ(screen.getBitmap().pixel(o.x() + 20, o.y()), kColorWhite);
    screen.FPreview = 0;
    screen.redraw(field, status);
    EXPECT_EQ(screen.getBitmap().pixel(o.x() + 20, o.y()), kColorBlack);
}
