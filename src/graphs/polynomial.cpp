#include "graphs/polynomial.h"

#include "core/exceptions.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zarno {

namespace {

// A root whose imaginary part is this small against its size is real: the
// iteration leaves rounding noise there. Real roots this close together are one.
constexpr double kRealRoot = 1e-7;
constexpr double kSameRoot = 1e-7;

// A quadratic whose discriminant is this small against its terms has one
// double root: its two roots would lie closer than about 1e-5 of their size.
constexpr double kDoubleRoot = 1e-10;

TPolynomial linear(double root)
{
    TPolynomial p;
    p.setCoefficient(0, -root);
    p.setCoefficient(1, 1);
    return p;
}

} // namespace

void TPolynomial::snapSmall()
{
    for (double &c : fC)
        if (std::fabs(c) <= kSmall)
            c = 0;
}

void TPolynomial::monicFrom(const TPolynomial &p)
{
    const int d = p.degree();
    std::array<double, kMaxDegree + 1> c {};
    if (d >= 0) {
        const double a = p.coefficient(d);
        for (int k = 0; k < d; ++k)
            c[std::size_t(k)] = p.coefficient(k) / a;
        c[std::size_t(d)] = 1;
    }
    fC = c;
}

void TPolynomial::setCoefficients(const double *values, int d)
{
    if (d > kMaxDegree)
        throw ESouteigai(QStringLiteral("TPolynomial"), { fmtArg(d) },
            QStringLiteral("多項式の次数(%d)が許容範囲を超えています。"),
            QStringLiteral("setKeisuu"));
    clear();
    for (int k = 0; k <= d; ++k)
        fC[std::size_t(k)] = values[k];
}

int TPolynomial::degree() const
{
    for (int k = kMaxDegree; k >= 0; --k)
        if (fC[std::size_t(k)] != 0)
            return k;
    return -1;
}

double TPolynomial::valueAt(double x) const
{
    double v = 0;
    for (int k = kMaxDegree; k >= 0; --k)
        v = v * x + fC[std::size_t(k)];
    return v;
}

void TComplexPolynomial::fromRealMonic(const TPolynomial &p)
{
    fC.fill(TComplex());
    const int d = p.degree();
    if (d < 0)
        return;
    for (int k = 0; k < d; ++k)
        fC[std::size_t(k)] = p.coefficient(k) / p.coefficient(d);
    fC[std::size_t(d)] = 1;
}

TComplex TComplexPolynomial::value(TComplex z) const
{
    TComplex v;
    for (int k = TPolynomial::kMaxDegree; k >= 0; --k)
        v = v * z + fC[std::size_t(k)];
    return v;
}

int TComplexPolynomial::degree() const
{
    for (int k = TPolynomial::kMaxDegree; k >= 0; --k)
        if (fC[std::size_t(k)] != TComplex())
            return k;
    return -1;
}

void TApproxList::add(TComplex z)
{
    if (fCount >= kCapacity)
        throw ESouteigai(QStringLiteral("TApproxList"),
            QStringLiteral("設定されている以上の解を参照・追加しました。"),
            QStringLiteral("add complex"));
    fCurrent[std::size_t(fCount)] = z;
    fNext[std::size_t(fCount)] = z;
    ++fCount;
}

std::size_t TApproxList::checked(int i) const
{
    if (i < 0 || i >= fCount)
        throw ESouteigai(QStringLiteral("TApproxList"),
            QStringLiteral("設定されている以上の解を参照・追加しました。"),
            QStringLiteral("get complex"));
    return std::size_t(i);
}

int TPolynomialUtils::derivative(const TPolynomial &p, TPolynomial &q) const
{
    TPolynomial d;
    for (int k = 0; k < TPolynomial::kMaxDegree; ++k)
        d.setCoefficient(k, (k + 1) * p.coefficient(k + 1));
    q.copyFrom(d);
    return q.degree();
}

void TPolynomialUtils::divide(
    const TPolynomial &a, const TPolynomial &b, TPolynomial &remainder, TPolynomial &quotient) const
{
    const int db = b.degree();
    if (db < 0)
        throw ESouteigai(QStringLiteral("TPolynomialUtils"),
            QStringLiteral("0の多項式で割ることはできません。"), QStringLiteral("divide"));
    TPolynomial r, q;
    r.copyFrom(a);
    for (int k = a.degree(); k >= db; --k) {
        const double c = r.coefficient(k) / b.coefficient(db);
        q.setCoefficient(k - db, c);
        for (int j = 0; j < db; ++j)
            r.setCoefficient(k - db + j, r.coefficient(k - db + j) - c * b.coefficient(j));
        r.setCoefficient(k, 0);
    }
    remainder.copyFrom(r);
    quotient.copyFrom(q);
}

