#include "formula/calcprogram.h"

#include "core/exceptions.h"
#include "formula/calcops.h"

#include <QStringList>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace zarno {

namespace {

// Every arithmetic operator comes in eight forms by where its operands are:
//   S   both computed: a from the stack, b in the register
//   C   a in the register, b an immediate number
//   V   a in the register, b a variable
//   RC  a an immediate number, b in the register
//   RV  a a variable, b in the register
//   CV, VC, VV  both leaves: the register is pushed first
#define ZARNO_BINARY_FORMS(X, OP)                                                                  \
    X(OP##_S) X(OP##_C) X(OP##_V) X(OP##_RC) X(OP##_RV) X(OP##_CV) X(OP##_VC) X(OP##_VV)

// A function of the register, or of a variable (the register is pushed first).
#define ZARNO_UNARY_FORMS(X, OP) X(OP) X(OP##_V)

// clang-format off
#define ZARNO_OPCODES(X)                                                                           \
    X(PUSH_C) \
    X(PUSH_V) \
    ZARNO_BINARY_FORMS(X, ADD) \
    ZARNO_BINARY_FORMS(X, SUB) \
    ZARNO_BINARY_FORMS(X, MUL) \
    ZARNO_BINARY_FORMS(X, DIV) \
    ZARNO_BINARY_FORMS(X, POW) \
    X(POWI) \
    X(POWI_V) \
    X(SQR) \
    X(SQR_V) \
    X(CUBE) \
    ZARNO_UNARY_FORMS(X, NEG) \
    ZARNO_UNARY_FORMS(X, SIN) \
    ZARNO_UNARY_FORMS(X, COS) \
    ZARNO_UNARY_FORMS(X, TAN) \
    ZARNO_UNARY_FORMS(X, ATAN) \
    ZARNO_UNARY_FORMS(X, LOG) \
    ZARNO_UNARY_FORMS(X, SQRT) \
    ZARNO_UNARY_FORMS(X, EXP) \
    ZARNO_UNARY_FORMS(X, CEIL) \
    ZARNO_UNARY_FORMS(X, FLOOR) \
    ZARNO_UNARY_FORMS(X, ABS) \
    X(NTHRT) \
    X(LOGN) \
    X(SINP) \
    X(COSP) \
    X(TANP) \
    X(MAX) \
    X(MIN) \
    X(END)
// clang-format on

enum Opcode : std::uint16_t {
#define X(name) op_##name,
    ZARNO_OPCODES(X)
#undef X
        opCount
};

const char *const kOpNames[] = {
#define X(name) #name,
    ZARNO_OPCODES(X)
#undef X
};

enum Form { fS, fC, fV, fRC, fRV, fCV, fVC, fVV, kForms };

constexpr double kMax = DBL_MAX;

// The arithmetic operators for compiled code. Add, subtract and multiply keep
// an infinity or NaN operand in their result, so they need no test; the end
// of the run catches it. Divide and power can turn one into a finite value
// (1/inf = 0, inf^0 = 1), so they refuse non-finite operands themselves.
struct FAdd
{
    static bool apply(double a, double b, double &r)
    {
        r = a + b;
        return true;
    }
};
struct FSub
{
    static bool apply(double a, double b, double &r)
    {
        r = a - b;
        return true;
    }
};
struct FMul
{
    static bool apply(double a, double b, double &r)
    {
        r = a * b;
        return true;
    }
};
struct FDiv
{
    static bool apply(double a, double b, double &r)
    {
        r = a / b;
        const double m = std::fabs(b);
        return m > calcops::kDivisorBound && m <= kMax;
    }
};
// A divisor known at compile time to be valid.
struct FDivKnownDivisor
{
    static bool apply(double a, double b, double &r)
    {
        r = a / b;
        return true;
    }
};
struct FPow
{
    static bool apply(double a, double b, double &r)
    {
        if (!(a <= kMax && std::fabs(b) <= kMax))
            return false;
        return calcops::power(a, b, r);
    }
};

inline bool intPowerOk(double a, std::int32_t n, double &r)
{
    // With n <= 0 the power no longer depends on a (a^0 = 1), so a must be finite.
    if (n <= 0 && !calcops::finite(a))
        return false;
    r = calcops::intPower(a, n);
    return true;
}

bool allFinite(const double *args, int count)
{
    for (int j = 0; j < count; ++j)
        if (!calcops::finite(args[j]))
            return false;
    return true;
}

// The n-ary functions on finite arguments in written order.
inline bool naryApply(std::uint16_t op, const double *args, int count, double &r)
{
    if (!allFinite(args, count))
        return false;
    switch (op) {
    case op_NTHRT: return calcops::nthRoot(args[0], args[1], r);
    case op_LOGN: return calcops::logN(args[0], args[1], r);
    case op_SINP: r = calcops::generalPower(std::sin(args[1]), args[0]); return true;
    case op_COSP: r = calcops::generalPower(std::cos(args[1]), args[0]); return true;
    case op_TANP: r = calcops::generalPower(std::tan(args[1]), args[0]); return true;
    case op_MAX: r = calcops::maxOf(args, count); return true;
    case op_MIN: r = calcops::minOf(args, count); return true;
    default: return false;
    }
}

// The one-argument functions. arctan and exp map infinities to finite values,
// so they refuse them; the others keep them (or have a domain test).
inline bool unaryApply(std::uint16_t op, double a, double &r)
{
    switch (op) {
    case op_NEG: r = -a; return true;
    case op_SIN: r = std::sin(a); return true;
    case op_COS: r = std::cos(a); return true;
    case op_TAN: r = std::tan(a); return true;
    case op_ATAN: r = std::atan(a); return calcops::finite(a);
    case op_LOG: return calcops::logarithm(a, r);
    case op_SQRT: return calcops::squareRoot(a, r);
    case op_EXP: r = std::exp(a); return calcops::finite(a);
    case op_CEIL: r = std::ceil(a); return true;
    case op_FLOOR: r = std::floor(a); return true;
    case op_ABS: r = std::fabs(a); return true;
    default: return false;
    }
}

std::uint16_t binaryBase(TCalcOp op)
{
    switch (op) {
    case TCalcOp::Plus: return op_ADD_S;
    case TCalcOp::Minus: return op_SUB_S;
    case TCalcOp::Mul: return op_MUL_S;
    case TCalcOp::Div: return op_DIV_S;
    case TCalcOp::Power: return op_POW_S;
    default: return opCount;
    }
}

std::uint16_t unaryOpcode(TCalcOp op)
{
    switch (op) {
    case TCalcOp::MonoMinus: return op_NEG;
    case TCalcOp::Sin: return op_SIN;
    case TCalcOp::Cos: return op_COS;
    case TCalcOp::Tan: return op_TAN;
    case TCalcOp::ArcTan: return op_ATAN;
    case TCalcOp::Log: return op_LOG;
    case TCalcOp::Sqrt: return op_SQRT;
    case TCalcOp::Exp: return op_EXP;
    case TCalcOp::Ceil: return op_CEIL;
    case TCalcOp::Floor: return op_FLOOR;
    case TCalcOp::Abs: return op_ABS;
    default: return opCount;
    }
}

std::uint16_t naryOpcode(TCalcOp op)
{
    switch (op) {
    case TCalcOp::Nthrt: return op_NTHRT;
    case TCalcOp::LogN: return op_LOGN;
    case TCalcOp::SinP: return op_SINP;
    case TCalcOp::CosP: return op_COSP;
    case TCalcOp::TanP: return op_TANP;
    case TCalcOp::Max: return op_MAX;
    case TCalcOp::Min: return op_MIN;
    default: return opCount;
    }
}

[[noreturn]] void cannotTranslate(const QString &what)
{
    throw ESouteigai(QStringLiteral("TCalcProgram"), { fmtArg(what) },
        QStringLiteral("コード(%s)を翻訳できません。"), QStringLiteral("build"));
}

constexpr int kBlock = 256;

} // namespace

void TCalcProgram::clear()
{
    fCode.clear();
    fMemory = 0;
    fNoValue = true;
}

void TCalcProgram::build(const TCalcCodeList &code)
{
    clear();
    if (code.count() == 0)
        return;
    const TCalcCodeList::Depth depth = code.depth();
    if (!depth.balanced)
        cannotTranslate(code.toString());
    if (depth.doubles > kStackLength || depth.integers > kStackLength)
        return; // more values at once than the stacks hold: no value

    const int n = code.count();
    // Which entry consumes each value, and as which argument.
    std::vector<int> consumer(std::size_t(n), -1);
    std::vector<int> argPos(std::size_t(n), -1);
    {
        std::vector<int> stack;
        for (int i = 0; i < n; ++i) {
            const TCalcCode &e = code.at(i);
            const TSymbolKind k = e.symbol->kind();
            if (k == TSymbolKind::OperatorEnzanshi || k == TSymbolKind::OperatorFunction) {
                const int argc = e.symbol->op() == TCalcOp::IntPower ? 2 : e.argumentCount;
                for (int j = argc - 1; j >= 0; --j) {
                    consumer[std::size_t(stack.back())] = i;
                    argPos[std::size_t(stack.back())] = j;
                    stack.pop_back();
                }
            }
            stack.push_back(i);
        }
    }
    // A number or variable stays a pending operand when an arithmetic
    // operator takes it; anything else needs it on the stack.
    const auto staysPending = [&](int i) {
        const int c = consumer[std::size_t(i)];
        if (c < 0)
            return false;
        const TCalcOp op = code.at(c).symbol->op();
        if (op == TCalcOp::IntPower)
            return true;
        if (unaryOpcode(op) != opCount)
            return code.at(i).symbol->kind() == TSymbolKind::Variable;
        return binaryBase(op) != opCount;
    };

    struct Operand
    {
        enum Kind { Computed, Number, Variable, Integer } kind = Computed;
        double c = 0;
        const double *v = nullptr;
        std::int32_t n = 0;
    };
    std::vector<Operand> operands;
    int sp = 0;
    int maxSp = 0;
    const auto put = [&](std::uint16_t op, double c = 0, const double *v = nullptr,
                         const double *w = nullptr, std::int32_t nn = 0) {
        Instr in;
        in.op = op;
        in.c = c;
        in.v = v;
        in.w = w;
        in.n = nn;
        fCode.push_back(in);
    };
    const auto push = [&] { maxSp = std::max(maxSp, ++sp); };
    const auto materialize = [&](const Operand &o) {
        if (o.kind == Operand::Number)
            put(op_PUSH_C, o.c);
        else if (o.kind == Operand::Variable)
            put(op_PUSH_V, 0, o.v);
        else
            cannotTranslate(code.toString());
        push();
    };
    const auto pop = [&] {
        Operand o = operands.back();
        operands.pop_back();
        return o;
    };
    const Operand computed;

    for (int i = 0; i < n; ++i) {
        const TCalcCode &e = code.at(i);
        TCalcSymbol *s = e.symbol;
        switch (s->kind()) {
        case TSymbolKind::NumberInteger: {
            const std::int32_t value = static_cast<TNumberInteger *>(s)->value();
            const int c = consumer[std::size_t(i)];
            if (c >= 0 && code.at(c).symbol->op() == TCalcOp::IntPower
                && argPos[std::size_t(i)] == 1)
                operands.push_back({ Operand::Integer, 0, nullptr, value });
            else
                cannotTranslate(code.toString());
            break;
        }
        case TSymbolKind::NumberDouble:
        case TSymbolKind::Const: {
            const Operand o { Operand::Number, s->getValue(), nullptr, 0 };
            if (staysPending(i)) {
                operands.push_back(o);
            } else {
                materialize(o);
                operands.push_back(computed);
            }
            break;
        }
        case TSymbolKind::Variable: {
            const Operand o { Operand::Variable, 0, static_cast<TVariable *>(s)->valueAddress(),
                0 };
            if (staysPending(i)) {
                operands.push_back(o);
            } else {
                materialize(o);
                operands.push_back(computed);
            }
            break;
        }
        case TSymbolKind::OperatorEnzanshi:
        case TSymbolKind::OperatorFunction: {
            const TCalcOp op = s->op();
            if (const std::uint16_t base = binaryBase(op); base != opCount) {
                Operand b = pop();
                Operand a = pop();
                if (a.kind != Operand::Computed && b.kind == Operand::Number
                    && a.kind == Operand::Number) {
                    // Two numbers left unfolded (1/0): a goes to the stack.
                    materialize(a);
                    a = computed;
                }
                const bool aC = a.kind == Operand::Computed;
                const bool bC = b.kind == Operand::Computed;
                if (aC && bC) {
                    put(base + fS);
                    --sp;
                } else if (aC && b.kind == Operand::Number) {
                    if (op == TCalcOp::Div && !(std::fabs(b.c) > calcops::kDivisorBound)) {
                        materialize(b); // the run will meet the division and have no value
                        put(base + fS);
                        --sp;
                    } else {
                        put(base + fC, b.c);
                    }
                } else if (aC) {
                    put(base + fV, 0, b.v);
                } else if (bC) {
                    if (a.kind == Operand::Number)
                        put(base + fRC, a.c);
                    else
                        put(base + fRV, 0, a.v);
                } else {
                    if (a.kind == Operand::Number)
                        put(base + fCV, a.c, b.v);
                    else if (b.kind == Operand::Number)
                        put(base + fVC, b.c, a.v);
                    else
                        put(base + fVV, 0, a.v, b.v);
                    push();
                }
            } else if (op == TCalcOp::IntPower) {
                const Operand e2 = pop();
                Operand a = pop();
                if (e2.kind != Operand::Integer)
                    cannotTranslate(code.toString());
                if (a.kind == Operand::Number) {
                    materialize(a);
                    a = computed;
                }
                if (a.kind == Operand::Variable) {
                    if (e2.n == 2)
                        put(op_SQR_V, 0, a.v);
                    else
                        put(op_POWI_V, 0, a.v, nullptr, e2.n);
                    push();
                } else {
                    put(e2.n == 2       ? op_SQR
                            : e2.n == 3 ? op_CUBE
                                        : op_POWI,
                        0, nullptr, nullptr, e2.n);
                }
            } else if (const std::uint16_t u = unaryOpcode(op); u != opCount) {
                const Operand a = pop();
                if (a.kind == Operand::Variable) {
                    put(u + 1, 0, a.v);
                    push();
                } else if (a.kind == Operand::Computed) {
                    put(u);
                } else {
                    cannotTranslate(code.toString());
                }
            } else if (const std::uint16_t m = naryOpcode(op); m != opCount) {
                for (int j = 0; j < e.argumentCount; ++j)
                    if (pop().kind != Operand::Computed)
                        cannotTranslate(code.toString());
                put(m, 0, nullptr, nullptr, e.argumentCount);
                sp -= e.argumentCount - 1;
            } else {
                cannotTranslate(s->name());
            }
            operands.push_back(computed);
            break;
        }
        case TSymbolKind::Other: cannotTranslate(s->name());
        }
    }
    if (operands.size() != 1 || operands.back().kind != Operand::Computed)
        cannotTranslate(code.toString());
    put(op_END);
    fMemory = maxSp + 1;
    if (fMemory > kStackLength + 2)
        return clear();
    fNoValue = false;
}

double TCalcProgram::run() const
{
    if (fNoValue)
        return calcops::kNaN;

    static const void *const kLabels[] = {
#define X(name) &&L_##name,
        ZARNO_OPCODES(X)
#undef X
    };
    // The register holds the top of the stack; below it lie at most
    // kStackLength values and one slot the first push may fill with the
    // register's initial 0.
    double memory[kStackLength + 2];
    double *sp = memory;
    double acc = 0;
    const Instr *ip = fCode.data();

#define ZARNO_NEXT()                                                                               \
    do {                                                                                           \
        ++ip;                                                                                      \
        goto *kLabels[ip->op];                                                                     \
    } while (0)
#define ZARNO_HANDLERS(OP, F, FC)                                                                  \
    L_##OP##_S:                                                                                    \
    {                                                                                              \
        const double a = *--sp;                                                                    \
        if (!F::apply(a, acc, acc))                                                                \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }                                                                                              \
    L_##OP##_C:                                                                                    \
    {                                                                                              \
        if (!FC::apply(acc, ip->c, acc))                                                           \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }                                                                                              \
    L_##OP##_V:                                                                                    \
    {                                                                                              \
        if (!F::apply(acc, *ip->v, acc))                                                           \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }                                                                                              \
    L_##OP##_RC:                                                                                   \
    {                                                                                              \
        if (!F::apply(ip->c, acc, acc))                                                            \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }                                                                                              \
    L_##OP##_RV:                                                                                   \
    {                                                                                              \
        if (!F::apply(*ip->v, acc, acc))                                                           \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }                                                                                              \
    L_##OP##_CV:                                                                                   \
    {                                                                                              \
        *sp++ = acc;                                                                               \
        if (!F::apply(ip->c, *ip->v, acc))                                                         \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }                                                                                              \
    L_##OP##_VC:                                                                                   \
    {                                                                                              \
        *sp++ = acc;                                                                               \
        if (!F::apply(*ip->v, ip->c, acc))                                                         \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }                                                                                              \
    L_##OP##_VV:                                                                                   \
    {                                                                                              \
        *sp++ = acc;                                                                               \
        if (!F::apply(*ip->v, *ip->w, acc))                                                        \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }

    goto *kLabels[ip->op];

L_PUSH_C:
    *sp++ = acc;
    acc = ip->c;
    ZARNO_NEXT();
L_PUSH_V:
    *sp++ = acc;
    acc = *ip->v;
    ZARNO_NEXT();

    ZARNO_HANDLERS(ADD, FAdd, FAdd)
    ZARNO_HANDLERS(SUB, FSub, FSub)
    ZARNO_HANDLERS(MUL, FMul, FMul)
    ZARNO_HANDLERS(DIV, FDiv, FDivKnownDivisor)
    ZARNO_HANDLERS(POW, FPow, FPow)

L_POWI:
    if (!intPowerOk(acc, ip->n, acc))
        goto noValue;
    ZARNO_NEXT();
L_POWI_V:
    *sp++ = acc;
    if (!intPowerOk(*ip->v, ip->n, acc))
        goto noValue;
    ZARNO_NEXT();
L_SQR:
    acc = acc * acc;
    ZARNO_NEXT();
L_SQR_V:
    *sp++ = acc;
    acc = *ip->v * *ip->v;
    ZARNO_NEXT();
L_CUBE:
    acc = acc * acc * acc;
    ZARNO_NEXT();
#define ZARNO_UNARY_HANDLERS(OP)                                                                   \
    L_##OP:                                                                                        \
    {                                                                                              \
        if (!unaryApply(op_##OP, acc, acc))                                                        \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }                                                                                              \
    L_##OP##_V:                                                                                    \
    {                                                                                              \
        *sp++ = acc;                                                                               \
        if (!unaryApply(op_##OP, *ip->v, acc))                                                     \
            goto noValue;                                                                          \
        ZARNO_NEXT();                                                                              \
    }
    ZARNO_UNARY_HANDLERS(NEG)
    ZARNO_UNARY_HANDLERS(SIN)
    ZARNO_UNARY_HANDLERS(COS)
    ZARNO_UNARY_HANDLERS(TAN)
    ZARNO_UNARY_HANDLERS(ATAN)
    ZARNO_UNARY_HANDLERS(LOG)
    ZARNO_UNARY_HANDLERS(SQRT)
    ZARNO_UNARY_HANDLERS(EXP)
    ZARNO_UNARY_HANDLERS(CEIL)
    ZARNO_UNARY_HANDLERS(FLOOR)
    ZARNO_UNARY_HANDLERS(ABS)
#undef ZARNO_UNARY_HANDLERS
L_NTHRT:
L_LOGN:
L_SINP:
L_COSP:
L_TANP:
L_MAX:
L_MIN : {
    // The arguments lie in order on the stack with the last in the register.
    const int k = ip->n;
    *sp = acc;
    double *args = sp - (k - 1);
    if (!naryApply(ip->op, args, k, acc))
        goto noValue;
    sp = args;
    ZARNO_NEXT();
}
L_END:
    return calcops::finite(acc) ? acc : calcops::kNaN;
noValue:
    return calcops::kNaN;

#undef ZARNO_HANDLERS
#undef ZARNO_NEXT
}

namespace {

struct ArrayOperand
{
    const double *p;
    double operator[](int i) const { return p[i]; }
};
struct ScalarOperand
{
    double c;
    double operator[](int) const { return c; }
};

// An operand of a block operation: an array of values or one value for all.
struct BlockOperand
{
    const double *p = nullptr;
    double c = 0;
};

template <class F, class A, class B>
void blockLoop(A a, B b, double *out, std::uint8_t *fail, int n)
{
    for (int i = 0; i < n; ++i) {
        double r = 0;
        const bool ok = F::apply(a[i], b[i], r);
        out[i] = r;
        fail[i] |= std::uint8_t(!ok);
    }
}

template <class F>
void blockBinary(BlockOperand a, BlockOperand b, double *out, std::uint8_t *fail, int n)
{
    if (a.p && b.p)
        blockLoop<F>(ArrayOperand { a.p }, ArrayOperand { b.p }, out, fail, n);
    else if (a.p)
        blockLoop<F>(ArrayOperand { a.p }, ScalarOperand { b.c }, out, fail, n);
    else if (b.p)
        blockLoop<F>(ScalarOperand { a.c }, ArrayOperand { b.p }, out, fail, n);
    else
        blockLoop<F>(ScalarOperand { a.c }, ScalarOperand { b.c }, out, fail, n);
}

void blockBinaryOf(
    int opIndex, BlockOperand a, BlockOperand b, double *out, std::uint8_t *fail, int n)
{
    switch (opIndex) {
    case 0: blockBinary<FAdd>(a, b, out, fail, n); break;
    case 1: blockBinary<FSub>(a, b, out, fail, n); break;
    case 2: blockBinary<FMul>(a, b, out, fail, n); break;
    case 3: blockBinary<FDiv>(a, b, out, fail, n); break;
    default: blockBinary<FPow>(a, b, out, fail, n); break;
    }
}

// One loop per function, so the function is known inside the loop.
template <std::uint16_t Op> void blockUnary(double *acc, std::uint8_t *fail, int n)
{
    for (int i = 0; i < n; ++i) {
        double r = 0;
        fail[i] |= std::uint8_t(!unaryApply(Op, acc[i], r));
        acc[i] = r;
    }
}

} // namespace

void TCalcProgram::runChunk(
    const double *variable, const double *values, double *results, int n) const
{
    double *const work = fBatchWork.data();
    const auto slot = [work](int k) { return work + std::size_t(k) * kBlock; };
    std::uint8_t *const fail = fBatchFail.data();
    std::memset(fail, 0, std::size_t(n));
    const auto operand = [&](const double *v) {
        return v == variable ? BlockOperand { values, 0 } : BlockOperand { nullptr, *v };
    };
    const auto fill = [n](double *out, BlockOperand o) {
        if (o.p)
            std::memcpy(out, o.p, std::size_t(n) * sizeof(double));
        else
            std::fill(out, out + n, o.c);
    };

    int sp = 0; // the register is slot sp, the stack the slots below it
    for (const Instr &in : fCode) {
        if (in.op >= op_ADD_S && in.op <= op_POW_VV) {
            const int rel = in.op - op_ADD_S;
            const int opIndex = rel / kForms;
            BlockOperand a, b;
            double *out = nullptr;
            switch (rel % kForms) {
            case fS:
                a = { slot(sp - 1), 0 };
                b = { slot(sp), 0 };
                out = slot(--sp);
                break;
            case fC:
                a = { slot(sp), 0 };
                b = { nullptr, in.c };
                out = slot(sp);
                break;
            case fV:
                a = { slot(sp), 0 };
                b = operand(in.v);
                out = slot(sp);
                break;
            case fRC:
                a = { nullptr, in.c };
                b = { slot(sp), 0 };
                out = slot(sp);
                break;
            case fRV:
                a = operand(in.v);
                b = { slot(sp), 0 };
                out = slot(sp);
                break;
            case fCV:
                a = { nullptr, in.c };
                b = operand(in.v);
                out = slot(++sp);
                break;
            case fVC:
                a = operand(in.v);
                b = { nullptr, in.c };
                out = slot(++sp);
                break;
            default:
                a = operand(in.v);
                b = operand(in.w);
                out = slot(++sp);
                break;
            }
            blockBinaryOf(opIndex, a, b, out, fail, n);
            continue;
        }
        switch (in.op) {
        case op_PUSH_C: fill(slot(++sp), BlockOperand { nullptr, in.c }); break;
        case op_PUSH_V: fill(slot(++sp), operand(in.v)); break;
        case op_POWI_V:
        case op_SQR_V: fill(slot(++sp), operand(in.v)); [[fallthrough]];
        case op_POWI:
        case op_SQR:
        case op_CUBE: {
            double *acc = slot(sp);
            const std::int32_t e = in.op == op_SQR || in.op == op_SQR_V ? 2
                : in.op == op_CUBE                                      ? 3
                                                                        : in.n;
            for (int i = 0; i < n; ++i) {
                double r = 0;
                fail[i] |= std::uint8_t(!intPowerOk(acc[i], e, r));
                acc[i] = r;
            }
            break;
        }
#define ZARNO_UNARY_BLOCK(OP)                                                                      \
    case op_##OP##_V: fill(slot(++sp), operand(in.v)); [[fallthrough]];                            \
    case op_##OP: blockUnary<op_##OP>(slot(sp), fail, n); break;
            ZARNO_UNARY_BLOCK(NEG)
            ZARNO_UNARY_BLOCK(SIN)
            ZARNO_UNARY_BLOCK(COS)
            ZARNO_UNARY_BLOCK(TAN)
            ZARNO_UNARY_BLOCK(ATAN)
            ZARNO_UNARY_BLOCK(LOG)
            ZARNO_UNARY_BLOCK(SQRT)
            ZARNO_UNARY_BLOCK(EXP)
            ZARNO_UNARY_BLOCK(CEIL)
            ZARNO_UNARY_BLOCK(FLOOR)
            ZARNO_UNARY_BLOCK(ABS)
#undef ZARNO_UNARY_BLOCK
        case op_END: break;
        default: {
            const int k = in.n;
            const int first = sp - (k - 1);
            double args[kStackLength + 2];
            for (int i = 0; i < n; ++i) {
                for (int j = 0; j < k; ++j)
                    args[j] = slot(first + j)[i];
                double r = 0;
                fail[i] |= std::uint8_t(!naryApply(in.op, args, k, r));
                slot(first)[i] = r;
            }
            sp = first;
            break;
        }
        }
    }
    const double *acc = slot(sp);
    for (int i = 0; i < n; ++i)
        results[i] = fail[i] || !calcops::finite(acc[i]) ? calcops::kNaN : acc[i];
}

void TCalcProgram::runBatch(
    const double *variable, const double *values, double *results, qsizetype count) const
{
    if (fNoValue) {
        std::fill(results, results + count, calcops::kNaN);
        return;
    }
    const std::size_t need = std::size_t(fMemory + 1) * kBlock;
    if (fBatchWork.size() < need)
        fBatchWork.resize(need);
    if (fBatchFail.size() < std::size_t(kBlock))
        fBatchFail.resize(kBlock);
    for (qsizetype start = 0; start < count; start += kBlock) {
        const int n = int(std::min<qsizetype>(kBlock, count - start));
        runChunk(variable, values + start, results + start, n);
    }
}

QString TCalcProgram::toString() const
{
    QStringList names;
    for (const Instr &in : fCode)
        names << QString::fromLatin1(kOpNames[in.op]);
    return names.join(QLatin1Char(' '));
}

} // namespace zarno
