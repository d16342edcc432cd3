#include "support/guidance_names.h"
#include "test_shapes.h"

#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

// A small document: free points and constructions on them, in an owning list.
class ShapeListTest : public ::testing::Test
{
protected:
    void SetUp() override { freedLog().clear(); }

    TestShape *addPoint(const QString &name, double x = 0, double y = 0)
    {
        TestShape *p = newDot(name, x, y);
        freeClass.attachNew(TFiguretype::FIG_dotOnField, *p);
        field.add(std::unique_ptr<TShape>(p));
        return p;
    }
    TestShape *build(
        TestRelationClass &cls, TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore out;
        cls.s_createShapes2shapeList(out, type, false, ps);
        auto *last = static_cast<TestShape *>(out.last());
        field.takeAllFrom(out);
        return last;
    }
    TestRelation &relationOf(TShape *s) { return *static_cast<TestRelation *>(s->relation()); }

    InstalledGuidanceNames creator;
    TestRelationClass freeClass { QStringLiteral("TParentNil2dot"),
        { TFiguretype::FIG_dotOnField } };
    TestRelationClass lineClass { QStringLiteral("TParentDots2Line"), { TFiguretype::FIG_line } };
    TestRelationClass labelClass { QStringLiteral("TParentDot2Writing"),
        { TFiguretype::FIG_writing } };
    TestRelationClass circleClass { QStringLiteral("TParentDots2Gaisetsuen"),
        { TFiguretype::FIG_gaisetsuen }, TestRelationClass::Builds::OneCircle };
    TShapeStore field;
};

TEST_F(ShapeListTest, PointsAreDrawnAfterEveryOtherShape)
{
    TestShape *a = addPoint(QStringLiteral("A"));
    TestShape *b = addPoint(QStringLiteral("B"));
    build(lineClass, TFiguretype::FIG_line, { a, b });
    addPoint(QStringLiteral("C"));
    FakeSurface surface;
    TDrawStatus status { TCurrentDrawStatus::DocumentChanged, false };
    field.drawField(status, surface);
    EXPECT_EQ(surface.drawn,
        (QStringList { QStringLiteral("line"), QStringLiteral("A"), QStringLiteral("B"),
            QStringLiteral("C") }));
    EXPECT_EQ(status.value, TCurrentDrawStatus::Ordinary); // the draw resets the status
    EXPECT_GE(relationOf(field.item(2)).recomputed, 1);
}

TEST_F(ShapeListTest, NumberingSeparatesListedAndHiddenShapesAndClosesUpAfterDelete)
{
    TestShape *hidden1 = addPoint(QStringLiteral("H1"));
    hidden1->setFView2list(false);
    TestShape *a = addPoint(QStringLiteral("A"));
    TestShape *hidden2 = addPoint(QStringLiteral("H2"));
    hidden2->setFView2list(false);
    TestShape *b = addPoint(QStringLiteral("B"));
    TestShape *c = addPoint(QStringLiteral("C"));
    field.renumber();
    EXPECT_EQ(hidden1->allShapeNo(), -1);
    EXPECT_EQ(a->allShapeNo(), 0);
    EXPECT_EQ(hidden2->allShapeNo(), -2);
    EXPECT_EQ(b->allShapeNo(), 1);
    EXPECT_EQ(c->allShapeNo(), 2);
    EXPECT_EQ(c->idString(), QStringLiteral("dot,2"));
    EXPECT_EQ(hidden2->idString(), QStringLiteral("dot,-2"));
    EXPECT_EQ(c->noAndShapetypeString(), QStringLiteral("#2点"));

    TShapeList selection;
    selection.add(b);
    selection.markForDelete();
    selection.deselectAndClear();
    field.sweepMarked();
    field.renumber();
    EXPECT_EQ(c->allShapeNo(), 1);
}

