// Label strings: the typeset text of the four number modes, the values and
// texts of multiples, the backup slots, and saving and loading.
#include "core/exceptions.h"
#include "support/memory_document.h"
#include "typeset/typeset_support.h"
#include "typeset/writingstr.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace zarno;
using zarno::test::MemoryNode;
using zarno::test::MemoryWriter;
using M = TNumberMode;

TEST(WritingCalcStr, TypesetTextOfEachMode)
{
    struct Case
    {
        M mode;
        const char *n, *d, *r;
        const char16_t *tex;
    };
    const Case cases[] = {
        { M::nmRational, "3", "4", "", u"\\frac{3}{4}" },
        { M::nmRational, "5", "1", "", u"5" },
        { M::nmRationalPi, "3", "4", "", u"\\frac{3}{4} \\pi" },
        { M::nmRationalPi, "1", "4", "", u"\\frac{\\pi}{4}" },
        { M::nmRationalPi, "2", "1", "", u"2\\pi" },
        { M::nmRationalPi, "1", "1", "", u"\\pi" },
        { M::nmReal, "", "", "2.5", u"2.5" },
        { M::nmDegree, "", "", "30", u"{30}^\\circ" },
        { M::nmDegree, "", "", "-45", u"{- 45 }^\\circ" },
        // Not a formula: the typeset text alone, which shows the error.
        { M::nmDegree, "", "", "30)", u"\\?30)" },
    };
    for (const Case &c : cases) {
        TWritingCalcStr w;
        switch (c.mode) {
        case M::nmRational:
            w.setRationalNumber(QString::fromLatin1(c.n), QString::fromLatin1(c.d));
            break;
        case M::nmRationalPi:
            w.setRationalNumberPi(QString::fromLatin1(c.n), QString::fromLatin1(c.d));
            break;
        case M::nmReal: w.setRealNumber(QString::fromLatin1(c.r)); break;
        case M::nmDegree: w.setDegreeNumber(QString::fromLatin1(c.r)); break;
        }
        EXPECT_EQ(w.numberMode(), c.mode);
        EXPECT_EQ(w.texStr(), QString::fromUtf16(c.tex)) << c.n << "/" << c.d << " " << c.r;
    }
}

TEST(WritingCalcStr, ValuesAndTextsOfMultiples)
{
    TWritingCalcStr w;
    w.setRationalNumber(QStringLiteral("3"), QStringLiteral("4"));
    EXPECT_DOUBLE_EQ(w.value(2), 1.5);
    EXPECT_EQ(w.valueTeXStr(-2), QStringLiteral("-\\frac{3}{2}"));
    EXPECT_EQ(w.valueTeXStr(0), QStringLiteral("0"));
    EXPECT_EQ(w.valueTeXStr(4), QStringLiteral("3"));
    EXPECT_EQ(w.valueTeXStr(1), QStringLiteral("\\frac{3}{4}"));

    w.setRationalNumberPi(QStringLiteral("1"), QStringLiteral("6"));
    EXPECT_DOUBLE_EQ(w.value(3), std::numbers::pi / 2);
    EXPECT_EQ(w.valueTeXStr(3), QStringLiteral("\\frac{\\pi}{2}"));
    EXPECT_EQ(w.valueTeXStr(6), QStringLiteral("\\pi"));
    EXPECT_EQ(w.valueTeXStr(-12), QStringLiteral("-2\\pi"));
    EXPECT_EQ(w.valueTeXStr(5), QStringLiteral("\\frac{5}{6} \\pi"));

    // A numerator near the 32-bit limit times a multiple is no overflow.
    w.setRationalNumber(QStringLiteral("2147483647"), QStringLiteral("1"));
    EXPECT_EQ(w.valueTeXStr(-3), QStringLiteral("-6442450941"));

    w.setRealNumber(QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(w.value(-3), -1.5);
    EXPECT_EQ(w.valueTeXStr(-3), QStringLiteral("-1.5"));

    w.setDegreeNumber(QStringLiteral("30"));
    EXPECT_DOUBLE_EQ(w.value(3), std::numbers::pi / 2);
    EXPECT_EQ(w.valueTeXStr(3), QStringLiteral("{90}^\\circ"));

    // What the number dialog shows while a formula is typed: no value, and
    // the label's own text, never an exception on the drawing path.
    w.setRealNumber(QStringLiteral("pi/4"));
    EXPECT_TRUE(std::isnan(w.value(1)));
    EXPECT_EQ(w.valueTeXStr(2), QStringLiteral("pi/4"));
}

TEST(WritingStr, BackupSlotsRestoreAndTellChanges)
{
    TWritingCalcStr calc;
    calc.setRationalNumber(QStringLiteral("1"), QStringLiteral("2"));
    calc.store(1);
    EXPECT_FALSE(calc.differsFrom(1));
    calc.setDegreeNumber(QStringLiteral("60"));
    EXPECT_TRUE(calc.differsFrom(1));
    calc.restore(1);
    EXPECT_EQ(calc.numberMode(), M::nmRational);
    EXPECT_EQ(calc.denominatorStr(), QStringLiteral("2"));
    EXPECT_THROW(calc.store(3), ESouteigai);

    TWritingTeXStr tex;
    EXPECT_EQ(tex.texStr(), QStringLiteral("x"));
    tex.store(0);
    tex.setStr(QStringLiteral("\\alpha"));
    EXPECT_TRUE(tex.differsFrom(0));
    tex.restore(0);
    EXPECT_EQ(tex.texStr(), QStringLiteral("x"));
    EXPECT_EQ(tex.kind(), 1);
    EXPECT_EQ(calc.kind(), 0);

    // What a kind of label does not have.
    try {
        tex.setRealNumber(QStringLiteral("1"));
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), QStringLiteral("setRealNumber"));
    }
    EXPECT_THROW(calc.setStr(QStringLiteral("x")), ESouteigai);
}

