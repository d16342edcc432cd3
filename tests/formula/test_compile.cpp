#include "formula/calccode.h"
#include "formula/mathfault.h"
#include "formula_test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace zarno;
using namespace zarno::test;

TEST(ConstantFolding, CodeAfterOptimization)
{
    const struct
    {
        const char *text;
        const char *code;
    } cases[] = {
        { "2*pi", "6.28318530717959" },
        { "1/3", "0.333333333333333" },
        { "x*2", "2 x *" }, // commuted
        { "x+2", "2 x +" },
        { "x-2", "x 2 -" }, // not commutative
        { "2*x*3", "6 x *" }, // reassociated, then folded
        { "x*2/4", "0.5 x *" },
        { "y+x-3", "y 3 - x +" }, // (y+x)-3 becomes (y-3)+x
        { "2^x^3", "2 x ^ 3 ^^" }, // powers are not reassociated
        { "x-(-3)", "x -3 -" },
        { "x^2", "x 2 ^^" },
        { "x^(1+1)", "x 2 ^^" },
        { "x^(-1)", "x -1 ^^" },
        { "x^2.5", "x 2.5 ^" },
        { "x^2.0", "x 2.0 ^" }, // only integer texts make integer powers
        { "x^y", "x y ^" },
        { "(-2)^3", "-2 3 ^^" },
        { "1/0", "1 0 /" }, // no value, so nothing to fold
        { "sqrt(-1)+2", "-1 sqrt 2 +" },
        { "max(1,2)+max(3,4,5)", "7" },
        { "max(x,2)+max(3,4,5)", "x 2 max 5 +" },
        { "sin(pi/2)x", "1 x %" },
        { "2x^2", "2 x 2 ^^ %" },
    };
    for (const auto &c : cases) {
        auto f = facadeWith(onOffXY());
        ASSERT_EQ(f->compileFormula(QString::fromUtf8(c.text)), 0) << c.text;
        EXPECT_EQ(f->code()->toString(), QString::fromUtf8(c.code)) << c.text;
    }
}

TEST(ConstantFolding, FoldedConstantsCarryFifteenDigits)
{
    auto f = facadeWith(TCalcSymbolOnOff {});
    ASSERT_EQ(f->compileFormula(QStringLiteral("2*pi")), 0);
    EXPECT_EQ(f->calculate(), 6.28318530717959);
    EXPECT_NE(f->calculate(), 2 * std::numbers::pi);
    ASSERT_EQ(f->compileFormula(QStringLiteral("pi")), 0); // a lone constant is not folded
    EXPECT_EQ(f->calculate(), std::numbers::pi);
}

TEST(ConstantFolding, OverflowingConstantMakesTheFormulaWrong)
{
    auto f = facadeWith(onOffXY());
    for (const char *text :
        { "10^400", "x+exp(1000)", "max(1, 2^2000)", "sin^2(x)+10^300*10^300" }) {
        EXPECT_EQ(f->compileFormula(QString::fromUtf8(text)), 1) << text;
        EXPECT_TRUE(std::isnan(f->calculate())) << text;
        EXPECT_TRUE(f->errorMessage().isEmpty()) << text; // not a syntax error
    }
    // Folding uses the same operator steps, which raise on a fault.
    TCalcCodeList code(f->symbolList());
    code.append(f->symbolList().addNumber(QStringLiteral("10")));
    code.append(f->symbolList().addNumber(QStringLiteral("400")));
    code.append(f->symbolList().findSymbol(QStringLiteral("^")));
    EXPECT_THROW(TOptimizeCalcCodeList::optimize(code), EMathError);
}

