// Formulas as typeset text: the rule of each symbol, parentheses left out
// where a fraction or root already groups, and broken formulas converting
// with their raw rest after the marker "\?".
#include "formula/calc2texstring.h"
#include "formula/formula_test_support.h"

#include <gtest/gtest.h>

using namespace zarno;

namespace {

struct Converted
{
    QString text;
    std::unique_ptr<TCalcFormulaFacade> facade;
};

Converted convert(const QString &formula, const TCalcSymbolOnOff &onOff = test::onOffXY())
{
    Converted c { {}, TCalcFormulaFacade::createCalcFormulaFacade() };
    c.facade->setCalcSymbolOnOff(onOff);
    c.facade->analyzeFormula(formula);
    c.text = c.facade->getTeXString();
    return c;
}

} // namespace

TEST(Calc2TeXString, EveryRule)
{
    struct Case
    {
        const char16_t *formula;
        const char16_t *tex;
    };
    const Case cases[] = {
        { u"", u"" },
        { u"x^2", u"x ^ 2" },
        { u"2x", u"2  x" }, // the implicit product has no typeset name
        { u"x*y", u"x \\times y" },
        { u"x-y", u"x - y" },
        { u"-x", u"- x " },
        { u"sin(x)", u"\\sin  (   x   )  " },
        { u"sin x", u"\\sin x " },
        { u"exp(x)", u"  (   x   )  " },
        { u"sin^2 x", u"\\sin^ 2  x " },
        { u"pi", u"\\pi" },
        { u"2.50", u"2.50" },
        { u"(x+y)/2", u"\\dfrac{   x + y   }{2}" },
        { u"1/2/x", u"\\dfrac{\\dfrac{1}{2}}{x}" },
        { u"x/(y+1)", u"\\dfrac{x}{   y + 1   }" },
        { u"2(x+y)", u"2    (   x + y   )  " },
        { u"sqrt(x+1)", u"\\sqrt{x + 1}" },
        { u"sqrt x", u"\\sqrt{x}" },
        { u"sqrt(x)^2", u"\\sqrt{x} ^ 2" },
        { u"logn(2, x)", u"\\log_{2} {x}" },
        { u"nthrt(3,x)", u"\\nthrt{3}{x}" },
        { u"max(1,2)", u"\\max  (   1  ,  2   )  " },
        // Broken formulas: the rest after the marker, braces left open.
        { u"x+", u"x + \\?_" },
        { u"x+)", u"x + \\?)" },
        { u"1/(2+", u"\\dfrac{1}{   2 + \\?_ " },
        { u"sqrt(x", u"\\sqrt{x\\?_" },
        { u"sqrt(", u"\\sqrt{\\?_" },
        { u"logn(2", u"\\log_{2} {\\?_" },
        { u"nthrt(3,x", u"\\nthrt{3}{x\\?_" },
        { u"x $ y", u"x  \\?$ y" },
    };
    for (const Case &c : cases) {
        const QString formula = QString::fromUtf16(c.formula);
        EXPECT_EQ(convert(formula).text, QString::fromUtf16(c.tex)) << formula.toStdString();
    }
    TCalcSymbolOnOff points;
    points.pointCount = 2;
    EXPECT_EQ(convert(QStringLiteral("p1.x+p2.y"), points).text, QStringLiteral("p1.x + p2.y"));
}

TEST(Calc2TeXString, AnInvalidRestFlagsEveryPropagatingNodeAboveIt)
{
    Converted c = convert(QStringLiteral("1+1/(2+"));
    auto *tree = const_cast<TTokenNode *>(c.facade->tree());
    ASSERT_TRUE(tree);
    // +(1, /(1, &("(", +(2, invalid))))
    EXPECT_EQ(tree->dump(), QStringLiteral("+(1,/(1,&((,+(2,_))))"));
    const TTokenNode *div = tree->child(1);
    const TTokenNode *group = div->child(1);
    const TTokenNode *inner = group->child(1);
    for (const TTokenNode *n :
        std::initializer_list<const TTokenNode *> { tree, div, group, inner, inner->child(1) })
        EXPECT_EQ(n->errorMark(), 1) << n->dump().toStdString();
    EXPECT_EQ(tree->child(0)->errorMark(), 0);
    EXPECT_EQ(inner->child(0)->errorMark(), 0);

    // A complete formula sets no flag.
    Converted fine = convert(QStringLiteral("1+1/(2+x)"));
    EXPECT_EQ(fine.facade->tree()->errorMark(), 0);
}

TEST(Calc2TeXString, AChainAsLongAsAFileCanHoldConvertsWithoutRecursion)
{
    const int terms = 100000;
    QString formula = QStringLiteral("1");
    formula.reserve(2 * terms);
    for (int i = 1; i < terms; ++i)
        formula += QStringLiteral("+1");
    const Converted c = convert(formula);
    EXPECT_EQ(c.text.size(), qsizetype(1 + 4 * (terms - 1)));
    EXPECT_TRUE(c.text.startsWith(QStringLiteral("1 + 1 + 1")));

    // A chain of fractions nests the same way.
    QString fractions = QStringLiteral("1");
    for (int i = 1; i < terms / 4; ++i)
        fractions += QStringLiteral("/2");
    const Converted f = convert(fractions);
    EXPECT_TRUE(f.text.startsWith(QStringLiteral("\\dfrac{\\dfrac{\\dfrac{")));
    EXPECT_TRUE(f.text.endsWith(QStringLiteral("}{2}}{2}")));
}
