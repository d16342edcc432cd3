#include "app/zarnoapplication.h"
#include "core/appinfo.h"
#include "core/exceptions.h"
#include "support/scripted_dialogs.h"

#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace zarno;

namespace {

// An object whose event handler fails the way a program fault would.
class Faulty : public QObject
{
public:
    explicit Faulty(std::function<void()> fault)
        : fFault(std::move(fault))
    { }
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            fFault();
        return QObject::event(e);
    }

private:
    std::function<void()> fFault;
};

int runWithFault(std::function<void()> fault)
{
    Faulty faulty(std::move(fault));
    QTimer::singleShot(
        0, &faulty, [&] { QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User)); });
    // A program that survived the fault would quit normally here.
    QTimer::singleShot(2000, qApp, [] { QCoreApplication::exit(0); });
    return QCoreApplication::exec();
}

TEST(ErrorHandler, AnUncaughtFatalExceptionShowsOneDialogAndEndsTheProgram)
{
    test::ScopedScriptedDialogs dialogs;
    const int rc = runWithFault(
        [] { throw ESouteigai(QStringLiteral("TFaulty"), QStringLiteral("event")); });
    EXPECT_EQ(rc, 1);
    ASSERT_EQ(dialogs->shown.size(), 1);
    const QString text = dialogs->shown.first().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("zarno") + TAppInfo::versionString()
        + QStringLiteral("の TFaulty.eventで作者の想定外のエラーが起こりました。")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n\r\nプログラムを強制終了します。")));
    EXPECT_EQ(dialogs->shown.first().type, TMsgDlgType::mtError);
}

TEST(ErrorHandler, AForeignExceptionIsReportedWithItsClassName)
{
    test::ScopedScriptedDialogs dialogs;
    const int rc = runWithFault([] { throw std::runtime_error("disk on fire"); });
    EXPECT_EQ(rc, 1);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_TRUE(dialogs->shown.first().text.contains(
        QStringLiteral("の例外ハンドラで対応できていない以下の例外が発生しました。\r\n\r\nstd::"
                       "runtime_error\r\ndisk on fire")));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TAppInfo::setUp();
    TZarnoApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
