#include "formula/calcsymbol.h"

#include "core/commonprocs.h"
#include "formula/calcops.h"
#include "formula/mathfault.h"

#include <QVarLengthArray>
#include <cmath>

namespace zarno {

namespace {

[[noreturn]] void arithmeticFault(const QString &symbolName)
{
    throw EMathError(QStringLiteral("演算(%1)で浮動小数点例外が発生しました。").arg(symbolName));
}

} // namespace

TCalcSymbol::TCalcSymbol(
    const QString &name, const QString &texName, int precedence, TSymbolKind kind, TCalcOp op)
    : fName(name)
    , fTexName(texName)
    , fPrecedence(precedence)
    , fKind(kind)
    , fOp(op)
{ }

TCalcSymbol::~TCalcSymbol() = default;

void TCalcSymbol::notImplemented(const char *method) const
{
    throw ESouteigai(QStringLiteral("TCalcSymbol(%1)").arg(fName), QString::fromLatin1(method));
}

void TCalcSymbol::setValue(double)
{
    notImplemented("setValue");
}

double TCalcSymbol::getValue() const
{
    notImplemented("getValue");
}

bool TCalcSymbol::calc(TCalcStacks &, int) const
{
    notImplemented("calc");
}

int TCalcSymbol::optimize(TCalcStacks &, int) const
{
    notImplemented("optimize");
}

bool TCalcSymbol::isNumber() const
{
    notImplemented("isNumber");
}

TOperator::TOperator(const QString &name, const QString &texName, int precedence, TSymbolKind kind,
    TCalcOp op, int arity)
    : TCalcSymbol(name, texName, precedence, kind, op)
    , fArity(arity)
{ }

bool TOperator::calc(TCalcStacks &stacks, int argumentCount) const
{
    QVarLengthArray<double, 8> args(argumentCount);
    for (int i = argumentCount - 1; i >= 0; --i)
        args[i] = stacks.doubles.pop();
    // Values are finite between steps: an infinity or NaN can only come from
    // a fault, or from a variable that holds no number.
    for (double a : args)
        if (!calcops::finite(a))
            arithmeticFault(name());
    double result = 0;
    if (!evaluate(args.constData(), argumentCount, result))
        return false;
    if (!calcops::finite(result))
        arithmeticFault(name());
    stacks.doubles.push(result);
    return true;
}

int TOperator::optimize(TCalcStacks &stacks, int argumentCount) const
{
    QVarLengthArray<double, 8> args(argumentCount);
    bool unknown = false;
    for (int i = argumentCount - 1; i >= 0; --i) {
        args[i] = stacks.doubles.pop();
        unknown = unknown || std::isnan(args[i]);
    }
    if (unknown) {
        stacks.doubles.push(calcops::kNaN);
        return 0;
    }
    for (double a : args)
        stacks.doubles.push(a);
    if (!calc(stacks, argumentCount)) {
        // A constant without value (1/0) stays as code; the stack keeps one
        // entry for it so the rest of the pass lines up.
        stacks.doubles.push(calcops::kNaN);
        return 0;
    }
    return argumentCount + 1;
}

TOperatorFunction::TOperatorFunction(
    const QString &name, const QString &texName, int precedence, TCalcOp op, int arity)
    : TOperator(name, texName, precedence, TSymbolKind::OperatorFunction, op, arity)
{ }

TOperatorEnzanshi::TOperatorEnzanshi(
    const QString &name, const QString &texName, int precedence, TCalcOp op, int arity)
    : TOperator(name, texName, precedence, TSymbolKind::OperatorEnzanshi, op, arity)
{ }

template <TCalcOp Op, typename Base>
bool TOperatorOf<Op, Base>::evaluate(const double *a, int count, double &r) const
{
    using namespace calcops;
    switch (Op) {
    case TCalcOp::Plus: r = a[0] + a[1]; return true;
    case TCalcOp::Minus: r = a[0] - a[1]; return true;
    case TCalcOp::Mul: r = a[0] * a[1]; return true;
    case TCalcOp::Div: return divide(a[0], a[1], r);
    case TCalcOp::Power: return power(a[0], a[1], r);
    case TCalcOp::MonoMinus: r = -a[0]; return true;
    case TCalcOp::Sin: r = std::sin(a[0]); return true;
    case TCalcOp::Cos: r = std::cos(a[0]); return true;
    case TCalcOp::Tan: r = std::tan(a[0]); return true;
    case TCalcOp::ArcTan: r = std::atan(a[0]); return true;
    case TCalcOp::Log: return logarithm(a[0], r);
    case TCalcOp::Sqrt: return squareRoot(a[0], r);
    case TCalcOp::Nthrt: return nthRoot(a[0], a[1], r);
    case TCalcOp::Exp: r = std::exp(a[0]); return true;
    case TCalcOp::Ceil: r = std::ceil(a[0]); return true;
    case TCalcOp::Floor: r = std::floor(a[0]); return true;
    case TCalcOp::Abs: r = std::fabs(a[0]); return true;
    case TCalcOp::LogN: return logN(a[0], a[1], r);
    case TCalcOp::Max: r = maxOf(a, count); return true;
    case TCalcOp::Min: r = minOf(a, count); return true;
    case TCalcOp::SinP: r = generalPower(std::sin(a[1]), a[0]); return true;
    case TCalcOp::CosP: r = generalPower(std::cos(a[1]), a[0]); return true;
    case TCalcOp::TanP: r = generalPower(std::tan(a[1]), a[0]); return true;
    case TCalcOp::None:
    case TCalcOp::IntPower: break;
    }
    throw ESouteigai(QStringLiteral("TOperator(%1)").arg(this->name()), QStringLiteral("evaluate"));
}

template class TOperatorOf<TCalcOp::Plus, TOperatorEnzanshi>;
template class TOperatorOf<TCalcOp::Minus, TOperatorEnzanshi>;
template class TOperatorOf<TCalcOp::Mul, TOperatorEnzanshi>;
template class TOperatorOf<TCalcOp::Div, TOperatorEnzanshi>;
template class TOperatorOf<TCalcOp::Power, TOperatorEnzanshi>;
template class TOperatorOf<TCalcOp::MonoMinus, TOperatorEnzanshi>;
template class TOperatorOf<TCalcOp::Sin, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Cos, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Tan, TOperatorFunction>;
template class TOperatorOf<TCalcOp::ArcTan, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Log, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Sqrt, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Nthrt, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Exp, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Ceil, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Floor, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Abs, TOperatorFunction>;
template class TOperatorOf<TCalcOp::LogN, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Max, TOperatorFunction>;
template class TOperatorOf<TCalcOp::Min, TOperatorFunction>;
template class TOperatorOf<TCalcOp::SinP, TOperatorFunction>;
template class TOperatorOf<TCalcOp::CosP, TOperatorFunction>;
template class TOperatorOf<TCalcOp::TanP, TOperatorFunction>;

TOp_intPower::TOp_intPower(const QString &name, const QString &texName, int precedence)
    : TOperatorEnzanshi(name, texName, precedence, TCalcOp::IntPower, 2)
{ }

bool TOp_intPower::calc(TCalcStacks &stacks, int) const
{
    const std::int32_t n = stacks.integers.pop();
    const double a = stacks.doubles.pop();
    if (!calcops::finite(a))
        arithmeticFault(name());
    const double r = calcops::intPower(a, n);
    if (!calcops::finite(r))
        arithmeticFault(name());
    stacks.doubles.push(r);
    return true;
}

bool TOp_intPower::evaluate(const double *args, int, double &result) const
{
    // Only reached through optimize, which sees the exponent as a double.
    result = calcops::intPower(args[0], std::int32_t(args[1]));
    return true;
}

TNumberInteger::TNumberInteger(const QString &name, std::int32_t value)
    : TCalcSymbol(name, name, 9000, TSymbolKind::NumberInteger)
    , fValue(value)
{ }

bool TNumberInteger::calc(TCalcStacks &stacks, int) const
{
    stacks.integers.push(fValue);
    return true;
}

int TNumberInteger::optimize(TCalcStacks &stacks, int) const
{
    stacks.doubles.push(fValue);
    return 0;
}

TNumberDouble::TNumberDouble(const QString &name, double value)
    : TNumberDouble(name, name, value, TSymbolKind::NumberDouble)
{ }

TNumberDouble::TNumberDouble(
    const QString &name, const QString &texName, double value, TSymbolKind kind)
    : TCalcSymbol(name, texName, 9000, kind)
    , fValue(value)
{ }

bool TNumberDouble::calc(TCalcStacks &stacks, int) const
{
    stacks.doubles.push(fValue);
    return true;
}

int TNumberDouble::optimize(TCalcStacks &stacks, int) const
{
    stacks.doubles.push(fValue);
    return 0;
}

bool TNumberDouble::isIntegerText() const
{
    return TCommonProcs::isIntegerString(name());
}

TConst::TConst(const QString &name, const QString &texName, double value)
    : TConst(name, texName, value, TSymbolKind::Const)
{ }

TConst::TConst(const QString &name, const QString &texName, double value, TSymbolKind kind)
    : TNumberDouble(name, texName, value, kind)
{ }

TVariable::TVariable(const QString &name, int kind, int number)
    : TConst(name, name, 0.0, TSymbolKind::Variable)
    , fVarKind(kind)
    , fNumber(number)
{ }

bool TVariable::calc(TCalcStacks &stacks, int) const
{
    stacks.doubles.push(fValue);
    return true;
}

int TVariable::optimize(TCalcStacks &stacks, int) const
{
    // Unknown at compile time.
    stacks.doubles.push(calcops::kNaN);
    return 0;
}

TCalcSymbolOther::TCalcSymbolOther(const QString &name, const QString &texName, int precedence)
    : TCalcSymbol(name, texName, precedence, TSymbolKind::Other)
{ }

} // namespace zarno
