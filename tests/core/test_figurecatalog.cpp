#include "core/figurecatalog.h"

#include <gtest/gtest.h>

using namespace zarno;

TEST(FigureCatalog, IteratorWalksAllRowsInOrder)
{
    auto it = TFigureInfo::iterator();
    int rows = 0, tools = 0, visibleTools = 0;
    QList<TFiguretype> order;
    while (it.hasNext()) {
        const TFigureActionInfo info = it.next();
        ++rows;
        order.append(info.figureType);
        if (info.hasTool) {
            // Counted over the rows of the first release; the rest are checked below.
            if (rows <= TFigureInfo::kFirstReleaseRowCount) {
                ++tools;
                if (info.visibleByDefault)
                    ++visibleTools;
            }
            EXPECT_FALSE(info.menuLetter.isEmpty());
            EXPECT_TRUE(TFigureInfo::menuGroups().contains(info.groupName))
                << info.id.toStdString();
        }
    }
    EXPECT_EQ(rows, TFigureInfo::kFirstReleaseRowCount + 3);
    EXPECT_EQ(TFigureInfo::kFirstReleaseRowCount, 41);
    EXPECT_EQ(tools, 28);
    EXPECT_EQ(visibleTools, 25);
    EXPECT_EQ(order.first(), TFiguretype::FIG_null);
    EXPECT_EQ(order[10], TFiguretype::FIG_shapeVariable2dot);
    EXPECT_EQ(order[40], TFiguretype::FIG_polygon);
    EXPECT_EQ(enumCount<TFiguretype>(), 43u + 3u);
}

// The intersection points came later: new figure types after every older
// one (files name figure types, toolbars sort by them), each a visible tool
// in the points group after the first release's point tools.
TEST(FigureCatalog, IntersectionToolsFollowTheFirstReleasePointTools)
{
    struct Case
    {
        TFiguretype type;
        const char *id;
        const char *toolbarText;
        const char *digit;
    } cases[] = {
        { TFiguretype::FIG_koutenLineLine, "koutenLineLine", "線1,線2の交点", "4" },
        { TFiguretype::FIG_koutenLineCircle, "koutenLineCircle", "線1,円1の交点", "5" },
        { TFiguretype::FIG_koutenCircleCircle, "koutenCircleCircle", "円1,円2の交点", "6" },
    };
    for (const Case &c : cases) {
        const TFigureActionInfo *row = TFigureInfo::find(c.type);
        ASSERT_NE(row, nullptr) << c.id;
        EXPECT_GT(int(c.type), int(TFiguretype::FIG_polygon));
        EXPECT_EQ(row->id, QString::fromUtf8(c.id));
        EXPECT_TRUE(row->hasTool && row->visibleByDefault);
        EXPECT_EQ(row->groupName, QStringLiteral("点"));
        EXPECT_EQ(row->menuLetter, QStringLiteral("D"));
        EXPECT_EQ(row->menuDigit, QString::fromUtf8(c.digit));
        EXPECT_EQ(TFigureInfo::toolbarText(row->guidance), QString::fromUtf8(c.toolbarText));
    }
}

TEST(FigureCatalog, RowsThatAreEasyToGetWrong)
{
    EXPECT_EQ(TFigureInfo::find(TFiguretype::FIG_dotOnLine)->id, QStringLiteral("dotOnSen"));
    EXPECT_EQ(TFigureInfo::guidanceTemplate(TFiguretype::FIG_dotOnFunction),
        TFigureInfo::guidanceTemplate(TFiguretype::FIG_dotOnFunctionY));
    EXPECT_EQ(TFigureInfo::find(TFiguretype::FIG_printAreaDot), nullptr);
    EXPECT_TRUE(TFigureInfo::guidanceTemplate(TFiguretype::FIG_printAreaSenbun).isEmpty());
    for (auto hidden : { TFiguretype::FIG_sessenOnCircle, TFiguretype::FIG_sessenOnEllipse,
             TFiguretype::FIG_arrow2writing }) {
        EXPECT_TRUE(TFigureInfo::find(hidden)->hasTool);
        EXPECT_FALSE(TFigureInfo::find(hidden)->visibleByDefault);
    }
    EXPECT_EQ(TFigureInfo::menuGroups().size(), 12);
    EXPECT_EQ(TFigureInfo::menuGroups()[5], QStringLiteral("双曲線"));
}

TEST(FigureCatalog, ToolbarTexts)
{
    struct Case
    {
        TFiguretype type;
        const char *expected;
    } cases[] = {
        { TFiguretype::FIG_line, "点1,点2を通る直線" },
        { TFiguretype::FIG_line_1tenHeikou, "点1を通り, 線1に平行な直線" },
        { TFiguretype::FIG_tracer, "形の軌跡マーク" },
        { TFiguretype::FIG_sessenOnEllipse, "楕円1上の点1における接線" },
        { TFiguretype::FIG_arrow2writing, "矢印1に関連した文字列" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(TFigureInfo::toolbarText(TFigureInfo::guidanceTemplate(c.type)),
            QString::fromUtf8(c.expected));
}
