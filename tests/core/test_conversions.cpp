#include "core/commonprocs.h"
#include "core/enums.h"
#include "core/exceptions.h"
#include "support/raised_message.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zarno;
using zarno::test::raisedMessage;

TEST(CommonProcs, Str2boolIsExactAndCaseSensitive)
{
    EXPECT_TRUE(TCommonProcs::str2bool(QStringLiteral("true")));
    EXPECT_FALSE(TCommonProcs::str2bool(QStringLiteral("false")));
    EXPECT_EQ(raisedMessage([] { TCommonProcs::str2bool(QStringLiteral("True")); }),
        QStringLiteral(
            "TCommonProcs.str2boolで以下のエラーが発生しました。\r\n論理値に変換できない文字列("
            "True)です。"));
}

TEST(CommonProcs, Str2dintLimits)
{
    EXPECT_EQ(TCommonProcs::str2dint(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(TCommonProcs::str2dint(QStringLiteral("-2147483648")), -2147483647 - 1);
    EXPECT_EQ(TCommonProcs::str2dint(QStringLiteral("+12")), 12);
    for (const char *bad :
        { "2147483648", "-2147483649", "", "-", "1.5", " 1", "1e3", "99999999999999999999" }) {
        const QString m = raisedMessage([&] { TCommonProcs::str2dint(QString::fromUtf8(bad)); });
        EXPECT_TRUE(m.contains(QStringLiteral("整数に変換できない文字列"))) << bad;
    }
    EXPECT_TRUE(TCommonProcs::isIntegerString(QStringLiteral("-7")));
    EXPECT_FALSE(TCommonProcs::isIntegerString(QStringLiteral("7x")));
}

TEST(CommonProcs, Str2double)
{
    EXPECT_DOUBLE_EQ(TCommonProcs::str2double(QStringLiteral("1.5e-3")), 1.5e-3);
    EXPECT_DOUBLE_EQ(TCommonProcs::str2double(QStringLiteral("-20")), -20.0);
    for (const char *bad : { "", "abc", "1,5", "nan", "inf", "1e999" })
        EXPECT_TRUE(raisedMessage([&] {
            TCommonProcs::str2double(QString::fromUtf8(bad));
        }).contains(QStringLiteral("実数に変換できない文字列")))
            << bad;
}

TEST(CommonProcs, GetAccelerator)
{
    EXPECT_EQ(TCommonProcs::getAccelerator(QStringLiteral("保存(&S)")), QStringLiteral("(&S)"));
    const QString m = raisedMessage([] { TCommonProcs::getAccelerator(QStringLiteral("保存")); });
    EXPECT_TRUE(m.contains(QStringLiteral("TCommonProcs.getAcceleratorで作者の想定外")));
    EXPECT_TRUE(
        m.endsWith(QStringLiteral("キャプション(保存)はアクセラレータキーをもっていません。")));
}

TEST(CommonProcs, StringHelpers)
{
    EXPECT_EQ(TCommonProcs::leftStr(QStringLiteral("abcdef"), 2), QStringLiteral("ab"));
    EXPECT_EQ(TCommonProcs::rightStr(QStringLiteral("abcdef"), 2), QStringLiteral("ef"));
    EXPECT_EQ(TCommonProcs::midStr(QStringLiteral("abcdef"), 3), QStringLiteral("cdef"));
    EXPECT_EQ(TCommonProcs::midStr(QString(2000, QLatin1Char('a')), 1).size(), 1000);
    EXPECT_EQ(TCommonProcs::repeatStr(QStringLiteral("ab"), 3), QStringLiteral("ababab"));
    EXPECT_EQ(TCommonProcs::firstPosOfAny(QStringLiteral("xc"), QStringLiteral("abcx")), 3);
    EXPECT_EQ(TCommonProcs::firstPosOfAny(QStringLiteral("z"), QStringLiteral("abc")), 0);
    EXPECT_EQ(TCommonProcs::lastPos(QStringLiteral("ab"), QStringLiteral("abxab")), 4);
    EXPECT_EQ(TCommonProcs::lastPos(QStringLiteral("q"), QStringLiteral("abxab")), 0);
    EXPECT_EQ(TCommonProcs::countOf(QStringLiteral("a,b,c"), QStringLiteral(",")), 2);
    EXPECT_EQ(TCommonProcs::countOf(
                  QString(1000, QLatin1Char('x')) + QStringLiteral(","), QStringLiteral(",")),
        0);
    EXPECT_TRUE(TCommonProcs::isAllSpaces(QString()));
    EXPECT_TRUE(TCommonProcs::isAllSpaces(QStringLiteral("   ")));
    EXPECT_FALSE(TCommonProcs::isAllSpaces(QStringLiteral(" a ")));
    EXPECT_EQ(TCommonProcs::gcd(12, 18), 6);
    EXPECT_EQ(TCommonProcs::gcd(7, 0), 7);
    const QRect r(QPoint(1, 2), QPoint(5, 6));
    EXPECT_TRUE(TCommonProcs::pointInRect(r, 1, 2));
    EXPECT_TRUE(TCommonProcs::pointInRect(r, 5, 6));
    EXPECT_FALSE(TCommonProcs::pointInRect(r, 6, 6));
}

TEST(CommonProcs, OneMatchedFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString a = dir.filePath(QStringLiteral("a.znt"));
    const QString b = dir.filePath(QStringLiteral("b.znt"));
    const QString upper = dir.filePath(QStringLiteral("c.ZNT"));
    const QString folder = dir.filePath(QStringLiteral("d.znt"));
    for (const QString &f : { a, b, upper }) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir().mkdir(folder));
    auto one = TCommonProcs::oneMatchedFile(QStringLiteral(".znt"), { a, upper, folder });
    EXPECT_EQ(one.state, TMatchedFileState::One);
    EXPECT_EQ(one.fileName, a);
    EXPECT_EQ(TCommonProcs::oneMatchedFile(QStringLiteral(".znt"), { a, b }).state,
        TMatchedFileState::Several);
    EXPECT_EQ(TCommonProcs::oneMatchedFile(QStringLiteral(".znt"), { upper, folder }).state,
        TMatchedFileState::None);
}

TEST(Enums, IdentifiersTagNamesAndShapeTypeStrings)
{
    EXPECT_EQ(TEnumConverter<TViewOnOff>::tagName(), QStringLiteral("viewOnOff"));
    EXPECT_EQ(TEnumConverter<TShapetype>::tagName(), QStringLiteral("shapetype"));
    EXPECT_EQ(TEnumConverter<T_Direction>::tagName(), QStringLiteral("_Direction"));
    EXPECT_EQ(
        TConverter::shapetypeString(TShapetype::SHAPE_arrowLine), QStringLiteral("arrowLine"));
    EXPECT_EQ(TConverter::shapetypeString(TShapetype::SHAPE_tracer), QStringLiteral("tracer"));
    EXPECT_EQ(
        TEnumConverter<TMyTokentype>::name(TMyTokentype::mt_invalid), QStringLiteral("mt_invalid"));
    EXPECT_EQ(enumCount<TMyTokentype>(), 24u);
    EXPECT_EQ(enumCount<TShapetype>(), 14u);
    EXPECT_EQ(
        TEnumConverter<TBrushStyle>::name(TBrushStyle::bsDiagCross), QStringLiteral("bsDiagCross"));
}

TEST(Enums, ToTRoundTripsAndRejectsUnknownText)
{
    for (std::size_t i = 0; i < enumCount<T_Direction>(); ++i) {
        const auto d = static_cast<T_Direction>(i);
        EXPECT_EQ(TEnumConverter<T_Direction>::to_T(TEnumConverter<T_Direction>::name(d)), d);
    }
    const QString m
        = raisedMessage([] { TEnumConverter<TViewOnOff>::to_T(QStringLiteral("voMaybe")); });
    EXPECT_TRUE(m.contains(QStringLiteral(".to_T<T>で作者の想定外"))) << m.toStdString();
    EXPECT_TRUE(m.endsWith(QStringLiteral("列挙型(T)には, voMaybe はありません。")));
}
