// A page of school formulas at 10 pt on a 300-dpi canvas, the way a
// worksheet prints them: each parses without an error and draws inside its
// box. With ZARNO_TYPESET_PICTURE=file.png the page is written out.
#include "formula/calcformulafacade.h"
#include "platform/bitmap.h"
#include "typeset/drawformulafacade.h"
#include "typeset/school_formulas.h"
#include "typeset/tex2list.h"
#include "typeset/typeset_support.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;

TEST(TypesetPicture, APageOfSchoolFormulasAt300Dpi)
{
    test::useInstalledFonts();
    const TFixedTeXResolution print(300, 300);
    TTeXResolutionScope scope(print);
    QStringList texts;
    for (const char16_t *f : test::kSchoolFormulas)
        texts << QString::fromUtf16(f);
    auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
    TCalcSymbolOnOff onOff;
    onOff.xOn = true;
    calc->setCalcSymbolOnOff(onOff);
    for (const char16_t *f : test::kConvertedFormulas) {
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
