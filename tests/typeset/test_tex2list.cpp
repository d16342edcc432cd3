// Reading typeset text: the token tree and, for bad text, the message and
// the invalid rest that shows where reading stopped.
#include "typeset/tex2list.h"
#include "typeset/typeset_support.h"

#include <gtest/gtest.h>

using namespace zarno;

namespace {

class TeX2List : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::useInstalledFonts(); }
    TTeX2ListFacade parser;
};

} // namespace

TEST_F(TeX2List, TreesAndMessages)
{
    struct Case
    {
        const char16_t *text;
        const char16_t *tree;
        const char16_t *message; // empty: no error
    };
    const Case cases[] = {
        { u"", u"", u"" },
        { u"x^2_3", u"x:abc^{2:num}_{3:num}", u"" },
        { u"x_3^2", u"x:abc^{2:num}_{3:num}", u"" },
        { u"x^2^3", u"x:abc^{2:num} ^3:inv", u"^が二重になっています。(4文字目)" },
        { u"x_1_2", u"x:abc_{1:num} _2:inv", u"_が二重になっています。(4文字目)" },
        { u"x ^ 2", u"x:abc^{2:num}", u"" },
        { u"x^2 _3", u"x:abc^{2:num} _3:inv", u"^や_はここでは使えません。(5文字目)" },
        { u"-a-b", u"-:neg a:abc -:bin b:abc", u"" },
        { u"x^{-1}", u"x:abc^{&:grp{{:lg}{-:neg 1:num}{}:rg}}", u"" },
        { u"x^-1", u"x:abc^{-:neg} 1:num", u"" },
        { u"\\frac{a}", u"\\frac:fn{&:grp{{:lg}{a:abc}{}:rg}}{_:inv}",
            u"コマンド[\\frac](1文字目)の引数が不足しています。" },
        { u"\\frac a b", u"\\frac:fn{a:abc}{b:abc}", u"" },
        { u"\\frac{a}{b}^2",
            u"\\frac:fn{&:grp{{:lg}{a:abc}{}:rg}}{&:grp{{:lg}{b:abc}{}:rg}}^{2:num}", u"" },
        { u"\\sqrt x^2", u"\\sqrt:fn{x:abc^{2:num}}", u"" },
        { u"\\sqrt{x}^2", u"\\sqrt:fn{&:grp{{:lg}{x:abc}{}:rg}}^{2:num}", u"" },
        { u"\\sqrt(x)^2", u"\\sqrt:fn{&:grp{(:lp}{x:abc}{):rp}^{2:num}}", u"" },
        { u"\\sin^2 x", u"\\sin:fn^{2:num} x:abc", u"" },
        { u"\\foo bar", u"\\foo bar:inv", u"[\\foo bar]はコマンドではありません。(1文字目)" },
        { u"a\\", u"a:abc \\:inv", u"[\\]はコマンドではありません。(2文字目)" },
        { u"(a]", u"&:grp{(:lp}{a:abc}{]:rp}", u"" },
        { u"\\{a\\rightabs", u"&:grp{\\{:lp}{a:abc}{\\rightabs:rp}", u"" },
        { u"{a)", u"&:grp{{:lg}{a:abc ):inv}", u"左括弧が不足しています。(3文字目の右括弧に対応)" },
        { u"()", u"&:grp{(:lp}{):inv}", u"1文字目の左括弧'{'のあとの引数が空白文字です。" },
        { u"{a", u"&:grp{{:lg}{a:abc _:inv}",
            u"グルーピング用右括弧'}'が不足しています。(1文字目の左括弧'{'に対応)" },
        { u"a}", u"a:abc }:inv", u"不正な文字[}]（2文字目)があります。" },
        { u"x^", u"x:abc^{_:inv}", u"^や_に引数がありません。(最後)" },
        { u"^2", u"^2:inv", u"^や_はここでは使えません。(1文字目)" },
        { u"\\sqrt ", u"\\sqrt:fn{_:inv}", u"関数引数の数が不足しています。(最後)" },
        { u"{\\sqrt}", u"&:grp{{:lg}{\\sqrt:fn{}:inv}}",
            u"左括弧が不足しています。(7文字目の右括弧に対応)" },
        { u"a \\le b", u"a:abc \\le:combi{=:oth} b:abc", u"" },
        { u"\\string{a\\}b}{c}", u"\\string:fn[a}b|c]", u"" },
        { u"\\code{cmr10}{41zz}", u"\\code:fn[cmr10|41zz]", u"" },
        { u"\\string{a\\\\b} {c}x", u"\\string:fn[a\\b|c] x:abc", u"" },
        { u"\\string{a", u"\\string:fn[a|]! _:inv",
            u"グルーピング用右括弧'}'が不足しています。(8文字目の左括弧'{'に対応)" },
        { u"\\string x", u"\\string:fn[|]! _:inv",
            u"コマンド[\\string](最後)の引数が不足しています。" },
        // The marker before the unreadable rest of a converted formula.
        { u"x+\\?1+*", u"x:abc +:bin 1+*:inv", u"[\\?1+*]はコマンドではありません。(3文字目)" },
        { u"あいう x", u"あいう:oth x:abc", u"" },
        { u"3.14\\pi", u"3.14:num \\pi:cmd", u"" },
        { u"f'(x)", u"f:abc ':oth &:grp{(:lp}{x:abc}{):rp}", u"" },
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const QString message = QString::fromUtf16(c.message);
        EXPECT_EQ(parser.analyze(text), !message.isEmpty()) << text.toStdString();
        EXPECT_EQ(dumpTokenList(*parser.tokenList()), QString::fromUtf16(c.tree))
            << text.toStdString();
        EXPECT_EQ(parser.errorMessage(), message) << text.toStdString();
    }
}