TEST(WritingStr, SaveAndLoad)
{
    TWritingCalcStr calc;
    calc.setRationalNumberPi(QStringLiteral("-3"), QStringLiteral("4"));
    MemoryWriter w;
    w.openTag(QStringLiteral("label"));
    calc.save(w);
    w.closeTag(QStringLiteral("label"));
    EXPECT_EQ(w.lines(),
        QStringList(
            { QStringLiteral("<label>"), QStringLiteral("\t<numberMode>nmRationalPi</numberMode>"),
                QStringLiteral("\t<numerator>-3</numerator><denominator>4</denominator>"),
                QStringLiteral("</label>") }));
    TWritingCalcStr loaded;
    loaded.setRealNumber(QStringLiteral("7"));
    loaded.load(*w.root().findChild(QStringLiteral("label")));
    EXPECT_EQ(loaded.texStr(), calc.texStr());
    EXPECT_EQ(loaded.realStr(), QStringLiteral("1"));

    TWritingCalcStr degrees;
    degrees.setDegreeNumber(QStringLiteral("22.5"));
    MemoryWriter wd;
    degrees.save(wd);
    TWritingCalcStr back;
    back.load(wd.root());
    EXPECT_EQ(back.numberMode(), M::nmDegree);
    EXPECT_EQ(back.realStr(), QStringLiteral("22.5"));
    EXPECT_EQ(back.numeratorStr(), QStringLiteral("1"));

    TWritingTeXStr tex;
    tex.setStr(QStringLiteral("\\frac{1}{2}"));
    MemoryWriter wt;
    tex.save(wt);
    EXPECT_EQ(wt.lines(), QStringList { QStringLiteral("<str>\\frac{1}{2}</str>") });
    TWritingTeXStr texBack;
    texBack.load(wt.root());
    EXPECT_EQ(texBack.texStr(), QStringLiteral("\\frac{1}{2}"));
}

TEST(WritingStr, DamagedLabelsAreRefusedWhenRead)
{
    struct Case
    {
        const char *mode, *tag1, *value1, *tag2, *value2;
    };
    const Case cases[] = {
        { "nmRadians", "real", "1", nullptr, nullptr },
        { "nmRational", "numerator", "1.5", "denominator", "2" },
        { "nmRational", "numerator", "1", "denominator", "0" },
        { "nmRationalPi", "numerator", "1", "denominator", "-2" },
        { "nmReal", "real", "abc", nullptr, nullptr }, { "nmDegree", "real", "", nullptr, nullptr },
        { "nmReal", "numerator", "1", nullptr, nullptr }, // its own tag missing
    };
    for (const Case &c : cases) {
        MemoryNode node(QStringLiteral("label"));
        node.addChild(QStringLiteral("numberMode"), QString::fromLatin1(c.mode), true);
        node.addChild(QString::fromLatin1(c.tag1), QString::fromLatin1(c.value1), true);
        if (c.tag2)
            node.addChild(QString::fromLatin1(c.tag2), QString::fromLatin1(c.value2), true);
        TWritingCalcStr w;
        w.setRationalNumber(QStringLiteral("5"), QStringLiteral("7"));
        EXPECT_THROW(w.load(node), EZarnoBase) << c.mode << " " << c.value1;
        EXPECT_EQ(w.texStr(), QStringLiteral("\\frac{5}{7}")) << "a failed load keeps the label";
    }
    MemoryNode wrongMode(QStringLiteral("label"));
    wrongMode.addChild(QStringLiteral("numberMode"), QStringLiteral("nmRadians"), true);
    try {
        TWritingCalcStr().load(wrongMode);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("列挙型(T)には, nmRadians はありません。"));
    }
}
