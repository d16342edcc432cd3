#include "app/logic/commandline.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zarno::test {
namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The program itself, as a teacher's script runs it: no display.
ProgramRun runZarno(const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZARNO_EXE), arguments);
    if (!p.waitForFinished(60000))
        return {};
    return { p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
        QString::fromLocal8Bit(p.readAllStandardError()) };
}

const QString kDocument = QStringLiteral(ZARNO_TEST_DATA "/every-kind-0.1.znt");

TEST(CommandLineExport, WritesEachFormatAtTheAskedSize)
{
    QTemporaryDir dir;
    const QString jpg = dir.filePath(QStringLiteral("figure.jpg"));
    ProgramRun r
        = runZarno({ QStringLiteral("--export"), kDocument, jpg, QStringLiteral("--width-mm"),
            QStringLiteral("100"), QStringLiteral("--text"), QStringLiteral("display") });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("100.00 ×"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("1181 ×"))) << r.out.toStdString();
    const QImage image(jpg);
    EXPECT_EQ(image.width(), 1181);
    EXPECT_NEAR(image.dotsPerMeterX(), 300 / 0.0254, 1);

    const QString emf = dir.filePath(QStringLiteral("figure.emf"));
    r = runZarno({ QStringLiteral("--export"), kDocument, emf, QStringLiteral("--unit-mm"),
        QStringLiteral("12") });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(emf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(44).mid(40, 4), QByteArray(" EMF"));
}

TEST(CommandLineExport, FailsWithItsReasonAndExitCode)
{
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("damaged.znt"));
    {
        QFile source(kDocument);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        bytes[bytes.size() / 2] = bytes[bytes.size() / 2] ^ 0x20;
        QFile out(damaged);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    const QString jpg = dir.filePath(QStringLiteral("x.jpg"));
    struct Case
    {
        QStringList arguments;
        int exitCode;
        QString says;
    };
    const Case cases[] = {
        { { QStringLiteral("--export"), damaged, jpg }, 1, QStringLiteral("damaged.znt") },
        { { QStringLiteral("--export"), dir.filePath(QStringLiteral("none.znt")), jpg }, 1,
            QStringLiteral("none.znt") },
        { { QStringLiteral("--export"), kDocument,
              dir.filePath(QStringLiteral("no/such/folder/x.jpg")) },
            1, QStringLiteral("画像ファイルを保存できませんでした。") },
        { { QStringLiteral("--export"), kDocument, jpg, QStringLiteral("--width-mm"),
              QStringLiteral("20") },
            2, QStringLiteral("正方形の1辺は30〜500mmでなければなりません。") },
        { { QStringLiteral("--export"), kDocument }, 2, QStringLiteral("使い方") },
    };
    for (const Case &c : cases) {
        const ProgramRun r = runZarno(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(jpg));
    }
}

TEST(CommandLineExport, ArgumentsAreReadStrictly)
{
    QString error;
    const auto ok = TExportRequest::parse(
        { QStringLiteral("zarno"), QStringLiteral("--export"), QStringLiteral("a.znt"),
            QStringLiteral("b.emf"), QStringLiteral("--unit-mm"), QStringLiteral("15"),
            QStringLiteral("--text"), QStringLiteral("resize") },
        error);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->input, QStringLiteral("a.znt"));
    EXPECT_EQ(ok->output, QStringLiteral("b.emf"));
    EXPECT_EQ(ok->unitMm, 15);
    EXPECT_EQ(ok->textResizes, true);
    const QStringList refused[] = {
        { QStringLiteral("zarno"), QStringLiteral("--export"), QStringLiteral("a.znt") },
        { QStringLiteral("zarno"), QStringLiteral("--export"), QStringLiteral("a"),
            QStringLiteral("b"), QStringLiteral("--width-mm"), QStringLiteral("x") },
        { QStringLiteral("zarno"), QStringLiteral("--export"), QStringLiteral("a"),
            QStringLiteral("b"), QStringLiteral("--width-mm"), QStringLiteral("50"),
            QStringLiteral("--unit-mm"), QStringLiteral("5") },
        { QStringLiteral("zarno"), QStringLiteral("--export"), QStringLiteral("a"),
            QStringLiteral("b"), QStringLiteral("--text"), QStringLiteral("big") },
        { QStringLiteral("zarno"), QStringLiteral("--export"), QStringLiteral("a"),
            QStringLiteral("b"), QStringLiteral("--dpi") },
    };
    for (const QStringList &args : refused) {
        error.clear();
        EXPECT_FALSE(TExportRequest::parse(args, error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
} // namespace zarno::test
