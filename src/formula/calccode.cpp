#include "formula/calccode.h"

#include "core/exceptions.h"
#include "formula/numbertext.h"
#include "formula/tokennode.h"

#include <cmath>

namespace zarno {

void TCalcCodeList::append(TCalcSymbol *symbol, int argumentCount)
{
    if (argumentCount < 0) {
        argumentCount = 0;
        if (symbol->kind() == TSymbolKind::OperatorEnzanshi
            || symbol->kind() == TSymbolKind::OperatorFunction)
            argumentCount = static_cast<TOperator *>(symbol)->arity();
    }
    fCode.push_back({symbol, argumentCount});
}

void TCalcCodeList::appendTree(const TTokenNode *node)
{
    if (!node)
        return;
    // Post-order without recursion: long operator chains make deep trees.
    struct Frame
    {
        const TTokenNode *node;
        int next;
    };
    std::vector<Frame> stack{{node, 0}};
    while (!stack.empty()) {
        Frame &f = stack.back();
        if (f.next < f.node->childCount()) {
            const TTokenNode *c = f.node->child(f.next++);
            stack.push_back({c, 0});
            continue;
        }
        const auto *token = dynamic_cast<const TCalcToken *>(f.node->token());
        if (!token)
            throw ESouteigai(QStringLiteral("TCalcCodeList"),
                             QStringLiteral("計算できないトークンがあります。"),
                             QStringLiteral("appendTree"));
        if (token->isCode())
            append(token->symbol(), token->argumentCount());
        stack.pop_back();
    }
}

void TCalcCodeList::insertNumber(int index, double value)
{
    TNumberDouble *n = fSymbolList.addNumber(TNumberText::formatGeneral15(value));
    fCode.insert(fCode.begin() + index, TCalcCode{n, 0});
}

void TCalcCodeList::insertInteger(int index, std::int32_t value)
{
    TNumberInteger *n = fSymbolList.addInteger(QString::number(value));
    fCode.insert(fCode.begin() + index, TCalcCode{n, 0});
}

void TCalcCodeList::insertSymbol(int index, const QString &name)
{
    TCalcSymbol *s = fSymbolList.mustFindSymbol(name);
    int argc = 0;
    if (s->kind() == TSymbolKind::OperatorEnzanshi || s->kind() == TSymbolKind::OperatorFunction)
        argc = static_cast<TOperator *>(s)->arity();
    fCode.insert(fCode.begin() + index, TCalcCode{s, argc});
}

void TCalcCodeList::remove(int index, int count)
{
    fCode.erase(fCode.begin() + index, fCode.begin() + index + count);
}

void TCalcCodeList::swap(int i, int j)
{
    std::swap(fCode[std::size_t(i)], fCode[std::size_t(j)]);
}

TCalcCodeList::Depth TCalcCodeList::depth() const
{
    Depth d;
    int doubles = 0;
    int integers = 0;
    for (const TCalcCode &c : fCode) {
        switch (c.symbol->kind()) {
        case TSymbolKind::NumberInteger: ++integers; break;
        case TSymbolKind::NumberDouble:
        case TSymbolKind::Const:
        case TSymbolKind::Variable: ++doubles; break;
        case TSymbolKind::OperatorEnzanshi:
        case TSymbolKind::OperatorFunction:
            if (c.symbol->op() == TCalcOp::IntPower) {
                if (doubles < 1 || integers < 1)
                    return d;
                --integers;
            } else {
                if (c.argumentCount < 1 || doubles < c.argumentCount)
                    return d;
                doubles -= c.argumentCount - 1;
            }
            break;
        case TSymbolKind::Other: return d;
        }
        d.doubles = std::max(d.doubles, doubles);
        d.integers = std::max(d.integers, integers);
    }
    d.balanced = doubles + integers == 1;
    return d;
}

void TCalcCodeList::prepare()
{
    fSymbolList.stacks().clear();
}

double TCalcCodeList::getResult(TCalcStacks &stacks) const
{
    const int n = stacks.doubles.count() + stacks.integers.count();
    if (n != 1)
        throw ESouteigai(QStringLiteral("TCalcCodeList"), {fmtArg(stacks.doubles.count())},
                         QStringLiteral("計算式に間違いがあります。< FNumStk.count=%d(=0) >"),
                         QStringLiteral("getResult"));
    if (stacks.integers.count() == 1)
        return stacks.integers.pop();
    return stacks.doubles.pop();
}

QString TCalcCodeList::toString() const
{
    QStringList names;
    for (const TCalcCode &c : fCode)
        names << c.symbol->name();
    return names.join(QLatin1Char(' '));
}

namespace {

bool isMultiplicationOrAddition(const TCalcSymbol *s)
{
    return s->op() == TCalcOp::Mul || s->op() == TCalcOp::Plus;
}

bool isBinaryEnzanshi(const TCalcCode &c)
{
    return c.symbol->kind() == TSymbolKind::OperatorEnzanshi && c.argumentCount == 2;
}

} // namespace

void TOptimizeCalcCodeList::commute(TCalcCodeList &code)
{
    // x*2 becomes 2*x, so that a number comes first where folding can use it.
    if (code.count() > 2 && isMultiplicationOrAddition(code.at(2).symbol)
        && code.at(0).symbol->kind() == TSymbolKind::Variable && code.at(1).symbol->isNumber())
        code.swap(0, 1);
}

void TOptimizeCalcCodeList::reassociate(TCalcCodeList &code)
{
    // In a chain A q v c p of two operators of one precedence (postfix of
    // (A q v) p c), the number moves next to A: (A p c) q v. So 2*x*3 becomes
    // 2 3 * x * and folds to 6 x *. Only the operators of sums and products
    // qualify: both operators must be that chain's, and powers are left alone
    // because (a^v)^c and (a^c)^v differ where a is negative.
    for (int i = 3; i < code.count(); ++i) {
        const TCalcCode &p = code.at(i);
        const TCalcCode &q = code.at(i - 2);
        if (!isBinaryEnzanshi(p) || !isBinaryEnzanshi(q))
            continue;
        if (p.symbol->precedence() != q.symbol->precedence())
            continue;
        const TCalcOp op = p.symbol->op();
        if (op == TCalcOp::Power || op == TCalcOp::IntPower)
            continue;
        if (!code.at(i - 1).symbol->isNumber()
            || code.at(i - 3).symbol->kind() != TSymbolKind::Variable)
            continue;
        const TCalcCode v = code.at(i - 3);
        const TCalcCode qq = code.at(i - 2);
        const TCalcCode c = code.at(i - 1);
        const TCalcCode pp = code.at(i);
        code.setEntry(i - 3, c);
        code.setEntry(i - 2, pp);
        code.setEntry(i - 1, v);
        code.setEntry(i, qq);
    }
}

bool TOptimizeCalcCodeList::foldOnce(TCalcCodeList &code)
{
    TDoubleStack doubles(code.count() + 1);
    TIntegerStack integers(code.count() + 1);
    TCalcStacks stacks{doubles, integers};
    for (int i = 0; i < code.count(); ++i) {
        const TCalcCode entry = code.at(i);
        const int k = entry.symbol->optimize(stacks, entry.argumentCount);
        if (k > 0) {
            // Every operand is a single number entry by now: the pass stops
            // at the first fold and scans from the left.
            const double value = doubles.pop();
            code.remove(i - k + 1, k);
            code.insertNumber(i - k + 1, value);
            return true;
        }
    }
    return false;
}

void TOptimizeCalcCodeList::integerExponents(TCalcCodeList &code)
{
    for (int i = 1; i < code.count(); ++i) {
        if (code.at(i).symbol->op() != TCalcOp::Power)
            continue;
        TCalcSymbol *exponent = code.at(i - 1).symbol;
        if (exponent->kind() != TSymbolKind::NumberDouble || !exponent->isIntegerText())
            continue;
        const std::int32_t n = std::int32_t(exponent->getValue());
        code.remove(i - 1, 2);
        code.insertInteger(i - 1, n);
        code.insertSymbol(i, QStringLiteral("^^"));
    }
}

void TOptimizeCalcCodeList::optimize(TCalcCodeList &code)
{
    commute(code);
    do
        reassociate(code);
    while (foldOnce(code));
    integerExponents(code);
}

} // namespace zarno
