#include "core/appinfo.h"
#include "core/errorreport.h"
#include "core/exceptions.h"
#include "core/messagedialogs.h"
#include "core/safeformat.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace zarno;

TEST(SafeFormat, EscapedPercentIsLiteralAndNotCounted)
{
    EXPECT_EQ(
        safeFormat(QStringLiteral("100\\% of %d"), { fmtArg(5) }), QStringLiteral("100% of 5"));
}

TEST(SafeFormat, EscapeTokenAvoidsTextAlreadyInTheFormat)
{
    // "##1" already occurs, so the escape token must be "##2" and "##1" stays.
    EXPECT_EQ(safeFormat(QStringLiteral("##1 \\% %s"), { fmtArg("x") }), QStringLiteral("##1 % x"));
}

TEST(SafeFormat, CountMismatchIsReportedInTheText)
{
    const QString r = safeFormat(QStringLiteral("a %s b %s"), { fmtArg("x") });
    EXPECT_EQ(r,
        QStringLiteral("想定外エラー\r\n  \"a %s b "
                       "%s\"\r\nのフォーマット文字列のパラメータの個数が一致しません。"
                       "(nArgs=1, nMsgPercent=2)"));
}

TEST(SafeFormat, CountMismatchShowsTheEscapeToken)
{
    const QString r = safeFormat(QStringLiteral("\\% %d"), {});
    EXPECT_TRUE(r.contains(QStringLiteral("\"##1 %d\""))) << r.toStdString();
    EXPECT_TRUE(r.endsWith(QStringLiteral("(nArgs=0, nMsgPercent=1)")));
}

TEST(SafeFormat, TypeMismatchIsReportedInTheText)
{
    const QString r = safeFormat(QStringLiteral("n=%d"), { fmtArg("text") });
    EXPECT_EQ(r,
        QStringLiteral("想定外エラー\r\n  "
                       "\"n=%d\"\r\nのフォーマット文字列のパラメータのタイプが一致しません。"));
    EXPECT_TRUE(safeFormat(QStringLiteral("%s"), { fmtArg(3) }).contains(QStringLiteral("タイプ")));
    EXPECT_TRUE(safeFormat(QStringLiteral("%f"), { fmtArg(3) }).contains(QStringLiteral("タイプ")));
    EXPECT_TRUE(safeFormat(QStringLiteral("%q"), { fmtArg(3) }).contains(QStringLiteral("タイプ")));
}

