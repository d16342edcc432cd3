// Box layout and glyph drawing: the rules of scripts, limits, fractions,
// delimiters, radicals and accents checked on the boxes and on what reaches
// the canvas; every formula's ink inside its box; golden box dumps.
#include "platform/bitmap.h"
#include "support/recording_canvas.h"
#include "typeset/drawformulafacade.h"
#include "typeset/fontinfo.h"
#include "typeset/tex2list.h"
#include "typeset/typeset_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

using namespace zarno;
using zarno::test::RecordingCanvas;

namespace {

const TFixedTeXResolution kPrint(300, 300);
const TFixedTeXResolution kScreen; // 90.06 × 90.07, as the screen is taken

// One formula laid out on a canvas at 10 pt and placed with its top at 0.
struct Laid
{
    TTeX2ListFacade parser;
    TDrawFormulaFacade facade;

    Laid(TCanvas &canvas, const QString &text, bool draw = true)
    {
        parser.analyze(text);
        if (draw)
            facade.drawAt(canvas, 10, *parser.tokenList(), 10, 0);
        else
            facade.placeAt(canvas, 10, *parser.tokenList(), 10, 0);
    }
    const TWhdXy &box() const { return facade.box(); }
    const TTeXDrawChar &node(int i) const
    {
        return dynamic_cast<const TTeXDrawChar &>(facade.root()->at(i));
    }
};

class Layout : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::useInstalledFonts(); }
    void SetUp() override { canvas.setFontResolution(300); }

    RecordingCanvas canvas;
    TTeXResolutionScope scope { kPrint };
    const double em = 10 * 300 / 72.0;

    double ascent()
    {
        TFontSize size;
        return TFontManage::textMetrics(canvas, size).ascent;
    }
    QStringList glyphs() const { return canvas.log.filter(QStringLiteral("glyphs ")); }
};

} // namespace

TEST_F(Layout, ScriptsAreRaisedAndLoweredByTheirRules)
{
    const double a = ascent();
    {
        Laid l(canvas, QStringLiteral("x^2"));
        const TTeXDrawChar &x = l.node(0);
        ASSERT_TRUE(x.raised());
        // The 2 at level -1: 7 pt, in the small font cmr6.
        EXPECT_TRUE(glyphs().value(1).startsWith(QStringLiteral("glyphs cmr6 32 ")))
            << glyphs().value(1).toStdString();
        EXPECT_TRUE(glyphs().value(1).contains(QStringLiteral(" em 29.17")));
        EXPECT_NEAR(x.raised()->box().top(), x.nodeBox().y() - 1.1 * a, 1e-9);
    }
    canvas.log.clear();
    {
        Laid l(canvas, QStringLiteral("x_i"));
        const TTeXDrawChar &x = l.node(0);
        ASSERT_TRUE(x.lowered());
        EXPECT_NEAR(x.lowered()->box().top(), x.nodeBox().y() - 0.3 * a, 1e-9);
    }
    {
        // A tall script: raised by its depth + 0.2·A, indented by P/7.
        Laid l(canvas, QStringLiteral("x^{\\frac{a}{b}}"));
        const TTeXDrawChar &x = l.node(0);
        ASSERT_GE(x.raised()->box().totalHeight(), a);
        EXPECT_NEAR(x.raiseShift(), x.raised()->box().depth() + 0.2 * a, 1e-9);
        EXPECT_NEAR(x.indent(), 10 / 7.0, 1e-9);
        EXPECT_NEAR(x.raised()->box().x(), x.glyphBox().right() + 10 / 7.0, 1e-9);
    }
    {
        // Both scripts: the lowered one keeps 0.1·A below the raised one.
        Laid l(canvas, QStringLiteral("x_{\\frac{a}{b}}^{\\frac{c}{d}}"));
        const TTeXDrawChar &x = l.node(0);
        EXPECT_NEAR(x.lowered()->box().top() - x.raised()->box().bottom(), 0.1 * a, 1e-9);
    }
}

TEST_F(Layout, LimitsAreCentredOneLevelSmaller)
{
    Laid l(canvas, QStringLiteral("\\sum_{k=1}^{n}"));
    const TTeXDrawChar &sum = l.node(0);
    const double centre = sum.glyphBox().x() + sum.glyphBox().width() / 2;
    const TWhdXy &up = sum.raised()->box(), &down = sum.lowered()->box();
    EXPECT_NEAR(up.x() + up.width() / 2, centre, 1e-9);
    EXPECT_NEAR(down.x() + down.width() / 2, centre, 1e-9);
    EXPECT_LT(up.bottom(), sum.glyphBox().top());
    EXPECT_GT(down.top(), sum.glyphBox().bottom());
    for (const QString &g : glyphs().mid(1))
        EXPECT_TRUE(g.contains(QStringLiteral(" em 29.17"))) << g.toStdString();
}

