#include "formula/calcdimension.h"
#include "formula_test_support.h"
#include "support/expect_souteigai.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace zarno;
using namespace zarno::test;

namespace {

constexpr auto kConst = TDimensionInfo::dsConstant;
constexpr auto kPoly = TDimensionInfo::dsPolynomial;
constexpr auto kNone = TDimensionInfo::dsNotPolynomial;

TCalcSymbolOnOff onlyX()
{
    TCalcSymbolOnOff on;
    on.xOn = true;
    return on;
}

} // namespace

TEST(DegreeAnalysis, RecordsOfFormulas)
{
    const struct
    {
        const char *text;
        TDimensionInfo::State state;
        std::vector<double> coefficients; // x^0 upwards; the rest must be 0
    } cases[] = {
        { "3", kConst, { 3 } },
        { "pi", kConst, { std::numbers::pi } },
        { "2^3", kConst, { 8 } },
        { "(-2)^3", kConst, { -8 } }, // as the compiled formula computes it
        { "sin(pi/2)", kConst, { 1 } },
        { "max(1,4,2)-1", kConst, { 3 } },
        { "x^0", kConst, { 1 } },
        { "3x^2-2x+1", kPoly, { 1, -2, 3 } },
        { "x^2 - 3x + 2", kPoly, { 2, -3, 1 } },
        { "-x^2", kPoly, { 0, 0, -1 } },
        { "(x-1)(x+2)^2", kPoly, { -4, 0, 3, 1 } },
        { "(x+1)^2", kPoly, { 1, 2, 1 } },
        { "(x^2+x+1)^2", kPoly, { 1, 2, 3, 2, 1 } },
        { "(x^2)^2", kPoly, { 0, 0, 0, 0, 1 } },
        { "(2x-1)^4", kPoly, { 1, -8, 24, -32, 16 } },
        { "x/2", kPoly, { 0, 0.5 } },
        { "(x^2+3)/2", kPoly, { 1.5, 0, 0.5 } },
        { "sin(pi/2)x", kPoly, { 0, 1 } },
        { "x - x", kPoly, { 0, 0 } }, // degree 1 with nothing left: no cancellation test
        { "x^5", kNone, {} },
        { "(x^2+1)^3", kNone, {} },
        { "x^3*x^2", kNone, {} },
        { "sin x", kNone, {} },
        { "2/x", kNone, {} },
        { "1/x", kNone, {} },
        { "sqrt(x)", kNone, {} },
        { "x^0.5", kNone, {} },
        { "x^(1+1)", kNone, {} },
        { "x^2.0", kNone, {} },
        { "2^x", kNone, {} },
        { "max(x,1)", kNone, {} },
        // A divisor the evaluation refuses leaves no value anywhere.
        { "x/0", kNone, {} },
        { "x^2/0.000001", kNone, {} },
        // A constant without a value: no polynomial either.
        { "x+sqrt(-1)", kNone, {} },
    };
    for (const auto &c : cases) {
        auto f = facadeWith(onlyX());
        ASSERT_EQ(f->analyzeFormula(QString::fromUtf8(c.text)), 0) << c.text;
        const TDimensionInfo &d = f->dimensionInfo();
        EXPECT_EQ(d.state(), c.state) << c.text;
        if (c.state == kNone)
            continue;
        EXPECT_EQ(d.degree(), int(c.coefficients.size()) - 1) << c.text;
        for (int k = 0; k <= TDimensionInfo::kMaxDegree; ++k) {
            const double want = k < int(c.coefficients.size()) ? c.coefficients[std::size_t(k)] : 0;
            EXPECT_NEAR(d.coefficient(k), want, 1e-12) << c.text << " x^" << k;
        }
    }
}

