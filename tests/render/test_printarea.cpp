// The image output area: its initial group, keeping it rectangular, moving
// and selecting it as a group, showing and hiding it around an export, the
// image size it gives, and reading it back from a document.
#include "core/exceptions.h"
#include "model/field.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "platform/bitmap.h"
#include "render/displayadapter.h"
#include "render/printarea.h"
#include "render/renderclasses.h"
#include "render_shapes.h"
#include "support/fake_surface.h"
#include "support/figure_list.h"
#include "support/guidance_names.h"
#include "support/memory_document.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace zarno;
using test::MemoryNode;
using test::MemoryWriter;

namespace {

class PrintAreaTest : public ::testing::Test
{
protected:
    PrintAreaTest()
    {
        registerModelRelationClasses(factory);
        registerRenderRelationClasses(factory);
    }

    // The initial group added to the field as a new document does it.
    TShapePrintArea &newArea(TField &into)
    {
        TShapeStore group = factory.create(TFiguretype::FIG_printArea, TShapeList());
        into.takeAllFrom(group);
        return static_cast<TShapePrintArea &>(*into.printArea());
    }
    TModelPoint at(const TShapePrintArea &a, int i) { return a.corner(i).getXY(); }

    test::InstalledGuidanceNames creator;
    TShapeFactory factory;
    TField field;
};

} // namespace

TEST_F(PrintAreaTest, InitialGroupIsTheCornersThenTheEdgesThenTheArea)
{
    TShapeStore group = factory.create(TFiguretype::FIG_printArea, TShapeList());
    ASSERT_EQ(group.count(), 9);
    auto *area = dynamic_cast<TShapePrintArea *>(group.last());
    ASSERT_NE(area, nullptr);
    const QString base = QStringLiteral("画像ファイル出力領域");
    struct Corner
    {
        const char *name;
        TModelPoint at;
    };
    const Corner corners[4] = { { "の点1", { 4, 3 } }, { "の点2", { 4, -3 } },
        { "の点3", { -4, -3 } }, { "の点4", { -4, 3 } } };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        auto *dot = dynamic_cast<TShapeDot *>(group.item(i));
        ASSERT_NE(dot, nullptr);
        EXPECT_EQ(&area->corner(i), dot);
        EXPECT_EQ(dot->getFigureType(), TFiguretype::FIG_printAreaDot);
        EXPECT_EQ(dot->relation()->customName(), base + QString::fromUtf8(corners[i].name));
        EXPECT_EQ(dot->getXY(), corners[i].at);
        EXPECT_EQ(dot->getViewType(), TViewType::vtEditVisible);
        EXPECT_FALSE(dot->canDelete());
        EXPECT_FALSE(dot->getFView2list());
        EXPECT_FALSE(dot->canMoveAnywhere());
        // Not fixed: a fixed point ignores moves, and the corners are dragged.
        EXPECT_FALSE(dot->isFixed());
    }
    struct Edge
    {
        const char *name;
        int from, to;
    };
    const Edge edges[4]
        = { { "の線12V", 1, 0 }, { "の線23H", 2, 1 }, { "の線34V", 3, 2 }, { "の線41H", 0, 3 } };
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        auto *line = dynamic_cast<TShapeLine *>(group.item(4 + k));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(&area->edge(k), line);
        EXPECT_EQ(line->getFigureType(), TFiguretype::FIG_printAreaSenbun);
        EXPECT_EQ(line->shapeType(), TShapetype::SHAPE_senbun);
        EXPECT_EQ(line->relation()->customName(), base + QString::fromUtf8(edges[k].name));
        ASSERT_EQ(line->parents().count(), 2);
        EXPECT_EQ(line->parents().item(0), group.item(edges[k].from));
        EXPECT_EQ(line->parents().item(1), group.item(edges[k].to));
        EXPECT_EQ(line->getViewType(), TViewType::vtVisible);
        EXPECT_EQ(line->penBrush().getPenStyle(), TPenStyle::psDot);
        EXPECT_FALSE(line->canDelete());
        EXPECT_FALSE(line->getFView2list());
    }
    EXPECT_EQ(area->getFigureType(), TFiguretype::FIG_printArea);
    EXPECT_EQ(area->relation()->customName(), base);
    EXPECT_EQ(area->shapetypeString(), base);
    EXPECT_EQ(area->alphabetShapetypeString(), QStringLiteral("PA"));
    EXPECT_EQ(area->propertyType(), TPropertyType::PrintArea);
    EXPECT_FALSE(area->canDelete());
    EXPECT_FALSE(area->getFView2list());
    EXPECT_EQ(area->distance({ 4, 3 }, { 0.01, 0.01 }), 100);
    // A new area's property has the creation values.
    EXPECT_EQ(area->property().scaleType, TGraphicFileScaletype::gstHAxe1);
    EXPECT_EQ(area->property().boxSizeMm, 48);
    EXPECT_EQ(area->property().hAxe1_mm, 12);
    EXPECT_EQ(area->property().fontScaleType, TGraphicFileFontScaletype::fstResize);

    // Numbering keeps the custom names and puts every part among the hidden numbers.
    field.takeAllFrom(group);
    field.renumber();
    EXPECT_EQ(field.item(4)->guidanceName(), base + QStringLiteral("の線12V"));
    for (TShape *s : field.items())
        EXPECT_LT(s->allShapeNo(), 0);
}

