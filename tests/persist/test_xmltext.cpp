#include "core/exceptions.h"
#include "persist/filewriter.h"
#include "persist/xmlreader.h"
#include "persist/xmltext.h"
#include "persist/xmlwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

// The text of a written file without its byte-order mark.
QString textOf(const QByteArray &bytes)
{
    QString t;
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
        t += QChar(qFromLittleEndian<quint16>(bytes.constData() + i));
    return t;
}

QString parseError(const QString &text)
{
    try {
        TXmlFileReader::parse(text);
    } catch (const EFileFormatError &e) {
        return e.message();
    }
    return QStringLiteral("(parsed)");
}

TEST(TaggedText, EscapesRoundTrip)
{
    struct Case
    {
        QString value;
        QString written;
    } cases[] = {
        { QString(), QStringLiteral("<str>&null</str>") },
        { QStringLiteral("a<b&c"), QStringLiteral("<str>a&lt;b&amp;c</str>") },
        { QStringLiteral("&null"), QStringLiteral("<str>&amp;null</str>") },
        { QStringLiteral("x > y"), QStringLiteral("<str>x &gt; y</str>") },
        { QStringLiteral("二行\r\nと\tタブ"),
            QStringLiteral("<str>二行&#13;&#10;と&#9;タブ</str>") },
        { QStringLiteral("&#13;"), QStringLiteral("<str>&amp;#13;</str>") },
    };
    for (const Case &c : cases) {
        TXmlFileWriter w(QStringLiteral("unused"));
        w.writeHeader();
        w.writeString(QStringLiteral("str"), c.value);
        EXPECT_EQ(textOf(w.bytes()), c.written);
        auto root = TXmlFileReader::parse(textOf(w.bytes()));
        EXPECT_EQ(root->readString(QStringLiteral("str")), c.value) << c.written.toStdString();
    }
}

TEST(TaggedText, SyntaxErrorsWithPositions)
{
    struct Case
    {
        const char *text;
        const char *message;
    } cases[] = {
        { "<a>x</b>",
            "終了タグ(b)が開始タグ(a)と違っています。(1行5文字目,ファイル先頭から000Abytes目)" },
        { "<a>x<b>", "文字列の後の終了タグがありません。(1行5文字目,ファイル先頭から000Abytes目)" },
        { "text<a></a>", "開始タグがありません。(1行1文字目,ファイル先頭から0002bytes目)" },
        { "<a>\r\n\t<b>1</b>",
            "開始タグ(a)に対応する終了タグがありません。(1行1文字目,ファイル先頭から0002bytes目)" },
        { "<a>\r\n<b", "タグが終わっていません。(2行1文字目,ファイル先頭から000Cbytes目)" },
        { "<a&b>", "不正な文字があります。(1行3文字目,ファイル先頭から0006bytes目)" },
        { "<a>1</a>>", "開始タグがありません。(1行9文字目,ファイル先頭から0012bytes目)" },
        { "<a></a></a>", "開始タグがありません。" },
        { "<>", "タグが終わっていません。" },
        { "<a>x\x01y</a>", "不正な文字があります。" },
    };
    for (const Case &c : cases) {
        const QString m = parseError(QString::fromUtf8(c.text));
        EXPECT_TRUE(m.startsWith(QString::fromUtf8(c.message)))
            << c.text << " gave " << m.toStdString();
    }
    EXPECT_EQ(parseError(QStringLiteral("<a><b>1</b>\r\n</a>")), QStringLiteral("(parsed)"));
}

TEST(TaggedText, WriterLayoutAndValueForms)
{
    TFileWriter w(QStringLiteral("unused"));
    w.xml().writeHeader();
    w.openTag(QStringLiteral("figure"));
    w.writeFiguretype(TFiguretype::FIG_dotOnField);
    w.newLine();
    w.writeBool(QStringLiteral("fXfree"), true);
    w.writeDouble(QStringLiteral("x"), 1.5);
    w.writeDouble(QStringLiteral("y"), -1e-7);
    w.writeDouble(QStringLiteral("z"), 0.1 + 0.2);
    w.newLine();
    w.writeColor(QStringLiteral("penColor"), 0x0000FF);
    w.writeColor(QStringLiteral("brushColor"), 0x123456);
    w.writeModelPoint(QStringLiteral("centerXy"), { 0, -2.25 });
    w.newLine();
    w.closeTag(QStringLiteral("figure"));
    EXPECT_EQ(textOf(w.xml().bytes()),
        QStringLiteral("<figure>\r\n"
                       "\t<figuretype>FIG_dotOnField</figuretype>\r\n"
                       "\t<fXfree>true</fXfree><x>1.5</x><y>-1E-7</y><z>0.3</z>\r\n"
                       "\t<penColor>clRed</penColor><brushColor>$00123456</"
                       "brushColor><centerXy>0,-2.25</centerXy>\r\n"
                       "</figure>\r\n"));
}

