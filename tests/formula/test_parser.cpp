#include "formula/infix2tree.h"
#include "formula_test_support.h"

#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

struct Parsed
{
    int errorFlag = 0;
    QString message;
    QString tree; // prefix dump, "-" for none
};

Parsed parse(const QString &text, const TCalcSymbolOnOff &onOff = onOffXY())
{
    auto f = facadeWith(onOff);
    Parsed p;
    p.errorFlag = f->analyzeFormula(text);
    p.message = f->errorMessage();
    p.tree = f->tree() ? f->tree()->dump() : QStringLiteral("-");
    return p;
}

} // namespace

TEST(Parser, TreeShapes)
{
    // Dumps show each node's token, children in parentheses: the group
    // marker "&" keeps "(" and ")", a call keeps its parentheses and commas.
    const struct
    {
        const char *text;
        const char *tree;
    } cases[] = {
        { "2x^2", "%(2,^(x,2))" },
        { "1/2x", "/(1,%(2,x))" },
        { "-2^2", "#(^(2,2))" },
        { "2^3^2", "^(^(2,3),2)" },
        { "-x+y", "+(#(x),y)" },
        { "-x*y", "#(*(x,y))" },
        { "x-y-1", "-(-(x,y),1)" },
        { "x/y*2", "*(/(x,y),2)" },
        { "x y", "%(x,y)" },
        { "x y pi", "%(%(x,y),pi)" },
        { "2(x+1)", "%(2,&((,+(x,1),)))" },
        { "x(2)", "%(x,&((,2,)))" },
        { "(x)(y)", "%(&((,x,)),&((,y,)))" },
        { "sin 2x", "sin(%(2,x))" },
        { "sin x^2", "sin(^(x,2))" },
        { "sin x * y", "*(sin(x),y)" },
        { "sin x cos x", "sin(%(x,cos(x)))" },
        { "sin^2 x + cos^2 x", "+(sin^(2,x),cos^(2,x))" },
        { "sin^2(x)", "sin^(2,(,x,))" },
        { "cos^(n)x", "-" }, // n is no symbol: see the error table
        { "max(1, 2, 3)", "max((,1,,,2,,,3,))" },
        { "nthrt(3, -x)", "nthrt((,3,,,#(x),))" },
        { "logn(2,8)x", "%(logn((,2,,,8,)),x)" },
        { "2sin(x)", "%(2,sin((,x,)))" },
    };
    for (const auto &c : cases) {
        const Parsed p = parse(QString::fromUtf8(c.text));
        if (QString::fromUtf8(c.tree) == QStringLiteral("-"))
            continue;
        EXPECT_EQ(p.errorFlag, 0) << c.text << ": " << p.message.toStdString();
        EXPECT_EQ(p.tree, QString::fromUtf8(c.tree)) << c.text;
    }
}

TEST(Parser, VariadicCallsRecordTheirOwnArgumentCount)
{
    auto f = facadeWith(onOffXY());
    ASSERT_EQ(f->analyzeFormula(QStringLiteral("max(1, 2, 3) + max(x)")), 0);
    const TTokenNode *plus = f->tree();
    const auto *first = static_cast<const TCalcToken *>(plus->child(0)->token());
    const auto *second = static_cast<const TCalcToken *>(plus->child(1)->token());
    EXPECT_EQ(first->argumentCount(), 3);
    EXPECT_EQ(second->argumentCount(), 1);
    EXPECT_EQ(first->symbol(), second->symbol()); // one shared symbol, two counts
}

TEST(Parser, SyntaxErrorsWithPositionAndInvalidRest)
{
    TCalcSymbolOnOff onlyX;
    onlyX.xOn = true;
    const struct
    {
        const char *text;
        const char *message;
        const char *tree;
    } cases[] = {
        { "", "式がありません。(最後)", "-" }, { "   ", "式がありません。(最後)", "-" },
        { "2+", "数値・変数などが必要です。(3文字目)", "+(2,_)" },
        { "2+  ", "数値・変数などが必要です。(3文字目)", "+(2,_)" },
        { "-", "数値・変数などが必要です。(2文字目)", "#(_)" },
        { "max()", "不正な文字[)]があります。(5文字目)", "max((,))" },
        { "x^-1", "不正な文字[-]があります。(3文字目)", "^(x,-1)" },
        { "x + あ", "不正な文字[あ]があります。(5文字目)", "+(x,あ)" },
        { "2あい", "不正な文字[あい]があります。(2文字目)", "%(2,あい)" },
        { "*x", "不正な文字[*]があります。(1文字目)", "*x" },
        { "x)", "不正な文字[x)]があります。(1文字目)", "x)" },
        { "x 2", "不正な文字[x 2]があります。(1文字目)", "x 2" },
        { "x2", "不正な文字[x2]があります。(1文字目)", "x2" },
        { "2+3 4", "不正な文字[3 4]があります。(3文字目)", "+(2,3 4)" },
        { "(x)2", "不正な文字[)2]があります。(3文字目)", "&((,x,)2)" },
        { "sin(x) 2 ", "不正な文字[) 2]があります。(6文字目)", "sin((,x,) 2)" },
        { "(x+1", "右括弧が不足しています。(最後)", "&((,+(x,1),_)" },
        { "(1,2)", "右括弧が不足しています。(最後)", "&((,1,,2))" },
        { "max(1", "右括弧が不足しています。(最後)", "max((,1,_)" },
        { "sin", "関数に引数がありません。(1文字目の関数)", "sin(_)" },
        { "2+sin^2", "関数に引数がありません。(3文字目の関数)", "+(2,sin^(2,_))" },
        { "nthrt 2", "関数に左括弧がありません。(7文字目に必要)", "nthrt(2)" },
        { "log^2 x", "関数に左括弧がありません。(1文字目に必要)", "log(^2 x)" },
        { "nthrt(2)", "関数引数の数が不足しています。(8文字目)", "nthrt((,2,))" },
        { "nthrt(2", "関数引数の数が不足しています。(最後)", "nthrt((,2,_)" },
        { "sqrt(1, 2)", "関数引数の数が多すぎます。(7文字目)", "sqrt((,1,, 2))" },
        { "max(1;2)", "不正な文字[;2)]があります。(6文字目)",
            "max((,%(1,;2)))" }, // an invalid token starts an implicit factor
        { "cos^(n)x", "不正な文字[n)x]があります。(6文字目)", "cos^(&((,n)x))" },
        { "y", "不正な文字[y]があります。(1文字目)", "y" }, // y is switched off
    };
    for (const auto &c : cases) {
        const Parsed p = parse(QString::fromUtf8(c.text), onlyX);
        EXPECT_EQ(p.errorFlag, 1) << c.text;
        EXPECT_EQ(p.message, QString::fromUtf8(c.message)) << c.text;
        EXPECT_EQ(p.tree, QString::fromUtf8(c.tree)) << c.text;
    }
}

