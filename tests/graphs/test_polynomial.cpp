#include "core/exceptions.h"
#include "graphs/polynomial.h"
#include "support/expect_souteigai.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

// The product of the factors, each given by its coefficients from x^0 up.
TPolynomial product(std::initializer_list<std::vector<double>> factors)
{
    std::vector<double> c { 1 };
    for (const auto &f : factors) {
        std::vector<double> next(c.size() + f.size() - 1, 0.0);
        for (std::size_t i = 0; i < c.size(); ++i)
            for (std::size_t j = 0; j < f.size(); ++j)
                next[i + j] += c[i] * f[j];
        c = next;
    }
    TPolynomial p;
    p.setCoefficients(c.data(), int(c.size()) - 1);
    return p;
}

std::vector<double> minus(double root)
{
    return { -root, 1 };
}

const std::vector<double> kXSquaredPlusOne { 1, 0, 1 };

} // namespace

TEST(Polynomial, RealRootsOfPolynomialsWithKnownRoots)
{
    const struct
    {
        const char *name;
        TPolynomial p;
        std::vector<double> roots;
    } cases[] = {
        { "3x-6", product({ { -6, 3 } }), { 2 } },
        { "(x-1)(x-2)", product({ minus(1), minus(2) }), { 1, 2 } },
        { "x^2-2", product({ { -2, 0, 1 } }), { -std::sqrt(2.0), std::sqrt(2.0) } },
        { "x^2+1", product({ kXSquaredPlusOne }), {} },
        { "x^2", product({ minus(0), minus(0) }), { 0 } },
        { "(x-1)^2(x+2)", product({ minus(1), minus(1), minus(-2) }), { -2, 1 } },
        { "(x-1)^3", product({ minus(1), minus(1), minus(1) }), { 1 } },
        { "(x-1)(x+2)(x-3)", product({ minus(1), minus(-2), minus(3) }), { -2, 1, 3 } },
        { "1000(x-0.5)(x+0.25)(x-3)", product({ { 1000 }, minus(0.5), minus(-0.25), minus(3) }),
            { -0.25, 0.5, 3 } },
        { "3x^2-3", product({ { -3, 0, 3 } }), { -1, 1 } },
        { "(x-2)^4", product({ minus(2), minus(2), minus(2), minus(2) }), { 2 } },
        { "x^4", product({ minus(0), minus(0), minus(0), minus(0) }), { 0 } },
        { "(x-1)^2(x+3)^2", product({ minus(1), minus(1), minus(-3), minus(-3) }), { -3, 1 } },
        { "(x-1)^3(x+2)", product({ minus(1), minus(1), minus(1), minus(-2) }), { -2, 1 } },
        { "(x-1)^2(x^2+1)", product({ minus(1), minus(1), kXSquaredPlusOne }), { 1 } },
        { "(x^2+1)(x-2)(x+1)", product({ kXSquaredPlusOne, minus(2), minus(-1) }), { -1, 2 } },
        { "(x^2+1)^2", product({ kXSquaredPlusOne, kXSquaredPlusOne }), {} },
        { "(x-1)(x-2)(x+3)(x+0.5)", product({ minus(1), minus(2), minus(-3), minus(-0.5) }),
            { -3, -0.5, 1, 2 } },
        { "(x+1)x(x-1)(x-4)", product({ minus(-1), minus(0), minus(1), minus(4) }),
            { -1, 0, 1, 4 } },
        { "4x^3-4x", product({ { 0, -4, 0, 4 } }), { -1, 0, 1 } },
        { "constant", product({ { 5 } }), {} },
    };
    TPolynomialFacade facade;
    for (const auto &c : cases) {
        const std::vector<double> roots = facade.realRoots(c.p);
        ASSERT_EQ(roots.size(), c.roots.size()) << c.name;
        for (std::size_t i = 0; i < roots.size(); ++i)
            EXPECT_NEAR(roots[i], c.roots[i], 1e-9) << c.name;
    }
}

