// The symbol table of the typeset language: entries by name and by name and
// kind, overlays, default symbols, and the entries that change when a
// mathematics font is missing.
#include "core/exceptions.h"
#include "support/recording_canvas.h"
#include "typeset/fontinfo.h"
#include "typeset/tex2list.h"
#include "typeset/texsymbol.h"
#include "typeset/typeset_support.h"

#include <gtest/gtest.h>

using namespace zarno;
using zarno::test::HidingCatalog;
using zarno::test::RecordingCanvas;
using K = TMyTokentype;
using F = TFonttype;

namespace {

class Symbols : public ::testing::Test
{
protected:
    void SetUp() override { test::useInstalledFonts(); }
    void TearDown() override { test::useInstalledFonts(); }
    TTeXDrawSymbolList symbols;
};

} // namespace

TEST_F(Symbols, EntriesByName)
{
    struct Case
    {
        const char16_t *name;
        K kind;
        F font;
        const char16_t *glyph;
        int arguments;
        double before, after, raise;
        bool parsed;
    };
    const Case cases[] = {
        { u"\\alpha", K::mt_t_command, F::ftCmmi, u"\u00AE", 0, 0, 0, 0, true },
        { u"\\psi", K::mt_t_command, F::ftCmmi, u"\u00C3", 0, 0, 0, 0, true },
        { u"\\omega", K::mt_t_command, F::ftCmmi, u"!", 0, 0, 0, 0, true },
        { u"\\Omega", K::mt_t_command, F::ftCmmi, u"\u00AD", 0, 0, 0, 0, true },
        { u"\\varphi", K::mt_t_command, F::ftCmmi, u"'", 0, 0, 0, 0, true },
        { u"\\infty", K::mt_t_command, F::ftCmsy, u"1", 0, 0, 0, 0, true },
        { u"\\\\", K::mt_t_command, F::ftMincyo, u"\\", 0, 0, 0, 0, true },
        { u"\\sin", K::mt_t_function, F::ftCmr, u"sin", 0, 0, 0.2, 0, true },
        { u"\\nthrt", K::mt_t_function, F::ftCmr, u"nthrt", 2, 0, 0.2, 0, true },
        { u"\\string", K::mt_t_function, F::ftCmr, u"string", 2, 0, 0.2, 0, false },
        { u"\\sum", K::mt_t_function, F::ftCmr, u"\u00A7", 0, 0, 0.15, 0, true },
        { u"\\int", K::mt_t_function, F::ftCmex, u"Z", 0, 0, 0, 0, true },
        { u"\\frac", K::mt_t_function, F::ftCmr, u"|", 2, 0.2, 0.2, 0, true },
        { u"'", K::mt_t_other, F::ftCmsy, u"0", 0, 0, 0, 0.4, true },
        { u"_", K::mt_invalid, F::ftMincyo, u"_", 0, 0, 0, 0, true },
        { u"-", K::mt_t_monoMinus, F::ftCmsy, u"\u00A1", 0, 0, -0.08, 0.055, true },
        { u"=", K::mt_t_binaryOperator, F::ftCmr, u"=", 0, 0.3, 0.3, 0, true },
        { u"\\times", K::mt_t_binaryOperator, F::ftCmsy, u"\u00A3", 0, 0.14, 0.14, 0, true },
        { u"\\quad", K::mt_t_command, F::ftCmr, u"", 0, 0.5, 0.5, 0, true },
        { u"\\!", K::mt_t_command, F::ftCmr, u"", 0, -1.0 / 12, -1.0 / 12, 0, true },
        { u"\\le", K::mt_t_combiBinaryOperator, F::ftCmmi, u"<", 0, 0.3, 0.3, 0.18, true },
        { u"\\notin", K::mt_t_combiBinaryOperator, F::ftCmsy, u"2", 0, 0.14, 0.14, 0, true },
    };
    for (const Case &c : cases) {
        const QString name = QString::fromUtf16(c.name);
        const TSymbolOrg *s = symbols.findByName(name);
        ASSERT_TRUE(s) << name.toStdString();
        EXPECT_EQ(s->kind(), c.kind) << name.toStdString();
        EXPECT_EQ(s->fontType(), c.font) << name.toStdString();
        EXPECT_EQ(s->glyphText(), QString::fromUtf16(c.glyph)) << name.toStdString();
        EXPECT_EQ(s->argumentCount(), c.arguments) << name.toStdString();
        EXPECT_DOUBLE_EQ(s->spaceBefore(), c.before) << name.toStdString();
        EXPECT_DOUBLE_EQ(s->spaceAfter(), c.after) << name.toStdString();
        EXPECT_DOUBLE_EQ(s->raise(), c.raise) << name.toStdString();
        EXPECT_EQ(s->parseArguments(), c.parsed) << name.toStdString();
    }
    for (const char *unknown : { "\\foo", "x", "(", "{", "^" })
        EXPECT_EQ(symbols.findByName(QString::fromLatin1(unknown)), nullptr) << unknown;
}