TEST(TaggedText, EveryWrittenLineFitsTheReaderAndLongValuesComeBack)
{
    // Escapes everywhere so that cuts fall next to them.
    QString longValue;
    for (int i = 0; i < 700; ++i)
        longValue += QStringLiteral("a<&\t%1式").arg(i);
    TXmlFileWriter w(QStringLiteral("unused"));
    w.writeHeader();
    w.openTag(QStringLiteral("top"));
    for (int i = 0; i < 40; ++i)
        w.writeInteger(QStringLiteral("n%1").arg(i), 1000000 + i); // many values on one line
    w.writeString(QStringLiteral("long"), longValue);
    w.writeString(QStringLiteral("after"), QStringLiteral("tail"));
    w.newLine();
    w.closeTag(QStringLiteral("top"));
    const QString text = textOf(w.bytes());
    for (const QString &line : text.split(QStringLiteral("\r\n")))
        EXPECT_LE(line.size(), TXmlText::kMaxLineLength);
    auto root = TXmlFileReader::parse(text);
    TAbstractXmlNode &top = root->getThisTagNode(QStringLiteral("top"));
    EXPECT_EQ(top.readString(QStringLiteral("long")), longValue);
    EXPECT_EQ(top.readInteger(QStringLiteral("n39")), 1000039);
    EXPECT_EQ(top.readString(QStringLiteral("after")), QStringLiteral("tail"));
}

TEST(TaggedText, ValuesOfEveryLengthAroundTheLineLimitComeBackExactly)
{
    // The last piece of a long value may fit its line only without the end
    // tag; whatever the tag's length, nothing of the mark may stay behind.
    for (const QString &tag : { QStringLiteral("guidanceName"), QStringLiteral("a") }) {
        for (const QString &tail : { QString(), QStringLiteral("&") }) {
            for (int n = 900; n <= 1100; ++n) {
                const QString value = QString(n - tail.size(), QLatin1Char('x')) + tail;
                TXmlFileWriter w(QStringLiteral("unused"));
                w.writeHeader();
                w.openTag(QStringLiteral("figure"));
                w.writeString(tag, value);
                w.newLine();
                w.closeTag(QStringLiteral("figure"));
                const QString text = textOf(w.bytes());
                for (const QString &line : text.split(QStringLiteral("\r\n")))
                    ASSERT_LE(line.size(), TXmlText::kMaxLineLength) << n;
                // Builds that kept a mark before the end tag read these files too.
                ASSERT_FALSE(text.contains(QStringLiteral("&+\r\n</"))) << n;
                auto root = TXmlFileReader::parse(text);
                const QString read = root->getThisTagNode(QStringLiteral("figure")).readString(tag);
                ASSERT_TRUE(read == value)
                    << tag.toStdString() << " with " << n << " characters ends in \""
                    << read.right(6).toStdString() << '"';
            }
        }
    }
}

TEST(TaggedText, AValueThatExactlyFillsItsLineIsNotSplit)
{
    // One tab, "<a>", the value and "</a>": 8 characters besides the value.
    const auto written = [](int n) {
        TXmlFileWriter w(QStringLiteral("unused"));
        w.writeHeader();
        w.openTag(QStringLiteral("figure"));
        w.writeString(QStringLiteral("a"), QString(n, QLatin1Char('x')));
        w.newLine();
        w.closeTag(QStringLiteral("figure"));
        return textOf(w.bytes());
    };
    const int fits = TXmlText::kMaxLineLength - 8;
    EXPECT_EQ(written(fits),
        QStringLiteral("<figure>\r\n\t<a>") + QString(fits, QLatin1Char('x'))
            + QStringLiteral("</a>\r\n</figure>\r\n"));
    // One more and the value goes on over a second line.
    const QString over = written(fits + 1);
    EXPECT_TRUE(over.contains(QStringLiteral("&+\r\n"))) << over.size();
    for (const QString &line : over.split(QStringLiteral("\r\n")))
        EXPECT_LE(line.size(), TXmlText::kMaxLineLength);
    // And an element that fits exactly after others stays on their line.
    TXmlFileWriter w(QStringLiteral("unused"));
    w.writeHeader();
    w.openTag(QStringLiteral("figure"));
    w.writeString(QStringLiteral("b"), QStringLiteral("1")); // 8 characters after the tab
    w.writeString(QStringLiteral("a"), QString(fits - 8, QLatin1Char('x')));
    w.newLine();
    w.closeTag(QStringLiteral("figure"));
    EXPECT_EQ(textOf(w.bytes()),
        QStringLiteral("<figure>\r\n\t<b>1</b><a>") + QString(fits - 8, QLatin1Char('x'))
            + QStringLiteral("</a>\r\n</figure>\r\n"));
}

