#include "model/shapefactory.h"
#include "support/guidance_names.h"
#include "support/memory_document.h"
#include "test_shapes.h"

#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

class ShapeFactoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto dots = std::make_unique<TestRelationClass>(QStringLiteral("TParentNil2dot"),
            TFiguretypeSet { TFiguretype::FIG_dotOnField }, TestRelationClass::Builds::OneDot);
        dots->clickOnly = true;
        auto lines = std::make_unique<TestRelationClass>(QStringLiteral("TParentDots2Line"),
            TFiguretypeSet {
                TFiguretype::FIG_line, TFiguretype::FIG_senbun, TFiguretype::FIG_printAreaSenbun },
            TestRelationClass::Builds::Chain);
        lines->rules = [](TParentShapeInfoList &l) { l.add({ TShapetype::SHAPE_dot }, 2, 2); };
        auto circles = std::make_unique<TestRelationClass>(QStringLiteral("TParentDots2Circle"),
            TFiguretypeSet { TFiguretype::FIG_circle }, TestRelationClass::Builds::OneCircle);
        circles->rules = [](TParentShapeInfoList &l) { l.add({ TShapetype::SHAPE_dot }, 2, 2); };
        auto circum = std::make_unique<TestRelationClass>(QStringLiteral("TParentDots2Gaisetsuen"),
            TFiguretypeSet { TFiguretype::FIG_gaisetsuen }, TestRelationClass::Builds::OneCircle);
        circum->rules = [](TParentShapeInfoList &l) { l.add({ TShapetype::SHAPE_dot }, 3, 3); };
        auto cancelled = std::make_unique<TestRelationClass>(QStringLiteral("TParentDot2Writing"),
            TFiguretypeSet { TFiguretype::FIG_writing }, TestRelationClass::Builds::Nothing);
        cancelled->rules = [](TParentShapeInfoList &l) { l.add({ TShapetype::SHAPE_dot }, 1, 1); };
        factory.registerClass(std::move(dots));
        factory.registerClass(std::move(lines));
        factory.registerClass(std::move(circles));
        factory.registerClass(std::move(circum));
        factory.registerClass(std::move(cancelled));
    }

    TShape *addDot(TShapeStore &field)
    {
        TShapeStore built = factory.createSilently(TFiguretype::FIG_dotOnField, TShapeList());
        TShape *s = built.first();
        field.takeAllFrom(built);
        return s;
    }
    TShape *addBuilt(TShapeStore &field, TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore built = factory.create(type, ps);
        TShape *s = built.first();
        field.add(built.take(s));
        return s;
    }

    InstalledGuidanceNames creator;
    TShapeFactory factory;
};

TEST_F(ShapeFactoryTest, ConstructionsASelectionAllows)
{
    TShapeStore field;
    TShapeList selection;
    EXPECT_TRUE(factory.figureTypesFor(selection).empty());
    selection.add(addDot(field));
    selection.add(addDot(field));
    const TFiguretypeSet two = factory.figureTypesFor(selection);
    EXPECT_TRUE(two.contains(TFiguretype::FIG_line));
    EXPECT_TRUE(two.contains(TFiguretype::FIG_senbun));
    EXPECT_TRUE(two.contains(TFiguretype::FIG_printAreaSenbun));
    EXPECT_TRUE(two.contains(TFiguretype::FIG_circle));
    EXPECT_FALSE(two.contains(TFiguretype::FIG_gaisetsuen));
    EXPECT_FALSE(two.contains(TFiguretype::FIG_dotOnField));
    selection.add(addDot(field));
    const TFiguretypeSet three = factory.figureTypesFor(selection);
    EXPECT_TRUE(three.contains(TFiguretype::FIG_gaisetsuen));
    EXPECT_FALSE(three.contains(TFiguretype::FIG_line));
    EXPECT_TRUE(factory.supportedSet().contains(TFiguretype::FIG_circle));
    EXPECT_FALSE(factory.hasRelation(TFiguretype::FIG_polygon));
    EXPECT_EQ(factory.figureTypeName(TFiguretype::FIG_circle),
        QStringLiteral("点1を中心とし, 点2を通る円"));
}

TEST_F(ShapeFactoryTest, KindOfPointForAClick)
{
    TShapeStore owned;
    struct Case
    {
        TShapetype type;
        TFiguretype expected;
    } cases[] = {
        { TShapetype::SHAPE_line, TFiguretype::FIG_dotOnLine },
        { TShapetype::SHAPE_senbun, TFiguretype::FIG_dotOnLine },
        { TShapetype::SHAPE_arrow, TFiguretype::FIG_dotOnLine },
        { TShapetype::SHAPE_arrowLine, TFiguretype::FIG_dotOnLine },
        { TShapetype::SHAPE_circle, TFiguretype::FIG_dotOnCircle },
        { TShapetype::SHAPE_ellipse, TFiguretype::FIG_dotOnEllipse },
        { TShapetype::SHAPE_function, TFiguretype::FIG_dotOnFunction },
        { TShapetype::SHAPE_writing, TFiguretype::FIG_dotOnField },
        { TShapetype::SHAPE_dot, TFiguretype::FIG_dotOnField },
    };
    for (const Case &c : cases) {
        auto *s
            = new TestShape(c.type, QStringLiteral("s"), QStringLiteral("形"), QStringLiteral("X"));
        owned.add(std::unique_ptr<TShape>(s));
        TShapeList near;
        near.add(s);
        EXPECT_EQ(TShapeFactory::pointFigureTypeFor(near), c.expected) << int(c.type);
    }
    TShapeList two;
    two.add(owned.first());
    two.add(owned.item(4));
    EXPECT_EQ(TShapeFactory::pointFigureTypeFor(two), TFiguretype::FIG_dotOnField);
    EXPECT_EQ(TShapeFactory::pointFigureTypeFor(TShapeList()), TFiguretype::FIG_dotOnField);
}