TEST_F(PrintAreaTest, ItsEdgesAreDottedOnScreenAndTheAreaItselfDrawsNothing)
{
    test::ScreenDpi dpi;
    TShapePrintArea &area = newArea(field);
    TFixedDrawingBox box(QSize(640, 480));
    TDisplayAdapter screen;
    screen.attachMainWindow(&box);
    screen.setController(&field);
    screen.fitToView();
    // Along the middle of edge 12V, away from the corners.
    auto inkAlongEdge12V = [&] {
        TDrawStatus status;
        screen.redraw(field, status);
        const QPoint top = screen.modelToPixel({ 4, 2 }), bottom = screen.modelToPixel({ 4, -2 });
        int ink = 0, paper = 0;
        for (int y = top.y(); y <= bottom.y(); ++y)
            (screen.getBitmap().pixel(top.x(), y) == kColorWhite ? paper : ink)++;
        return std::pair { ink, paper };
    };
    area.setShown(true);
    const auto [ink, paper] = inkAlongEdge12V();
    EXPECT_GT(ink, 10);
    EXPECT_GT(paper, 10); // dotted, not solid
    const QPoint p1 = screen.modelToPixel({ 4, 3 });
    EXPECT_EQ(screen.getBitmap().pixel(p1.x(), p1.y()), kColorBlack);

    area.setShown(false);
    EXPECT_EQ(inkAlongEdge12V().first, 0);
    EXPECT_EQ(screen.getBitmap().pixel(p1.x(), p1.y()), kColorWhite);
}

