#pragma once

#include "core/exceptions.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace zarno {

class TAbstractCalcDimensionProc;
class TAbstractC2TStrProc;

// Value stack of fixed length on which postfix code runs. Exceeding the
// length or popping an empty stack is a program fault: code is checked for
// its depth before it runs.
template <typename T> class TGNumberStack
{
public:
    // The length is number + 1 (the shared stacks are created with 110).
    explicit TGNumberStack(int number)
        : fItems(std::size_t(number) + 1)
    { }
    void push(T v)
    {
        if (fTop + 1 >= int(fItems.size()))
            throw ESouteigai(QStringLiteral("TGNumberStack"), { fmtArg(int(fItems.size())) },
                QStringLiteral("スタックの長さ(%d)を超えました。"), QStringLiteral("push"));
        fItems[std::size_t(++fTop)] = v;
    }
    T pop()
    {
        if (fTop < 0)
            throw ESouteigai(QStringLiteral("TGNumberStack"), QStringLiteral("スタックは空です。"),
                QStringLiteral("pop"));
        return fItems[std::size_t(fTop--)];
    }
    void clear() { fTop = -1; }
    int count() const { return fTop + 1; }
    int length() const { return int(fItems.size()); }

private:
    std::vector<T> fItems;
    int fTop = -1;
};

using TDoubleStack = TGNumberStack<double>;
using TIntegerStack = TGNumberStack<std::int32_t>;

// The two stacks a piece of code runs on.
struct TCalcStacks
{
    TDoubleStack &doubles;
    TIntegerStack &integers;
    void clear()
    {
        doubles.clear();
        integers.clear();
    }
};

// What a symbol is, for the tokenizer (token kinds) and the code optimizer.
enum class TSymbolKind : std::uint8_t {
    OperatorEnzanshi,
    OperatorFunction,
    NumberDouble,
    NumberInteger,
    Const,
    Variable,
    Other,
};

// The operation of an operator or function symbol.
enum class TCalcOp : std::uint8_t {
    None,
    Plus,
    Minus,
    Mul,
    Div,
    Power,
    IntPower,
    MonoMinus,
    Sin,
    Cos,
    Tan,
    ArcTan,
    Log,
    Sqrt,
    Nthrt,
    Exp,
    Ceil,
    Floor,
    Abs,
    LogN,
    Max,
    Min,
    SinP,
    CosP,
    TanP,
};

// A word of the formula language. Operations a kind of symbol does not
// support raise ESouteigai naming themselves.
class TCalcSymbol
{
public:
    TCalcSymbol(const QString &name, const QString &texName, int precedence, TSymbolKind kind,
        TCalcOp op = TCalcOp::None);
    virtual ~TCalcSymbol();
    TCalcSymbol(const TCalcSymbol &) = delete;
    TCalcSymbol &operator=(const TCalcSymbol &) = delete;

    const QString &name() const { return fName; }
    const QString &texName() const { return fTexName; }
    int precedence() const { return fPrecedence; }
    TSymbolKind kind() const { return fKind; }
    TCalcOp op() const { return fOp; }
    bool enabled() const { return fEnabled; }
    void setEnabled(bool on) { fEnabled = on; }

    // The symbol's degree rule and typeset-text rule: shared objects the
    // symbol does not own; none until they are attached.
    TAbstractCalcDimensionProc *degreeProc() const { return fDegreeProc; }
    void setDegreeProc(TAbstractCalcDimensionProc *proc) { fDegreeProc = proc; }
    const TAbstractC2TStrProc *texProc() const { return fTexProc; }
    void setTexProc(const TAbstractC2TStrProc *proc) { fTexProc = proc; }

    virtual void setValue(double value);
    virtual double getValue() const;
    // Run-time step: pops the operands, pushes the result. False means the
    // formula has no value here. An arithmetic fault raises EMathError.
    virtual bool calc(TCalcStacks &stacks, int argumentCount) const;
    // Constant-folding step: pushes a value (NaN when unknown) and tells how
    // many code entries the value can replace (0: none).
    virtual int optimize(TCalcStacks &stacks, int argumentCount) const;
    virtual bool isNumber() const;
    virtual bool isIntegerText() const { return false; }

protected:
    [[noreturn]] void notImplemented(const char *method) const;

private:
    QString fName;
    QString fTexName;
    int fPrecedence;
    TSymbolKind fKind;
    TCalcOp fOp;
    bool fEnabled = true;
    TAbstractCalcDimensionProc *fDegreeProc = nullptr;
    const TAbstractC2TStrProc *fTexProc = nullptr;
};

class TOperator : public TCalcSymbol
{
public:
    // arity 0: any number of arguments, at least one.
    TOperator(const QString &name, const QString &texName, int precedence, TSymbolKind kind,
        TCalcOp op, int arity);
    int arity() const { return fArity; }
    bool calc(TCalcStacks &stacks, int argumentCount) const override;
    int optimize(TCalcStacks &stacks, int argumentCount) const override;
    bool isNumber() const override { return false; }

protected:
    // The value for finite arguments in written order; false: no value.
    virtual bool evaluate(const double *args, int count, double &result) const = 0;

private:
    int fArity;
};

