// Random well-formed formulas, generated as trees and printed as text, are
// evaluated by the facade and by a direct recursive evaluation of the same
// tree written from the language's rules. Both must agree within 1e-12
// relative, or both have no value.
//
// The direct evaluation knows what compilation may do to a formula that
// changes its value: constant parts are folded to 15 significant digits, and
// an exponent that is an integer number turns the general power into repeated
// multiplication. Reassociation (a+x)-3 -> (a-3)+x rounds differently, so the
// generator avoids that pattern; its own tests are in test_compile.
#include "formula/calccode.h"
#include "formula/mathfault.h"
#include "formula_test_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

using namespace zarno;
using namespace zarno::test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

enum class K {
    X,
    Y,
    Literal,
    Pi,
    E,
    Neg,
    Add,
    Sub,
    Mul,
    Div,
    Pow,
    Implicit,
    Func1,
    Nthrt,
    LogN,
    Max,
    Min,
    FuncPow,
};

struct Node
{
    K kind;
    const char *name = ""; // literal text or function name
    std::vector<std::unique_ptr<Node>> kids;

    bool isLeaf() const { return kind <= K::E; }
    bool isVariableLeaf() const { return kind == K::X || kind == K::Y; }
    bool hasVariable() const
    {
        if (isVariableLeaf())
            return true;
        for (const auto &k : kids)
            if (k->hasVariable())
                return true;
        return false;
    }
    // Operators whose chains the folder reassociates.
    int chainClass() const
    {
        switch (kind) {
        case K::Add:
        case K::Sub: return 1;
        case K::Mul:
        case K::Div: return 2;
        case K::Implicit: return 3;
        default: return 0;
        }
    }
};

const char *const kLiterals[] = { "2", "3", "0.5", "1.25", "10", "0.001", "7", "2.0", "1" };
const char *const kFunctions[]
    = { "sin", "cos", "tan", "arctan", "log", "sqrt", "exp", "ceil", "floor", "abs" };
const char *const kPowerFunctions[] = { "sin", "cos", "tan" };

class Generator
{
public:
    // keepChains: leave the chains the folder reassociates in place.
    explicit Generator(unsigned seed, bool keepChains = false)
        : fRandom(seed)
        , fKeepChains(keepChains)
    { }

    std::unique_ptr<Node> tree(int depth)
    {
        if (depth <= 0 || pick(4) == 0)
            return leaf();
        auto n = std::make_unique<Node>();
        switch (pick(14)) {
        case 0: n->kind = K::Neg; break;
        case 1: n->kind = K::Add; break;
        case 2: n->kind = K::Sub; break;
        case 3: n->kind = K::Mul; break;
        case 4: n->kind = K::Div; break;
        case 5: n->kind = K::Pow; break;
        case 6: n->kind = K::Implicit; break;
        case 7:
        case 8:
            n->kind = K::Func1;
            n->name = kFunctions[pick(std::size(kFunctions))];
            break;
        case 9: n->kind = K::Nthrt; break;
        case 10: n->kind = K::LogN; break;
        case 11: n->kind = K::Max; break;
        case 12: n->kind = K::Min; break;
        default:
            n->kind = K::FuncPow;
            n->name = kPowerFunctions[pick(std::size(kPowerFunctions))];
            break;
        }
        int arity = 2;
        if (n->kind == K::Neg || n->kind == K::Func1)
            arity = 1;
        else if (n->kind == K::Max || n->kind == K::Min)
            arity = 1 + pick(4);
        for (int i = 0; i < arity; ++i) {
            // Exponents stay small, so powers rarely overflow.
            const bool exponent
                = (n->kind == K::Pow && i == 1) || (n->kind == K::FuncPow && i == 0);
            n->kids.push_back(exponent && pick(2) == 0 ? smallInteger() : tree(depth - 1));
        }
        avoidReassociation(*n);
        return n;
    }

    double value() { return pick(5) == 0 ? double(int(pick(7)) - 3) : fUniform(fRandom); }

private:
    unsigned pick(std::size_t n) { return unsigned(fRandom() % n); }

    std::unique_ptr<Node> leaf()
    {
        auto n = std::make_unique<Node>();
        switch (pick(7)) {
        case 0:
        case 1: n->kind = K::X; break;
        case 2: n->kind = K::Y; break;
        case 3: n->kind = K::Pi; break;
        case 4: n->kind = K::E; break;
        default:
            n->kind = K::Literal;
            n->name = kLiterals[pick(std::size(kLiterals))];
            break;
        }
        return n;
    }

    std::unique_ptr<Node> smallInteger()
    {
        static const char *const ints[] = { "2", "3", "4", "0" };
        auto n = std::make_unique<Node>();
        n->kind = K::Literal;
        n->name = ints[pick(std::size(ints))];
        return n;
    }

