#include "model/relationregistry.h"
#include "support/guidance_names.h"
#include "test_shapes.h"

#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

TShapetypeSet lineTypes()
{
    return { TShapetype::SHAPE_line, TShapetype::SHAPE_senbun, TShapetype::SHAPE_arrow,
        TShapetype::SHAPE_arrowLine };
}

class RelationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lineClass.rules = [](TParentShapeInfoList &l) { l.add({ TShapetype::SHAPE_dot }, 2, 2); };
        parallelClass.rules = [](TParentShapeInfoList &l) {
            l.add({ TShapetype::SHAPE_dot }, 1, 1);
            l.add(lineTypes(), 1, 1);
        };
        lineClass.createParentShapeInfoList();
        parallelClass.createParentShapeInfoList();
        // Ten numbered points, #0点 .. #9点, and one line #10線.
        for (int i = 0; i < 10; ++i) {
            TestShape *p = newDot(QStringLiteral("P%1").arg(i));
            freeClass.attachNew(TFiguretype::FIG_dotOnField, *p);
            field.add(std::unique_ptr<TShape>(p));
        }
        TShapeList ends;
        ends.add(field.item(0));
        ends.add(field.item(1));
        TShapeStore out;
        lineClass.s_createShapes2shapeList(out, TFiguretype::FIG_line, false, ends);
        field.takeAllFrom(out);
        field.renumber();
    }

    TShape *point(int n) { return field.item(n); }
    TShape *line() { return field.item(10); }
    static const TShapeList *addr(const TShapeList &l) { return &l; }
    TShapeList listOf(std::initializer_list<TShape *> shapes)
    {
        TShapeList l;
        for (TShape *s : shapes)
            l.add(s);
        return l;
    }

    InstalledGuidanceNames creator;
    TestRelationClass freeClass { QStringLiteral("TParentNil2dot"),
        { TFiguretype::FIG_dotOnField } };
    TestRelationClass lineClass { QStringLiteral("TParentDots2Line"),
        { TFiguretype::FIG_line, TFiguretype::FIG_senbun }, TestRelationClass::Builds::Chain };
    TestRelationClass parallelClass { QStringLiteral("TParentDotLine2HeikouLine"),
        { TFiguretype::FIG_line_1tenHeikou }, TestRelationClass::Builds::ParallelLine };
    TShapeStore field;
};

TEST_F(RelationTest, ParentRulesDecideWhetherASelectionMakesAConstruction)
{
    TParentShapeInfoList &rules = *lineClass.parentShapeInfoList();
    struct Case
    {
        std::vector<int> shapes; // indexes into the field
        TParentShapeInfoList::Result expected;
    } cases[] = {
        { {}, TParentShapeInfoList::Result::NotEnough },
        { { 0 }, TParentShapeInfoList::Result::NotEnough },
        { { 0, 1 }, TParentShapeInfoList::Result::Complete },
        { { 0, 1, 2 }, TParentShapeInfoList::Result::Impossible },
        { { 0, 10 }, TParentShapeInfoList::Result::Impossible },
    };
    for (const Case &c : cases) {
        TShapeList sel;
        for (int i : c.shapes)
            sel.add(field.item(i));
        EXPECT_EQ(rules.checkParentShapes(sel), c.expected) << c.shapes.size();
    }
    EXPECT_TRUE(lineClass.isMyParentShapes(addr(listOf({ point(3), point(4) }))));
    EXPECT_FALSE(lineClass.isMyParentShapes(addr(listOf({ point(3), point(4), point(5) }))));
}

TEST_F(RelationTest, RulesTakeShapesByTypeInEitherOrder)
{
    EXPECT_TRUE(parallelClass.isMyParentShapes(addr(listOf({ line(), point(2) }))));
    EXPECT_TRUE(parallelClass.isMyParentShapes(addr(listOf({ point(2), line() }))));
    EXPECT_FALSE(parallelClass.isMyParentShapes(addr(listOf({ point(2), point(3) }))));
    EXPECT_FALSE(parallelClass.isMyParentShapes(addr(listOf({ point(2) }))));

    for (int first = 0; first < 2; ++first) {
        const TShapeList order
            = first == 0 ? listOf({ line(), point(2) }) : listOf({ point(2), line() });
        TShapeStore out;
        parallelClass.s_createShapes2shapeList(out, TFiguretype::FIG_line_1tenHeikou, false, order);
        ASSERT_EQ(out.count(), 1);
        TShape *made = out.first();
        EXPECT_EQ(made->parents().first(), point(2)); // the point always comes first
        EXPECT_EQ(made->parents().second(), line());
        EXPECT_TRUE(line()->children().contains(made));
        field.takeAllFrom(out);
    }
}