TEST_F(TeX2List, RawArgumentsAndPositions)
{
    ASSERT_FALSE(parser.analyze(QStringLiteral("ab \\code{cmsy10}{a1}")));
    const TTokenList &list = *parser.tokenList();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0)->position(), 1);
    const auto *code = dynamic_cast<const TTeXTokenString *>(list.at(1));
    ASSERT_TRUE(code);
    EXPECT_EQ(code->position(), 4);
    EXPECT_EQ(code->rawText(), QStringLiteral("\\code{cmsy10}{a1}"));
    EXPECT_EQ(code->outFirst(), QStringLiteral("cmsy10"));
    EXPECT_EQ(code->outSecond(), QStringLiteral("a1"));
    EXPECT_FALSE(code->isInvalid());

    TTeXTokenString empty(TMyTokentype::mt_t_function, 1, code->symbol().clone());
    try {
        empty.outSecond();
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("リスト(arguments)は2番目の要素をもっていません。"));
    }
}

TEST_F(TeX2List, DeepNestingIsAnErrorNotACrash)
{
    const int depth = 5000;
    for (const QString &open :
        { QStringLiteral("{"), QStringLiteral("\\sqrt{"), QStringLiteral("x^{") }) {
        const QString text
            = open.repeated(depth) + QStringLiteral("x") + QStringLiteral("}").repeated(depth);
        EXPECT_TRUE(parser.analyze(text)) << open.toStdString();
        EXPECT_TRUE(parser.errorMessage().startsWith(QStringLiteral("入れ子が深すぎます。(")))
            << parser.errorMessage().toStdString();
        EXPECT_FALSE(dumpTokenList(*parser.tokenList()).isEmpty());
    }
    // Nesting a formula really uses stays well inside the bound.
    const QString deep
        = QStringLiteral("{").repeated(40) + QStringLiteral("x") + QStringLiteral("}").repeated(40);
    EXPECT_FALSE(parser.analyze(deep));
}

TEST_F(TeX2List, BeforeTheFirstAnalysisThereIsNoTreeAndTheFlagIsSet)
{
    TTeX2ListFacade fresh;
    EXPECT_EQ(fresh.tokenList(), nullptr);
    EXPECT_TRUE(fresh.errorFlag());
    EXPECT_FALSE(fresh.analyze(QStringLiteral("a")));
    EXPECT_FALSE(fresh.errorFlag());
}