    // p(q(a, b), c) with p, q of one chain, c constant and a variable next
    // to q would be rearranged by the folder; make c variable instead.
    void avoidReassociation(Node &p)
    {
        if (fKeepChains || p.chainClass() == 0 || p.kids[1]->hasVariable())
            return;
        const Node &q = *p.kids[0];
        if (q.chainClass() != p.chainClass())
            return;
        if (q.kids[0]->isVariableLeaf() || q.kids[1]->isVariableLeaf()) {
            auto y = std::make_unique<Node>();
            y->kind = K::Y;
            p.kids[1] = std::move(y);
        }
    }

    std::mt19937 fRandom;
    bool fKeepChains;
    std::uniform_real_distribution<double> fUniform { -5.0, 5.0 };
};

QString bracket(const Node &n, QString text)
{
    return n.isLeaf() ? text : QLatin1Char('(') + text + QLatin1Char(')');
}

QString print(const Node &n)
{
    const auto kid
        = [&](int i) { return bracket(*n.kids[std::size_t(i)], print(*n.kids[std::size_t(i)])); };
    const auto args = [&] {
        QStringList a;
        for (const auto &k : n.kids)
            a << print(*k);
        return a.join(QStringLiteral(", "));
    };
    switch (n.kind) {
    case K::X: return QStringLiteral("x");
    case K::Y: return QStringLiteral("y");
    case K::Pi: return QStringLiteral("pi");
    case K::E: return QStringLiteral("e");
    case K::Literal: return QString::fromLatin1(n.name);
    case K::Neg: return QStringLiteral("-") + kid(0);
    case K::Add: return kid(0) + QStringLiteral("+") + kid(1);
    case K::Sub: return kid(0) + QStringLiteral("-") + kid(1);
    case K::Mul: return kid(0) + QStringLiteral("*") + kid(1);
    case K::Div: return kid(0) + QStringLiteral("/") + kid(1);
    case K::Pow: return kid(0) + QStringLiteral("^") + kid(1);
    case K::Implicit: {
        // "2x" and "x y" where the language allows it, "(a)(b)" otherwise.
        const Node &a = *n.kids[0];
        const Node &b = *n.kids[1];
        const bool bStarts = b.kind == K::X || b.kind == K::Y || b.kind == K::Pi || b.kind == K::E;
        if (a.isLeaf() && bStarts)
            return print(a) + QLatin1Char(' ') + print(b);
        return QLatin1Char('(') + print(a) + QStringLiteral(")(") + print(b) + QLatin1Char(')');
    }
    case K::Func1:
        return QString::fromLatin1(n.name) + QLatin1Char('(') + args() + QLatin1Char(')');
    case K::Nthrt: return QStringLiteral("nthrt(") + args() + QLatin1Char(')');
    case K::LogN: return QStringLiteral("logn(") + args() + QLatin1Char(')');
    case K::Max: return QStringLiteral("max(") + args() + QLatin1Char(')');
    case K::Min: return QStringLiteral("min(") + args() + QLatin1Char(')');
    case K::FuncPow:
        return QString::fromLatin1(n.name) + QStringLiteral("^(") + print(*n.kids[0])
            + QStringLiteral(")(") + print(*n.kids[1]) + QLatin1Char(')');
    }
    return QString();
}

// The value of a subtree, and whether compilation turns it into a single
// number (a literal, a constant, or a folded constant part).
struct Value
{
    double v = 0;
    bool number = false;
    bool fails = false; // no value: a domain error or a fault
    bool integerText = false; // a number whose name reads as a 32-bit integer
};

double roundTo15(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return std::strtod(buf, nullptr);
}

// Folded numbers are named in plain digits when they are integers of this size.
bool integralInt32(double v)
{
    return v == std::floor(v) && std::fabs(v) <= 2147483647.0;
}

double repeatedPower(double a, int n)
{
    double p = 1;
    for (int i = 0; i < std::abs(n); ++i)
        p *= a;
    if (n < 0)
        return std::isfinite(p) ? 1 / p : kNaN;
    return p;
}

class Evaluator
{
public:
    Evaluator(double x, double y)
        : fX(x)
        , fY(y)
    { }

