#include "formula/calcsymbollist.h"
#include "formula/numbertext.h"
#include "formula_test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

using namespace zarno;
using namespace zarno::test;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(SymbolTable, NameListIsLongestFirstThenAlphabetical)
{
    const TCalcSymbolTable &t = TCalcSymbolTable::getInstance();
    const QStringList &names = t.nameList();
    EXPECT_EQ(names.size(), qsizetype(t.notVarConstSymbols().size() + t.variables().size()));
    for (qsizetype i = 1; i < names.size(); ++i) {
        const QString &a = names[i - 1];
        const QString &b = names[i];
        EXPECT_TRUE(a.size() > b.size()
            || (a.size() == b.size() && QString::compare(a, b, Qt::CaseInsensitive) <= 0))
            << a.toStdString() << " before " << b.toStdString();
    }
    EXPECT_EQ(names.first(), QStringLiteral("e1.alenx"));
    EXPECT_EQ(t.variables().size(), std::size_t(2 + 5 * (8 + 2 + 3 + 1)));
    // Ellipse variables are created before points, circles and lines.
    EXPECT_EQ(t.variables()[2]->name(), QStringLiteral("e1.cx"));
    EXPECT_EQ(t.variables().back()->name(), QStringLiteral("l5.angle"));
}

TEST(SymbolTable, LookupsIgnoreCaseAndSkipDisabledVariables)
{
    TCalcSymbolList list;
    list.applyOnOff(TCalcSymbolOnOff {});
    EXPECT_EQ(list.findSymbol(QStringLiteral("PI")), list.findSymbol(QStringLiteral("pi")));
    ASSERT_NE(list.findSymbol(QStringLiteral("Pi")), nullptr);
    EXPECT_DOUBLE_EQ(list.findSymbol(QStringLiteral("Pi"))->getValue(), std::numbers::pi);
    EXPECT_NE(list.findOp(QStringLiteral("Sin^")), nullptr);
    EXPECT_EQ(list.findOp(QStringLiteral("pi")), nullptr);
    EXPECT_EQ(list.findSymbol(QStringLiteral("x")), nullptr); // variables are not symbols here
    EXPECT_EQ(raisedMessage([&] { list.mustFindVar(QStringLiteral("x")); }),
        QStringLiteral(
            "TCalcSymbolList.mustFindで作者の想定外のエラーが起こりました。\r\n"
            "（おそらくプログラムのバグです。）\r\n\r\n文字<x>は認識できないシンボルです。"));
    EXPECT_TRUE(raisedMessage([&] {
        list.mustFindOp(QStringLiteral("pi"));
    }).endsWith(QStringLiteral("文字<pi>は認識できない演算子です。")));

    TCalcSymbolOnOff on;
    on.ellipseCount = 3;
    list.applyOnOff(on);
    TVariable *v = list.mustFindShapeVar(vkEllipse, 3, QStringLiteral("alenx"));
    EXPECT_EQ(v->name(), QStringLiteral("e3.alenx"));
    EXPECT_EQ(v->varKind(), int(vkEllipse));
    EXPECT_EQ(v->number(), 3);
    EXPECT_EQ(list.mustFindVar(QStringLiteral("E3.ALENX")), v);
}

TEST(SymbolTable, SwitchRecordEnablesExactlyItsVariables)
{
    TCalcSymbolList list;
    const auto enabled = [&](const char *name) {
        return list.table().findVariable(QString::fromLatin1(name)) != nullptr;
    };
    TCalcSymbolOnOff on;
    on.xOn = true;
    on.pointCount = 2;
    on.lineCount = 1;
    list.applyOnOff(on);
    EXPECT_TRUE(enabled("x"));
    EXPECT_FALSE(enabled("y"));
    EXPECT_TRUE(enabled("p2.y"));
    EXPECT_FALSE(enabled("p3.x"));
    EXPECT_TRUE(enabled("l1.angle"));
    EXPECT_FALSE(enabled("l2.angle"));
    EXPECT_FALSE(enabled("c1.r"));
    EXPECT_FALSE(enabled("e1.fly"));

    list.applyOnOff(TCalcSymbolOnOff {});
    for (TVariable *v : list.table().variables())
        EXPECT_FALSE(v->enabled()) << v->name().toStdString();
}