void TPolynomialUtils::gcd(const TPolynomial &a, const TPolynomial &b, TPolynomial &g) const
{
    TPolynomial x, y, r, q;
    x.monicFrom(a);
    y.monicFrom(b);
    if (y.isZero()) {
        g.copyFrom(x);
        return;
    }
    for (;;) {
        divide(x, y, r, q);
        r.snapSmall();
        if (r.isZero()) {
            g.copyFrom(y);
            return;
        }
        x.copyFrom(y);
        y.monicFrom(r);
    }
}

void TPolynomialUtils::linearRoot(
    int multiplicity, const TPolynomial &p, TSolutionList &solutions) const
{
    solutions.push_back({ multiplicity, TComplex(-p.coefficient(0) / p.coefficient(1), 0) });
}

double TPolynomialUtils::discriminant(const TPolynomial &p) const
{
    return p.coefficient(1) * p.coefficient(1) - 4 * p.coefficient(2) * p.coefficient(0);
}

bool TPolynomialUtils::hasDoubleRoot(const TPolynomial &p) const
{
    // Measured against the terms of the discriminant, so that the test does
    // not depend on the scale of p, and x² (whose terms vanish) has its double root.
    const double scale = std::max(
        p.coefficient(1) * p.coefficient(1), std::fabs(4 * p.coefficient(2) * p.coefficient(0)));
    return std::fabs(discriminant(p)) <= kDoubleRoot * scale;
}

void TPolynomialUtils::quadraticRoots(
    int multiplicity, const TPolynomial &p, TSolutionList &solutions) const
{
    const double a = p.coefficient(2), b = p.coefficient(1), c = p.coefficient(0);
    if (std::fabs(a) <= 1e-10)
        throw EMyException(QStringLiteral("TPolynomialUtils"),
            QStringLiteral("最高次の係数は0であってはなりません。"), QStringLiteral("solve"));
    if (hasDoubleRoot(p)) {
        solutions.push_back({ multiplicity, TComplex(-b / (2 * a), 0) });
        return;
    }
    const double d = discriminant(p);
    if (d > 0) {
        // The root without cancellation first, the other from the product of both.
        const double x1 = b >= 0 ? (-std::sqrt(d) - b) / (2 * a) : (std::sqrt(d) - b) / (2 * a);
        const double x2 = c / (a * x1);
        solutions.push_back({ multiplicity, TComplex(x1, 0) });
        solutions.push_back({ multiplicity, TComplex(x2, 0) });
        return;
    }
    const TComplex z1 = b >= 0 ? TComplex(-b / (2 * a), -std::sqrt(-d) / (2 * a))
                               : TComplex(-b / (2 * a), std::sqrt(-d) / (2 * a));
    const TComplex z2 = c / (a * z1);
    solutions.push_back({ multiplicity, z1 });
    solutions.push_back({ multiplicity, z2 });
}

void TPolynomialUtils::powerGeneral(int n, const TPolynomial &p, TPolynomial &q) const
{
    const int d = p.degree();
    if (!((d == 1 && n <= 6) || (d == 2 && n <= 3)) || n < 0)
        throw ESouteigai(QStringLiteral("TPolynomialUtils"), { fmtArg(d * n), fmtArg(4) },
            QStringLiteral("設定しようとしている次数(%d)は設定できる次数(%d)を超えています。"),
            QStringLiteral("powerGeneral"));
    double result[13] = { 1 };
    for (int step = 0; step < n; ++step) {
        double next[13] = {};
        for (int i = 0; i <= step * d; ++i)
            for (int j = 0; j <= d; ++j)
                next[i + j] += result[i] * p.coefficient(j);
        std::copy(std::begin(next), std::end(next), std::begin(result));
    }
    q.setCoefficients(result, d * n);
}

