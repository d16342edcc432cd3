// What a desktop learns from the installed files: that ".znt" documents are
// zarno's, and how to hand one to the program.
#include "model/field.h"
#include "persist/zarnofile.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

QString resource(const char *name)
{
    return QStringLiteral(ZARNO_RESOURCES_DIR "/") + QString::fromUtf8(name);
}

TEST(DesktopFiles, TheEntryOpensTheFileItIsGiven)
{
    QFile entry(resource("zarno.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=zarno %f")));
    EXPECT_TRUE(lines.contains(QStringLiteral("MimeType=application/x-zarno;")));
}

TEST(DesktopFiles, DocumentsAreKnownByNameAndByContent)
{
    // A MIME database holding only our package, as `cmake --install` lays it
    // out; nothing in this process has asked for MIME types before.
    QTemporaryDir root;
    const QString packages = root.filePath(QStringLiteral("share/mime/packages"));
    ASSERT_TRUE(QDir().mkpath(packages));
    ASSERT_TRUE(QFile::copy(resource("zarno-mime.xml"), packages + QStringLiteral("/zarno.xml")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root.filePath(QStringLiteral("share"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(QStringLiteral("nothing"))));

    QMimeDatabase db;
    EXPECT_EQ(db.mimeTypeForFile(QStringLiteral("授業 1.znt"), QMimeDatabase::MatchExtension)
                  .name()
                  .toStdString(),
        "application/x-zarno");
    EXPECT_NE(db.mimeTypeForFile(QStringLiteral("a.ZNT"), QMimeDatabase::MatchExtension).name(),
        QStringLiteral("application/x-zarno"));
    // A saved document that lost its extension is still recognised.
    const QString path = root.filePath(QStringLiteral("lesson"));
    TZarnofile document(std::make_unique<TField>());
    TDocumentWriter::write(document, path);
    EXPECT_EQ(db.mimeTypeForFile(path, QMimeDatabase::MatchContent).name().toStdString(),
        "application/x-zarno");
}

} // namespace