TEST_F(ShapeListTest, DeleteCascadesThroughChildrenAndFreesChildrenFirst)
{
    TestShape *p = addPoint(QStringLiteral("P"));
    TestShape *q = addPoint(QStringLiteral("Q"));
    TestShape *line = build(lineClass, TFiguretype::FIG_line, { p, q });
    TestShape *label = newLabel(QStringLiteral("W"));
    labelClass.attachNew(TFiguretype::FIG_writing, *label);
    TShapeList ps;
    ps.add(line);
    static_cast<TParents2Children *>(label->relation())->setRelation(label, ps);
    field.add(std::unique_ptr<TShape>(label));

    TShapeList selection;
    selection.add(p);
    p->setFSelected(true);
    selection.markForDelete();
    selection.deselectAndClear();
    EXPECT_FALSE(p->getFSelected());
    field.sweepMarked();
    EXPECT_EQ(freedLog(),
        (QStringList { QStringLiteral("W"), QStringLiteral("line"), QStringLiteral("P") }));
    ASSERT_EQ(field.count(), 1);
    EXPECT_EQ(field.first(), q);
    EXPECT_FALSE(q->hasChild()); // the freed line left its other parent
}

TEST_F(ShapeListTest, ShapesThatCannotBeDeletedSurvive)
{
    TestShape *axesOrigin = addPoint(QStringLiteral("O"));
    axesOrigin->setCanDelete(false);
    TShapeList selection;
    selection.add(axesOrigin);
    selection.markForDelete();
    field.sweepMarked();
    EXPECT_EQ(field.count(), 1);
    EXPECT_TRUE(freedLog().isEmpty());
}

TEST_F(ShapeListTest, FreeingAShapeWithChildrenIsAFault)
{
    TestShape *p = addPoint(QStringLiteral("P"));
    TestShape *q = addPoint(QStringLiteral("Q"));
    build(lineClass, TFiguretype::FIG_line, { p, q });
    try {
        TShape::checkDestroyable(*p);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("destroy"));
        EXPECT_EQ(e.detail(), QStringLiteral("FChildren(1個存在)が空ではありません。"));
    }
    EXPECT_TRUE(field.contains(p));
}

TEST_F(ShapeListTest, AnUndefinedConstructionHidesItsWholeSubtreeUntilItsPointsMoveBack)
{
    TestShape *a = addPoint(QStringLiteral("A"), 0, 0);
    TestShape *b = addPoint(QStringLiteral("B"), 1, 0);
    TestShape *c = addPoint(QStringLiteral("C"), 0, 1);
    TestShape *circle = build(circleClass, TFiguretype::FIG_gaisetsuen, { a, b, c });
    relationOf(circle).collinearRule = true;
    TestShape *label = newLabel(QStringLiteral("W"));
    labelClass.attachNew(TFiguretype::FIG_writing, *label);
    TShapeList ps;
    ps.add(circle);
    static_cast<TParents2Children *>(label->relation())->setRelation(label, ps);
    field.add(std::unique_ptr<TShape>(label));

    auto drawn = [&] {
        FakeSurface surface;
        TDrawStatus status { TCurrentDrawStatus::Dragging, false };
        field.drawField(status, surface);
        return surface.drawn;
    };
    EXPECT_TRUE(drawn().contains(QStringLiteral("circle")));
    EXPECT_TRUE(drawn().contains(QStringLiteral("W")));

    c->moveXYOffsetXY(2, -1); // C = (2, 0): on the line through A and B
    const QStringList hidden = drawn();
    EXPECT_FALSE(hidden.contains(QStringLiteral("circle")));
    EXPECT_FALSE(hidden.contains(QStringLiteral("W")));
    EXPECT_FALSE(label->isDrawable());
    EXPECT_TRUE(hidden.contains(QStringLiteral("C")));

    c->moveXYOffsetXY(0, 3);
    EXPECT_TRUE(drawn().contains(QStringLiteral("W")));
}

TEST_F(ShapeListTest, VisibilityOnScreenPreviewAndOutput)
{
    TestShape *p = addPoint(QStringLiteral("P"));
    p->setViewType(TViewType::vtEditVisible);
    TestShape *q = addPoint(QStringLiteral("Q"));
    q->setViewOnOff(TViewOnOff::voOff);
    TestShape *r = addPoint(QStringLiteral("R"));
    r->setViewType(TViewType::vtInvisible);

    struct Case
    {
        TViewerType viewer;
        quint8 preview;
        QStringList expected;
    } cases[] = {
        { TViewerType::Screen, 0, { QStringLiteral("P") } },
        { TViewerType::Screen, 1, {} },
        { TViewerType::Printer, 0, {} },
    };
    for (const Case &c : cases) {
        FakeSurface surface(c.viewer, c.preview);
        TDrawStatus status;
        field.drawField(status, surface);
        EXPECT_EQ(surface.drawn, c.expected) << int(c.viewer) << "/" << int(c.preview);
    }
    EXPECT_TRUE(p->isViewAtScreen(false));
    EXPECT_FALSE(p->isViewAtScreen(true));
    EXPECT_FALSE(q->isViewAtScreen(false));
    EXPECT_FALSE(r->isViewAtScreen(false));
}