TEST_F(Symbols, EntriesByNameAndKindAndTheirOverlays)
{
    const TSymbolOrg *binary
        = symbols.findByNameAndKind(QStringLiteral("-"), K::mt_t_binaryOperator);
    ASSERT_TRUE(binary);
    EXPECT_DOUBLE_EQ(binary->spaceBefore(), 0.14);
    EXPECT_DOUBLE_EQ(binary->raise(), 0.055);
    EXPECT_EQ(symbols.findByNameAndKind(QStringLiteral("-"), K::mt_t_other), nullptr);
    try {
        symbols.findSymbolByNameAndMyTokentype(QStringLiteral("x"), K::mt_t_command);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("(x,mt_t_command)はみつかりません。"));
    }

    const TSymbolOrg &le = symbols.findByName(QStringLiteral("\\leq"))->getSubSymbol();
    EXPECT_EQ(le.name(), QStringLiteral("="));
    EXPECT_EQ(le.kind(), K::mt_t_binaryOperator);
    EXPECT_DOUBLE_EQ(le.raise(), -0.36);
    const TSymbolOrg &ne = symbols.findByName(QStringLiteral("\\ne"))->getSubSymbol();
    EXPECT_EQ(ne.name(), QStringLiteral("/"));
    EXPECT_EQ(ne.kind(), K::mt_t_command);
    EXPECT_EQ(
        symbols.findByName(QStringLiteral("\\ne"))->cloneSubSymbol().name(), QStringLiteral("/"));
    EXPECT_THROW(symbols.findByName(QStringLiteral("+"))->getSubSymbol(), ESouteigai);
}

TEST_F(Symbols, DefaultAndPlainSymbolsCarryTheTextOfTheirToken)
{
    const struct
    {
        K kind;
        F font;
    } defaults[] = { { K::mt_t_number, F::ftCmr }, { K::mt_t_alphabet, F::ftCmmi },
        { K::mt_t_other, F::ftMincyo }, { K::mt_invalid, F::ftMincyo } };
    for (const auto &d : defaults) {
        auto s = symbols.defaultSymbol(d.kind, QStringLiteral("abc"));
        ASSERT_TRUE(s);
        EXPECT_EQ(s->name(), QStringLiteral("abc"));
        EXPECT_EQ(s->glyphText(), QStringLiteral("abc"));
        EXPECT_EQ(s->fontType(), d.font);
        EXPECT_EQ(s->spaceBefore() + s->spaceAfter() + s->raise(), 0.0);
        EXPECT_TRUE(symbols.defaultSymbol(d.kind)->name().isEmpty());
    }
    EXPECT_FALSE(symbols.defaultSymbol(K::mt_t_leftParen, QStringLiteral("(")).has_value());
    const TTeXSymbol plain = TTeXDrawSymbolList::plainSymbol(K::mt_v_paren, QStringLiteral("&"));
    EXPECT_EQ(plain.kind(), K::mt_v_paren);
    EXPECT_EQ(plain.fontType(), F::ftMincyo);
    EXPECT_EQ(plain.clone(QStringLiteral("x")).name(), QStringLiteral("x"));
    EXPECT_EQ(plain.clone().name(), QStringLiteral("&"));
}

TEST_F(Symbols, WithoutCmmiGreekIsDrawnInTheJapaneseFontAndItsVariantsAreUnknown)
{
    const HidingCatalog noCmmi(
        TQtFontCatalog::instance(), { QStringLiteral("cmmi10"), QStringLiteral("cmmi6") });
    initializeTypesetting(noCmmi);

    const TSymbolOrg *alpha = symbols.findByName(QStringLiteral("\\alpha"));
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->fontType(), F::ftMincyo);
    EXPECT_EQ(alpha->glyphText(), QStringLiteral("α"));
    for (const char *omitted : { "\\varepsilon", "\\varphi", "\\ell" })
        EXPECT_EQ(symbols.findByName(QString::fromLatin1(omitted)), nullptr) << omitted;
    // Relations built on "<" follow it into the Japanese font.
    EXPECT_EQ(symbols.findByName(QStringLiteral("\\le"))->fontType(), F::ftMincyo);
    // A font that is there keeps its entries.
    EXPECT_EQ(symbols.findByName(QStringLiteral("\\infty"))->fontType(), F::ftCmsy);

    RecordingCanvas canvas;
    TFontSize size;
    TFontinfo info;
    info.measure(canvas, size, alpha->glyphText(), alpha->fontType());
    canvas.log.clear();
    info.drawAt(canvas, 0, 0);
    const QString mincho = TQtFontCatalog::instance().familyFor(QStringLiteral("ＭＳ Ｐ明朝"));
    ASSERT_EQ(canvas.log.size(), 1);
    EXPECT_TRUE(canvas.log[0].startsWith(QStringLiteral("glyphs %1 3b1 ").arg(mincho)))
        << canvas.log[0].toStdString();

    TTeX2ListFacade parser;
    EXPECT_TRUE(parser.analyze(QStringLiteral("\\varepsilon")));
    EXPECT_EQ(dumpTokenList(*parser.tokenList()), QStringLiteral("\\varepsilon:inv"));
    EXPECT_EQ(
        parser.errorMessage(), QStringLiteral("[\\varepsilon]はコマンドではありません。(1文字目)"));
    EXPECT_FALSE(parser.analyze(QStringLiteral("\\alpha")));
}
