#include "formula/basetoken.h"
#include "formula/calctoken.h"
#include "formula/textreader.h"
#include "formula_test_support.h"

#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::test;

namespace {

// Base tokens as "text@position", kinds checked separately.
QStringList baseTokens(const QString &text)
{
    TStringReader reader(text);
    TTokenDivider divider;
    divider.divide(reader);
    QStringList out;
    for (const TBaseToken &t : divider.tokens())
        out << t.text + QLatin1Char('@') + QString::number(t.position);
    return out;
}

QStringList dividedTokens(const QString &text)
{
    TCalcSymbolList symbols;
    TStringReader reader(text);
    TTokenDivider divider;
    divider.divide(reader);
    TSymbolDivider symbolDivider;
    symbolDivider.setSymbolList(&symbols);
    TBaseTokenIterator it = divider.iterator();
    symbolDivider.divideToken(it);
    QStringList out;
    for (const TBaseToken &t : symbolDivider.tokens())
        out << t.text + QLatin1Char('@') + QString::number(t.position);
    return out;
}

// Calc tokens as "kind:text@position+blanks".
QString calcTokens(const QString &text, const TCalcSymbolOnOff &onOff)
{
    TCalcSymbolList symbols;
    symbols.applyOnOff(onOff);
    TSetCalcTokenProc proc;
    proc.setSymbolList(&symbols);
    TMyTokenList list(proc);
    TStringReader reader(text);
    list.readFrom(reader);
    QStringList out;
    for (qsizetype i = 0; i < list.count(); ++i) {
        const TMyToken *t = list.at(i);
        const QString name = TEnumConverter<TMyTokentype>::name(t->kind());
        const QString kind = name.mid(name.lastIndexOf(QLatin1Char('_')) + 1);
        out << kind + QLatin1Char(':') + t->text() + QLatin1Char('@')
                + QString::number(t->position())
                + (t->blankCount() ? QLatin1Char('+') + QString::number(t->blankCount())
                                   : QString());
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

TEST(CharacterClass, FirstMatchingClassWins)
{
    const struct
    {
        char16_t ch;
        TBaseTokenKind kind;
    } cases[] = {
        { u'a', TBaseTokenKind::btkAlphabet },
        { u'Z', TBaseTokenKind::btkAlphabet },
        { u'7', TBaseTokenKind::btkNumber },
        { u'.', TBaseTokenKind::btkNumber },
        { u'_', TBaseTokenKind::btkOperator },
        { u'\'', TBaseTokenKind::btkOperator },
        { u'\\', TBaseTokenKind::btkOperator },
        { u'~', TBaseTokenKind::btkOperator },
        { u' ', TBaseTokenKind::btkSpace },
        { u'\r', TBaseTokenKind::btkCRorLF },
        { u'\n', TBaseTokenKind::btkCRorLF },
        { u'\t', TBaseTokenKind::btkTab },
        { u'\x01', TBaseTokenKind::btkNonTabCrlfControl },
        { u'\x7f', TBaseTokenKind::btkNonTabCrlfControl },
        { u'\x85', TBaseTokenKind::btkNonTabCrlfControl }, // C1 control: before "outside ASCII"
        { u'"', TBaseTokenKind::btkKanji },
        { u'あ', TBaseTokenKind::btkKanji },
        { u'１', TBaseTokenKind::btkKanji },
    };
    for (const auto &c : cases)
        EXPECT_EQ(baseTokenKindOf(QChar(c.ch)), c.kind) << int(c.ch);
}

TEST(BaseTokens, RunsOfOneClassButEveryOperatorAlone)
{
    EXPECT_EQ(baseTokens(QStringLiteral("((**ab12.5  x")),
        (QStringList { "(@1", "(@2", "*@3", "*@4", "ab@5", "12.5@7", "  @11", "x@13" }));
    EXPECT_EQ(baseTokens(QStringLiteral("p1.x")), (QStringList { "p@1", "1.@2", "x@4" }));
    EXPECT_EQ(baseTokens(QStringLiteral("漢字a")), (QStringList { "漢字@1", "a@3" }));
    EXPECT_TRUE(baseTokens(QString()).isEmpty());
}

TEST(BaseTokens, PrintsItselfForDiagnostics)
{
    TBaseToken t;
    t.kind = TBaseTokenKind::btkNumber;
    t.line = 1;
    t.position = 3;
    t.text = QStringLiteral("12");
    EXPECT_EQ(t.toString(), QStringLiteral("kind:btkNumber,  line:1,  pos:3,  str:12,  code:49"));
    t.kind = TBaseTokenKind::btkTab;
    t.text = QStringLiteral("\t");
    EXPECT_EQ(t.toString(), QStringLiteral("kind:btkTab,  line:1,  pos:3,  code:9"));
}

TEST(StringReader, StepsBackAndRefusesToLeaveTheText)
{
    TStringReader r(QStringLiteral("ab"));
    TTextChar c;
    r.nextChar(c);
    r.nextChar(c);
    EXPECT_EQ(c.ch, QLatin1Char('b'));
    EXPECT_EQ(c.position, 2);
    EXPECT_EQ(c.byteOffset, 4);
    EXPECT_EQ(c.line, 1);
    EXPECT_FALSE(r.hasNext());
    r.prevChar(c);
    EXPECT_EQ(c.ch, QLatin1Char('b'));
    r.nextChar(c);
    EXPECT_EQ(c.ch, QLatin1Char('b')); // the character stepped back over comes again

    const QString msg = QStringLiteral("文字列の0文字目は参照できません。");
    EXPECT_TRUE(raisedMessage([&] { r.nextChar(c); }).contains(msg));
    TStringReader start(QStringLiteral("a"));
    EXPECT_TRUE(raisedMessage([&] { start.prevChar(c); }).contains(msg));
    QString line;
    start.nextLine(line);
    EXPECT_EQ(line, QStringLiteral("a"));
    EXPECT_FALSE(start.hasNextLine());
    EXPECT_TRUE(raisedMessage([&] { start.nextLine(line); }).contains(msg));
}

TEST(SymbolDivider, CutsLetterRunsLongestNameFirst)
{
    const struct
    {
        const char *text;
        QStringList tokens;
    } cases[] = {
        { "sinx", { "sin@1", "x@4" } },
        { "pi", { "pi@1" } },
        { "xyz", { "x@1", "y@2", "z@3" } },
        { "abc", { "abc@1" } },
        { "SINX", { "sin@1", "x@4" } }, // names come out as the list spells them
        { "expx", { "exp@1", "x@4" } },
        { "ex", { "e@1", "x@2" } },
        { "lognx", { "logn@1", "x@5" } },
        { "logx", { "log@1", "x@4" } },
        { "arctanx", { "arctan@1", "x@7" } },
        { "sinh", { "sin@1", "h@4" } },
        { "2xy", { "2@1", "x@2", "y@3" } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(dividedTokens(QString::fromUtf8(c.text)), c.tokens) << c.text;
}

TEST(SymbolDivider, NeedsItsSymbolList)
{
    TSymbolDivider d;
    TBaseTokenList none;
    TBaseTokenIterator it(none);
    EXPECT_TRUE(raisedMessage([&] {
        d.divideToken(it);
    }).contains(QStringLiteral("symbolListをセットせずに参照しています。")));
}

TEST(CalcTokens, KindsPositionsAndBlanks)
{
    TCalcSymbolOnOff xy = onOffXY();
    TCalcSymbolOnOff shapes = xy;
    shapes.pointCount = 1;
    shapes.ellipseCount = 1;
    const struct
    {
        const char *text;
        TCalcSymbolOnOff onOff;
        const char *tokens;
    } cases[] = {
        { "2x", xy, "number:2@1 variable:x@2" },
        { "x2", xy, "variable:x@1 number:2@2" },
        { "sin x", xy, "function:sin@1+1 variable:x@5" },
        { "sinx", xy, "function:sin@1 variable:x@4" },
        { "SIN(X)", xy, "function:sin@1 leftParen:(@4 variable:x@5 rightParen:)@6" },
        { "1e5", xy, "number:1@1 const:e@2 number:5@3" },
        { "max(1 ,2)", xy,
            "function:max@1 leftParen:(@4 number:1@5+1 comma:,@7 number:2@8 rightParen:)@9" },
        { "  x  ", xy, "variable:x@3+2" }, // blanks before the first token are lost
        { "p1.x+1", shapes, "variable:p1.x@1 operator:+@5 number:1@6" },
        { "P1.X", shapes, "variable:p1.x@1" },
        { "e1.cx", shapes, "variable:e1.cx@1" }, // the variable wins over the constant e
        { "e2.cx", shapes, "const:e@1 number:2.@2 invalid:cx@4" },
        { "p1.x", xy, "invalid:p1.x@1" }, // switched off: the rest is unreadable
        { "x", TCalcSymbolOnOff {}, "invalid:x@1" },
        { "x + １ y", xy, "variable:x@1+1 operator:+@3+1 invalid:１ y@5" },
        { "1.2.3+x", xy, "invalid:1.2.3+x@1" },
        { "x+.", xy, "variable:x@1 operator:+@2 invalid:.@3" },
        { ".5+5.", xy, "number:.5@1 operator:+@3 number:5.@4" },
        { "x\ty", xy, "variable:x@1 invalid:\ty@2" },
        { "x & y", xy, "variable:x@1+1 invalid:& y@3" },
        { "%#", xy, "operator:%@1 operator:#@2" },
        { "", xy, "" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(calcTokens(QString::fromUtf8(c.text), c.onOff), QString::fromUtf8(c.tokens))
            << c.text;
}

TEST(CalcTokens, OverlongLiteralIsNotANumber)
{
    // A value beyond the range of doubles is no number of the language.
    const QString huge = QStringLiteral("1") + QString(400, QLatin1Char('0'));
    EXPECT_EQ(calcTokens(huge + QStringLiteral("+x"), onOffXY()),
        QStringLiteral("invalid:") + huge + QStringLiteral("+x@1"));
}

TEST(CalcTokens, PrintBackKeepsTheBlanks)
{
    TCalcSymbolList symbols;
    symbols.applyOnOff(onOffXY());
    TSetCalcTokenProc proc;
    proc.setSymbolList(&symbols);
    TMyTokenList list(proc);
    TStringReader reader(QStringLiteral("  SIN  x +  2"));
    list.readFrom(reader);
    EXPECT_EQ(list.text(), QStringLiteral("sin  x +  2"));
    EXPECT_EQ(list.at(0)->textWithSpaces(), QStringLiteral("sin  "));
}