TEST_F(PrintAreaTest, FollowCornerKeepsTheAreaRectangular)
{
    TShapePrintArea &area = newArea(field);
    // Each corner goes 1 right and 0.5 up: its vertical neighbour takes its
    // x, its horizontal neighbour its y, the opposite corner stays.
    struct Case
    {
        int moved;
        TModelPoint p1, p2, p3, p4;
    };
    const Case cases[] = {
        { 0, { 5, 3.5 }, { 5, -3 }, { -4, -3 }, { -4, 3.5 } },
        { 1, { 5, 3 }, { 5, -2.5 }, { -4, -2.5 }, { -4, 3 } },
        { 2, { 4, 3 }, { 4, -2.5 }, { -3, -2.5 }, { -3, 3 } },
        { 3, { 4, 3.5 }, { 4, -3 }, { -3, -3 }, { -3, 3.5 } },
    };
    const TModelPoint initial[4] = { { 4, 3 }, { 4, -3 }, { -4, -3 }, { -4, 3 } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.moved);
        for (int i = 0; i < 4; ++i)
            area.corner(i).setXY(initial[i]);
        field.clearChanged();
        TShapeDot &moved = area.corner(c.moved);
        moved.moveXYOffsetXY(1, 0.5);
        area.followCorner(moved);
        EXPECT_EQ(at(area, 0), c.p1);
        EXPECT_EQ(at(area, 1), c.p2);
        EXPECT_EQ(at(area, 2), c.p3);
        EXPECT_EQ(at(area, 3), c.p4);
        // The corners that followed are marked changed too, the opposite one not.
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(area.corner(i).isChanged(), i != (c.moved + 2) % 4) << i;
    }
    // A shape that is not one of its corners is a program fault.
    TShapeDot *stranger = TShapeDot::createFreeShapeDot();
    field.add(std::unique_ptr<TShape>(stranger));
    EXPECT_THROW(area.followCorner(*stranger), ESouteigai);
}

TEST_F(PrintAreaTest, ModelRectComesFromTheDiagonalCornersWhicheverWayTheyLie)
{
    TShapePrintArea &area = newArea(field);
    TModelViewRect r = area.modelRect();
    EXPECT_EQ(r.left, -4);
    EXPECT_EQ(r.top, 3);
    EXPECT_EQ(r.right, 4);
    EXPECT_EQ(r.bottom, -3);
    // P1 dragged past P3 to the lower left turns the rectangle over.
    TShapeDot &p1 = area.corner(0);
    p1.moveXYOffsetXY(-10, -8);
    area.followCorner(p1);
    r = area.modelRect();
    EXPECT_EQ(r.left, -6);
    EXPECT_EQ(r.top, -3);
    EXPECT_EQ(r.right, -4);
    EXPECT_EQ(r.bottom, -5);

    TShapePrintArea loose;
    EXPECT_THROW(loose.modelRect(), ESouteigai);
}

TEST_F(PrintAreaTest, MoveByShiftsAllFourCorners)
{
    TShapePrintArea &area = newArea(field);
    area.moveBy({ 1.5, -2 });
    EXPECT_EQ(at(area, 0), (TModelPoint { 5.5, 1 }));
    EXPECT_EQ(at(area, 1), (TModelPoint { 5.5, -5 }));
    EXPECT_EQ(at(area, 2), (TModelPoint { -2.5, -5 }));
    EXPECT_EQ(at(area, 3), (TModelPoint { -2.5, 1 }));
    // The edges follow on the next recomputation.
    test::FakeSurface surface;
    TDrawStatus status;
    field.draw(status, surface);
    EXPECT_NEAR(area.edge(0).line().distanceXY(5.5, 0), 0, 1e-12);
}

