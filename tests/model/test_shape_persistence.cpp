#include "support/guidance_names.h"
#include "support/memory_document.h"
#include "test_shapes.h"

#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

class ShapePersistence : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 2; ++i) {
            TestShape *p = newDot(QStringLiteral("P%1").arg(i));
            freeClass.attachNew(TFiguretype::FIG_dotOnField, *p);
            field.add(std::unique_ptr<TShape>(p));
        }
        TShapeList ends;
        ends.add(field.item(0));
        ends.add(field.item(1));
        TShapeStore out;
        lineClass.s_createShapes2shapeList(out, TFiguretype::FIG_line, false, ends);
        line = static_cast<TestShape *>(out.first());
        field.takeAllFrom(out);
        line->penBrush().setPenColor(makeColor(0, 0, 255));
        line->penBrush().setPenStyle(TPenStyle::psDashDot);
        line->penBrush().setPenWidthIndex(2);
        field.renumber();
    }

    // A new line shape with its relation, as the factory makes it when loading.
    std::unique_ptr<TestShape> blankLine()
    {
        auto s = std::make_unique<TestShape>(TShapetype::SHAPE_line, QStringLiteral("loaded"),
            QStringLiteral("線"), QStringLiteral("L"));
        lineClass.attachNew(TFiguretype::FIG_line, *s);
        return s;
    }

    InstalledGuidanceNames creator;
    TestRelationClass freeClass { QStringLiteral("TParentNil2dot"),
        { TFiguretype::FIG_dotOnField } };
    TestRelationClass lineClass { QStringLiteral("TParentDots2Line"), { TFiguretype::FIG_line } };
    TShapeStore field;
    TestShape *line = nullptr;
};

TEST_F(ShapePersistence, FigureRecordLayout)
{
    MemoryWriter w;
    line->saveToFile(w);
    const QStringList expected = {
        QStringLiteral("<figure>"),
        QStringLiteral("\t<figuretype>FIG_line</figuretype>"),
        QStringLiteral("\t<parent>"),
        QStringLiteral("\t\t<id>dot,0</id><id>dot,1</id>"),
        QStringLiteral("\t</parent>"),
        QStringLiteral("\t<guidanceName>#0点 ,#1点 を通る直線</guidanceName>"),
        QStringLiteral("\t<shape>"),
        QStringLiteral(
            "\t\t<shapetype>SHAPE_line</shapetype><id>line,2</id><allShapeNo>2</allShapeNo>"),
        QStringLiteral(
            "\t\t<canDelete>true</canDelete><distanceDisadvantage>0</distanceDisadvantage>"),
        QStringLiteral("\t\t<fView2list>true</fView2list><viewOnOff>voOn</viewOnOff>"),
        QStringLiteral("\t\t<penbrush>"),
        QStringLiteral("\t\t\t<state>"),
        QStringLiteral("\t\t\t\t<penColor>pbSelect</penColor><penWidth>pbSelect</"
                       "penWidth><penStyle>pbSelect</penStyle>"),
        QStringLiteral("\t\t\t\t<outerPenStyle>pbSelect</outerPenStyle>"),
        QStringLiteral(
            "\t\t\t\t<brushColor>pbDisable</brushColor><brushStyle>pbDisable</brushStyle>"),
        QStringLiteral("\t\t\t\t<viewType>pbSelect</viewType>"),
        QStringLiteral("\t\t\t</state>"),
        QStringLiteral("\t\t\t<penColor>$00FF0000</penColor><penWidthIndex>2</"
                       "penWidthIndex><penStyle>psDashDot</penStyle>"),
        QStringLiteral("\t\t\t<outerPenStyle>psClear</outerPenStyle>"),
        QStringLiteral("\t\t\t<brushColor>$00000000</brushColor><brushStyle>bsSolid</brushStyle>"),
        QStringLiteral("\t\t\t<viewType>vtVisible</viewType>"),
        QStringLiteral("\t\t</penbrush>"),
        QStringLiteral("\t</shape>"),
        QStringLiteral("</figure>"),
    };
    EXPECT_EQ(w.lines(), expected);

    MemoryWriter free;
    field.first()->saveToFile(free);
    EXPECT_FALSE(free.lines().join(QString()).contains(QStringLiteral("<parent>")));
}