TEST(Facade, ErrorFlagLifecycle)
{
    auto f = TCalcFormulaFacade::createCalcFormulaFacade();
    EXPECT_EQ(f->errorFlag(), 1); // nothing compiled yet
    EXPECT_TRUE(std::isnan(f->calculate()));
    EXPECT_EQ(f->compileFormula(QStringLiteral("1+2")), 0);
    EXPECT_EQ(f->calculate(), 3);
    EXPECT_EQ(f->compileFormula(QStringLiteral("1+")), 1);
    EXPECT_TRUE(std::isnan(f->calculate()));
    // analyzeFormula alone leaves the last compiled code in place.
    EXPECT_EQ(f->compileFormula(QStringLiteral("5")), 0);
    EXPECT_EQ(f->analyzeFormula(QStringLiteral("6")), 0);
    EXPECT_EQ(f->calculate(), 5);
}

TEST(Facade, VariableSwitchDecidesWhatAFormulaMayUse)
{
    auto f = TCalcFormulaFacade::createCalcFormulaFacade();
    EXPECT_EQ(f->compileFormula(QStringLiteral("x+1")), 1); // all off: a constant formula
    EXPECT_EQ(f->errorMessage(), QStringLiteral("不正な文字[x+1]があります。(1文字目)"));
    TCalcSymbolOnOff on;
    on.pointCount = 1;
    f->setCalcSymbolOnOff(on);
    EXPECT_EQ(f->compileFormula(QStringLiteral("p1.x+p1.y")), 0);
    f->mustFindShapeVar(vkPoint, 1, QStringLiteral("x"))->setValue(2);
    f->mustFindVar(QStringLiteral("p1.y"))->setValue(3);
    EXPECT_EQ(f->calculate(), 5);
    EXPECT_EQ(f->compileFormula(QStringLiteral("p2.x")), 1);
}

TEST(Facade, StacksAreEmptyAfterEveryEvaluation)
{
    auto f = facadeWith(onOffXY());
    ASSERT_EQ(f->compileFormula(QStringLiteral("1 + sqrt(x)")), 0);
    TVariable *x = f->mustFindVar(QStringLiteral("x"));
    const TCalcStacks &stacks = f->symbolList().stacks();
    x->setValue(-1);
    EXPECT_TRUE(std::isnan(f->calculator().calc_code(*f->code())));
    EXPECT_EQ(stacks.doubles.count(), 0);
    x->setValue(4);
    EXPECT_EQ(f->calculator().calc_code(*f->code()), 3);
    EXPECT_EQ(stacks.doubles.count(), 0);
    EXPECT_EQ(f->calculate(), 3);
}

TEST(Facade, IsValidNumberFormula)
{
    auto f = TCalcFormulaFacade::createCalcFormulaFacade();
    EXPECT_TRUE(f->isValidNumberFormula(QStringLiteral("2+3")));
    EXPECT_FALSE(f->isValidNumberFormula(QStringLiteral("1/0")));
    EXPECT_FALSE(f->isValidNumberFormula(QStringLiteral("10^400")));
    EXPECT_FALSE(f->isValidNumberFormula(QStringLiteral("")));
    EXPECT_FALSE(f->isValidNumberFormula(QStringLiteral("x")));
    TCalcSymbolOnOff on;
    on.xOn = true;
    f->setCalcSymbolOnOff(on);
    EXPECT_TRUE(f->isValidNumberFormula(QStringLiteral("1/0 +")));
}

TEST(Facade, NumbersOfReplacedFormulasAreReleased)
{
    // A preview recompiles on every keystroke; the facade must not keep the
    // numbers of every formula it ever read.
    auto f = facadeWith(onOffXY());
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(f->compileFormula(QStringLiteral("1.5x + 2*pi + %1").arg(i)), 0);
    // 1.5, 2 and 199 in the tokens; 6.28318530717959 in the code.
    EXPECT_EQ(f->symbolList().ownSymbols().size(), 4u);
    f->mustFindVar(QStringLiteral("x"))->setValue(2);
    EXPECT_EQ(f->calculate(), 3 + 6.28318530717959 + 199);
    // The code of the last compilation survives a later analysis.
    ASSERT_EQ(f->analyzeFormula(QStringLiteral("7")), 0);
    EXPECT_EQ(f->calculate(), 3 + 6.28318530717959 + 199);
}

