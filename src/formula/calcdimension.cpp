#include "formula/calcdimension.h"

#include "core/exceptions.h"
#include "formula/calcformulafacade.h"
#include "formula/calcops.h"
#include "formula/calctoken.h"
#include "formula/mathfault.h"
#include "formula/tokennode.h"

#include <algorithm>

namespace zarno {

void TDimensionInfo::setDegree(int n)
{
    fCoefficients.assign(kMaxDegree + 1, 0.0);
    if (n > kMaxDegree) {
        fState = dsNotPolynomial;
        fDegree = -1;
        return;
    }
    fDegree = n;
    fState = n == 0 ? dsConstant : dsPolynomial;
}

void TDimensionInfo::setCoefficient(int k, double value)
{
    if (k > fDegree || k < 0) {
        fState = dsNotPolynomial;
        return;
    }
    fCoefficients[std::size_t(k)] = value;
}

double TDimensionInfo::coefficient(int k) const
{
    if (k < 0 || k > kMaxDegree)
        throw ESouteigai(QStringLiteral("TDimensionInfo"), { fmtArg(k) },
            QStringLiteral("係数の番号(%d)が範囲を超えています。"), QStringLiteral("getKeisuu"));
    return fCoefficients.empty() ? 0.0 : fCoefficients[std::size_t(k)];
}

void TAbstractCalcDimensionProc::checkChildCount(const TTokenNode &node, int n)
{
    if (node.childCount() != n)
        throw ESouteigai(QStringLiteral("TAbstractCalcDimensionProc"),
            { fmtArg(node.childCount()), fmtArg(n) }, QStringLiteral("子(%d個)は%d個必要です。"),
            QStringLiteral("calc"));
}

namespace {

const TCalcSymbol &symbolOf(const TTokenNode &node)
{
    return *static_cast<const TCalcToken *>(node.token())->symbol();
}

// The value of a node whose operands are all constants, computed by the
// formula's own code, so that it is exactly what the graph evaluates. The
// facade lives as long as the program.
double valueOfConstantNode(const TTokenNode &node)
{
    static const std::unique_ptr<TCalcFormulaFacade> facade
        = TCalcFormulaFacade::createCalcFormulaFacade();
    facade->compileSubtree(&node);
    const double value = facade->calculate();
    // The code refers to the numbers of the formula being analysed; it must
    // not outlive this call.
    facade->compileSubtree(nullptr);
    return value;
}

// Numbers, constants and the shape variables: a constant with the symbol's
// present value.
class TCalcDimensionOfConst final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo>,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 0);
        info.setNotPolynomial();
        info.setDegree(0);
        info.setCoefficient(0, symbolOf(node).getValue());
    }
};

// The free variable, x or y.
class TCalcDimensionOfVarX final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo>,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 0);
        info.setNotPolynomial();
        info.setDegree(1);
        info.setCoefficient(1, 1.0);
    }
};

// Parentheses, commas and blanks: the constant 0, so that they never stop a
// function of constants from being one.
class TCalcDimensionOfNotCalc final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo>,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 0);
        info.setNotPolynomial();
        info.setDegree(0);
    }
};

void copyPolynomial(const TDimensionInfo &from, TDimensionInfo &to, double factor)
{
    to.setDegree(from.degree());
    for (int i = 0; i <= from.degree(); ++i)
        to.setCoefficient(i, factor * from.coefficient(i));
}

// The group "(" e ")": the record of e.
class TCalcDimensionOfParenParent final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo> c,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 3);
        info.setNotPolynomial();
        if (c[1].isPolynomial())
            copyPolynomial(c[1], info, 1.0);
    }
};

class TCalcDimensionOfMonoMinus final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo> c,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 1);
        info.setNotPolynomial();
        if (c[0].isPolynomial())
            copyPolynomial(c[0], info, -1.0);
    }
};

template <bool Minus> class TCalcDimensionOfSum final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo> c,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 2);
        info.setNotPolynomial();
        const TDimensionInfo &a = c[0], &b = c[1];
        if (!a.isPolynomial() || !b.isPolynomial())
            return;
        info.setDegree(std::max(a.degree(), b.degree()));
        for (int i = 0; i <= info.degree(); ++i)
            info.setCoefficient(i,
                Minus ? a.coefficient(i) - b.coefficient(i) : a.coefficient(i) + b.coefficient(i));
    }
};
using TCalcDimensionOfPlus = TCalcDimensionOfSum<false>;
using TCalcDimensionOfMinus = TCalcDimensionOfSum<true>;

class TCalcDimensionOfMul final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo> c,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 2);
        info.setNotPolynomial();
        const TDimensionInfo &a = c[0], &b = c[1];
        if (!a.isPolynomial() || !b.isPolynomial())
            return;
        info.setDegree(a.degree() + b.degree());
        if (!info.isPolynomial())
            return;
        double product[TDimensionInfo::kMaxDegree + 1] = {};
        for (int i = 0; i <= a.degree(); ++i)
            for (int j = 0; j <= b.degree(); ++j)
                product[i + j] += a.coefficient(i) * b.coefficient(j);
        for (int k = 0; k <= info.degree(); ++k)
            info.setCoefficient(k, product[k]);
    }
};