TEST_F(ShapeListTest, ASelectedShapeDrawsWithTheSelectionPenBrush)
{
    TestShape *p = addPoint(QStringLiteral("P"));
    p->penBrush().setPenColor(kColorBlack);
    p->setFSelected(true);
    FakeSurface surface;
    TDrawStatus status;
    field.drawField(status, surface);
    EXPECT_EQ(surface.drawn, QStringList { QStringLiteral("P(selected)") });
    EXPECT_EQ(p->lastPenColor, kColorRed);
    EXPECT_EQ(p->penBrush().getPenColor(), kColorBlack); // own pen-brush untouched
}

TEST_F(ShapeListTest, DistanceDisadvantageBreaksTies)
{
    const TModelPoint pixel { 0.02, 0.01 };
    TestShape *dot = newDot(QStringLiteral("P"));
    TestShape *line = newLine(QStringLiteral("L"));
    auto *paint = new TestShape(TShapetype::SHAPE_paint, QStringLiteral("D"),
        QStringLiteral("塗潰し"), QStringLiteral("D"));
    for (TShape *s :
        { static_cast<TShape *>(dot), static_cast<TShape *>(line), static_cast<TShape *>(paint) })
        field.add(std::unique_ptr<TShape>(s));
    const TModelPoint at { 3, 4 }; // raw distance 5 from (0, 0) for all three
    EXPECT_DOUBLE_EQ(dot->distance(at, pixel), 5 - 5 * 0.01);
    EXPECT_DOUBLE_EQ(line->distance(at, pixel), 5);
    EXPECT_DOUBLE_EQ(paint->distance(at, pixel), 5 + 3 * 0.01);
    EXPECT_EQ(TAbstractShape::distanceDisadvantage(TShapetype::SHAPE_writing), 1);
    EXPECT_EQ(TAbstractShape::distanceDisadvantage(TShapetype::SHAPE_tracer), 2);
}

TEST_F(ShapeListTest, ListQueries)
{
    TShapeList empty;
    EXPECT_FALSE(empty.allFigureTypesIn({ TFiguretype::FIG_dotOnField }));
    TestShape *a = addPoint(QStringLiteral("A"));
    TestShape *b = addPoint(QStringLiteral("B"));
    EXPECT_TRUE(field.allFigureTypesIn({ TFiguretype::FIG_dotOnField, TFiguretype::FIG_line }));
    EXPECT_FALSE(field.anyHasChild());
    build(lineClass, TFiguretype::FIG_line, { a, b });
    EXPECT_FALSE(field.allFigureTypesIn({ TFiguretype::FIG_dotOnField }));
    EXPECT_TRUE(field.anyFigureTypeIn({ TFiguretype::FIG_line }));
    EXPECT_TRUE(field.anyHasChild());
    EXPECT_TRUE(field.anyOfShapetype(TShapetype::SHAPE_line));
    EXPECT_FALSE(field.anyOfShapetype(TShapetype::SHAPE_circle));
    EXPECT_EQ(field.third()->shapeType(), TShapetype::SHAPE_line);
    EXPECT_THROW(field.item(3), ESouteigai);
    field.selectAll();
    EXPECT_TRUE(a->getFSelected());
    field.deselectAll();
    EXPECT_FALSE(b->getFSelected());
    EXPECT_TRUE(field.item(2)->isChildOf(*a));
}

class CountingVisitor : public TShapeVisitor
{
public:
    int visitShape(TShape &shape) override
    {
        names << static_cast<TestShape &>(shape).name();
        return 0;
    }
    QStringList names;
};

TEST_F(ShapeListTest, VisitorWalksFirstToLast)
{
    addPoint(QStringLiteral("A"));
    addPoint(QStringLiteral("B"));
    CountingVisitor v;
    field.acceptVisitor(v);
    EXPECT_EQ(v.names, (QStringList { QStringLiteral("A"), QStringLiteral("B") }));
}

} // namespace