TEST(TaggedText, TypedReadsAndTheirErrors)
{
    auto root = TXmlFileReader::parse(QStringLiteral(
        "<v><b>True</b><i>12x</i><d>1.5E-3</d><c>clNavy</c><c2>$00ABCDEF</c2><p>1.5,-2</p>"
        "<p2>,3</p2><p3>1,x</p3><e>voMaybe</e><ok>false</ok></v>"));
    TAbstractXmlNode &v = root->getThisTagNode(QStringLiteral("v"));
    auto message = [](const std::function<void()> &f) -> QString {
        try {
            f();
        } catch (const EZarnoBase &e) {
            return e.className() + QLatin1Char(':') + e.message();
        }
        return QStringLiteral("(ok)");
    };
    EXPECT_EQ(message([&] { v.readBool(QStringLiteral("b")); }),
        QStringLiteral("EFileFormatError:boolに変換できない文字列(True:1行4文字目,"
                       "ファイル先頭から0008bytes目)です。"));
    EXPECT_TRUE(message([&] {
        v.readInteger(QStringLiteral("i"));
    }).startsWith(QStringLiteral("EFileFormatError:integerに変換できない文字列(12x:")));
    EXPECT_DOUBLE_EQ(v.readDouble(QStringLiteral("d")), 1.5e-3);
    EXPECT_EQ(v.readColor(QStringLiteral("c")), 0x800000u);
    EXPECT_EQ(v.readColor(QStringLiteral("c2")), 0xABCDEFu);
    EXPECT_EQ(v.readModelPoint(QStringLiteral("p")), (TModelPoint { 1.5, -2 }));
    EXPECT_TRUE(message([&] {
        v.readModelPoint(QStringLiteral("p2"));
    }).endsWith(QStringLiteral("数値の区切り文字(,)がありません。")));
    EXPECT_TRUE(message([&] {
        v.readModelPoint(QStringLiteral("p3"));
    }).startsWith(QStringLiteral("EFileFormatError:modelPointに変換できない文字列(1,x:")));
    EXPECT_TRUE(message([&] {
        v.readEnum<TViewOnOff>(QStringLiteral("e"));
    }).endsWith(QStringLiteral("列挙型(T)には, voMaybe はありません。")));
    EXPECT_TRUE(message([&] {
        v.readString(QStringLiteral("d"));
    }).endsWith(QStringLiteral("タグ<d>は既にサブクラスで読み込み済です。")));
    EXPECT_TRUE(message([&] {
        v.readString(QStringLiteral("none"));
    }).endsWith(QStringLiteral("必要なタグ名(none)がファイルに存在しません。")));
    EXPECT_EQ(v.readIntegerOr(QStringLiteral("none"), 100), 100);
    EXPECT_EQ(message([&] {
        v.checkAllRead(QStringLiteral("TShapeDot"), QStringLiteral("loadInfo"));
    }).toStdString(),
        std::string("ESouteigai:TShapeDot."
                    "loadInfoで作者の想定外のエラーが起こりました。\r\n（おそらくプログラムのバグで"
                    "す。）\r\n\r\n"
                    "タグ<ok>(1行119文字目,ファイル先頭から00EEbytes目)がファイルに存在しますが, "
                    "読み込まれませんでした。"));
    EXPECT_FALSE(v.readBoolOr(QStringLiteral("ok"), true));
    EXPECT_EQ(
        message([&] { v.checkAllRead(QStringLiteral("TShapeDot"), QStringLiteral("loadInfo")); }),
        QStringLiteral("(ok)"));
}

TEST(SafeReplace, ReplacesTheFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("doc.znt"));
    TXmlFileWriter::saveSafely(target, QByteArray("old"));
    TXmlFileWriter::saveSafely(target, QByteArray("new content"));
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("new content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("doc.znt") });
}

TEST(SafeReplace, AFailedSaveReportsAndKeepsWhatWasThere)
{
    QTemporaryDir dir;
    // The target is a folder with a file in it: nothing may replace it.
    const QString target = dir.filePath(QStringLiteral("taken.znt"));
    ASSERT_TRUE(QDir().mkdir(target));
    QFile inside(target + QStringLiteral("/keep"));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write("kept");
    inside.close();
    try {
        TXmlFileWriter::saveSafely(target, QByteArray("x"));
        FAIL() << "no error";
    } catch (const EXmlFileWriteError &e) {
        EXPECT_EQ(e.message(),
            QStringLiteral("ファイル(") + target
                + QStringLiteral(
                    ")へ\r\nアクセスできません。\r\nファイルは保存できませんでした。"));
        EXPECT_EQ(e.caption(), QStringLiteral("zarnoファイルを保存"));
    }
    EXPECT_TRUE(QFile::exists(target + QStringLiteral("/keep")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList {}); // no temporary file left

    // A folder that does not exist.
    EXPECT_THROW(TXmlFileWriter::saveSafely(
                     dir.filePath(QStringLiteral("no/such/doc.znt")), QByteArray("x")),
        EXmlFileWriteError);
}

} // namespace
