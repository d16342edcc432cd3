// The records of a locus: their order and tolerance, the sorted list
// without duplicates, and the text each gives.
#include "model/geometry/mathcyokusen.h"
#include "model/geometry/mathen.h"
#include "support/expect_souteigai.h"
#include "trace/tracelist.h"
#include "trace/tracerecords.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace zarno;

namespace {

std::unique_ptr<TAbstractTraceRecordOf> dot(double x, double y)
{
    return std::make_unique<TTraceRecordOfDot>(x, y);
}

TEST(TraceList, KeepsAscendingOrderAndFreesEveryDuplicateWithinTheTolerance)
{
    TTraceList list;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> grid(-30, 30);
    int added = 0;
    std::set<std::pair<int, int>> distinct;
    for (int i = 0; i < 3000; ++i) {
        const int gx = grid(rng), gy = grid(rng);
        distinct.insert({ gx, gy });
        // A jitter well inside the tolerance is the same position.
        const double jitter = (i % 3 - 1) * 4e-6;
        added += list.addIfNewElseFree(dot(gx * 0.1 + jitter, gy * 0.1 - jitter)) ? 1 : 0;
    }
    EXPECT_EQ(list.count(), int(distinct.size()));
    EXPECT_EQ(added, list.count());
    for (int i = 1; i < list.count(); ++i)
        EXPECT_EQ(list.item(i).compare(list.item(i - 1)), TAbstractTraceRecordOf::kGreater) << i;
    EXPECT_EQ(int(list.inArrivalOrder().size()), list.count());
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.inArrivalOrder().empty());
}

TEST(TraceList, InsertsAtBothEndsAndBetween)
{
    TTraceList list;
    for (double x : { 5.0, 1.0, 9.0, 3.0, 7.0, 2.0, 8.0 })
        ASSERT_TRUE(list.addIfNewElseFree(dot(x, 0)));
    for (double x : { 5.0, 1.0, 9.0, 3.0, 2.000001 })
        EXPECT_FALSE(list.addIfNewElseFree(dot(x, 0))) << x;
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i).asText();
    EXPECT_EQ(texts.join(QLatin1Char(' ')),
        QStringLiteral("dot:(1.00000,0.00000) dot:(2.00000,0.00000) dot:(3.00000,0.00000) "
                       "dot:(5.00000,0.00000) dot:(7.00000,0.00000) dot:(8.00000,0.00000) "
                       "dot:(9.00000,0.00000)"));
    // Arrival order is what came, not where it went.
    EXPECT_EQ(static_cast<const TTraceRecordOfDot *>(list.inArrivalOrder()[1])->x, 1.0);
}

TEST(TraceRecords, LineRecordsCompareByWhatTheirKindIsMadeOf)
{
    auto line = [](double x1, double y1, double x2, double y2, TBoundaryType type) {
        TMathCyokusen l;
        l.setBy2Points(x1, y1, x2, y2);
        l.boundary.type = type;
        l.boundary.first.setXY(x1, y1);
        l.boundary.second.setXY(x2, y2);
        return TTraceRecordOfCyokusen::of(l);
    };
    using B = TBoundaryType;
    // One whole line through differently spaced points is one record.
    EXPECT_EQ(line(0, 0, 1, 1, B::btAll)->compare(*line(2, 2, 5, 5, B::btAll)), 0);
    // A ray: the same line from another start is another ray.
    EXPECT_EQ(line(0, 0, 1, 1, B::btOneSide)->compare(*line(0, 0, 3, 3, B::btOneSide)), 0);
    EXPECT_NE(line(0, 0, 1, 1, B::btOneSide)->compare(*line(1, 1, 3, 3, B::btOneSide)), 0);
    // ... and the opposite direction is another ray.
    EXPECT_NE(line(0, 0, 1, 1, B::btOneSide)->compare(*line(0, 0, -1, -1, B::btOneSide)), 0);
    // A segment is its two ends.
    EXPECT_EQ(line(0, 0, 1, 1, B::btBothSides)->compare(*line(0, 0, 1, 1, B::btBothSides)), 0);
    EXPECT_NE(line(0, 0, 1, 1, B::btBothSides)->compare(*line(0, 0, 2, 2, B::btBothSides)), 0);

    EXPECT_EQ(line(0, 0, 0, 2, B::btAll)->asText(),
        QStringLiteral("cyokusen:1.00000,0.00000,0.00000boundary:(btAll)"));
    EXPECT_EQ(line(1, 2, 1, 4, B::btBothSides)->asText(),
        QStringLiteral("cyokusen:1.00000,0.00000,-1.00000boundary:(btBothSides(1.00000,2.00000),"
                       "(1.00000,4.00000))"));
}