TEST_F(Layout, BracesGroupInvisiblyAndParenthesesGrowWithTheirContent)
{
    Laid braced(canvas, QStringLiteral("{a}"));
    const QStringList withBraces = glyphs();
    canvas.log.clear();
    Laid plain(canvas, QStringLiteral("a"));
    EXPECT_EQ(glyphs(), withBraces);
    EXPECT_EQ(braced.facade.dump().count(QLatin1Char('\n')) > 1, true);
    EXPECT_EQ(braced.box().width(), plain.box().width());
    EXPECT_EQ(braced.box().totalHeight(), plain.box().totalHeight());

    canvas.log.clear();
    Laid small(canvas, QStringLiteral("(a)"));
    EXPECT_TRUE(glyphs().value(0).startsWith(QStringLiteral("glyphs cmr10 28 ")));
    EXPECT_TRUE(glyphs().value(2).startsWith(QStringLiteral("glyphs cmr10 29 ")));
    canvas.log.clear();
    Laid tall(canvas, QStringLiteral("(\\frac{a}{b})"));
    EXPECT_TRUE(glyphs().value(0).startsWith(QStringLiteral("glyphs cmex10 ")))
        << glyphs().value(0).toStdString();
    // Delimiters reach beyond their content.
    const TWhdXy &content = tall.facade.root()->at(0).child(1).box();
    const TWhdXy &open = tall.facade.root()->at(0).child(0).box();
    EXPECT_GE(open.height(), content.height());
    EXPECT_GE(open.depth(), content.depth());
}

TEST_F(Layout, APhantomLeavesTheWidthOfItsArgumentBlank)
{
    Laid l(canvas, QStringLiteral("\\phantom{x}y"));
    const QStringList g = glyphs();
    ASSERT_EQ(g.size(), 1);
    const TTfmTable &cmmi = TTfmMetrics::getInstance().table(TFonttype::ftCmmi, false);
    const double xWidth
        = cmmi.records[std::size_t(TTfmMetrics::getInstance().indexOf('x'))].width * em;
    // y is drawn at whole pixels, where x would have ended.
    EXPECT_TRUE(g[0].startsWith(
        QStringLiteral("glyphs cmmi10 79 at %1,").arg(std::nearbyint(10 + xWidth), 0, 'f', 2)))
        << g[0].toStdString();
}

TEST_F(Layout, AFractionBarIsTheWiderPartAndSitsOnTheAxis)
{
    Laid l(canvas, QStringLiteral("\\frac{1}{22}"));
    const TTeXDrawChar &frac = l.node(0);
    TFontinfo h, two;
    TFontSize size;
    h.measureReference(canvas, size);
    two.measure(canvas, size, QStringLiteral("22"), TFonttype::ftCmr);
    EXPECT_NEAR(frac.glyphBox().width(), two.width() + 0.4 * h.width(), 1e-9);
    const double axis = plusMetrics(canvas, size).height / 2;
    const int t = TTeXResolution::current().mmToPixels(0.35);
    EXPECT_EQ(t, 4);
    const QStringList rules = canvas.log.filter(QStringLiteral("fillRect"));
    ASSERT_EQ(rules.size(), 1);
    const int top = int(std::nearbyint(frac.nodeBox().y() - axis - t / 2.0));
    EXPECT_TRUE(rules[0].startsWith(QStringLiteral("fillRect 10 %1 ").arg(top)))
        << rules[0].toStdString();
    EXPECT_TRUE(rules[0].endsWith(QStringLiteral(" %1").arg(t)));
    // Numerator above the bar, denominator below, both centred.
    const TWhdXy &num = frac.child(0).box(), &den = frac.child(1).box();
    EXPECT_LE(num.bottom(), top);
    EXPECT_GE(den.top(), top + t);
    EXPECT_NEAR(num.x() + num.width() / 2, den.x() + den.width() / 2, 1e-9);
}

