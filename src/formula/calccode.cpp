#include "formula/calccode.h"

#include "core/exceptions.h"
#include "formula/numbertext.h"
#include "formula/tokennode.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace zarno {

void TCalcCodeList::append(TCalcSymbol *symbol, int argumentCount)
{
    if (argumentCount < 0) {
        argumentCount = 0;
        if (symbol->kind() == TSymbolKind::OperatorEnzanshi
            || symbol->kind() == TSymbolKind::OperatorFunction)
            argumentCount = static_cast<TOperator *>(symbol)->arity();
    }
    fCode.push_back({ symbol, argumentCount });
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
    std::vector<Frame> stack { { node, 0 } };
    while (!stack.empty()) {
        Frame &f = stack.back();
        if (f.next < f.node->childCount()) {
            const TTokenNode *c = f.node->child(f.next++);
            stack.push_back({ c, 0 });
            continue;
        }
        const auto *token = dynamic_cast<const TCalcToken *>(f.node->token());
        if (!token)
            throw ESouteigai(QStringLiteral("TCalcCodeList"),
                QStringLiteral("計算できないトークンがあります。"), QStringLiteral("appendTree"));
        if (token->isCode())
            append(token->symbol(), token->argumentCount());
        stack.pop_back();
    }
}

void TCalcCodeList::insertNumber(int index, double value)
{
    fCode.insert(fCode.begin() + index, TCalcCode { numberSymbol(value), 0 });
}

TCalcSymbol *TCalcCodeList::numberSymbol(double value)
{
    return fSymbolList.addNumber(TNumberText::formatGeneral15(value));
}

void TCalcCodeList::insertInteger(int index, std::int32_t value)
{
    TNumberInteger *n = fSymbolList.addInteger(QString::number(value));
    fCode.insert(fCode.begin() + index, TCalcCode { n, 0 });
}