TEST(TraceRecords, ALineRecordAgainstAnUnsupportedBoundaryTypeIsAnError)
{
    TMathCyokusen l;
    l.setBy2Points(0, 0, 1, 1);
    auto a = TTraceRecordOfCyokusen::of(l);
    l.boundary.type = TBoundaryType::btAllVec;
    auto b = TTraceRecordOfCyokusen::of(l);
    test::expectSouteigai([&] { (void)a->compare(*b); }, QStringLiteral("compare"),
        QStringLiteral("直線境界タイプ(btAllVec)の軌跡はサポートしていません。"));
}

TEST(TraceRecords, CirclesAndArcsAndTheTextsOfTheOtherKinds)
{
    TMathEn c;
    c.setCentreRadius(TMathZahyo(1, 2), 3);
    c.boundary.type = TBoundaryType::btAll;
    c.boundary.first.setXY(9, 9); // a full circle's leftovers do not count
    auto full = TTraceRecordOfCircle::of(c);
    c.boundary.first.setXY(-4, 4);
    EXPECT_EQ(full->compare(*TTraceRecordOfCircle::of(c)), 0);
    EXPECT_EQ(full->asText(), QStringLiteral("circle:(1.00000,2.00000),3.00000boundary:(btAll)"));
    c.boundary.type = TBoundaryType::btOneSide;
    auto arc = TTraceRecordOfCircle::of(c);
    c.boundary.second.setXY(1, 5);
    EXPECT_NE(arc->compare(*TTraceRecordOfCircle::of(c)), 0);

    EXPECT_EQ(TTraceRecordOfEllipse(TMathZahyo(0, 1), 2, 3).asText(),
        QStringLiteral("ellipse:(0.00000,1.00000),2.00000,3.00000"));
    EXPECT_EQ(
        TTraceRecordOfFunction(1, -1).asText(), QStringLiteral("function:(1.00000,-1.00000)"));
    TTraceRecordOfSeishiki s({ { 2, 1 }, { -1, 0 }, { 0, 5 } });
    EXPECT_EQ(s.asText(),
        QStringLiteral("seishiki:(-1.00000,0.00000)(0.00000,5.00000)(2.00000,1.00000)"));
    EXPECT_EQ(s.compare(TTraceRecordOfSeishiki({ { 0, 5 }, { 2, 1 }, { -1, 0 } })), 0);
}

// A value record of a shape-variable graph, for the record of up to five.
class FakeValue : public TAbstractValueRecord
{
public:
    explicit FakeValue(double v)
        : v(v)
    { }
    int compare(const TAbstractValueRecord &o) const override
    {
        return compareTraceDoubles(v, static_cast<const FakeValue &>(o).v);
    }
    QString asText() const override { return QString::number(v); }
    void restore() override { ++restored; }
    void release() override { ++released; }
    double v;
    int restored = 0, released = 0;
};

TEST(TraceRecords, AShapeVariableRecordHoldsAtMostFiveValueRecords)
{
    TTraceRecordOfSomething2function a, b;
    for (double v : { 1.0, 2.0 }) {
        a.add(std::make_unique<FakeValue>(v));
        b.add(std::make_unique<FakeValue>(v == 2.0 ? 3.0 : v));
    }
    EXPECT_EQ(a.asText(), QStringLiteral("something2function: [1:1][2:2]"));
    EXPECT_EQ(a.compare(b), TAbstractTraceRecordOf::kSmaller);
    EXPECT_TRUE(a.differs(b));
    for (int i = 0; i < 3; ++i)
        a.add(std::make_unique<FakeValue>(i));
    test::expectSouteigai([&] { a.add(std::make_unique<FakeValue>(9)); }, QStringLiteral("add"),
        QStringLiteral("選択されたshapeが多すぎます。(6個)"));
}

} // namespace