TEST(DegreeAnalysis, TheFreeVariableAndShapeVariables)
{
    TCalcSymbolOnOff onlyY;
    onlyY.yOn = true;
    auto f = facadeWith(onlyY);
    ASSERT_EQ(f->analyzeFormula(QStringLiteral("y^2+1")), 0);
    EXPECT_EQ(f->dimensionInfo().degree(), 2);

    // A shape variable counts with its value at the time of the analysis.
    TCalcSymbolOnOff withPoint = onlyX();
    withPoint.pointCount = 1;
    auto g = facadeWith(withPoint);
    TCalcSymbolTable::getInstance().applyOnOff(withPoint);
    g->mustFindShapeVar(vkPoint, 1, QStringLiteral("x"))->setValue(2.5);
    ASSERT_EQ(g->analyzeFormula(QStringLiteral("p1.x*x+p1.x^2")), 0);
    EXPECT_EQ(g->dimensionInfo().state(), kPoly);
    EXPECT_DOUBLE_EQ(g->dimensionInfo().coefficient(1), 2.5);
    EXPECT_DOUBLE_EQ(g->dimensionInfo().coefficient(0), 6.25);
    g->mustFindShapeVar(vkPoint, 1, QStringLiteral("x"))->setValue(0);
    EXPECT_DOUBLE_EQ(g->dimensionInfo().coefficient(1), 2.5); // kept until analysed again
}

TEST(DegreeAnalysis, ErroneousFormulasHaveNoRecordAndLongOnesDoNotExhaustTheStack)
{
    auto f = facadeWith(onlyX());
    ASSERT_EQ(f->analyzeFormula(QStringLiteral("2+*x")), 1);
    expectSouteigai([&] { f->dimensionInfo(); }, QStringLiteral("dimensionInfo"),
        QStringLiteral("数式にエラーがありますので, 次数は計算できません。"));

    // A formula as deep as it is long.
    QString text = QStringLiteral("x");
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("+1");
    ASSERT_EQ(f->analyzeFormula(text), 0);
    EXPECT_EQ(f->dimensionInfo().degree(), 1);
    EXPECT_DOUBLE_EQ(f->dimensionInfo().coefficient(0), 20000);

    // Coefficients that overflow make the formula no polynomial.
    ASSERT_EQ(f->analyzeFormula(QStringLiteral("(10^200*x)^2")), 0);
    EXPECT_EQ(f->dimensionInfo().state(), kNone);
}

TEST(DegreeAnalysis, TheRecordItself)
{
    TDimensionInfo d;
    EXPECT_EQ(d.state(), kNone);
    EXPECT_EQ(d.degree(), -1);
    d.setDegree(2);
    EXPECT_EQ(d.state(), kPoly);
    d.setCoefficient(2, 4);
    EXPECT_EQ(d.coefficient(2), 4);
    d.setCoefficient(3, 1); // above the degree: no polynomial, nothing stored
    EXPECT_EQ(d.state(), kNone);
    EXPECT_EQ(d.coefficient(3), 0);
    d.setDegree(5);
    EXPECT_EQ(d.state(), kNone);
    EXPECT_EQ(d.degree(), -1);
    d.setDegree(0);
    EXPECT_EQ(d.state(), kConst);
}

TEST(DegreeAnalysis, ExponentTuplesOfTheMultinomialExpansion)
{
    TPermutationsIncludingSameIterator it(2, 3);
    TPermutationIncludingSameInfo info;
    std::vector<TIntArray> tuples;
    std::vector<double> coefficients;
    while (it.next()) {
        it.info(info);
        tuples.push_back(info.tuple);
        coefficients.push_back(info.coefficient);
    }
    EXPECT_EQ(tuples,
        (std::vector<TIntArray> {
            { 0, 0, 2 }, { 0, 1, 1 }, { 0, 2, 0 }, { 1, 0, 1 }, { 1, 1, 0 }, { 2, 0, 0 } }));
    EXPECT_EQ(coefficients, (std::vector<double> { 1, 2, 1, 2, 2, 1 }));

    // Every composition of 4 into 5 parts once: C(8, 4) of them, with
    // coefficients summing to 5^4.
    TPermutationsIncludingSameIterator big(4, 5);
    int count = 0;
    double sum = 0;
    while (big.next()) {
        big.info(info);
        ++count;
        sum += info.coefficient;
    }
    EXPECT_EQ(count, 70);
    EXPECT_DOUBLE_EQ(sum, 625);

    TPermutationsIncludingSameIterator one(3, 1);
    ASSERT_TRUE(one.next());
    one.info(info);
    EXPECT_EQ(info.tuple, TIntArray { 3 });
    EXPECT_FALSE(one.next());

    expectSouteigai([] { TPermutationsIncludingSameIterator(0, 2); }, QStringLiteral("create"),
        QStringLiteral("パラメータが間違っています。 (dimension=0, kousuu=2)"));
}