TEST(SafeFormat, PlaceholderForms)
{
    struct Case
    {
        const char *format;
        FormatArgs args;
        const char *expected;
    } cases[] = {
        { "%s=%d", { fmtArg("a"), fmtArg(-3) }, "a=-3" },
        { "%0.4s%0.4s", { fmtArg("041104B0"), fmtArg("xyzzy") }, "0411xyzz" },
        { "[%5d][%-3s]", { fmtArg(42), fmtArg("x") }, "[   42][x  ]" },
        { "%.3f", { fmtArg(1.23456) }, "1.235" },
        { "%4x", { fmtArg(255) }, "  FF" },
        { "%.4x", { fmtArg(26) }, "001A" },
        { "%1:s %0:s", { fmtArg("a"), fmtArg("b") }, "b a" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(safeFormat(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected))
            << c.format;
}

TEST(Exceptions, MessagesAreBuiltAsSpecifiedForEachConstructor)
{
    const EMyException plain(QStringLiteral("TFoo"), QStringLiteral("詳細"), QStringLiteral("bar"));
    EXPECT_EQ(plain.message(), QStringLiteral("TFoo.barで以下のエラーが発生しました。\r\n詳細"));

    const EMyException formatted(
        QStringLiteral("TFoo"), { fmtArg(7) }, QStringLiteral("値%d"), QStringLiteral("bar"));
    EXPECT_EQ(formatted.message(), QStringLiteral("TFoo.barで以下のエラーが発生しました。\r\n値7"));

    const ESouteigai stub(QStringLiteral("TShape"), QStringLiteral("saveToFile"));
    EXPECT_EQ(stub.message(),
        QStringLiteral(
            "TShape."
            "saveToFileで作者の想定外のエラーが起こりました。\r\n（おそらくプログラムのバグです。）"
            "\r\n\r\n上記の関数はインプリメントされていません。"));

    const ESouteigai withDetail(QStringLiteral("TA"), QStringLiteral("d"), QStringLiteral("m"));
    EXPECT_TRUE(withDetail.message().endsWith(QStringLiteral("\r\n\r\nd")));
    EXPECT_EQ(withDetail.detail(), QStringLiteral("d"));

    const EMyFatalException fatal(QStringLiteral("TA"), QStringLiteral("d"), QStringLiteral("m"));
    EXPECT_EQ(fatal.message(), QStringLiteral("TA.mで以下のエラーが発生しました。\r\nd"));
    EXPECT_STREQ(plain.what(), plain.message().toUtf8().constData());
}

TEST(Exceptions, HierarchyLetsHandlersCatchByBase)
{
    try {
        throw ESouteigai(QStringLiteral("T"), QStringLiteral("m"));
    } catch (const EMyFatalException &e) {
        EXPECT_EQ(e.className(), QStringLiteral("ESouteigai"));
    }
    try {
        throw EInfix2TreeAnalyze(QStringLiteral("T"), QStringLiteral("d"), QStringLiteral("m"));
    } catch (const EMyException &e) {
        EXPECT_EQ(e.className(), QStringLiteral("EInfix2TreeAnalyze"));
    }
}

class ErrorReport : public ::testing::Test
{
protected:
    void SetUp() override { TAppInfo::setUp(); }
    void TearDown() override { TAppInfo::clear(); }
};

TEST_F(ErrorReport, FatalExceptionShowsItsOwnMessage)
{
    test::ScopedScriptedDialogs dialogs;
    const ESouteigai e(QStringLiteral("TX"), QStringLiteral("m"));
    reportUncaughtException(e);
    ASSERT_EQ(dialogs->shown.size(), 1);
    const auto &shown = dialogs->shown.first();
    EXPECT_EQ(shown.text,
        QStringLiteral("zarno") + TAppInfo::versionString() + QStringLiteral("の ") + e.message()
            + QStringLiteral("\r\n\r\nプログラムを強制終了します。"));
    EXPECT_EQ(shown.type, TMsgDlgType::mtError);
    EXPECT_EQ(shown.caption, QStringLiteral("zarno ") + TAppInfo::versionString());
}

TEST_F(ErrorReport, OtherExceptionsNameTheirClass)
{
    const EMyException mine(QStringLiteral("TX"), QStringLiteral("d"), QStringLiteral("m"));
    EXPECT_TRUE(uncaughtExceptionText(mine).contains(QStringLiteral(
        "の例外ハンドラで対応できていない以下の例外が発生しました。\r\n\r\nEMyException\r\nTX.m")));
    const std::out_of_range foreign("index 9");
    EXPECT_TRUE(
        uncaughtExceptionText(foreign).contains(QStringLiteral("std::out_of_range\r\nindex 9")));
}

TEST(AppInfo, VersionStringDropsTheLastComponent)
{
    EXPECT_EQ(
        TAppInfo::versionFromFileVersion(QStringLiteral("2.1.0.15")), QStringLiteral("2.1.0"));
    EXPECT_EQ(TAppInfo::versionFromFileVersion(QStringLiteral("1.2.3.4")), QStringLiteral("1.2.3"));
    EXPECT_EQ(TAppInfo::fileVersion().count(QLatin1Char('.')), 3);
}

TEST(SafeFormat, HugeWidthsAreRefusedNotAllocated)
{
    EXPECT_TRUE(safeFormat(QStringLiteral("%1073891724d"), { fmtArg(1) })
                    .contains(QStringLiteral("タイプ")));
    EXPECT_TRUE(safeFormat(QStringLiteral("%.1073891724f"), { fmtArg(1.0) })
                    .contains(QStringLiteral("タイプ")));
    EXPECT_EQ(safeFormat(QStringLiteral("%3d"), { fmtArg(7) }), QStringLiteral("  7"));
}

TEST(MessageDialogs, AMessageWithoutDialogsIsAFaultNeverDroppedSilently)
{
    ASSERT_EQ(TMessageDialogs::current(), nullptr);
    EXPECT_THROW(showAppMessage(QStringLiteral("m"), TMsgDlgType::mtError), ESouteigai);
    EXPECT_THROW(
        showCaptionedMessage(QStringLiteral("m"), QStringLiteral("c"), TMsgDlgType::mtError),
        ESouteigai);
    EXPECT_THROW(askAppMessage(QStringLiteral("m"), QStringLiteral("c"), mbYes | mbNo,
                     TMsgDlgType::mtConfirmation),
        ESouteigai);

    test::ScopedScriptedDialogs dialogs;
    showCaptionedMessage(
        QStringLiteral("書けません"), QStringLiteral("保存"), TMsgDlgType::mtError);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.first().caption, QStringLiteral("保存"));
}
