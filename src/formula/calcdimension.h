#pragma once

#include <QtGlobal>
#include <memory>
#include <span>
#include <vector>

namespace zarno {

class TCalcSymbol;
class TTokenNode;

using TDimensionKeisuuArray = std::vector<double>;
using TIntArray = std::vector<int>;

// The degree record of a formula: whether it is a polynomial of degree at
// most 4 in its free variable, and which one. Graphs read it to offer the
// constructions that only polynomials have (their extreme points).
class TDimensionInfo
{
public:
    enum State : qint16 {
        dsConstant = 0,
        dsPolynomial = 1, // degree 1 to 4 in the free variable
        dsNotPolynomial = 2, // or not computable
    };
    static constexpr int kMaxDegree = 4;

    State state() const { return fState; }
    int degree() const { return fDegree; }
    // A constant or a polynomial of degree 1 to 4.
    bool isPolynomial() const { return fState != dsNotPolynomial; }

    // Degree n with all five coefficients zero; beyond 4 no polynomial.
    void setDegree(int n);
    void setNotPolynomial() { fState = dsNotPolynomial; }
    // A coefficient above the degree makes the record no polynomial.
    void setCoefficient(int k, double value);
    // The coefficient of x^k, k from 0 to 4 (0 before any degree was set).
    double coefficient(int k) const;
    const TDimensionKeisuuArray &coefficients() const { return fCoefficients; }

private:
    State fState = dsNotPolynomial;
    int fDegree = -1;
    TDimensionKeisuuArray fCoefficients;
};

// The degree rule of a symbol: fills the record of a node from the records
// of its children (in child order).
class TAbstractCalcDimensionProc
{
public:
    virtual ~TAbstractCalcDimensionProc() = default;
    virtual void calc(const TTokenNode &node, std::span<const TDimensionInfo> children,
        TDimensionInfo &info) const = 0;

protected:
    static void checkChildCount(const TTokenNode &node, int n);
};

// Makes one instance of every degree rule and attaches them to the symbols of
// the shared symbol table. Numbers, which every formula makes for itself,
// take the rule of constants.
class TCalcDimensionCreator
{
public:
    static TCalcDimensionCreator &getInstance();
    TCalcDimensionCreator(const TCalcDimensionCreator &) = delete;
    TCalcDimensionCreator &operator=(const TCalcDimensionCreator &) = delete;

    const TAbstractCalcDimensionProc &ruleOf(const TCalcSymbol &symbol) const;

private:
    TCalcDimensionCreator();
    std::vector<std::unique_ptr<TAbstractCalcDimensionProc>> fRules;
    TAbstractCalcDimensionProc *fConstRule = nullptr;
};

// The degree record of a parsed formula, computed bottom-up over its tree. An
// arithmetic fault anywhere (a coefficient that overflows, a division by
// zero) makes the formula no polynomial.
TDimensionInfo computeDegrees(const TTokenNode &root);

// One way to write a total as an ordered sum of parts, with its multinomial
// coefficient total!/(k_0!·…·k_{parts−1}!).
struct TPermutationIncludingSameInfo
{
    TIntArray tuple;
    double coefficient = 0;
};

// Enumerates the ways to write a total as an ordered sum of a number of
// non-negative parts: the exponent tuples of a multinomial expansion, from
// (0, …, 0, total) to (total, 0, …, 0).
class TPermutationsIncludingSameIterator
{
public:
    TPermutationsIncludingSameIterator(int total, int parts);
    bool next();
    void info(TPermutationIncludingSameInfo &out) const;

private:
    int fTotal;
    TIntArray fTuple;
    bool fStarted = false;
};

} // namespace zarno