TEST_F(RelationTest, TwoPointLineGivenThreePointsMakesAClosedTriangle)
{
    EXPECT_EQ(lineClass.parentShapeInfoList()->checkParentShapes(
                  listOf({ point(4), point(5), point(6) })),
        TParentShapeInfoList::Result::Impossible);
    TShapeStore out;
    lineClass.s_createShapes2shapeList(
        out, TFiguretype::FIG_line, false, listOf({ point(4), point(5), point(6) }));
    ASSERT_EQ(out.count(), 3);
    const std::pair<int, int> ends[] = { { 4, 5 }, { 5, 6 }, { 6, 4 } };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(out.item(i)->parents().first(), point(ends[i].first));
        EXPECT_EQ(out.item(i)->parents().second(), point(ends[i].second));
        EXPECT_EQ(out.item(i)->getFigureType(), TFiguretype::FIG_line);
    }
    field.takeAllFrom(out);
}

TEST_F(RelationTest, FaultsOfTheRelationFramework)
{
    TShapeStore out;
    try {
        lineClass.s_createShapes2shapeList(
            out, TFiguretype::FIG_circle, false, listOf({ point(0), point(1) }));
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("createShapes2shapeList"));
        EXPECT_EQ(e.detail(), QStringLiteral("ここではこのfigure(FIG_circle)は作れません。"));
    }
    EXPECT_TRUE(out.isEmpty());

    try {
        lineClass.isMyParentShapes(nullptr);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("shapeList0=nilです。"));
    }

    TestShape orphan(
        TShapetype::SHAPE_line, QStringLiteral("x"), QStringLiteral("線"), QStringLiteral("L"));
    auto *rel = parallelClass.attachNew(TFiguretype::FIG_line_1tenHeikou, orphan);
    try {
        rel->setRelationChildAndParentsThinkFirst(
            TShapetype::SHAPE_dot, &orphan, listOf({ line() }));
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("setRelationChildAndParentsThinkFirst"));
        EXPECT_EQ(e.detail(), QStringLiteral("子としてSHAPE_dotが必要です。"));
    }

    TestRelationClass noRules { QStringLiteral("TNoRules"), { TFiguretype::FIG_null } };
    EXPECT_THROW(noRules.createParentShapeInfoList(), ESouteigai);
    EXPECT_FALSE(noRules.isMyParentShapes(addr(listOf({ point(0) }))));

    TParentShapeInfoList *before = lineClass.parentShapeInfoList();
    lineClass.createParentShapeInfoList(); // a second call changes nothing
    EXPECT_EQ(lineClass.parentShapeInfoList(), before);
    lineClass.destroyParentShapeInfoList();
    EXPECT_EQ(lineClass.parentShapeInfoList(), nullptr);
}

TEST_F(RelationTest, ShapesRefuseRelationsTheyDoNotAccept)
{
    class Picky : public TestShape
    {
    public:
        Picky()
            : TestShape(TShapetype::SHAPE_writing, QStringLiteral("w"), QStringLiteral("文字列"),
                QStringLiteral("W"))
        { }

    protected:
        bool acceptsRelation(const TAbstractParents2Children &r) const override
        {
            return r.className() == QLatin1String("TParentDot2Writing");
        }
    };
    Picky label;
    try {
        lineClass.attachNew(TFiguretype::FIG_line, label);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("setParents2Children"));
        EXPECT_EQ(
            e.detail(), QStringLiteral("TParentDots2Lineは, このshapeのfigure ではありません。"));
    }
    EXPECT_EQ(label.relation(), nullptr);
}

TEST_F(RelationTest, GuidanceNames)
{
    EXPECT_EQ(creator.nameFor(
                  TFiguretype::FIG_seishiki, listOf({ point(1), point(2), point(4), point(7) })),
        QStringLiteral("#1点 ,#2点 ,#4点 ,#7点 を通る4次以下の整式のグラフ"));
    EXPECT_EQ(creator.nameFor(TFiguretype::FIG_tracer, listOf({ point(3) })),
        QStringLiteral("#3点 の軌跡マーク"));
    EXPECT_EQ(creator.nameFor(TFiguretype::FIG_line, listOf({ point(3), point(5) })),
        QStringLiteral("#3点 ,#5点 を通る直線"));
    EXPECT_EQ(creator.nameFor(TFiguretype::FIG_line_1tenHeikou, listOf({ point(2), line() })),
        QStringLiteral("#2点 を通り, #10線 に平行な直線"));
    // "…" and "SH" together: the list rule.
    EXPECT_EQ(creator.nameFor(TFiguretype::FIG_shapeVariable2value, listOf({ point(1), line() })),
        QStringLiteral("#1点 ,#10線 の属性を使った式の値"));
    try {
        creator.nameFor(TFiguretype::FIG_tracer, listOf({ point(1), point(2) }));
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("replaceIfHasKatachi"));
        EXPECT_EQ(e.detail(), QStringLiteral("親が2個以上あります。"));
    }
    EXPECT_EQ(line()->guidanceName(), QStringLiteral("#0点 ,#1点 を通る直線"));
    EXPECT_EQ(point(1)->replaceGuidanceStaring(1, QStringLiteral("p1とP1")),
        QStringLiteral("#1点 と#1点 "));
}