    // NaN when the formula has no value.
    double operator()(const Node &root)
    {
        const Value r = eval(root);
        return r.fails || !std::isfinite(r.v) ? kNaN : r.v;
    }

private:
    Value eval(const Node &n)
    {
        switch (n.kind) {
        case K::X: return { fX, false, !std::isfinite(fX) };
        case K::Y: return { fY, false, !std::isfinite(fY) };
        case K::Pi: return { std::numbers::pi, true, false };
        case K::E: return { std::numbers::e, true, false };
        case K::Literal:
            return { std::strtod(n.name, nullptr), true, false,
                QString::fromLatin1(n.name).indexOf(QLatin1Char('.')) < 0 };
        default: break;
        }
        std::vector<Value> a;
        bool allNumbers = true;
        for (const auto &k : n.kids) {
            a.push_back(eval(*k));
            if (a.back().fails)
                return { kNaN, false, true };
            allNumbers = allNumbers && a.back().number;
        }
        // Folding tries the general power, which refuses a base <= 0; the
        // part then stays code and runs with the integer power when it can.
        if (allNumbers) {
            bool ok = true;
            const double r = apply(n, a, /*folding=*/true, ok);
            if (ok) {
                if (!std::isfinite(r))
                    return { kNaN, false, true }; // a fault while folding: an erroneous formula
                const double folded = roundTo15(r);
                return { folded, true, false, integralInt32(folded) };
            }
        }
        bool ok = true;
        const double r = apply(n, a, /*folding=*/false, ok);
        if (!ok || !std::isfinite(r))
            return { kNaN, false, true };
        return { r, false, false };
    }

    static double apply(const Node &n, const std::vector<Value> &a, bool folding, bool &ok)
    {
        const auto v = [&](int i) { return a[std::size_t(i)].v; };
        switch (n.kind) {
        case K::Neg: return -v(0);
        case K::Add: return v(0) + v(1);
        case K::Sub: return v(0) - v(1);
        case K::Mul:
        case K::Implicit: return v(0) * v(1);
        case K::Div: ok = std::fabs(v(1)) > 0.00001; return v(0) / v(1);
        case K::Pow:
            if (!folding && a[1].integerText)
                return repeatedPower(v(0), int(v(1)));
            ok = v(0) > 0;
            return std::pow(v(0), v(1));
        case K::Func1: {
            const QString f = QString::fromLatin1(n.name);
            const double x = v(0);
            if (f == QLatin1String("sin"))
                return std::sin(x);
            if (f == QLatin1String("cos"))
                return std::cos(x);
            if (f == QLatin1String("tan"))
                return std::tan(x);
            if (f == QLatin1String("arctan"))
                return std::atan(x);
            if (f == QLatin1String("exp"))
                return std::exp(x);
            if (f == QLatin1String("ceil"))
                return std::ceil(x);
            if (f == QLatin1String("floor"))
                return std::floor(x);
            if (f == QLatin1String("abs"))
                return std::fabs(x);
            if (f == QLatin1String("log")) {
                ok = x > 0;
                return std::log(x);
            }
            ok = x >= 0; // sqrt
            return std::sqrt(x);
        }
        case K::Nthrt:
            ok = v(1) > 0;
            return std::isfinite(1 / v(0)) ? std::pow(v(1), 1 / v(0)) : kNaN;
        case K::LogN:
            ok = v(1) > 0 && v(0) > 0 && std::fabs(v(0) - 1) > 0.00001;
            return std::log(v(1)) / std::log(v(0));
        case K::Max: {
            double cur = a.back().v;
            for (int i = int(a.size()) - 2; i >= 0; --i)
                if (v(i) > cur)
                    cur = v(i);
            return cur;
        }
        case K::Min: {
            double cur = a.back().v;
            for (int i = int(a.size()) - 2; i >= 0; --i)
                if (!(cur <= v(i)))
                    cur = v(i);
            return cur;
        }
        case K::FuncPow: {
            const QString f = QString::fromLatin1(n.name);
            const double base = f == QLatin1String("sin") ? std::sin(v(1))
                : f == QLatin1String("cos")               ? std::cos(v(1))
                                                          : std::tan(v(1));
            return std::pow(base, v(0));
        }
        default: ok = false; return kNaN;
        }
    }

    double fX;
    double fY;
};

} // namespace

TEST(Differential, RandomTreesAgreeWithDirectEvaluation)
{
    auto f = facadeWith(onOffXY());
    TVariable *x = f->mustFindVar(QStringLiteral("x"));
    TVariable *y = f->mustFindVar(QStringLiteral("y"));
    Generator gen(20261210u);
    int compared = 0;
    int withValue = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::unique_ptr<Node> tree = gen.tree(1 + i % 6);
        const QString text = print(*tree);
        const int flag = f->compileFormula(text);
        // A constant part that overflows makes the formula erroneous; the
        // direct evaluation then has no value at any point either. Syntax
        // errors must not occur.
        ASSERT_TRUE(flag == 0 || f->errorMessage().isEmpty())
            << text.toStdString() << ": " << f->errorMessage().toStdString();
        for (int k = 0; k < 5; ++k) {
            const double xv = gen.value();
            const double yv = gen.value();
            x->setValue(xv);
            y->setValue(yv);
            const double ours = f->calculate();
            const double direct = Evaluator(xv, yv)(*tree);
            ++compared;
            if (std::isnan(direct)) {
                EXPECT_TRUE(std::isnan(ours))
                    << text.toStdString() << " at x=" << xv << ", y=" << yv << ": " << ours;
                continue;
            }
            ++withValue;
            EXPECT_NEAR(ours, direct, 1e-12 * std::fabs(direct))
                << text.toStdString() << " at x=" << xv << ", y=" << yv;
            if (f->errorFlag() == 0) {
                EXPECT_EQ(f->calculator().calc_code(*f->code()), ours) << text.toStdString();
            }
        }
    }
    // The generator must produce formulas with values, not only failures.
    EXPECT_GT(withValue, compared / 3) << withValue << " of " << compared;
}