TEST_F(ShapePersistence, RoundTripKeepsValuesAndTheSavedNameBecomesCustom)
{
    MemoryWriter w;
    line->saveToFile(w);
    auto loaded = blankLine();
    loaded->loadFromFile(*w.root().findChild(QStringLiteral("figure")));
    EXPECT_EQ(loaded->shapetypeStrAndIdxAtLoad(), QStringLiteral("line,2"));
    EXPECT_EQ(loaded->allShapeNo(), 2);
    EXPECT_EQ(loaded->penBrush().getPenColor(), makeColor(0, 0, 255));
    EXPECT_EQ(loaded->penBrush().getPenStyle(), TPenStyle::psDashDot);
    EXPECT_EQ(loaded->penBrush().getPenWidthIndex(), 2);
    EXPECT_EQ(loaded->penBrush().states(), line->penBrush().states());
    EXPECT_EQ(loaded->relation()->customName(), QStringLiteral("#0点 ,#1点 を通る直線"));
    TNumbering numbering { 7, 0 };
    loaded->setMyGuidanceName(numbering); // no parents now; the name stays
    EXPECT_EQ(loaded->guidanceName(), QStringLiteral("#0点 ,#1点 を通る直線"));
}

TEST_F(ShapePersistence, LoadFailures)
{
    auto messageOfLoad = [&](const std::function<void(MemoryNode &)> &damage) -> QString {
        MemoryWriter w;
        line->saveToFile(w);
        MemoryNode &figure = *w.root().findChild(QStringLiteral("figure"));
        damage(figure);
        auto loaded = blankLine();
        try {
            loaded->loadFromFile(figure);
        } catch (const EZarnoBase &e) {
            return e.className() + QLatin1Char(':') + e.message();
        }
        return QStringLiteral("(loaded)");
    };

    const QString mismatch = messageOfLoad([](MemoryNode &f) {
        f.findChild(QStringLiteral("shape"))
            ->findChild(QStringLiteral("shapetype"))
            ->setValue(QStringLiteral("SHAPE_circle"));
    });
    EXPECT_TRUE(mismatch.startsWith(QStringLiteral(
        "EFileFormatError:shapetype(SHAPE_circle)がこのfigure(FIG_line)のものと一致しません。")))
        << mismatch.toStdString();

    const QString unread = messageOfLoad([](MemoryNode &f) {
        f.findChild(QStringLiteral("shape"))
            ->addChild(QStringLiteral("extra"), QStringLiteral("1"), true);
    });
    EXPECT_TRUE(unread.startsWith(QStringLiteral("ESouteigai:TTestShape.loadInfoで作者の想定外")))
        << unread.toStdString();
    EXPECT_TRUE(unread.endsWith(
        QStringLiteral("タグ<extra>(1)がファイルに存在しますが, 読み込まれませんでした。")));

    const QString badState = messageOfLoad([](MemoryNode &f) {
        f.findChild(QStringLiteral("shape"))
            ->findChild(QStringLiteral("penbrush"))
            ->findChild(QStringLiteral("state"))
            ->addChild(QStringLiteral("penShape"), QStringLiteral("pbSelect"), true);
    });
    EXPECT_EQ(
        badState, QStringLiteral("EFileFormatError:タグ名(penShape:<penShape>)は認識できません。"));

    // Extra elements inside the pen-brush group are not the shape's business.
    EXPECT_EQ(messageOfLoad([](MemoryNode &f) {
        f.findChild(QStringLiteral("shape"))
            ->findChild(QStringLiteral("penbrush"))
            ->addChild(QStringLiteral("future"), QStringLiteral("1"), true);
    }),
        QStringLiteral("(loaded)"));

    const QString badEnum = messageOfLoad([](MemoryNode &f) {
        f.findChild(QStringLiteral("shape"))
            ->findChild(QStringLiteral("viewOnOff"))
            ->setValue(QStringLiteral("voMaybe"));
    });
    EXPECT_TRUE(badEnum.endsWith(QStringLiteral("列挙型(T)には, voMaybe はありません。")))
        << badEnum.toStdString();

    const QString badWidth = messageOfLoad([](MemoryNode &f) {
        f.findChild(QStringLiteral("shape"))
            ->findChild(QStringLiteral("penbrush"))
            ->findChild(QStringLiteral("penWidthIndex"))
            ->setValue(QStringLiteral("9"));
    });
    EXPECT_TRUE(badWidth.startsWith(QStringLiteral("EFileFormatError:penWidthIndex(9)")))
        << badWidth.toStdString();
}

} // namespace