TEST(Parser, ErrorsAreRaisedInsideAndNeverEscape)
{
    // The parser raises EInfix2TreeAnalyze internally with the full message;
    // startCompile catches it and keeps only the flag and the text.
    TCalcSymbolList symbols;
    symbols.applyOnOff(onOffXY());
    TInfix2tree parser(symbols);
    TStringReader reader(QStringLiteral("(x"));
    std::unique_ptr<TTokenNode> tree;
    EXPECT_NO_THROW(tree = parser.startCompile(reader));
    EXPECT_EQ(parser.errorFlag(), 1);
    EXPECT_EQ(parser.errorMessage(), QStringLiteral("右括弧が不足しています。(最後)"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->parent(), nullptr); // detached from the parser's root

    TStringReader good(QStringLiteral("x"));
    tree = parser.startCompile(good);
    EXPECT_EQ(parser.errorFlag(), 0);
    EXPECT_TRUE(parser.errorMessage().isEmpty());
}

TEST(Parser, NestingBeyondTheLimitIsASyntaxErrorNotACrash)
{
    const int limit = TInfix2tree::kMaxNesting;
    const auto nested = [](int depth, const char *open, const char *close) {
        return QString::fromLatin1(open).repeated(depth) + QStringLiteral("x")
            + QString::fromLatin1(close).repeated(depth);
    };
    auto f = facadeWith(onOffXY());
    f->mustFindVar(QStringLiteral("x"))->setValue(0.5);

    ASSERT_EQ(f->compileFormula(nested(limit, "(", ")")), 0);
    EXPECT_EQ(f->calculate(), 0.5);
    EXPECT_EQ(f->compileFormula(nested(limit + 1, "(", ")")), 1);
    EXPECT_EQ(
        f->errorMessage(), QStringLiteral("式の入れ子が深すぎます。(%1文字目)").arg(limit + 1));

    ASSERT_EQ(f->compileFormula(nested(limit, "sin ", "")), 0);
    EXPECT_EQ(f->compileFormula(nested(100000, "sin(", ")")), 1);
    EXPECT_EQ(f->compileFormula(nested(100000, "-(", ")")), 1);
    EXPECT_TRUE(std::isnan(f->calculate()));
}

TEST(Parser, LongChainsBuildDeepTreesWithoutRecursion)
{
    // 1+1+…+1 is a left-leaning tree as deep as the formula is long; code
    // generation, printing and freeing it must not recurse.
    auto f = facadeWith(onOffXY());
    QString text = QStringLiteral("x");
    for (int i = 0; i < 50000; ++i)
        text += QStringLiteral("+1");
    ASSERT_EQ(f->compileFormula(text), 0);
    f->mustFindVar(QStringLiteral("x"))->setValue(0.5);
    EXPECT_EQ(f->calculate(), 50000.5);
    // Each "+(…,1)" prints five characters around the x.
    EXPECT_EQ(f->tree()->dump().size(), 5 * 50000 + 1);
}

TEST(TokenNode, StructuralOperations)
{
    TCalcSymbolList symbols;
    TCalcToken a(symbols.addNumber(QStringLiteral("1")), TMyTokentype::mt_c_number, 1);
    TCalcToken b(symbols.addNumber(QStringLiteral("2")), TMyTokentype::mt_c_number, 3);
    TCalcToken plus(symbols.findSymbol(QStringLiteral("+")), TMyTokentype::mt_c_operator, 2);
    TCalcToken minus(symbols.findSymbol(QStringLiteral("#")), TMyTokentype::mt_t_monoMinus, 1);

    TTokenNode root;
    EXPECT_TRUE(raisedMessage([&] {
        root.insertBeforeLastChild(&plus);
    }).endsWith(QStringLiteral("このnodeには子はありません。")));
    root.addChild(&a);
    TTokenNode *op = root.insertBeforeLastChild(&plus);
    op->addChild(&b);
    EXPECT_EQ(root.dump(), QStringLiteral("<root>(+(1,2))"));
    op->child(1)->insertBetweenParent(std::make_unique<TTokenNode>(&minus));
    EXPECT_EQ(root.dump(), QStringLiteral("<root>(+(1,#(2)))"));
    EXPECT_EQ(op->child(1)->child(0)->parent(), op->child(1));
    EXPECT_TRUE(raisedMessage([&] {
        root.insertBetweenParent(std::make_unique<TTokenNode>(&minus));
    }).endsWith(QStringLiteral("相互リンクが壊れています。")));
}
