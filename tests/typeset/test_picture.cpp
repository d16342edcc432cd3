// A page of school formulas at 10 pt on a 300-dpi canvas, the way a
// worksheet prints them: each parses without an error and draws inside its
// box. With ZARNO_TYPESET_PICTURE=file.png the page is written out.
#include "formula/calcformulafacade.h"
#include "platform/bitmap.h"
#include "typeset/drawformulafacade.h"
#include "typeset/tex2list.h"
#include "typeset/typeset_support.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

const char16_t *const kSchoolFormulas[] = {
    u"y = ax^2 + bx + c",
    u"x = \\frac{-b \\pm \\sqrt{b^2 - 4ac}}{2a}",
    u"\\frac{1}{2} + \\frac{1}{3} = \\frac{5}{6}",
    u"(a+b)^2 = a^2 + 2ab + b^2",
    u"\\sqrt{2} \\times \\sqrt{3} = \\sqrt{6}",
    u"\\nthrt{3}{8} = 2",
    u"\\sin^2 \\theta + \\cos^2 \\theta = 1",
    u"\\tan \\theta = \\frac{\\sin \\theta}{\\cos \\theta}",
    u"\\sin 30^\\circ = \\frac{1}{2}",
    u"\\cos \\frac{\\pi}{3} = \\frac{1}{2}",
    u"\\theta = \\frac{5}{6} \\pi, -\\frac{\\pi}{4}, 2\\pi",
    u"S = \\pi r^2",
    u"\\lim_{x \\to 0} \\frac{\\sin x}{x} = 1",
    u"\\lim_{n \\to \\infty} (1 + \\frac{1}{n})^n = e",
    u"\\sum_{k=1}^{n} k = \\frac{n(n+1)}{2}",
    u"\\sum_{k=1}^{n} k^2 = \\frac{1}{6} n(n+1)(2n+1)",
    u"\\int_0^1 x^2 dx = \\frac{1}{3}",
    u"\\int_a^b f(x) dx = F(b) - F(a)",
    u"\\vec{a} \\cdot \\vec{b} = \\leftabs \\vec{a} \\rightabs \\leftabs \\vec{b} \\rightabs \\cos "
    u"\\theta",
    u"\\vec{AB} + \\vec{BC} = \\vec{AC}",
    u"\\bar{z} = a - bi",
    u"\\log_2 8 = 3",
    u"a^m \\times a^n = a^{m+n}",
    u"x^{-1} = \\frac{1}{x}",
    u"2^{\\frac{1}{2}} = \\sqrt{2}",
    u"f'(x) = 2x + 1",
    u"\\alpha + \\beta = \\frac{\\pi}{2}",
    u"\\Delta ABC \\quad \\angle",
    u"面積 S = \\frac{1}{2} ab \\sin C",
    u"三角形の内角の和は 180^\\circ",
    u"半径 r の円周の長さは 2\\pi r",
    u"x \\le 3, \\quad y \\ge -1",
    u"a \\ne 0, \\quad x \\in A \\cap B, \\quad A \\subset B",
    u"\\{ x | x > 0 \\}",
    u"y = \\leftabs x - 1 \\rightabs",
    u"\\frac{\\frac{1}{2}}{\\frac{3}{4}} = \\frac{2}{3}",
    u"y = 2\\sin (x - \\frac{\\pi}{6})",
    u"(x-1)(x+2) = 0",
    u"\\sqrt{x^2 + y^2}",
    u"[0, 2\\pi)",
    u"x_1 + x_2 = -\\frac{b}{a}, \\quad x_1 x_2 = \\frac{c}{a}",
    u"1.5 \\times 10^8, \\quad 10^{-3}",
};

// Formulas as a graph dialog shows them, converted to typeset text.
const char16_t *const kConvertedFormulas[] = {
    u"x^2-2x+1",
    u"sin(x)^2+cos(x)^2",
    u"(x+1)/(x-1)",
    u"sqrt(x^2+1)/(2x)",
    u"logn(2, x)+nthrt(3, x+1)",
    u"2sin(x-pi/6)",
};

} // namespace

TEST(TypesetPicture, APageOfSchoolFormulasAt300Dpi)
{
    test::useInstalledFonts();
    const TFixedTeXResolution print(300, 300);
    TTeXResolutionScope scope(print);
    QStringList texts;
    for (const char16_t *f : kSchoolFormulas)
        texts << QString::fromUtf16(f);
    auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
    TCalcSymbolOnOff onOff;
    onOff.xOn = true;
    calc->setCalcSymbolOnOff(onOff);
    for (const char16_t *f : kConvertedFormulas) {
        ASSERT_EQ(calc->analyzeFormula(QString::fromUtf16(f)), 0);
        texts << QStringLiteral("y = ") + calc->getTeXString();
    }
    ASSERT_GE(texts.size(), 40);

    constexpr int kMargin = 60, kGap = 24;
    TBitmap page(1800, 6000);
    TCanvas &canvas = page.canvas();
    canvas.setFontResolution(300);
    double top = kMargin;
    double widest = 0;
    for (const QString &text : texts) {
        TTeX2ListFacade parser;
        const bool errors = parser.analyze(text);
        // "\angle" is no command of the language: it is drawn highlighted.
        EXPECT_EQ(errors, text.contains(QLatin1String("\\angle"))) << text.toStdString();
        TDrawFormulaFacade facade;
        facade.drawAt(canvas, kMargin, *parser.tokenList(), 10, top - 5);
        const TWhdXy &box = facade.box();
        EXPECT_NEAR(box.top(), top, 1e-9);
        widest = std::max(widest, box.width());
        top = box.bottom() + kGap;
    }
    EXPECT_LT(top, page.height());
    EXPECT_LT(widest + 2 * kMargin, page.width());

    const QByteArray out = qgetenv("ZARNO_TYPESET_PICTURE");
    if (!out.isEmpty()) {
        const QImage cut = page.toImage().copy(0, 0, int(widest) + 2 * kMargin, int(top) + kMargin);
        EXPECT_TRUE(cut.save(QString::fromLocal8Bit(out)));
    }
}
