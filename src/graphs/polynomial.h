#pragma once

#include <array>
#include <complex>
#include <vector>

namespace zarno {

using TComplex = std::complex<double>;

// A real polynomial of degree at most 4: the coefficients of x^0 … x^4.
class TPolynomial
{
public:
    static constexpr int kMaxDegree = 4;
    // Coefficients this small are taken for rounding noise.
    static constexpr double kSmall = 0.00001;

    void clear() { fC.fill(0.0); }
    // Every coefficient of kSmall or less in absolute value becomes 0.
    void snapSmall();
    void copyFrom(const TPolynomial &p) { fC = p.fC; }
    // p divided by its leading coefficient (the zero polynomial stays zero).
    void monicFrom(const TPolynomial &p);
    // Clears, then takes values[0 … d]; d above 4 is refused.
    void setCoefficients(const double *values, int d);
    void setCoefficient(int k, double value) { fC[std::size_t(k)] = value; }
    double coefficient(int k) const { return fC[std::size_t(k)]; }
    // The highest index whose coefficient is not exactly 0; −1 for the zero polynomial.
    int degree() const;
    bool isZero() const { return degree() < 0; }
    double valueAt(double x) const;

private:
    std::array<double, kMaxDegree + 1> fC {};
};

// A polynomial with complex coefficients, for the simultaneous root iteration.
class TComplexPolynomial
{
public:
    // p divided by its leading coefficient, so the leading coefficient is 1.
    void fromRealMonic(const TPolynomial &p);
    TComplex value(TComplex z) const;
    int degree() const;
    TComplex coefficient(int k) const { return fC[std::size_t(k)]; }
    void setCoefficient(int k, TComplex value) { fC[std::size_t(k)] = value; }

private:
    std::array<TComplex, TPolynomial::kMaxDegree + 1> fC {};
};

// One root and how often it occurs; a real root has imaginary part 0.
struct TSolution
{
    int multiplicity = 1;
    TComplex value;
};
using TSolutionList = std::vector<TSolution>;

// The current and the next approximations of the simultaneous iteration.
class TApproxList
{
public:
    static constexpr int kCapacity = TPolynomial::kMaxDegree;
    void clear() { fCount = 0; }
    int count() const { return fCount; }
    void add(TComplex z);
    TComplex current(int i) const { return fCurrent[checked(i)]; }
    void setNext(int i, TComplex z) { fNext[checked(i)] = z; }
    TComplex next(int i) const { return fNext[checked(i)]; }
    // The next approximations become the current ones.
    void advance() { fCurrent = fNext; }

private:
    std::size_t checked(int i) const;
    std::array<TComplex, kCapacity> fCurrent {};
    std::array<TComplex, kCapacity> fNext {};
    int fCount = 0;
};

// Operations on polynomials of degree at most 4.
class TPolynomialUtils
{
public:
    // q = p'; answers q's degree.
    int derivative(const TPolynomial &p, TPolynomial &q) const;
    // Long division a = quotient·b + remainder; b must not be zero.
    void divide(const TPolynomial &a, const TPolynomial &b, TPolynomial &remainder,
        TPolynomial &quotient) const;
    // The monic greatest common divisor, with rounding noise in the
    // remainders taken for zero.
    void gcd(const TPolynomial &a, const TPolynomial &b, TPolynomial &g) const;
    void linearRoot(int multiplicity, const TPolynomial &p, TSolutionList &solutions) const;
    double discriminant(const TPolynomial &p) const;
    // Whether the quadratic p has one double root, up to rounding.
    bool hasDoubleRoot(const TPolynomial &p) const;
    // Both roots of the quadratic p (one when they coincide), each with the multiplicity.
    void quadraticRoots(int multiplicity, const TPolynomial &p, TSolutionList &solutions) const;
    // q = p^n for a linear or a quadratic p; the result must fit degree 4.
    void powerGeneral(int n, const TPolynomial &p, TPolynomial &q) const;
};

class TAbstractSolvePolynomialEquation
{
public:
    virtual ~TAbstractSolvePolynomialEquation() = default;
    // Appends roots of p to solutions and leaves in p the factor still unsolved.
    virtual void solve(TPolynomial &p, TSolutionList &solutions) = 0;

protected:
    TPolynomialUtils fUtils;
};

// The multiple roots of p, from its greatest common divisor with p': they are
// appended with their multiplicities and p is divided down to its factor of
// simple roots.
class TSolveMultipleSolution : public TAbstractSolvePolynomialEquation
{
public:
    void solve(TPolynomial &p, TSolutionList &solutions) override;
};

// The simultaneous iteration of Durand and Kerner from Aberth's starting
// circle: every root of p at once, each with multiplicity 1; p is cleared.
// Meant for simple roots (multiple ones converge slowly).
class TDKAMethod : public TAbstractSolvePolynomialEquation
{
public:
    static constexpr double kDefaultTolerance = 1e-13;
    static constexpr int kDefaultMaxIterations = 200;

    void solve(TPolynomial &p, TSolutionList &solutions) override
    {
        solve(p, solutions, kDefaultTolerance, kDefaultMaxIterations);
    }
    void solve(TPolynomial &p, TSolutionList &solutions, double tolerance, int maxIterations);
    // How many rounds the last solve took.
    int iterations() const { return fIterations; }

private:
    TApproxList fApprox;
    int fIterations = 0;
};

// Solves polynomial equations of degree at most 4: the multiple roots by the
// greatest common divisor, the rest in closed form (degree 1 and 2) or by
// the simultaneous iteration.
class TPolynomialFacade
{
public:
    // Every root of p with its multiplicity.
    void solve(const TPolynomial &p, TSolutionList &solutions);
    // The distinct real roots of p, in ascending order. Empty for a constant
    // (also for the zero polynomial, which every number solves).
    std::vector<double> realRoots(const TPolynomial &p);

private:
    TPolynomialUtils fUtils;
    TPolynomial fWork;
    TSolutionList fSolutions;
    TSolveMultipleSolution fMultiple;
    TDKAMethod fDKA;
};

} // namespace zarno