void TCalcCodeList::insertSymbol(int index, const QString &name)
{
    TCalcSymbol *s = fSymbolList.mustFindSymbol(name);
    int argc = 0;
    if (s->kind() == TSymbolKind::OperatorEnzanshi || s->kind() == TSymbolKind::OperatorFunction)
        argc = static_cast<TOperator *>(s)->arity();
    fCode.insert(fCode.begin() + index, TCalcCode { s, argc });
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
        throw ESouteigai(QStringLiteral("TCalcCodeList"), { fmtArg(stacks.doubles.count()) },
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

bool TOptimizeCalcCodeList::reassociates(
    const TCalcCode &v, const TCalcCode &q, const TCalcCode &c, const TCalcCode &p)
{
    // In a chain A q v c p of two operators of one precedence (postfix of
    // (A q v) p c), the number moves next to A: (A p c) q v. So 2*x*3 becomes
    // 2 3 * x * and folds to 6 x *. Only the operators of sums and products
    // qualify: both operators must be that chain's, and powers are left alone
    // because (a^v)^c and (a^c)^v differ where a is negative.
    if (!isBinaryEnzanshi(p) || !isBinaryEnzanshi(q))
        return false;
    if (p.symbol->precedence() != q.symbol->precedence())
        return false;
    if (p.symbol->op() == TCalcOp::Power || p.symbol->op() == TCalcOp::IntPower)
        return false;
    return c.symbol->isNumber() && v.symbol->kind() == TSymbolKind::Variable;
}

namespace {

// A set of entry labels taken out smallest first.
class LabelQueue
{
public:
    explicit LabelQueue(std::size_t size)
        : fQueued(size, 0)
    { }
    void insert(int label)
    {
        if (!fQueued[std::size_t(label)]) {
            fQueued[std::size_t(label)] = 1;
            fHeap.push_back(label);
            std::push_heap(fHeap.begin(), fHeap.end(), std::greater<int>());
        }
    }
    bool empty() const { return fHeap.empty(); }
    int takeSmallest()
    {
        std::pop_heap(fHeap.begin(), fHeap.end(), std::greater<int>());
        const int label = fHeap.back();
        fHeap.pop_back();
        fQueued[std::size_t(label)] = 0;
        return label;
    }

private:
    std::vector<std::uint8_t> fQueued;
    std::vector<int> fHeap;
};

// The code as a linked list while it is folded. Each entry keeps its first
// index as its label, which stays in list order through every rearrangement
// and fold, so the sets of entries still to look at can be walked left to
// right.
//
// Reassociation at an entry depends only on the four entries ending there,
// and whether an operator folds only on the entries it takes (it folds when
// they are all numbers). So after a change only the windows touching it are
// looked at again: the result is the same as rescanning the whole code on
// every pass, without its quadratic cost on long formulas.
class Folder
{
public:
    explicit Folder(TCalcCodeList &code)
        : fCode(code)
        , fEntries(code.entries())
        , fReassociate(fEntries.size())
        , fLater(fEntries.size())
        , fFold(fEntries.size())
        , fDoubles(int(fEntries.size()) + 1)
        , fIntegers(1)
        , fStacks { fDoubles, fIntegers }
    {
        const int n = int(fEntries.size());
        fPrev.resize(std::size_t(n));
        fNext.resize(std::size_t(n));
        for (int i = 0; i < n; ++i) {
            fPrev[std::size_t(i)] = i - 1;
            fNext[std::size_t(i)] = i + 1 < n ? i + 1 : -1;
            fReassociate.insert(i);
            if (isOperator(i))
                fFold.insert(i);
        }
        fHead = n > 0 ? 0 : -1;
    }

    void run()
    {
        do
            reassociatePass();
        while (foldFirst());
        std::vector<TCalcCode> out;
        for (int i = fHead; i >= 0; i = next(i))
            out.push_back(fEntries[std::size_t(i)]);
        fCode.assign(std::move(out));
    }

private:
    int prev(int i) const { return i < 0 ? -1 : fPrev[std::size_t(i)]; }
    int next(int i) const { return i < 0 ? -1 : fNext[std::size_t(i)]; }
    const TCalcCode &at(int i) const { return fEntries[std::size_t(i)]; }
    bool isOperator(int i) const
    {
        const TSymbolKind k = at(i).symbol->kind();
        return k == TSymbolKind::OperatorEnzanshi || k == TSymbolKind::OperatorFunction;
    }
    int firstOperatorFrom(int i) const
    {
        while (i >= 0 && !isOperator(i))
            i = next(i);
        return i;
    }
    // The windows ending at first and the three entries after last.
    void touchWindows(int first, int last, int scanning, LabelQueue &later)
    {
        int end = last;
        for (int k = 0; k < 3 && next(end) >= 0; ++k)
            end = next(end);
        for (int i = first;; i = next(i)) {
            (i > scanning ? fReassociate : later).insert(i);
            if (i == end)
                break;
        }
    }

    void reassociatePass()
    {
        while (!fReassociate.empty()) {
            const int n3 = fReassociate.takeSmallest();
            const int n2 = prev(n3), n1 = prev(n2), n0 = prev(n1);
            if (n0 < 0)
                continue;
            if (!TOptimizeCalcCodeList::reassociates(at(n0), at(n1), at(n2), at(n3)))
                continue;
            const TCalcCode v = at(n0), q = at(n1), c = at(n2), p = at(n3);
            fEntries[std::size_t(n0)] = c;
            fEntries[std::size_t(n1)] = p;
            fEntries[std::size_t(n2)] = v;
            fEntries[std::size_t(n3)] = q;
            touchWindows(n0, n3, n3, fLater);
            fFold.insert(n1);
            fFold.insert(n3);
        }
        std::swap(fReassociate, fLater);
    }

    bool foldFirst()
    {
        while (!fFold.empty()) {
            const int op = fFold.takeSmallest();
            const int argc = at(op).argumentCount;
            std::vector<int> &operands = fOperands;
            operands.assign(std::size_t(std::max(argc, 0)), -1);
            int i = op;
            bool numbers = argc > 0;
            for (int k = argc - 1; k >= 0 && numbers; --k) {
                i = prev(i);
                numbers = i >= 0 && at(i).symbol->isNumber();
                operands[std::size_t(k)] = i;
            }
            if (!numbers)
                continue;
            fStacks.clear();
            for (int o : operands)
                at(o).symbol->optimize(fStacks, 0);
            if (at(op).symbol->optimize(fStacks, argc) == 0)
                continue; // no value here: stays code
            const int first = operands.front();
            fEntries[std::size_t(first)] = TCalcCode { fCode.numberSymbol(fDoubles.pop()), 0 };
            const int after = next(op);
            fNext[std::size_t(first)] = after;
            if (after >= 0)
                fPrev[std::size_t(after)] = first;
            touchWindows(first, first, -1, fReassociate);
            const int consumer = firstOperatorFrom(after);
            if (consumer >= 0)
                fFold.insert(consumer);
            return true;
        }
        return false;
    }

    TCalcCodeList &fCode;
    std::vector<TCalcCode> fEntries;
    std::vector<int> fPrev;
    std::vector<int> fNext;
    int fHead = -1;
    LabelQueue fReassociate; // windows to look at, by the label of their last entry
    LabelQueue fLater; // the same for the next pass
    LabelQueue fFold; // operators that may fold
    std::vector<int> fOperands;
    TDoubleStack fDoubles;
    TIntegerStack fIntegers;
    TCalcStacks fStacks;
};

} // namespace

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
    Folder(code).run();
    integerExponents(code);
}

} // namespace zarno