TEST_F(PrintAreaTest, SelectEdgesSelectsAllFourOnce)
{
    TShapePrintArea &area = newArea(field);
    TShapeList selection;
    selection.add(&area.edge(2)); // one of them is already there
    area.edge(2).setFSelected(true);
    area.selectEdges(selection);
    ASSERT_EQ(selection.count(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(selection.contains(&area.edge(k)));
        EXPECT_TRUE(area.edge(k).getFSelected());
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(area.corner(i).getFSelected());
    selection.deselectAndClear();
}

TEST_F(PrintAreaTest, ShownSwitchesAllEightPartsAndIsReadFromP1)
{
    TShapePrintArea &area = newArea(field);
    auto all = [&](TViewOnOff v) {
        for (TShape *part : area.parts())
            if (part->getViewOnOff() != v)
                return false;
        return true;
    };
    field.setPrintAreaShown(true);
    EXPECT_TRUE(all(TViewOnOff::voOn));
    EXPECT_TRUE(field.isPrintAreaShown());
    EXPECT_EQ(area.getViewOnOff(), TViewOnOff::voOn); // the area itself is not a part
    area.setShown(false);
    EXPECT_TRUE(all(TViewOnOff::voOff));
    EXPECT_FALSE(area.isShown());
    EXPECT_EQ(area.getViewOnOff(), TViewOnOff::voOn);
    // Only P1 counts.
    area.corner(0).setViewOnOff(TViewOnOff::voOn);
    EXPECT_TRUE(area.isShown());
    area.setShown(true);
    area.corner(0).setViewOnOff(TViewOnOff::voOff);
    EXPECT_FALSE(area.isShown());
}

TEST_F(PrintAreaTest, AnExportHidesTheAreaAndRestoresWhatWasThere)
{
    TShapePrintArea &area = newArea(field);
    for (bool shownBefore : { true, false }) {
        SCOPED_TRACE(shownBefore);
        area.setShown(shownBefore);
        area.hideForExport();
        EXPECT_FALSE(area.isShown());
        for (TShape *part : area.parts())
            EXPECT_EQ(part->getViewOnOff(), TViewOnOff::voOff);
        area.restoreAfterExport();
        EXPECT_EQ(area.isShown(), shownBefore);
        for (TShape *part : area.parts())
            EXPECT_EQ(part->getViewOnOff(), shownBefore ? TViewOnOff::voOn : TViewOnOff::voOff);
    }
    // A restore without an export before it changes nothing.
    area.setShown(true);
    area.restoreAfterExport();
    EXPECT_TRUE(area.isShown());
}

TEST_F(PrintAreaTest, OutputSizeOfTheDefaultAreaAsShownOnScreen)
{
    test::ScreenDpi dpi;
    TShapePrintArea &area = newArea(field);
    TFixedDrawingBox box(QSize(640, 480));
    TDisplayAdapter screen;
    screen.attachMainWindow(&box);
    screen.setController(&field);
    screen.fitToView();
    const TModelViewRect a = area.modelRect();
    const QPoint tl = screen.modelToPixel({ a.left, a.top }),
                 br = screen.modelToPixel({ a.right, a.bottom });
    const QSize onScreen(br.x() - tl.x(), br.y() - tl.y());
    ASSERT_GT(onScreen.width(), 0);

    struct Case
    {
        TGraphicFileScaletype type;
        int boxSizeMm, hAxe1_mm;
        double w, h;
        int pixelsWide;
    };
    const Case cases[] = {
        { TGraphicFileScaletype::gstHAxe1, 48, 12, 96, 72, 1134 },
        { TGraphicFileScaletype::gstInBox, 100, 12, 100, 75, 1181 },
    };
    for (const Case &c : cases) {
        TGraphicfileProperty p;
        p.scaleType = c.type;
        p.boxSizeMm = c.boxSizeMm;
        p.hAxe1_mm = c.hAxe1_mm;
        const TModelPoint mm = p.outputSizeMm(a, onScreen);
        EXPECT_EQ(mm.x, c.w);
        // The height follows the on-screen pixel aspect, so it may be off by
        // a fraction of a millimetre.
        EXPECT_NEAR(mm.y, c.h, 0.5);
        EXPECT_DOUBLE_EQ(mm.y, mm.x / onScreen.width() * onScreen.height());
        EXPECT_EQ(int(std::nearbyint(mm.x * 300 / 25.4)), c.pixelsWide);

        // Text scales by image width over on-screen width in millimetres.
        const double screenMm = onScreen.width() / TDpi::kScreenDpiX * 25.4;
        EXPECT_DOUBLE_EQ(p.fontScale(a, onScreen), c.w / screenMm);
        p.fontScaleType = TGraphicFileFontScaletype::fstSameAsDisplay;
        EXPECT_EQ(p.fontScale(a, onScreen), 1.0);
    }
}

TEST(GraphicfileProperty, AnEmptyOnScreenRectangleGivesNoHeightInsteadOfInfinity)
{
    TGraphicfileProperty p;
    const TModelViewRect r { -4, 3, 4, -3 };
    for (QSize px : { QSize(0, 200), QSize(0, 0), QSize(300, 0) }) {
        SCOPED_TRACE(px.width() * 1000 + px.height());
        const TModelPoint mm = p.outputSizeMm(r, px);
        EXPECT_EQ(mm.x, 96);
        EXPECT_EQ(mm.y, 0); // the pushed export scale then refuses it
        EXPECT_TRUE(std::isfinite(p.fontScale(r, px)));
    }
}

TEST(GraphicfileProperty, SavedAsOneLineAndMissingValuesTakeTheOldDefaults)
{
    TGraphicfileProperty p;
    p.scaleType = TGraphicFileScaletype::gstInBox;
    p.boxSizeMm = 250;
    p.hAxe1_mm = 7;
    p.fontScaleType = TGraphicFileFontScaletype::fstSameAsDisplay;
    MemoryWriter w;
    w.openTag(QStringLiteral("shape"));
    p.saveToFile(w);
    w.closeTag(QStringLiteral("shape"));
    EXPECT_EQ(w.lines(),
        (QStringList { QStringLiteral("<shape>"), QStringLiteral("\t<graphicfileProperty>"),
            QStringLiteral("\t\t<graphicFileScaletype>gstInBox</"
                           "graphicFileScaletype><boxSizeMm>250</boxSizeMm>"
                           "<hAxe1_mm>7</hAxe1_mm><graphicFileFontScaletype>fstSameAsDisplay</"
                           "graphicFileFontScaletype>"),
            QStringLiteral("\t</graphicfileProperty>"), QStringLiteral("</shape>") }));
    TGraphicfileProperty back;
    back.loadFromFile(*w.root().findChild(QStringLiteral("shape")));
    EXPECT_EQ(back.scaleType, p.scaleType);
    EXPECT_EQ(back.boxSizeMm, 250);
    EXPECT_EQ(back.hAxe1_mm, 7);
    EXPECT_EQ(back.fontScaleType, p.fontScaleType);

    // An empty group reads as documents written before these values existed.
    MemoryNode shape(QStringLiteral("shape"));
    shape.addChild(QStringLiteral("graphicfileProperty"));
    TGraphicfileProperty old;
    old.loadFromFile(shape);
    EXPECT_EQ(old.scaleType, TGraphicFileScaletype::gstInBox);
    EXPECT_EQ(old.boxSizeMm, 100);
    EXPECT_EQ(old.hAxe1_mm, 10);
    EXPECT_EQ(old.fontScaleType, TGraphicFileFontScaletype::fstResize);
    // The group itself is required.
    MemoryNode bare(QStringLiteral("shape"));
    EXPECT_ANY_THROW(old.loadFromFile(bare));
}

TEST_F(PrintAreaTest, SavedAndReadBackTheAreaTakesItsPartsAgain)
{
    TShapePrintArea &area = newArea(field);
    TShapeDot &p3 = area.corner(2);
    p3.moveXYOffsetXY(-1, -1);
    area.followCorner(p3);
    area.property().scaleType = TGraphicFileScaletype::gstInBox;
    area.property().boxSizeMm = 120;
    area.setShown(true);
    // A user's point after the group.
    TShapeStore built = factory.create(TFiguretype::FIG_dotOnField, TShapeList());
    field.takeAllFrom(built);
    field.renumber();
    MemoryWriter first = test::savedFigureList(field);

    TField loaded;
    factory.readAll(*first.root().findChild(QStringLiteral("figureList")), loaded);
    ASSERT_EQ(loaded.count(), field.count());
    auto *back = dynamic_cast<TShapePrintArea *>(loaded.printArea());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(loaded.item(8), back);
    const QList<TShape *> parts = back->parts();
    for (int i = 0; i < TShapePrintArea::kPartCount; ++i)
        EXPECT_EQ(parts[i], loaded.item(i));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(at(*back, i), at(area, i));
    EXPECT_TRUE(back->isShown());
    EXPECT_EQ(back->property().scaleType, TGraphicFileScaletype::gstInBox);
    EXPECT_EQ(back->property().boxSizeMm, 120);
    EXPECT_EQ(back->property().hAxe1_mm, 12);
    EXPECT_EQ(back->corner(0).getViewType(), TViewType::vtEditVisible);
    EXPECT_FALSE(back->corner(0).canMoveAnywhere());
    EXPECT_EQ(back->edge(3).penBrush().getPenStyle(), TPenStyle::psDot);
    EXPECT_FALSE(back->canDelete());

    // The loaded area works as the group it was.
    TShapeDot &q1 = back->corner(0);
    q1.moveXYOffsetXY(1, 1);
    back->followCorner(q1);
    EXPECT_EQ(at(*back, 1).x, q1.getX());
    EXPECT_EQ(at(*back, 3).y, q1.getY());
    q1.moveXYOffsetXY(-1, -1);
    back->followCorner(q1);

    // Saving again gives the same text.
    loaded.renumber();
    EXPECT_EQ(test::savedFigureList(loaded).lines(), first.lines());
}

TEST_F(PrintAreaTest, AnAreaRecordWithoutItsPartsBeforeItIsADamagedDocument)
{
    TShapePrintArea &area = newArea(field);
    field.renumber();
    // Only the area's record, or the records in the wrong order.
    MemoryWriter alone;
    alone.openTag(QStringLiteral("figureList"));
    area.saveToFile(alone);
    alone.closeTag(QStringLiteral("figureList"));
    TField loaded;
    EXPECT_THROW(factory.readAll(*alone.root().findChild(QStringLiteral("figureList")), loaded),
        EFileFormatError);

    MemoryWriter swapped;
    swapped.openTag(QStringLiteral("figureList"));
    for (int i : { 1, 0, 2, 3 })
        area.corner(i).saveToFile(swapped);
    for (int k = 0; k < 4; ++k)
        area.edge(k).saveToFile(swapped);
    area.saveToFile(swapped);
    swapped.closeTag(QStringLiteral("figureList"));
    TField loaded2;
    EXPECT_THROW(factory.readAll(*swapped.root().findChild(QStringLiteral("figureList")), loaded2),
        EFileFormatError);
}

namespace {

// Fails while building the third edge, after seven parts exist.
class FailingPrintAreaClass : public TParentNil2printAreaClass
{
public:
    std::function<void()> fail;

protected:
    std::unique_ptr<TShape> createEdge(
        const QString &name, TShapeDot &from, TShapeDot &to) const override
    {
        if (name.endsWith(QStringLiteral("34V")))
            fail();
        return TParentNil2printAreaClass::createEdge(name, from, to);
    }
};

} // namespace

TEST(PrintAreaClass, AFailureWhileBuildingFreesThePartsAndReportsTheBoundary)
{
    // Every part built before the failure is freed: the leak checker of the
    // test build would report any that is not.
    FailingPrintAreaClass c;
    TShapeStore out;
    c.fail = [] { throw std::runtime_error("no memory"); };
    try {
        c.createInitialPrintArea(out);
        FAIL() << "no exception";
    } catch (const ESouteigai &) {
        FAIL() << "wrapped as a program fault";
    } catch (const EMyFatalException &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("createInitialPrintArea"));
        EXPECT_EQ(e.detail(), QStringLiteral("no memory"));
    }
    EXPECT_TRUE(out.isEmpty());

    // The program's own errors pass through unchanged.
    c.fail = [] { throw ESouteigai(QStringLiteral("TSomething"), QStringLiteral("op")); };
    try {
        c.createInitialPrintArea(out);
        FAIL() << "no exception";
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("op"));
    }
    EXPECT_TRUE(out.isEmpty());
}