TEST_F(ShapeFactoryTest, ACancelledBuildReturnsAnEmptyList)
{
    TShapeStore field;
    TShapeList ps;
    ps.add(addDot(field));
    EXPECT_TRUE(factory.create(TFiguretype::FIG_writing, ps).isEmpty());
    EXPECT_THROW(factory.create(TFiguretype::FIG_polygon, ps), ESouteigai);
}

// A saved figure list read back into a new field.
class ReadAllTest : public ShapeFactoryTest
{
protected:
    void SetUp() override
    {
        ShapeFactoryTest::SetUp();
        TShape *a = addDot(field);
        TShape *b = addDot(field);
        TShape *c = addDot(field);
        addBuilt(field, TFiguretype::FIG_senbun, { a, b });
        addBuilt(field, TFiguretype::FIG_gaisetsuen, { a, b, c });
        field.renumber();
        writer.openTag(QStringLiteral("figureList"));
        field.saveAll(writer);
        writer.closeTag(QStringLiteral("figureList"));
    }
    MemoryNode &figureList() { return *writer.root().findChild(QStringLiteral("figureList")); }
    QString readError()
    {
        TShapeStore loaded;
        try {
            factory.readAll(figureList(), loaded);
        } catch (const EZarnoBase &e) {
            return e.className() + QLatin1Char(':') + e.message();
        }
        return QStringLiteral("(read)");
    }

    TShapeStore field;
    MemoryWriter writer;
};

TEST_F(ReadAllTest, RebuildsShapesAndTheirParents)
{
    TShapeStore loaded;
    factory.readAll(figureList(), loaded);
    loaded.renumber();
    ASSERT_EQ(loaded.count(), 5);
    TShape *segment = loaded.item(3);
    EXPECT_EQ(segment->getFigureType(), TFiguretype::FIG_senbun);
    EXPECT_EQ(segment->parents().first(), loaded.item(0));
    EXPECT_EQ(segment->parents().second(), loaded.item(1));
    EXPECT_EQ(loaded.item(4)->parents().count(), 3);
    EXPECT_EQ(loaded.item(4)->shapetypeStrAndIdxAtLoad(), QStringLiteral("circle,4"));
    EXPECT_TRUE(loaded.item(2)->children().contains(loaded.item(4)));
    EXPECT_EQ(segment->guidanceName(), QStringLiteral("#0点 ,#1点 を両端とする線分"));
}

TEST_F(ReadAllTest, MalformedRecordsFail)
{
    // A parent that was never read.
    static_cast<MemoryNode *>(figureList().children()[3])
        ->findChild(QStringLiteral("parent"))
        ->findChild(QStringLiteral("id"))
        ->setValue(QStringLiteral("dot,9"));
    EXPECT_TRUE(readError().startsWith(
        QStringLiteral("EFileFormatError:親(dot,9)がファイルに存在しません。")))
        << readError().toStdString();
}

TEST_F(ReadAllTest, ParentsThatDoNotFitTheConstructionAreRefused)
{
    // The circumcircle names the segment (read before it) among its points.
    auto *circle = static_cast<MemoryNode *>(figureList().children()[4]);
    circle->findChild(QStringLiteral("parent"))
        ->findChild(QStringLiteral("id"))
        ->setValue(QStringLiteral("line,3"));
    const QString error = readError();
    EXPECT_TRUE(error.startsWith(
        QStringLiteral("EFileFormatError:figure(FIG_gaisetsuen)の親が正しくありません。")))
        << error.toStdString();
}

TEST_F(ReadAllTest, FigureTypesNoClassBuildsAreRefused)
{
    static_cast<MemoryNode *>(figureList().children()[0])
        ->findChild(QStringLiteral("figuretype"))
        ->setValue(QStringLiteral("FIG_polygon"));
    EXPECT_TRUE(readError().startsWith(
        QStringLiteral("EFileFormatError:figure(FIG_polygon)は作れません。")));
}

TEST_F(ReadAllTest, DuplicateIdentifiersAndUnreadValuesAreFaults)
{
    static_cast<MemoryNode *>(figureList().children()[1])
        ->findChild(QStringLiteral("shape"))
        ->findChild(QStringLiteral("id"))
        ->setValue(QStringLiteral("dot,0"));
    EXPECT_TRUE(readError().endsWith(QStringLiteral("key(dot,0)は既に登録されています。")))
        << readError().toStdString();
}

TEST_F(ReadAllTest, AnUnreadElementOfAFigureRecordIsAFault)
{
    static_cast<MemoryNode *>(figureList().children()[2])
        ->addChild(QStringLiteral("extra"), QStringLiteral("1"), true);
    const QString e = readError();
    EXPECT_TRUE(e.startsWith(QStringLiteral("ESouteigai:TShapeFactory.readOneShapeで作者の想定外")))
        << e.toStdString();
}

} // namespace