// Only a division by a constant keeps a polynomial. A divisor that the
// evaluation refuses (zero or nearly so) leaves the formula without a value
// anywhere: no polynomial either.
class TCalcDimensionOfDiv final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo> c,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 2);
        info.setNotPolynomial();
        const TDimensionInfo &a = c[0], &b = c[1];
        if (!a.isPolynomial() || b.state() != TDimensionInfo::dsConstant)
            return;
        const double divisor = b.coefficient(0);
        if (!(std::fabs(divisor) > calcops::kDivisorBound))
            return;
        info.setDegree(a.degree());
        for (int i = 0; i <= a.degree(); ++i)
            info.setCoefficient(i, a.coefficient(i) / divisor);
    }
};

// A power with a constant exponent. A polynomial base needs an exponent
// written as an integer: x^2 is one, x^(1+1) and x^2.0 are not.
class TCalcDimensionOfPower final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo> c,
        TDimensionInfo &info) const override
    {
        checkChildCount(node, 2);
        info.setNotPolynomial();
        const TDimensionInfo &a = c[0], &b = c[1];
        if (!a.isPolynomial() || b.state() != TDimensionInfo::dsConstant)
            return;
        if (a.state() == TDimensionInfo::dsConstant) {
            info.setDegree(0);
            info.setCoefficient(0, valueOfConstantNode(node));
            return;
        }
        const TCalcSymbol &exponent = symbolOf(*node.child(1));
        if (!exponent.isIntegerText())
            return;
        const qint64 d = qint64(exponent.getValue());
        if (d == 0) {
            info.setDegree(0);
            info.setCoefficient(0, 1.0);
            return;
        }
        if (d < 0 || d * a.degree() > TDimensionInfo::kMaxDegree)
            return;
        info.setDegree(int(d) * a.degree());
        // (Σ a_i x^i)^d by the multinomial theorem.
        double sum[TDimensionInfo::kMaxDegree + 1] = {};
        TPermutationsIncludingSameIterator it(int(d), a.degree() + 1);
        TPermutationIncludingSameInfo term;
        while (it.next()) {
            it.info(term);
            double value = term.coefficient;
            int power = 0;
            for (int i = 0; i <= a.degree(); ++i) {
                value *= calcops::intPower(a.coefficient(i), term.tuple[std::size_t(i)]);
                power += i * term.tuple[std::size_t(i)];
            }
            sum[power] += value;
        }
        for (int k = 0; k <= info.degree(); ++k)
            info.setCoefficient(k, sum[k]);
    }
};

// A function is a constant when all its arguments are, and no polynomial otherwise.
class TCalcDimensionOfFunction final : public TAbstractCalcDimensionProc
{
public:
    void calc(const TTokenNode &node, std::span<const TDimensionInfo> c,
        TDimensionInfo &info) const override
    {
        info.setNotPolynomial();
        for (const TDimensionInfo &child : c)
            if (child.state() != TDimensionInfo::dsConstant)
                return;
        info.setDegree(0);
        info.setCoefficient(0, valueOfConstantNode(node));
    }
};

bool hasFiniteCoefficients(const TDimensionInfo &info)
{
    for (int i = 0; i <= info.degree(); ++i)
        if (!calcops::finite(info.coefficient(i)))
            return false;
    return true;
}

} // namespace

TCalcDimensionCreator &TCalcDimensionCreator::getInstance()
{
    static TCalcDimensionCreator instance;
    return instance;
}

TCalcDimensionCreator::TCalcDimensionCreator()
{
    auto make = [this](auto rule) {
        fRules.push_back(std::make_unique<decltype(rule)>());
        return fRules.back().get();
    };
    fConstRule = make(TCalcDimensionOfConst());
    TAbstractCalcDimensionProc *varX = make(TCalcDimensionOfVarX());
    TAbstractCalcDimensionProc *plus = make(TCalcDimensionOfPlus());
    TAbstractCalcDimensionProc *minus = make(TCalcDimensionOfMinus());
    TAbstractCalcDimensionProc *monoMinus = make(TCalcDimensionOfMonoMinus());
    TAbstractCalcDimensionProc *mul = make(TCalcDimensionOfMul());
    TAbstractCalcDimensionProc *div = make(TCalcDimensionOfDiv());
    TAbstractCalcDimensionProc *power = make(TCalcDimensionOfPower());
    TAbstractCalcDimensionProc *function = make(TCalcDimensionOfFunction());
    TAbstractCalcDimensionProc *parenParent = make(TCalcDimensionOfParenParent());
    TAbstractCalcDimensionProc *notCalc = make(TCalcDimensionOfNotCalc());

    TCalcSymbolTable &table = TCalcSymbolTable::getInstance();
    for (TCalcSymbol *s : table.notVarConstSymbols()) {
        TAbstractCalcDimensionProc *rule = nullptr;
        switch (s->kind()) {
        case TSymbolKind::OperatorFunction: rule = function; break;
        case TSymbolKind::OperatorEnzanshi:
            switch (s->op()) {
            case TCalcOp::Plus: rule = plus; break;
            case TCalcOp::Minus: rule = minus; break;
            case TCalcOp::MonoMinus: rule = monoMinus; break;
            case TCalcOp::Mul: rule = mul; break; // "*" and the implicit "%"
            case TCalcOp::Div: rule = div; break;
            case TCalcOp::Power:
            case TCalcOp::IntPower: rule = power; break;
            default: break;
            }
            break;
        case TSymbolKind::Other:
            rule = s->name() == QLatin1String("&") ? parenParent : notCalc;
            break;
        case TSymbolKind::Const:
        case TSymbolKind::NumberDouble:
        case TSymbolKind::NumberInteger:
        case TSymbolKind::Variable: rule = fConstRule; break;
        }
        if (!rule)
            throw ESouteigai(QStringLiteral("TCalcDimensionCreator"), { fmtArg(s->name()) },
                QStringLiteral("記号(%s)の次数の規則がありません。"), QStringLiteral("create"));
        s->setDegreeProc(rule);
    }
    // x and y share one rule: a formula enables at most one of them. Shape
    // variables are constants with their value at the time of the analysis.
    for (TVariable *v : table.variables())
        v->setDegreeProc(v->varKind() == vkX || v->varKind() == vkY ? varX : fConstRule);
}

