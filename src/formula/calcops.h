#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// The numeric meaning of every operator and function of the formula language,
// shared by the symbols (constant folding, the reference evaluator) and the
// compiled program, so both compute bit for bit the same values.
//
// A function answers false when the formula has no value there (a domain
// error). A result that is infinite or NaN marks an arithmetic fault (invalid
// operation, division by zero, overflow); callers detect it by finite().
namespace zarno::calcops {

// Divisors and logarithm bases are compared against an absolute bound.
inline constexpr double kDivisorBound = 0.00001;
inline constexpr double kLogBaseBound = 0.00001;
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// False for infinities and NaN; cheaper than std::isfinite and safe under any
// floating-point flags.
inline bool finite(double v)
{
    return std::fabs(v) <= std::numeric_limits<double>::max();
}

inline bool divide(double a, double b, double &r)
{
    if (!(std::fabs(b) > kDivisorBound))
        return false;
    r = a / b;
    return true;
}

// The general power takes a positive base only: 0^0.5 and (-2)^y have no value.
inline bool power(double a, double b, double &r)
{
    if (!(a > 0))
        return false;
    r = std::pow(a, b);
    return true;
}

// a^n by repeated multiplication. Exponents beyond any sensible formula use
// squaring, so x^2147483647 costs 31 steps instead of two billion. For n < 0
// an overflowing a^(-n) is a fault, not a quotient of 0.
inline double intPower(double a, std::int32_t n)
{
    const std::int64_t m = n < 0 ? -std::int64_t(n) : std::int64_t(n);
    double p = 1.0;
    if (m <= 64) {
        if (m > 0) {
            p = a;
            for (std::int64_t i = 1; i < m; ++i)
                p *= a;
        }
    } else {
        double base = a;
        for (std::int64_t e = m; e > 0; e >>= 1) {
            if (e & 1)
                p *= base;
            base *= base;
        }
    }
    if (n >= 0)
        return p;
    return finite(p) ? 1.0 / p : kNaN;
}

inline bool logarithm(double x, double &r)
{
    if (!(x > 0))
        return false;
    r = std::log(x);
    return true;
}

inline bool squareRoot(double x, double &r)
{
    if (!(x >= 0))
        return false;
    r = std::sqrt(x);
    return true;
}

// nthrt(n, x) = x^(1/n). n = 0 is a division by zero, so the result is a fault.
inline bool nthRoot(double n, double x, double &r)
{
    if (!(x > 0))
        return false;
    const double e = 1.0 / n;
    r = finite(e) ? std::pow(x, e) : kNaN;
    return true;
}

inline bool logN(double b, double x, double &r)
{
    if (!(x > 0))
        return false;
    if (!(b > 0) || !(std::fabs(b - 1) > kLogBaseBound))
        return false;
    r = std::log(x) / std::log(b);
    return true;
}

// The power of sin^n and its kin: a negative base is fine for an integer n,
// a zero base for a positive n; anything else comes out infinite or NaN.
inline double generalPower(double base, double n)
{
    return std::pow(base, n);
}

// max and min walk from the last argument back to the first.
inline double maxOf(const double *args, int count)
{
    double cur = args[count - 1];
    for (int k = count - 2; k >= 0; --k)
        if (args[k] > cur)
            cur = args[k];
    return cur;
}

inline double minOf(const double *args, int count)
{
    double cur = args[count - 1];
    for (int k = count - 2; k >= 0; --k)
        if (!(cur <= args[k]))
            cur = args[k];
    return cur;
}

} // namespace zarno::calcops
