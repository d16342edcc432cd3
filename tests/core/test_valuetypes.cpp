#include "core/exceptions.h"
#include "core/valuetypes.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;

TEST(ModelRect, ContainsAndRangeChecks)
{
    const TModelRectST r { 0, 10, -1, 1 };
    EXPECT_TRUE(r.contains(TModelRectST { 0, 10, -1, 1 }));
    EXPECT_FALSE(r.contains(TModelRectST { 0, 10.5, -1, 1 }));
    EXPECT_TRUE(r.containsPoint({ 10, 1 }));
    EXPECT_FALSE(r.containsPoint({ 10, 1.01 }));
    EXPECT_EQ(r.checkRange_inOrOut({ 5, 1 }), 0); // y equal to tMax is inside
    EXPECT_EQ(r.checkRange_inOrOut({ 5, 1.5 }), 1);
    EXPECT_EQ(r.checkRange_inOrOut({ 5, -1.5 }), 2);
    EXPECT_EQ(r.checkRange_inOrOut({ 5, std::nan("") }), 3);
    try {
        r.checkRange_inOrOut({ 11, 0 });
        FAIL() << "expected ESouteigai";
    } catch (const ESouteigai &e) {
        EXPECT_TRUE(
            e.message().startsWith(QStringLiteral("modelRectST.checkRange_inOrOutで作者の想定外")));
        EXPECT_EQ(e.detail(), QStringLiteral("sの値が範囲を外れています。"));
    }
    EXPECT_EQ(r.clampT(5), 1);
    EXPECT_EQ(r.clampT(-5), -1);
}

TEST(IntRange, OrderAndUnsetErrors)
{
    const T_intRangeMinMax r(9, 3);
    EXPECT_EQ(r.getMin(), 3);
    EXPECT_EQ(r.getMax(), 9);
    EXPECT_TRUE(r.contains(3));
    EXPECT_TRUE(r.contains(9));
    EXPECT_FALSE(r.contains(10));
    const T_intRangeMinMax unset;
    EXPECT_THROW(unset.getMin(), ESouteigai);
    try {
        unset.getMax();
        ADD_FAILURE() << "expected ESouteigai";
    } catch (const ESouteigai &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("T_intRangeMinMax.getMax")));
        EXPECT_EQ(e.detail(), QStringLiteral("intRangeMinMaxには正しい範囲がありません。"));
    }
}

TEST(ZeroCheck, ToleranceIsInclusive)
{
    EXPECT_TRUE(TCheckZeroInfinity::isZero(1e-5));
    EXPECT_TRUE(TCheckZeroInfinity::isZero(-1e-5));
    EXPECT_FALSE(TCheckZeroInfinity::isZero(1.1e-5));
}

TEST(TextAnchor, OffsetsForEveryDirection)
{
    struct Case
    {
        T_Direction d;
        QPoint expected;
    } cases[] = {
        { T_Direction::dirN, { -2, -3 } },
        { T_Direction::dirNE, { 0, -3 } },
        { T_Direction::dirE, { 0, -1 } },
        { T_Direction::dirSE, { 0, 0 } },
        { T_Direction::dirS, { -2, 0 } },
        { T_Direction::dirSW, { -5, 0 } },
        { T_Direction::dirW, { -5, -1 } },
        { T_Direction::dirNW, { -5, -3 } },
        { T_Direction::dirCt, { -2, -1 } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(textAnchorOffset(5, 3, c.d), c.expected) << int(c.d);
}
