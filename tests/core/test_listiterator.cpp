#include "core/exceptions.h"
#include "core/listiterator.h"

#include <gtest/gtest.h>

using namespace zarno;

TEST(ListIterator, ForwardBackwardAndSubRange)
{
    const QList<int> list { 1, 2, 3, 4, 5 };
    TListIterator<int> fwd(list);
    EXPECT_FALSE(fwd.hasCurrent());
    EXPECT_THROW(fwd.current(), ESouteigai);
    QList<int> seen;
    while (fwd.hasNext())
        seen.append(fwd.next());
    EXPECT_EQ(seen, list);
    EXPECT_EQ(fwd.current(), 5);
    EXPECT_THROW(fwd.next(), ESouteigai);
    EXPECT_EQ(fwd.previous(), 4);

    TListIterator<int> back(list, TListIterator<int>::Direction::Backward, 1, 1);
    seen.clear();
    while (back.hasPrevious())
        seen.append(back.previous());
    EXPECT_EQ(seen, (QList<int> { 4, 3, 2 }));
    EXPECT_FALSE(back.hasPrevious());
}

TEST(ListIterator, CurrentBeforeAnyStepNamesItself)
{
    const QList<int> list { 1 };
    TListIterator<int> it(list);
    try {
        it.current();
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("currentは存在しません。"));
        EXPECT_EQ(e.methodName(), QStringLiteral("current"));
    }
}