void TSolveMultipleSolution::solve(TPolynomial &p, TSolutionList &solutions)
{
    if (p.degree() < 2)
        return; // no room for a multiple root
    TPolynomial d, g, q;
    fUtils.derivative(p, d);
    fUtils.gcd(p, d, g);
    // The roots of g are the multiple roots of p; q collects their factor.
    TSolutionList found;
    switch (g.degree()) {
    case 1:
        fUtils.linearRoot(2, g, found);
        fUtils.powerGeneral(2, g, q);
        break;
    case 2:
        if (fUtils.hasDoubleRoot(g)) {
            const double root = -g.coefficient(1) / (2 * g.coefficient(2));
            found.push_back({ 3, TComplex(root, 0) });
            fUtils.powerGeneral(3, linear(root), q);
        } else {
            fUtils.quadraticRoots(2, g, found);
            fUtils.powerGeneral(2, g, q);
        }
        break;
    case 3: {
        // Within degree 4 only (x − r)⁴ has a divisor of degree 3: g = (x − r)³.
        TPolynomial inner;
        inner.copyFrom(g);
        TSolutionList scratch;
        solve(inner, scratch);
        if (scratch.size() != 1 || scratch.front().multiplicity != 3)
            return; // rounding made g something else: the iteration takes all of p
        const double root = scratch.front().value.real();
        found.push_back({ 4, TComplex(root, 0) });
        fUtils.powerGeneral(4, linear(root), q);
        break;
    }
    default: return; // no multiple root
    }
    // Roots that rounding merged into a divisor larger than p cannot be divided out.
    if (q.degree() > p.degree())
        return;
    TPolynomial remainder, quotient;
    fUtils.divide(p, q, remainder, quotient);
    p.copyFrom(quotient);
    solutions.insert(solutions.end(), found.begin(), found.end());
}

void TDKAMethod::solve(
    TPolynomial &p, TSolutionList &solutions, double tolerance, int maxIterations)
{
    fIterations = 0;
    const int n = p.degree();
    fApprox.clear();
    if (n >= 1) {
        TComplexPolynomial c;
        c.fromRealMonic(p);
        // Aberth's start: evenly on a circle that holds every root, about
        // the roots' centre of gravity, turned off the real axis.
        double radius = 0;
        for (int k = 0; k < n; ++k)
            radius = std::max(radius, std::abs(c.coefficient(k)));
        radius += 1;
        const TComplex centre = -c.coefficient(n - 1) / double(n);
        for (int k = 0; k < n; ++k)
            fApprox.add(
                centre + std::polar(radius, 2 * std::numbers::pi * k / n + 3.0 / (2.0 * n)));

        while (fIterations < maxIterations) {
            double change = 0;
            for (int i = 0; i < n; ++i) {
                const TComplex z = fApprox.current(i);
                TComplex denominator = 1;
                for (int j = 0; j < n; ++j)
                    if (j != i)
                        denominator *= z - fApprox.current(j);
                const TComplex next = denominator == TComplex() ? z : z - c.value(z) / denominator;
                fApprox.setNext(i, next);
                if (std::abs(z) > 0)
                    change = std::max(change, std::abs(next - z) / std::abs(z));
            }
            fApprox.advance();
            ++fIterations;
            if (change < tolerance)
                break;
        }
        for (int i = 0; i < n; ++i)
            solutions.push_back({ 1, fApprox.current(i) });
    }
    p.clear();
}

void TPolynomialFacade::solve(const TPolynomial &p, TSolutionList &solutions)
{
    solutions.clear();
    fWork.copyFrom(p);
    if (fWork.degree() < 1)
        return;
    fMultiple.solve(fWork, solutions);
    switch (fWork.degree()) {
    case 1: fUtils.linearRoot(1, fWork, solutions); break;
    case 2: fUtils.quadraticRoots(1, fWork, solutions); break;
    case 3:
    case 4: fDKA.solve(fWork, solutions); break;
    default: break; // all roots were multiple
    }
}

std::vector<double> TPolynomialFacade::realRoots(const TPolynomial &p)
{
    solve(p, fSolutions);
    std::vector<double> roots;
    for (const TSolution &s : fSolutions) {
        const double re = s.value.real();
        if (std::isfinite(re)
            && std::fabs(s.value.imag()) <= kRealRoot * std::max(1.0, std::fabs(re)))
            roots.push_back(re);
    }
    std::sort(roots.begin(), roots.end());
    std::vector<double> distinct;
    for (double r : roots)
        if (distinct.empty() || r - distinct.back() > kSameRoot * std::max(1.0, std::fabs(r)))
            distinct.push_back(r);
    return distinct;
}

} // namespace zarno