TEST_F(RelationTest, NamesFollowNumbersButCustomNamesStay)
{
    TShapeList sel;
    sel.add(point(0));
    sel.markForDelete();
    field.sweepMarked(); // deletes point 0 and the line through it
    TShapeStore out;
    lineClass.s_createShapes2shapeList(
        out, TFiguretype::FIG_line, false, listOf({ point(2), point(3) }));
    TShape *l = out.first();
    field.takeAllFrom(out);
    field.renumber();
    EXPECT_EQ(l->guidanceName(), QStringLiteral("#2点 ,#3点 を通る直線"));
    l->setCustomMyName(QStringLiteral("底辺"));
    field.renumber();
    EXPECT_EQ(l->guidanceName(), QStringLiteral("底辺"));
}

TEST(FigureTypeName, DisplayNamesOfConstructions)
{
    TGuidanceNameCreator creator;
    struct Case
    {
        TFiguretype type;
        const char *expected;
    } cases[] = {
        { TFiguretype::FIG_line_1tenHeikou, "点1を通り, 直線1に平行な直線" },
        { TFiguretype::FIG_dotOnLine, "線1上の点" },
        { TFiguretype::FIG_tracer, "形の軌跡マーク" },
        { TFiguretype::FIG_sessenOnEllipse, "楕円1上の点1における接線" },
        { TFiguretype::FIG_dotOnFunction, "関数のグラフ1上の点" },
        { TFiguretype::FIG_arrow2writing, "矢印1に関連した文字列" },
        { TFiguretype::FIG_printAreaDot, "" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(creator.figureTypeName(c.type), QString::fromUtf8(c.expected));
}

} // namespace

namespace {

TEST(RelationRegistry, FindsClassesAndTheConstructionsASelectionAllows)
{
    TRelationClassRegistry registry;
    auto line = std::make_unique<TestRelationClass>(QStringLiteral("TParentDots2Line"),
        TFiguretypeSet { TFiguretype::FIG_line, TFiguretype::FIG_senbun });
    line->rules = [](TParentShapeInfoList &l) { l.add({ TShapetype::SHAPE_dot }, 2, 2); };
    auto circle = std::make_unique<TestRelationClass>(
        QStringLiteral("TParentDots2Gaisetsuen"), TFiguretypeSet { TFiguretype::FIG_gaisetsuen });
    circle->rules = [](TParentShapeInfoList &l) { l.add({ TShapetype::SHAPE_dot }, 3, 3); };
    const TRelationClass &lineRef = registry.add(std::move(line));
    registry.add(std::move(circle));
    registry.createParentShapeInfoLists();

    EXPECT_EQ(registry.classFor(TFiguretype::FIG_senbun), &lineRef);
    EXPECT_EQ(registry.classFor(TFiguretype::FIG_arc), nullptr);

    TShapeStore field;
    TShapeList selection;
    for (int i = 0; i < 3; ++i) {
        field.add(std::unique_ptr<TShape>(newDot(QStringLiteral("P%1").arg(i))));
        selection.add(field.last());
        const TFiguretypeSet allowed = registry.allowedFigureTypes(selection);
        EXPECT_EQ(allowed.contains(TFiguretype::FIG_line), i == 1) << i;
        EXPECT_EQ(allowed.contains(TFiguretype::FIG_gaisetsuen), i == 2) << i;
    }

    auto clash = std::make_unique<TestRelationClass>(
        QStringLiteral("TOther"), TFiguretypeSet { TFiguretype::FIG_line });
    EXPECT_THROW(registry.add(std::move(clash)), ESouteigai);
    registry.destroyParentShapeInfoLists();
    EXPECT_EQ(lineRef.parentShapeInfoList(), nullptr);
}

} // namespace