TEST(SymbolTable, IteratorWalksSharedThenOwnThenVariables)
{
    TCalcSymbolList list;
    list.addNumber(QStringLiteral("2.5"));
    TCalcSymbolIterator it(list);
    std::vector<TCalcSymbol *> seen;
    while (it.hasNext())
        seen.push_back(it.next());
    const TCalcSymbolTable &t = list.table();
    ASSERT_EQ(seen.size(), t.notVarConstSymbols().size() + 1 + t.variables().size());
    EXPECT_EQ(seen.front()->name(), QStringLiteral("+"));
    EXPECT_EQ(seen[t.notVarConstSymbols().size()]->name(), QStringLiteral("2.5"));
    EXPECT_EQ(seen.back(), t.variables().back());
}

TEST(SymbolTable, NumberSymbols)
{
    TCalcSymbolList list;
    EXPECT_TRUE(list.addNumber(QStringLiteral("2"))->isIntegerText());
    EXPECT_TRUE(list.addNumber(QStringLiteral("-3"))->isIntegerText());
    EXPECT_FALSE(list.addNumber(QStringLiteral("2.0"))->isIntegerText());
    EXPECT_FALSE(list.addNumber(QStringLiteral("2147483648"))->isIntegerText());
    EXPECT_EQ(list.addInteger(QStringLiteral("-7"))->value(), -7);
    EXPECT_EQ(raisedMessage([&] { list.addNumber(QStringLiteral("1.2.3")); }),
        QStringLiteral("TCalcSymbolList.addNumberで以下のエラーが発生しました。\r\n"
                       "実数に変換できない文字列(1.2.3)です。"));
    EXPECT_TRUE(raisedMessage([&] {
        list.addInteger(QStringLiteral("2.5"));
    }).endsWith(QStringLiteral("整数に変換できない文字列(2.5)です。")));
}

TEST(SymbolTable, AbstractOperationsNameThemselves)
{
    TCalcSymbolList list;
    TCalcSymbol *paren = list.findSymbol(QStringLiteral("("));
    ASSERT_NE(paren, nullptr);
    EXPECT_TRUE(raisedMessage([&] {
        paren->getValue();
    }).contains(QStringLiteral(".getValueで作者の想定外のエラーが起こりました。")));
    EXPECT_TRUE(raisedMessage([&] { paren->isNumber(); }).contains(QStringLiteral(".isNumber")));
    EXPECT_TRUE(raisedMessage([&] {
        list.findSymbol(QStringLiteral("pi"))->setValue(3);
    }).contains(QStringLiteral("上記の関数はインプリメントされていません。")));
}

TEST(Stacks, FixedLengthAndFaultsOnMisuse)
{
    TDoubleStack s(TCalcSymbolTable::kStackNumber);
    EXPECT_EQ(s.length(), 111);
    for (int i = 0; i < 111; ++i)
        s.push(i);
    EXPECT_TRUE(raisedMessage([&] { s.push(1); }).contains(QStringLiteral("スタックの長さ(111)")));
    EXPECT_EQ(s.pop(), 110);
    s.clear();
    EXPECT_EQ(s.count(), 0);
    EXPECT_TRUE(raisedMessage([&] { s.pop(); }).contains(QStringLiteral("スタックは空です。")));
}