TEST_F(Layout, RawCommandsDrawCodesAndHighlightWhatTheyCannot)
{
    const QString mincho = TFontManage::family(QStringLiteral("ＭＳ Ｐ明朝"));
    {
        Laid l(canvas, QStringLiteral("\\code{cmsy10}{a1}"));
        EXPECT_TRUE(glyphs().value(0).startsWith(QStringLiteral("glyphs cmsy10 a1 ")));
    }
    canvas.log.clear();
    {
        Laid l(canvas, QStringLiteral("\\code{cmr10}{41zz}"));
        EXPECT_TRUE(glyphs().value(0).startsWith(QStringLiteral("glyphs cmr10 41 ")));
        EXPECT_TRUE(glyphs().value(1).startsWith(QStringLiteral("glyphs %1 7a7a ").arg(mincho)));
        EXPECT_TRUE(glyphs().value(1).contains(QStringLiteral("bold color 0000ff shaped")));
    }
    canvas.log.clear();
    {
        Laid l(canvas, QStringLiteral("\\string{Arial}{x}"));
        ASSERT_EQ(glyphs().size(), 1);
        QString raw;
        for (QChar c : QStringLiteral("\\string{Arial}{x}"))
            raw += QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        EXPECT_TRUE(glyphs()[0].startsWith(QStringLiteral("glyphs %1 %2 ").arg(mincho, raw)));
        EXPECT_TRUE(glyphs()[0].contains(QStringLiteral("bold color 0000ff")));
    }
    canvas.log.clear();
    {
        Laid l(canvas, QStringLiteral("\\string{default}{あ}\\string{cmr10}{A}"));
        EXPECT_TRUE(glyphs().value(0).startsWith(QStringLiteral("glyphs %1 3042 ").arg(mincho)));
        EXPECT_FALSE(glyphs().value(0).contains(QStringLiteral("bold")));
        EXPECT_TRUE(glyphs().value(1).startsWith(QStringLiteral("glyphs cmr10 41 ")));
    }
}

TEST_F(Layout, BrokenTextDrawsWhatItCanAndHighlightsTheRest)
{
    Laid l(canvas, QStringLiteral("a+\\foo b"));
    ASSERT_EQ(glyphs().size(), 3);
    EXPECT_TRUE(glyphs()[2].contains(QStringLiteral("bold color 0000ff")));
    canvas.log.clear();
    // The fraction lost both braces of its denominator: a strut stands in.
    Laid cut(canvas, QStringLiteral("\\frac{"));
    EXPECT_TRUE(cut.facade.dump().contains(QStringLiteral("TTeXNull")));
    EXPECT_GT(cut.box().totalHeight(), 0);
}

TEST_F(Layout, RadicalsPutTheRadicandUnderTheVinculumAndTheIndexInTheNotch)
{
    Laid l(canvas, QStringLiteral("\\nthrt{3}{x}"));
    const TTeXDrawChar &root = l.node(0);
    const TWhdXy &index = root.child(0).box(), &radicand = root.child(1).box();
    EXPECT_LT(index.totalHeight(), radicand.totalHeight());
    EXPECT_GE(index.x(), root.nodeBox().x());
    EXPECT_LE(index.right(), radicand.x());
    EXPECT_GE(index.top(), root.nodeBox().top() - 1e-9);
    const QStringList strokes = canvas.log.filter(QStringLiteral("polyline"));
    ASSERT_EQ(strokes.size(), 1);
    // Five points; the vinculum reaches past the radicand to the box's end.
    const QStringList points = strokes[0].split(QLatin1Char(' ')).mid(1);
    ASSERT_EQ(points.size(), 5);
    EXPECT_GT(points[4].section(QLatin1Char(','), 0, 0).toDouble(), radicand.right());
    EXPECT_NEAR(points[4].section(QLatin1Char(','), 0, 0).toDouble(), root.nodeBox().right(), 2.01);
    EXPECT_LT(points[4].section(QLatin1Char(','), 1, 1).toDouble(), radicand.top());
}