const TAbstractCalcDimensionProc &TCalcDimensionCreator::ruleOf(const TCalcSymbol &symbol) const
{
    if (const TAbstractCalcDimensionProc *rule = symbol.degreeProc())
        return *rule;
    if (symbol.kind() == TSymbolKind::NumberDouble || symbol.kind() == TSymbolKind::NumberInteger)
        return *fConstRule;
    throw ESouteigai(QStringLiteral("TCalcDimensionCreator"), { fmtArg(symbol.name()) },
        QStringLiteral("記号(%s)の次数の規則がありません。"), QStringLiteral("ruleOf"));
}

TDimensionInfo computeDegrees(const TTokenNode &root)
{
    const TCalcDimensionCreator &rules = TCalcDimensionCreator::getInstance();
    // Post-order without recursion: chains such as 1+1+1+… make trees as
    // deep as the formula is long. The records of finished children wait on
    // a stack until their parent is done.
    struct Frame
    {
        const TTokenNode *node;
        int next;
    };
    std::vector<Frame> pending { { &root, 0 } };
    std::vector<TDimensionInfo> done;
    try {
        while (!pending.empty()) {
            Frame &f = pending.back();
            if (f.next < f.node->childCount()) {
                const TTokenNode *child = f.node->child(f.next++);
                pending.push_back({ child, 0 });
                continue;
            }
            const TTokenNode &node = *f.node;
            const std::size_t n = std::size_t(node.childCount());
            TDimensionInfo info;
            rules.ruleOf(symbolOf(node))
                .calc(node, std::span<const TDimensionInfo>(done.end() - n, done.end()), info);
            if (info.isPolynomial() && !hasFiniteCoefficients(info))
                throw EMathError(QStringLiteral("次数の計算で浮動小数点例外が発生しました。"));
            done.resize(done.size() - n);
            done.push_back(std::move(info));
            pending.pop_back();
        }
    } catch (const EMathError &) {
        TDimensionInfo none;
        none.setNotPolynomial();
        return none;
    }
    return std::move(done.back());
}

TPermutationsIncludingSameIterator::TPermutationsIncludingSameIterator(int total, int parts)
    : fTotal(total)
{
    if (total < 1 || parts < 1)
        throw ESouteigai(QStringLiteral("TPermutationsIncludingSameIterator"),
            { fmtArg(total), fmtArg(parts) },
            QStringLiteral("パラメータが間違っています。 (dimension=%d, kousuu=%d)"),
            QStringLiteral("create"));
    fTuple.assign(std::size_t(parts), 0);
}

bool TPermutationsIncludingSameIterator::next()
{
    const std::size_t last = fTuple.size() - 1;
    if (!fStarted) {
        fStarted = true;
        fTuple[last] = fTotal;
        return true;
    }
    // An odometer over k_0 … k_{parts−2}: raise the rightmost part that can
    // still grow and zero the ones after it; the last part takes the rest.
    for (std::size_t i = last; i-- > 0;) {
        if (fTuple[last] > 0) {
            ++fTuple[i];
            --fTuple[last];
            return true;
        }
        fTuple[last] += fTuple[i];
        fTuple[i] = 0;
    }
    // Every part before the last was zeroed again: all tuples were given.
    fTuple[last] = fTotal;
    return false;
}

void TPermutationsIncludingSameIterator::info(TPermutationIncludingSameInfo &out) const
{
    out.tuple = fTuple;
    double factorial = 1;
    for (int k = 2; k <= fTotal; ++k)
        factorial *= k;
    for (int part : fTuple)
        for (int k = 2; k <= part; ++k)
            factorial /= k;
    out.coefficient = factorial;
}

} // namespace zarno
