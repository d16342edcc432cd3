#pragma once

#include "formula/calcsymbollist.h"

#include <QStringList>
#include <vector>

namespace zarno {

class TTokenNode;

// One entry of postfix code: a symbol, and for operators the number of
// arguments this call takes (max and min take as many as were written).
struct TCalcCode
{
    TCalcSymbol *symbol = nullptr;
    int argumentCount = 0;
};

// The postfix code of one formula. It refers to symbols of the shared table
// and of its facade's symbol list, which creates the numbers it inserts.
class TCalcCodeList
{
public:
    explicit TCalcCodeList(TCalcSymbolList &symbolList)
        : fSymbolList(symbolList)
    { }

    TCalcSymbolList &symbolList() const { return fSymbolList; }
    int count() const { return int(fCode.size()); }
    const TCalcCode &at(int i) const { return fCode[std::size_t(i)]; }
    const std::vector<TCalcCode> &entries() const { return fCode; }

    void append(TCalcSymbol *symbol, int argumentCount = -1);
    // Appends the code of every token of the subtree in post-order.
    void appendTree(const TTokenNode *node);
    // A number named by value's 15-digit general text and read back from it.
    void insertNumber(int index, double value);
    void insertInteger(int index, std::int32_t value);
    void insertSymbol(int index, const QString &name);
    // The number symbol insertNumber would insert, for code built elsewhere.
    TCalcSymbol *numberSymbol(double value);
    void assign(std::vector<TCalcCode> entries) { fCode = std::move(entries); }
    void remove(int index, int count = 1);
    void swap(int i, int j);

    // The most values the code holds at once on the double and the integer
    // stack, and whether it leaves exactly one value (every operator finds
    // its operands).
    struct Depth
    {
        int doubles = 0;
        int integers = 0;
        bool balanced = false;
    };
    Depth depth() const;

    // Clears the shared stacks before a run.
    void prepare();
    // The one value left after a run, popped.
    double getResult(TCalcStacks &stacks) const;

    // The names of the entries, for diagnostics and tests: "2 x *".
    QString toString() const;

private:
    TCalcSymbolList &fSymbolList;
    std::vector<TCalcCode> fCode;
};

// The constant folder, in this order:
// 1. commutation, once: x*2 at the start becomes 2*x;
// 2. repeatedly, reassociation over the whole code, then folding of the
//    first operator from the left whose operands are all numbers, until
//    nothing folds;
// 3. a "^" whose exponent is an integer number becomes "^^".
class TOptimizeCalcCodeList
{
public:
    // Raises EMathError when a constant sub-expression faults (overflow).
    static void optimize(TCalcCodeList &code);

    static void commute(TCalcCodeList &code);
    static void integerExponents(TCalcCodeList &code);
    // Whether reassociation rearranges the four entries ending at a window.
    static bool reassociates(
        const TCalcCode &v, const TCalcCode &q, const TCalcCode &c, const TCalcCode &p);
};

} // namespace zarno