class TOperatorFunction : public TOperator
{
public:
    TOperatorFunction(
        const QString &name, const QString &texName, int precedence, TCalcOp op, int arity);
};

class TOperatorEnzanshi : public TOperator
{
public:
    TOperatorEnzanshi(
        const QString &name, const QString &texName, int precedence, TCalcOp op, int arity);
};

// Every operator and function with its own numeric meaning.
template <TCalcOp Op, typename Base> class TOperatorOf final : public Base
{
public:
    using Base::Base;

protected:
    bool evaluate(const double *args, int count, double &result) const override;
};

using TOp_plus = TOperatorOf<TCalcOp::Plus, TOperatorEnzanshi>;
using TOp_minus = TOperatorOf<TCalcOp::Minus, TOperatorEnzanshi>;
using TOp_mul = TOperatorOf<TCalcOp::Mul, TOperatorEnzanshi>;
using TOp_div = TOperatorOf<TCalcOp::Div, TOperatorEnzanshi>;
using TOp_power = TOperatorOf<TCalcOp::Power, TOperatorEnzanshi>;
using TOp_mono_minus = TOperatorOf<TCalcOp::MonoMinus, TOperatorEnzanshi>;
using TOp_sin = TOperatorOf<TCalcOp::Sin, TOperatorFunction>;
using TOp_cos = TOperatorOf<TCalcOp::Cos, TOperatorFunction>;
using TOp_tan = TOperatorOf<TCalcOp::Tan, TOperatorFunction>;
using TOp_arcTan = TOperatorOf<TCalcOp::ArcTan, TOperatorFunction>;
using TOp_log = TOperatorOf<TCalcOp::Log, TOperatorFunction>;
using TOp_sqrt = TOperatorOf<TCalcOp::Sqrt, TOperatorFunction>;
using TOp_nthrt = TOperatorOf<TCalcOp::Nthrt, TOperatorFunction>;
using TOp_exp = TOperatorOf<TCalcOp::Exp, TOperatorFunction>;
using TOp_ceil = TOperatorOf<TCalcOp::Ceil, TOperatorFunction>;
using TOp_floor = TOperatorOf<TCalcOp::Floor, TOperatorFunction>;
using TOp_abs = TOperatorOf<TCalcOp::Abs, TOperatorFunction>;
using TOp_logN = TOperatorOf<TCalcOp::LogN, TOperatorFunction>;
using TOp_max = TOperatorOf<TCalcOp::Max, TOperatorFunction>;
using TOp_min = TOperatorOf<TCalcOp::Min, TOperatorFunction>;
using TOp_sinP = TOperatorOf<TCalcOp::SinP, TOperatorFunction>;
using TOp_cosP = TOperatorOf<TCalcOp::CosP, TOperatorFunction>;
using TOp_tanP = TOperatorOf<TCalcOp::TanP, TOperatorFunction>;

// "^^": a double base from the double stack, the exponent from the integer stack.
class TOp_intPower final : public TOperatorEnzanshi
{
public:
    TOp_intPower(const QString &name, const QString &texName, int precedence);
    bool calc(TCalcStacks &stacks, int argumentCount) const override;

protected:
    bool evaluate(const double *args, int count, double &result) const override;
};

class TNumberInteger : public TCalcSymbol
{
public:
    TNumberInteger(const QString &name, std::int32_t value);
    std::int32_t value() const { return fValue; }
    double getValue() const override { return fValue; }
    bool calc(TCalcStacks &stacks, int argumentCount) const override;
    int optimize(TCalcStacks &stacks, int argumentCount) const override;
    bool isNumber() const override { return true; }

private:
    std::int32_t fValue;
};

class TNumberDouble : public TCalcSymbol
{
public:
    TNumberDouble(const QString &name, double value);
    double getValue() const override { return fValue; }
    bool calc(TCalcStacks &stacks, int argumentCount) const override;
    int optimize(TCalcStacks &stacks, int argumentCount) const override;
    bool isNumber() const override { return true; }
    bool isIntegerText() const override;

protected:
    TNumberDouble(const QString &name, const QString &texName, double value, TSymbolKind kind);
    double fValue;
};

class TConst : public TNumberDouble
{
public:
    TConst(const QString &name, const QString &texName, double value);

protected:
    TConst(const QString &name, const QString &texName, double value, TSymbolKind kind);
};

// x, y and the shape variables. Their values are shared by every formula.
class TVariable final : public TConst
{
public:
    TVariable(const QString &name, int kind, int number);
    int varKind() const { return fVarKind; }
    int number() const { return fNumber; }
    void setValue(double value) override { fValue = value; }
    // Where compiled code reads the value from.
    const double *valueAddress() const { return &fValue; }
    bool calc(TCalcStacks &stacks, int argumentCount) const override;
    int optimize(TCalcStacks &stacks, int argumentCount) const override;
    bool isNumber() const override { return false; }

private:
    int fVarKind;
    int fNumber;
};

// Parentheses, comma, blank and the group marker: no code.
class TCalcSymbolOther final : public TCalcSymbol
{
public:
    TCalcSymbolOther(const QString &name, const QString &texName, int precedence);
};

} // namespace zarno