namespace {

// Every formula the layout knows how to build, in the forms a school sheet
// uses; each must draw inside its own box.
const char16_t *const kFormulas[] = {
    u"x^2",
    u"x_i",
    u"x^{\\frac{a}{b}}",
    u"\\sum_{k=1}^{n} k^2",
    u"{a}",
    u"(a)",
    u"\\phantom{x}y",
    u"\\frac{1}{2}",
    u"(x)(\\frac{a}{b})",
    u"\\sqrt{x}",
    u"\\nthrt{3}{x}",
    u"\\int_0^1 f(x) dx",
    u"\\vec{v}",
    u"\\vec{AB}",
    u"\\bar{x}",
    u"a \\le b \\ge c \\ne d",
    u"\\code{cmsy10}{a1}",
    u"\\code{cmr10}{41zz}",
    u"\\frac{1}{2",
    u"\\lim_{x \\to 0} \\frac{\\sin x}{x}",
    u"\\sqrt{x}^2",
    u"\\sqrt{\\frac{1}{x^2+1}}",
    u"(\\frac{\\frac{1}{2}}{\\frac{3}{4}})",
    u"\\{ x \\mid x^{2^{2}} \\}",
    u"\\leftabs \\frac{a}{b} \\rightabs",
    u"\\box{x^2} \\dotbox{y_1}",
    u"\\smaller{abc}",
    u"30^\\circ",
    u"\\sin^2 \\theta",
    u"面積 S",
};

// The box around all ink, in pixels.
QRect inkBox(const TBitmap &bmp)
{
    QRect box;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x)
            if (bmp.pixel(x, y) != kColorWhite)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(LayoutInk, EveryFormulaDrawsInsideItsBoxOnScreenAndAt300Dpi)
{
    test::useInstalledFonts();
    for (const int dpi : { 96, 300 }) {
        TTeXResolutionScope scope(dpi == 300 ? kPrint : kScreen);
        for (const char16_t *f : kFormulas) {
            const QString text = QString::fromUtf16(f);
            TBitmap bmp(1200, 400);
            bmp.canvas().setFontResolution(dpi);
            TTeX2ListFacade parser;
            parser.analyze(text);
            TDrawFormulaFacade facade;
            facade.drawAt(bmp.canvas(), 100, *parser.tokenList(), 10, 100);
            const TWhdXy &b = facade.box();
            const QRect ink = inkBox(bmp);
            ASSERT_FALSE(ink.isEmpty()) << text.toStdString();
            // Glyphs land on whole pixels and antialiasing bleeds one more.
            const double slack = 2;
            EXPECT_GE(ink.left(), b.x() - slack) << text.toStdString() << " @" << dpi;
            EXPECT_LE(ink.right() + 1, b.right() + slack) << text.toStdString() << " @" << dpi;
            EXPECT_GE(ink.top(), b.top() - slack) << text.toStdString() << " @" << dpi;
            EXPECT_LE(ink.bottom() + 1, b.bottom() + slack) << text.toStdString() << " @" << dpi;
        }
    }
}

namespace {

QString goldenPath()
{
    return QStringLiteral(ZARNO_TYPESET_GOLDEN_DIR "/layout.txt");
}

std::map<QString, QString> readGolden()
{
    std::map<QString, QString> cases;
    QFile f(goldenPath());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return cases;
    QString key, body;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("=== "))) {
            if (!key.isEmpty())
                cases[key] = body;
            key = line.mid(4);
            body.clear();
        } else if (!key.isEmpty() && !line.isEmpty()) {
            body += line + QLatin1Char('\n');
        }
    }
    if (!key.isEmpty())
        cases[key] = body;
    return cases;
}

} // namespace

// The box trees of the layout's edge cases at 10 pt on a 96-dpi and a
// 300-dpi canvas with the real fonts. ZARNO_UPDATE_GOLDEN=1 writes the file
// anew (look at every change before committing it).
TEST(LayoutGolden, BoxTreesOfTheEdgeCases)
{
    test::useInstalledFonts();
    const char16_t *const cases[] = {
        u"x^2",
        u"x_i",
        u"x^{\\frac{a}{b}}",
        u"\\sum_{k=1}^{n}",
        u"{a}",
        u"a",
        u"(a)",
        u"\\phantom{x}y",
        u"\\frac{1}{2}",
        u"(x)",
        u"(\\frac{a}{b})",
        u"\\sqrt{x}",
        u"\\nthrt{3}{x}",
        u"\\int_0^1",
        u"\\vec{v}",
        u"\\bar{x}",
        u"\\le",
        u"\\code{cmsy10}{a1}",
        u"\\code{cmr10}{41zz}",
        u"x+\\frac{1}{",
    };
    const std::map<QString, QString> golden = readGolden();
    QString written;
    for (const int dpi : { 96, 300 }) {
        TTeXResolutionScope scope(dpi == 300 ? kPrint : kScreen);
        for (const char16_t *c : cases) {
            const QString text = QString::fromUtf16(c);
            TBitmap bmp(1, 1);
            bmp.canvas().setFontResolution(dpi);
            TTeX2ListFacade parser;
            parser.analyze(text);
            TDrawFormulaFacade facade;
            facade.placeAt(bmp.canvas(), 0, *parser.tokenList(), 10, 0);
            const QString key = text + QStringLiteral(" @") + QString::number(dpi);
            const QString dump = facade.dump();
            written += QStringLiteral("=== ") + key + QLatin1Char('\n') + dump;
            auto it = golden.find(key);
            if (it == golden.end())
                ADD_FAILURE() << "no golden dump for " << key.toStdString();
            else
                EXPECT_EQ(dump, it->second) << key.toStdString();
        }
    }
    if (qEnvironmentVariable("ZARNO_UPDATE_GOLDEN") == QLatin1String("1")) {
        QFile f(goldenPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate));
        f.write(written.toUtf8());
    }
}