TEST(Facade, CompileSubtreeEvaluatesOneNode)
{
    auto f = facadeWith(onOffXY());
    ASSERT_EQ(f->analyzeFormula(QStringLiteral("sin(pi/2) + x")), 0);
    const TTokenNode *sinNode = f->tree()->child(0);
    f->compileSubtree(sinNode);
    EXPECT_EQ(f->errorFlag(), 0);
    EXPECT_EQ(f->calculate(), 1);
    EXPECT_EQ(f->code()->toString(), QStringLiteral("1"));
}

TEST(Facade, ValuesBeyondTheStacksHaveNoValue)
{
    // 111 values fit on the stacks at once; a formula that needs more has
    // no value rather than a crash, whether by arguments or by nesting.
    auto f = facadeWith(onOffXY());
    f->mustFindVar(QStringLiteral("x"))->setValue(-1);
    const auto maxOf = [](int args) {
        QString t = QStringLiteral("max(x");
        for (int i = 1; i < args; ++i)
            t += QStringLiteral(",%1").arg(i);
        return t + QLatin1Char(')');
    };
    ASSERT_EQ(f->compileFormula(maxOf(111)), 0);
    EXPECT_EQ(f->calculate(), 110);
    EXPECT_EQ(f->calculator().calc_code(*f->code()), 110);
    ASSERT_EQ(f->compileFormula(maxOf(112)), 0);
    EXPECT_TRUE(f->calculator().program().noValue());
    EXPECT_TRUE(std::isnan(f->calculate()));
    EXPECT_TRUE(std::isnan(f->calculator().calc_code(*f->code())));

    const auto rightLeaning = [](int depth) {
        return QStringLiteral("x+(").repeated(depth) + QStringLiteral("x")
            + QStringLiteral(")").repeated(depth);
    };
    ASSERT_EQ(f->compileFormula(rightLeaning(110)), 0);
    EXPECT_EQ(f->calculate(), -111);
    ASSERT_EQ(f->compileFormula(rightLeaning(111)), 0);
    EXPECT_TRUE(std::isnan(f->calculate()));

    // All-constant arguments fold on the folder's own stacks whatever their number.
    ASSERT_EQ(
        f->compileFormula(maxOf(300).replace(QStringLiteral("max(x"), QStringLiteral("max(0"))), 0);
    EXPECT_EQ(f->calculate(), 299);
}

TEST(Facade, BatchGivesWhatSingleEvaluationsGive)
{
    auto f = facadeWith(onOffXY());
    std::vector<double> xs;
    for (int i = -600; i <= 600; ++i)
        xs.push_back(i / 100.0);
    xs.push_back(std::nan(""));
    std::vector<double> batch(xs.size());
    for (const char *text :
        { "x^2-3x+2", "(x+1)/(x-1)+log(x^2+1)", "sqrt(x)+1/x", "max(x, y, 2) - min(1, x)",
            "sin^2 x + exp(-x^2/2)/sqrt(2pi)", "x^0", "nthrt(3, x) + logn(2, x+3)", "x", "3",
            "2^x + x^y + arctan(x)*floor(x)*ceil(x)*abs(x) - tan(x)cos(x)",
            "1/(x-y)^(-2) + x/y + y/x" }) {
        ASSERT_EQ(f->compileFormula(QString::fromUtf8(text)), 0) << text;
        TVariable *x = f->mustFindVar(QStringLiteral("x"));
        f->mustFindVar(QStringLiteral("y"))->setValue(0.5);
        f->calculateBatch(*x, xs.data(), batch.data(), qsizetype(xs.size()));
        for (std::size_t i = 0; i < xs.size(); ++i) {
            x->setValue(xs[i]);
            const double single = f->calculate();
            EXPECT_TRUE(single == batch[i] || (std::isnan(single) && std::isnan(batch[i])))
                << text << " at x=" << xs[i] << ": " << single << " vs " << batch[i];
        }
    }
}