TEST(Polynomial, MultipleRootsComeWithTheirMultiplicities)
{
    TPolynomialFacade facade;
    TSolutionList s;
    const auto multiplicityOf = [&](double root) {
        int m = 0;
        for (const TSolution &x : s)
            if (std::abs(x.value - TComplex(root, 0)) < 1e-9)
                m += x.multiplicity;
        return m;
    };
    facade.solve(product({ minus(1), minus(1), minus(-3), minus(-3) }), s);
    EXPECT_EQ(multiplicityOf(1), 2);
    EXPECT_EQ(multiplicityOf(-3), 2);
    facade.solve(product({ minus(1), minus(1), minus(1), minus(-2) }), s);
    EXPECT_EQ(multiplicityOf(1), 3);
    EXPECT_EQ(multiplicityOf(-2), 1);
    for (double r : { 2.0, 0.0 }) {
        facade.solve(product({ minus(r), minus(r), minus(r), minus(r) }), s);
        ASSERT_EQ(s.size(), 1u) << r;
        EXPECT_EQ(multiplicityOf(r), 4) << r;
    }
    // A complex double pair: both roots twice.
    facade.solve(product({ kXSquaredPlusOne, kXSquaredPlusOne }), s);
    ASSERT_EQ(s.size(), 2u);
    for (const TSolution &x : s) {
        EXPECT_EQ(x.multiplicity, 2);
        EXPECT_NEAR(std::abs(x.value.imag()), 1, 1e-12);
    }

    // The factor left over is the one of the simple roots.
    TSolveMultipleSolution multiple;
    TPolynomial p = product({ minus(1), minus(1), minus(-2) });
    s.clear();
    multiple.solve(p, s);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].multiplicity, 2);
    EXPECT_NEAR(s[0].value.real(), 1, 1e-12);
    EXPECT_EQ(p.degree(), 1);
    EXPECT_NEAR(p.coefficient(0) / p.coefficient(1), 2, 1e-12); // x + 2
    p = product({ minus(1), minus(1), minus(1) });
    s.clear();
    multiple.solve(p, s);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].multiplicity, 3);
    EXPECT_EQ(p.degree(), 0);
}

TEST(Polynomial, ClosedFormsAndTheIteration)
{
    TPolynomialUtils u;
    TSolutionList s;
    u.quadraticRoots(1, product({ { 2, -3, 1 } }), s);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].value, TComplex(2, 0));
    EXPECT_EQ(s[1].value, TComplex(1, 0));
    s.clear();
    u.quadraticRoots(1, product({ kXSquaredPlusOne }), s);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NEAR(std::abs(s[0].value - TComplex(0, -1)), 0, 1e-15);
    EXPECT_NEAR(std::abs(s[1].value - TComplex(0, 1)), 0, 1e-15);
    s.clear();
    u.quadraticRoots(1, product({ { 1, -2, 1 } }), s);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].multiplicity, 1);
    EXPECT_EQ(s[0].value, TComplex(1, 0));
    // x² has its double root at 0 too, though two of its terms vanish.
    s.clear();
    u.quadraticRoots(1, product({ minus(0), minus(0) }), s);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].value, TComplex(0, 0));
    // Without cancellation: the small root of x² − 10⁸x + 1 keeps its digits.
    s.clear();
    u.quadraticRoots(1, product({ { 1, -1e8, 1 } }), s);
    EXPECT_NEAR(s[1].value.real(), 1e-8, 1e-22);

    TDKAMethod dka;
    TPolynomial p = product({ { -2, 0, 1 } });
    s.clear();
    dka.solve(p, s, 1e-10, 100);
    EXPECT_TRUE(p.isZero());
    ASSERT_EQ(s.size(), 2u);
    std::vector<double> roots { s[0].value.real(), s[1].value.real() };
    std::sort(roots.begin(), roots.end());
    EXPECT_NEAR(roots[0], -std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(roots[1], std::sqrt(2.0), 1e-12);
    EXPECT_LT(dka.iterations(), 100);

    TPolynomial g;
    u.gcd(product({ minus(1), minus(1), minus(-2) }), product({ { 7 }, minus(1), minus(-3) }), g);
    EXPECT_EQ(g.degree(), 1);
    EXPECT_NEAR(g.coefficient(0), -1, 1e-12); // monic: x − 1
    TPolynomial q;
    u.powerGeneral(3, product({ minus(2) }), q);
    for (int k = 0; k <= 3; ++k)
        EXPECT_DOUBLE_EQ(q.coefficient(k), (std::array<double, 4> { -8, 12, -6, 1 })[k]);
}

TEST(Polynomial, LimitsAreGuarded)
{
    TPolynomialUtils u;
    TPolynomial q;
    const double six[6] = { 1, 1, 1, 1, 1, 1 };
    expectSouteigai([&] { q.setCoefficients(six, 5); }, QStringLiteral("setKeisuu"),
        QStringLiteral("多項式の次数(5)が許容範囲を超えています。"));
    expectSouteigai(
        [&] {
            u.powerGeneral(2, product({ minus(1), minus(2), minus(3) }), q);
        },
        QStringLiteral("powerGeneral"),
        QStringLiteral("設定しようとしている次数(6)は設定できる次数(4)を超えています。"));
    expectSouteigai([&] { u.powerGeneral(5, product({ minus(1) }), q); },
        QStringLiteral("setKeisuu"), QStringLiteral("多項式の次数(5)が許容範囲を超えています。"));
    TSolutionList s;
    try {
        u.quadraticRoots(1, product({ { 1, 1 } }), s);
        ADD_FAILURE() << "a linear polynomial has no quadratic roots";
    } catch (const EMyException &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("最高次の係数は0であってはなりません。"));
    }
    TApproxList list;
    for (int i = 0; i < 4; ++i)
        list.add(TComplex(i, 0));
    expectSouteigai([&] { list.add(TComplex()); }, QStringLiteral("add complex"),
        QStringLiteral("設定されている以上の解を参照・追加しました。"));
}