TEST(NumberText, GeneralFormatWithFifteenDigits)
{
    const struct
    {
        double value;
        const char *text;
    } cases[] = {
        { 2 * std::numbers::pi, "6.28318530717959" },
        { 1.0 / 3, "0.333333333333333" },
        { 0.00001, "1E-5" },
        { 0.0001, "0.0001" },
        { 0.000123456, "0.000123456" },
        { 1e15, "1E15" },
        { 123456789012345.0, "123456789012345" },
        { 9.9999999999999994e14, "1E15" }, // rounding carries into the exponent
        { -1.5e20, "-1.5E20" },
        { -1.23456789012345678e-7, "-1.23456789012346E-7" },
        { 1234.5, "1234.5" },
        { -3, "-3" },
        { 0, "0" },
        { 100, "100" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(TNumberText::formatGeneral15(c.value), QString::fromLatin1(c.text)) << c.text;
}

// The value of every operator and function, with the edges of their domains.
// Each case runs three ways: the compiled program, the symbols' own steps
// over the shared stacks, and one pass of the batch form.
struct ValueCase
{
    const char *text;
    double x;
    double y;
    double expected; // NaN: no value
};

class OperatorValues : public ::testing::TestWithParam<ValueCase>
{
};

TEST_P(OperatorValues, CompiledReferenceAndBatchAgree)
{
    const ValueCase &c = GetParam();
    auto f = facadeWith(onOffXY());
    ASSERT_EQ(f->compileFormula(QString::fromUtf8(c.text)), 0) << f->errorMessage().toStdString();
    TVariable *x = f->mustFindVar(QStringLiteral("x"));
    x->setValue(c.x);
    f->mustFindVar(QStringLiteral("y"))->setValue(c.y);
    const double single = f->calculate();
    const double reference = f->calculator().calc_code(*f->code());
    double batch = 0;
    f->calculateBatch(*x, &c.x, &batch, 1);
    if (std::isnan(c.expected)) {
        EXPECT_TRUE(std::isnan(single)) << single;
        EXPECT_TRUE(std::isnan(reference)) << reference;
        EXPECT_TRUE(std::isnan(batch)) << batch;
    } else {
        EXPECT_NEAR(single, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected)));
        EXPECT_EQ(reference, single);
        EXPECT_EQ(batch, single);
    }
    EXPECT_EQ(f->symbolList().stacks().doubles.count(), 0);
    EXPECT_EQ(f->symbolList().stacks().integers.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, OperatorValues,
    ::testing::Values(ValueCase { "x+y", 2, 3, 5 }, ValueCase { "x-y", 2, 3, -1 },
        ValueCase { "x*y", 2, 3, 6 }, ValueCase { "x y", 2, 3, 6 }, ValueCase { "-x", 2, 0, -2 },
        ValueCase { "7/2", 0, 0, 3.5 }, ValueCase { "x/y", 7, 2, 3.5 },
        // the divisor bound is absolute
        ValueCase { "1/x", 0.00001, 0, kNaN }, ValueCase { "1/x", -0.00001, 0, kNaN },
        ValueCase { "1/x", 0.00002, 0, 50000 }, ValueCase { "1/x", 0, 0, kNaN },
        ValueCase { "1/x", 1e-6, 0, kNaN }, ValueCase { "1/x", 0.5, 0, 2 },
        ValueCase { "1/0.00001", 0, 0, kNaN }, ValueCase { "x/0", 1, 0, kNaN },
        // the general power needs a positive base; integer literals do not
        ValueCase { "2^0.5", 0, 0, std::numbers::sqrt2 }, ValueCase { "x^0.5", 0, 0, kNaN },
        ValueCase { "x^y", -2, 2, kNaN }, ValueCase { "x^y", 2, -1, 0.5 },
        ValueCase { "2^3", 0, 0, 8 }, ValueCase { "(-2)^3", 0, 0, -8 },
        ValueCase { "x^2", -3, 0, 9 }, ValueCase { "x^2.5", -3, 0, kNaN },
        ValueCase { "x^(1+1)", -3, 0, 9 }, ValueCase { "x^(-1)", 4, 0, 0.25 },
        ValueCase { "x^(-1)", 0, 0, kNaN }, ValueCase { "x^0", 0, 0, 1 },
        ValueCase { "x^3", -2, 0, -8 }, ValueCase { "x^5", 1.5, 0, 7.59375 },
        ValueCase { "x^100", 1.01, 0, 2.7048138294215263 },
        ValueCase { "sin(x)", 1, 0, std::sin(1.0) }, ValueCase { "cos(x)", 1, 0, std::cos(1.0) },
        ValueCase { "tan(x)", 1, 0, std::tan(1.0) },
        ValueCase { "tan(x)", std::numbers::pi / 2, 0, std::tan(std::numbers::pi / 2) },
        ValueCase { "arctan(x)", 1, 0, std::numbers::pi / 4 },
        ValueCase { "log(x)", std::numbers::e, 0, 1 }, ValueCase { "log(x)", 0, 0, kNaN },
        ValueCase { "log(x)", -1, 0, kNaN }, ValueCase { "sqrt(x)", 0, 0, 0 },
        ValueCase { "sqrt(x)", -1, 0, kNaN }, ValueCase { "sqrt(x)", 4, 0, 2 },
        ValueCase { "nthrt(3, x)", 27, 0, 3 }, ValueCase { "nthrt(3, x)", -27, 0, kNaN },
        ValueCase { "nthrt(2, x)", 0, 0, kNaN }, ValueCase { "nthrt(x, 2)", 0, 0, kNaN },
        ValueCase { "exp(x)", 1, 0, std::numbers::e }, ValueCase { "floor(x)", -1.5, 0, -2 },
        ValueCase { "ceil(x)", -1.5, 0, -1 }, ValueCase { "abs(x)", -2, 0, 2 },
        ValueCase { "logn(2, x)", 8, 0, 3 }, ValueCase { "logn(x, 8)", 1.000001, 0, kNaN },
        ValueCase { "logn(x, 8)", 0.999995, 0, kNaN },
        ValueCase { "logn(x, 8)", 1.00002, 0, std::log(8) / std::log(1.00002) },
        ValueCase { "logn(-2, x)", 8, 0, kNaN }, ValueCase { "logn(2, x)", 0, 0, kNaN },
        ValueCase { "max(3, 7, 5)", 0, 0, 7 }, ValueCase { "min(3, 7, 5)", 0, 0, 3 },
        ValueCase { "max(x, y)", 3, 3, 3 }, ValueCase { "min(x)", -4, 0, -4 },
        ValueCase { "max(1,2)+max(3,4,5)", 0, 0, 7 }, ValueCase { "max(x,2)+max(x,4,5)", 1, 0, 7 },
        ValueCase { "sin^2 x + cos^2 x", -1, 0, 1 }, ValueCase { "sin^2(x)+cos^2(x)", 4, 0, 1 },
        ValueCase { "tan^3 x", -0.5, 0, std::pow(std::tan(-0.5), 3) },
        ValueCase { "sin^(0.5) x", -1, 0, kNaN }, // negative base, fractional power
        ValueCase { "sin^(-1) x", 0, 0, kNaN }, // zero base, negative power
        // arithmetic faults: overflow anywhere gives no value, also where a
        // later step would bring an infinity back to a number
        ValueCase { "exp(x)", 1000, 0, kNaN }, ValueCase { "1/exp(x)", 1000, 0, kNaN },
        ValueCase { "arctan(exp(x))", 1000, 0, kNaN },
        ValueCase { "max(exp(x), 1)", 1000, 0, kNaN }, ValueCase { "exp(-exp(x))", 1000, 0, kNaN },
        ValueCase { "x^400", 10, 0, kNaN }, ValueCase { "x^(-400)", 10, 0, kNaN },
        ValueCase { "x^(-2)", 1e-200, 0, kNaN }, ValueCase { "x^(-3)", 2, 0, 0.125 },
        ValueCase { "(x^400)^0", 10, 0, kNaN }, ValueCase { "10^x", 400, 0, kNaN },
        ValueCase { "x*x*x", 1e200, 0, kNaN }, ValueCase { "logn(exp(x), 2)", 1000, 0, kNaN },
        ValueCase { "nthrt(x, 2)", 1e-320, 0, kNaN },
        // a variable without a number has no value
        ValueCase { "x+1", kNaN, 0, kNaN }, ValueCase { "max(x, 1)", kNaN, 0, kNaN },
        ValueCase { "min(1, x)", kNaN, 0, kNaN }, ValueCase { "1/x", kInf, 0, kNaN },
        ValueCase { "arctan(x)", kInf, 0, kNaN }, ValueCase { "x", kInf, 0, kNaN },
        ValueCase { "x^0", kNaN, 0, kNaN }));
