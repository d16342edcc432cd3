#include "core/exceptions.h"
#include "persist/inifile.h"
#include "support/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    ~SettingsTest() override
    {
        if (TXmlIniFile::isOpen())
            TXmlIniFile::close(this);
    }
    QByteArray readAll(const QString &path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    void reopen()
    {
        TXmlIniFile::close(this);
        TXmlIniFile::open(this, path);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("zarno"));
    test::ScopedScriptedDialogs dialogs;
    int otherOwner = 0;
};

TEST_F(SettingsTest, WithoutAFileEveryReadGivesItsDefaultAndACompleteFileIsWritten)
{
    TXmlIniFile::open(this, path);
    EXPECT_EQ(TXmlIniFile::fileName(), path + QStringLiteral(".zni"));
    EXPECT_FALSE(TXmlIniFile::settingsFileExisted());
    TIniHash &tutorial = TXmlIniFile::getMyRootHash(
        this, QStringLiteral("TfrmTutorial"), QStringLiteral("formTutorial"));
    EXPECT_TRUE(tutorial.readBool(QStringLiteral("view"), true));
    EXPECT_EQ(tutorial.readInteger(QStringLiteral("fontPt"), 14), 14);
    EXPECT_EQ(tutorial.readString(QStringLiteral("dir"), QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(tutorial.readWindowState(QStringLiteral("windowState"), TWindowState::wsMaximized),
        TWindowState::wsMaximized);
    TXmlIniFile::save();
    reopen();
    EXPECT_TRUE(TXmlIniFile::settingsFileExisted());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(SettingsTest, EveryKindOfValueAndNestedSectionsComeBackInTheirOrderWhateverTheCase)
{
    TXmlIniFile::open(this, path);
    TIniHash &loadSave
        = TXmlIniFile::getMyRootHash(this, QStringLiteral("TLoadSave"), QStringLiteral("loadSave"));
    loadSave.writeString(
        QStringLiteral("zarnofileCurrentDir"), QStringLiteral("/home/先生/図 <1> & 2"));
    loadSave.writeString(QStringLiteral("graphicfileCurrentDir"), QString());
    TIniHash &forms = TXmlIniFile::getMyRootHash(
        &otherOwner, QStringLiteral("TXmlIniFile"), QStringLiteral("formPositionAndSize"));
    TIniHash &main = forms.section(QStringLiteral("main"));
    main.writeWindowState(QStringLiteral("windowState"), TWindowState::wsMaximized);
    main.writeInteger(QStringLiteral("left"), -8, false);
    main.writeInteger(QStringLiteral("top"), 20, false);
    main.writeInteger(QStringLiteral("width"), 1600, false);
    main.writeInteger(QStringLiteral("height"), 900);
    forms.section(QStringLiteral("inputNumber"))
        .section(QStringLiteral("deeper"))
        .writeBool(QStringLiteral("flag"), false);
    TXmlIniFile::save();
    const QByteArray first = readAll(TXmlIniFile::fileName());
    // The four bounds share one line, as written.
    const QString text = QString::fromUtf16(
        reinterpret_cast<const char16_t *>(first.constData() + 2), (first.size() - 2) / 2);
    EXPECT_TRUE(text.contains(
        QStringLiteral("<left>-8</left><top>20</top><width>1600</width><height>900</height>\r\n")));

    reopen();
    TIniHash &again = TXmlIniFile::getMyRootHash(
        &otherOwner, QStringLiteral("TXmlIniFile"), QStringLiteral("FORMPOSITIONANDSIZE"));
    TIniHash &m = again.section(QStringLiteral("Main"));
    EXPECT_EQ(m.readWindowState(QStringLiteral("windowstate"), TWindowState::wsNormal),
        TWindowState::wsMaximized);
    EXPECT_EQ(m.readInteger(QStringLiteral("LEFT"), 0), -8);
    EXPECT_EQ(m.readInteger(QStringLiteral("height"), 0), 900);
    EXPECT_FALSE(again.section(QStringLiteral("inputNumber"))
                     .section(QStringLiteral("deeper"))
                     .readBool(QStringLiteral("flag"), true));
    TIniHash &ls
        = TXmlIniFile::getMyRootHash(this, QStringLiteral("TLoadSave"), QStringLiteral("loadSave"));
    EXPECT_EQ(ls.readString(QStringLiteral("zarnofileCurrentDir"), QString()),
        QStringLiteral("/home/先生/図 <1> & 2"));
    EXPECT_EQ(
        ls.readString(QStringLiteral("graphicfileCurrentDir"), QStringLiteral("x")), QString());
    // Nothing set again: the same file, except that values read back stand
    // on lines of their own.
    TXmlIniFile::save();
    const QByteArray second = readAll(TXmlIniFile::fileName());
    const QString text2 = QString::fromUtf16(
        reinterpret_cast<const char16_t *>(second.constData() + 2), (second.size() - 2) / 2);
    EXPECT_TRUE(text2.contains(QStringLiteral("<left>-8</left>\r\n")));
    EXPECT_LT(text2.indexOf(QStringLiteral("<loadSave>")),
        text2.indexOf(QStringLiteral("<formPositionAndSize>")));
    EXPECT_LT(
        text2.indexOf(QStringLiteral("<main>")), text2.indexOf(QStringLiteral("<inputNumber>")));
    EXPECT_LT(text2.indexOf(QStringLiteral("<zarnofileCurrentDir>")),
        text2.indexOf(QStringLiteral("<graphicfileCurrentDir>")));
    reopen();
    TXmlIniFile::save();
    EXPECT_EQ(readAll(TXmlIniFile::fileName()), second);
}

TEST_F(SettingsTest, BadValuesAreRefusedWithTheirConversionErrors)
{
    TXmlIniFile::open(this, path);
    TIniHash &s = TXmlIniFile::getMyRootHash(this, QStringLiteral("T"), QStringLiteral("s"));
    s.writeString(QStringLiteral("b"), QStringLiteral("True"));
    s.writeString(QStringLiteral("i"), QStringLiteral("12a"));
    s.writeString(QStringLiteral("w"), QStringLiteral("wsHidden"));
    EXPECT_THROW(s.readBool(QStringLiteral("b"), false), EMyException);
    EXPECT_THROW(s.readInteger(QStringLiteral("i"), 0), EMyException);
    try {
        s.readWindowState(QStringLiteral("w"), TWindowState::wsNormal);
        ADD_FAILURE() << "no error";
    } catch (const EFileFormatError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("列挙型(windowState)には, wsHidden はありません。"));
    }
}

TEST_F(SettingsTest, ADamagedFileIsReportedStartsWithDefaultsAndIsRewritten)
{
    TXmlIniFile::open(this, path);
    TXmlIniFile::getMyRootHash(this, QStringLiteral("T"), QStringLiteral("formTutorial"))
        .writeBool(QStringLiteral("view"), false);
    TXmlIniFile::save();
    const QString file = TXmlIniFile::fileName();
    QByteArray bytes = readAll(file);
    const qsizetype at = bytes.lastIndexOf(QByteArray("f\0a\0l\0s\0e", 9));
    ASSERT_GT(at, 0);
    bytes[at] = 'F';
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    reopen();
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.first().type, TMsgDlgType::mtError);
    EXPECT_EQ(dialogs->shown.first().text,
        QStringLiteral("設定ファイル(") + file
            + QStringLiteral(")が破損しています。\r\n設定を初期化してzarnoの実行を開始します。"));
    TIniHash &t
        = TXmlIniFile::getMyRootHash(this, QStringLiteral("T"), QStringLiteral("formTutorial"));
    EXPECT_TRUE(t.readBool(QStringLiteral("view"), true)); // the default
    TXmlIniFile::save();
    reopen();
    EXPECT_EQ(dialogs->shown.size(), 1); // sound again
}

TEST_F(SettingsTest, AFolderThatCannotBeWrittenIsReportedOnceAtTheEnd)
{
    // A file where the folder should be: nothing can be created inside it.
    QFile blocker(dir.filePath(QStringLiteral("nofolder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TXmlIniFile::open(this, dir.filePath(QStringLiteral("nofolder/zarno.zni")));
    TXmlIniFile::getMyRootHash(this, QStringLiteral("T"), QStringLiteral("s"))
        .writeInteger(QStringLiteral("n"), 1);
    TXmlIniFile::save();
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.first().type, TMsgDlgType::mtError);
    EXPECT_TRUE(dialogs->shown.first().text.contains(QStringLiteral("nofolder/zarno.zni")))
        << dialogs->shown.first().text.toStdString();
}

TEST_F(SettingsTest, OwnershipOfRootSectionsAndOfTheFile)
{
    EXPECT_THROW(TXmlIniFile::getMyRootHash(this, QStringLiteral("T"), QStringLiteral("s")),
        ESouteigai); // not open
    EXPECT_THROW(TXmlIniFile::open(this, QString()), ESouteigai);
    TXmlIniFile::open(this, path);
    EXPECT_THROW(TXmlIniFile::open(this, path), ESouteigai);
    TIniHash &a
        = TXmlIniFile::getMyRootHash(this, QStringLiteral("TLoadSave"), QStringLiteral("s"));
    EXPECT_EQ(
        &TXmlIniFile::getMyRootHash(this, QStringLiteral("TLoadSave"), QStringLiteral("s")), &a);
    EXPECT_EQ(a.parent(), nullptr);
    try {
        TXmlIniFile::getMyRootHash(&otherOwner, QStringLiteral("TfrmMain"), QStringLiteral("s"));
        ADD_FAILURE() << "shared";
    } catch (const ESouteigai &e) {
        EXPECT_TRUE(
            e.message().contains(QStringLiteral("TfrmMainがアクセスしようとしたiniFileのキー(s)"
                                                "は既にオブジェクト(TLoadSave)で使われています。")))
            << e.message().toStdString();
    }
    EXPECT_THROW(
        TXmlIniFile::getMyRootHash(nullptr, QStringLiteral("T"), QStringLiteral("n")), ESouteigai);
    EXPECT_THROW(TXmlIniFile::close(&otherOwner), ESouteigai);
    EXPECT_TRUE(TXmlIniFile::isOpen());
    TXmlIniFile::close(this);
    EXPECT_FALSE(TXmlIniFile::isOpen());
}

} // namespace