namespace {

// The folder as first described: every pass rescans the whole code, then
// folds the first foldable operator from the left.
void reassociateAll(TCalcCodeList &code)
{
    std::vector<TCalcCode> e = code.entries();
    for (std::size_t i = 3; i < e.size(); ++i) {
        if (TOptimizeCalcCodeList::reassociates(e[i - 3], e[i - 2], e[i - 1], e[i])) {
            const TCalcCode v = e[i - 3], q = e[i - 2], c = e[i - 1], p = e[i];
            e[i - 3] = c;
            e[i - 2] = p;
            e[i - 1] = v;
            e[i] = q;
        }
    }
    code.assign(std::move(e));
}

bool foldFirst(TCalcCodeList &code)
{
    TDoubleStack doubles(code.count() + 1);
    TIntegerStack integers(code.count() + 1);
    TCalcStacks stacks { doubles, integers };
    for (int i = 0; i < code.count(); ++i) {
        const TCalcCode entry = code.at(i);
        const int k = entry.symbol->optimize(stacks, entry.argumentCount);
        if (k > 0) {
            const double value = doubles.pop();
            code.remove(i - k + 1, k);
            code.insertNumber(i - k + 1, value);
            return true;
        }
    }
    return false;
}

QString foldedPassByPass(TCalcSymbolList &symbols, const TTokenNode *tree)
{
    TCalcCodeList code(symbols);
    code.appendTree(tree);
    try {
        TOptimizeCalcCodeList::commute(code);
        do
            reassociateAll(code);
        while (foldFirst(code));
        TOptimizeCalcCodeList::integerExponents(code);
    } catch (const EMathError &) {
        return QStringLiteral("fault");
    }
    return code.toString();
}

// Long chains of one precedence with variables and numbers mixed in, where
// reassociation and folding feed each other.
QString chain(std::mt19937 &random)
{
    static const char *const ops[] = { "+", "-", "*", "/" };
    static const char *const terms[] = { "x", "y", "2", "3", "0.5", "pi", "(x)", "(2)" };
    QString t = QString::fromLatin1(terms[random() % std::size(terms)]);
    const bool sums = random() % 2 == 0;
    const int length = 2 + int(random() % 12);
    for (int i = 0; i < length; ++i) {
        t += QString::fromLatin1(ops[(sums ? 0 : 2) + random() % 2]);
        t += QString::fromLatin1(terms[random() % std::size(terms)]);
    }
    return t;
}

} // namespace

TEST(Differential, FolderGivesTheCodeOfThePassByPassAlgorithm)
{
    auto f = facadeWith(onOffXY());
    Generator gen(777u, /*keepChains=*/true);
    std::mt19937 random(4242u);
    // A rearrangement can complete a chain behind it, found on the next pass
    // (after 1+1 folds): x*y*x*2 -> x*y*2*x -> x*2*y*x.
    const QStringList crafted { QStringLiteral("x*y*x*2+(1+1)"),
        QStringLiteral("x+y-x+2+3-(1+1)*y") };
    int reassociated = 0;
    for (int i = 0; i < 3000 + int(crafted.size()); ++i) {
        const std::unique_ptr<Node> tree = gen.tree(1 + i % 6);
        const QString text = i >= 3000 ? crafted[i - 3000] : i % 2 ? print(*tree) : chain(random);
        ASSERT_EQ(f->analyzeFormula(text), 0) << text.toStdString();
        const QString expected = foldedPassByPass(f->symbolList(), f->tree());
        f->compileSubtree(f->tree());
        const QString actual = f->errorFlag() ? QStringLiteral("fault") : f->code()->toString();
        EXPECT_EQ(actual, expected) << text.toStdString();
        TCalcCodeList plain(f->symbolList());
        plain.appendTree(f->tree());
        reassociated += plain.count() != f->code()->count() ? 1 : 0;
    }
    EXPECT_GT(reassociated, 1000); // most formulas did fold something
}
