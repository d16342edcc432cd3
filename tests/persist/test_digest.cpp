#include "core/exceptions.h"
#include "persist/digest.h"
#include "persist/xmlreader.h"
#include "persist/xmltext.h"
#include "persist/xmlwriter.h"
#include "support/sealed_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

// The published RIPEMD-160 constants: with them the engine must give the
// published digests, which shows the block, padding and two-line structure.
class StandardRipemd : public TFigProp
{
public:
    quint16 classIdentifier() const override { return 0; }

protected:
    Parameters parameters() const override
    {
        return Parameters { { 0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u },
            { 0x00000000u, 0x5A827999u, 0x6ED9EBA1u, 0x8F1BBCDCu, 0xA953FD4Eu },
            { 0x50A28BE6u, 0x5C4DD124u, 0x6D703EF3u, 0x7A6D76E9u, 0x00000000u },
            { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 7, 4, 13, 1, 10, 6, 15, 3, 12,
                0, 9, 5, 2, 14, 11, 8, 3, 10, 14, 4, 9, 15, 8, 1, 2, 7, 0, 6, 13, 11, 5, 12, 1, 9,
                11, 10, 0, 8, 12, 4, 13, 3, 7, 15, 14, 5, 6, 2, 4, 0, 5, 9, 7, 12, 2, 10, 14, 1, 3,
                8, 11, 6, 15, 13 },
            { 5, 14, 7, 0, 9, 2, 11, 4, 13, 6, 15, 8, 1, 10, 3, 12, 6, 11, 3, 7, 0, 13, 5, 10, 14,
                15, 8, 12, 4, 9, 1, 2, 15, 5, 1, 3, 7, 14, 6, 9, 11, 8, 12, 2, 10, 0, 4, 13, 8, 6,
                4, 1, 3, 11, 15, 0, 5, 12, 2, 13, 9, 7, 10, 14, 12, 15, 10, 4, 1, 5, 8, 7, 6, 2, 13,
                14, 0, 3, 9, 11 },
            { 11, 14, 15, 12, 5, 8, 7, 9, 11, 13, 14, 15, 6, 7, 9, 8, 7, 6, 8, 13, 11, 9, 7, 15, 7,
                12, 15, 9, 11, 7, 13, 12, 11, 13, 6, 7, 14, 9, 13, 15, 14, 8, 13, 6, 5, 12, 7, 5,
                11, 12, 14, 15, 14, 15, 9, 8, 9, 14, 5, 6, 8, 6, 5, 12, 9, 15, 5, 11, 6, 8, 13, 12,
                5, 12, 13, 14, 11, 8, 5, 6 },
            { 8, 9, 9, 11, 13, 15, 15, 5, 7, 7, 8, 11, 14, 14, 12, 6, 9, 13, 15, 7, 12, 8, 9, 11, 7,
                7, 12, 7, 6, 15, 13, 11, 9, 7, 15, 11, 8, 6, 6, 14, 12, 13, 5, 14, 13, 13, 7, 5, 15,
                5, 8, 11, 14, 14, 6, 14, 6, 9, 12, 9, 12, 5, 15, 8, 8, 5, 12, 9, 12, 5, 14, 6, 8,
                13, 6, 5, 15, 13, 11, 11 } };
    }
};

TEST(Digest, TheEngineGivesThePublishedDigestsWithThePublishedConstants)
{
    struct Case
    {
        QByteArray message;
        const char *digest;
    } cases[] = {
        { "", "9c1185a5c5e9fc54612808977ee8f548b2258d31" },
        { "abc", "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc" },
        { "message digest", "5d0689ef49d2fae572b881b123a85ffa21595f36" },
        { "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
            "12a053384a9c0c88e405a06c27dcf49ada62eb2b" },
        { QByteArray(1000000, 'a'), "52783243c1697bdbe16d37f97f68f08325dc1528" },
        // Around the block: 55 bytes still take their length in the same
        // block, 56 need a second one; 63, 64 and 65 end just before, on and
        // just after the boundary.
        { QByteArray(55, 'a'), "0d8a8c9063a48576a7c97e9f95253a6e53ff6765" },
        { QByteArray(56, 'a'), "e72334b46c83cc70bef979e15453706c95b888be" },
        { QByteArray(63, 'a'), "e640041293fe663b9bf3f8c21ffecac03819e6b2" },
        { QByteArray(64, 'a'), "9dfb7d374ad924f3f88de96291c33e9abed53e32" },
        { QByteArray(65, 'a'), "99724bb11811e7166af38f671b6a082d8ab4960b" },
    };
    StandardRipemd engine;
    for (const Case &c : cases)
        EXPECT_EQ(engine.digestOfBytes(c.message), QString::fromLatin1(c.digest))
            << c.message.size() << " bytes: " << c.message.left(20).constData();
}

TEST(Digest, OurDigestDiffersFromThePublishedOneAndIsStable)
{
    TMyFigProp ours;
    const QString a = ours.digestOfBytes("abc");
    EXPECT_NE(a, QStringLiteral("8eb208f7e05d987a9b044a8e98c6b087f15a0bfc"));
    EXPECT_EQ(a.size(), 40);
    EXPECT_EQ(ours.digestOfBytes("abc"), a);
    EXPECT_NE(ours.digestOfBytes("abd"), a);
    EXPECT_EQ(TMyFigProp::placeholderText().size(), 40);
    EXPECT_EQ(TMyFigProp::identifierText().size(), 4);
}

// A small sealed file: fileInfo with its digest, then some content.
QByteArray sealedFile(const QString &identifier = TMyFigProp::identifierText())
{
    TXmlFileWriter w(QStringLiteral("unused"));
    w.writeHeader();
    w.openTag(QStringLiteral("fileInfo"));
    w.writeString(QStringLiteral("encoding"), QStringLiteral("utf-16"));
    w.newLine();
    const qint64 at
        = w.writeString(QStringLiteral("digest"), TMyFigProp::placeholderText() + identifier).value;
    w.newLine();
    w.closeTag(QStringLiteral("fileInfo"));
    w.openTag(QStringLiteral("field"));
    w.writeString(QStringLiteral("note"), QStringLiteral("三角形の外接円"));
    w.newLine();
    w.closeTag(QStringLiteral("field"));
    QByteArray bytes = w.bytes();
    TMyFigProp::seal(bytes, at);
    return bytes;
}

TEST(Digest, ASealedFileLoadsAndAnySingleChangeIsRefused)
{
    const QByteArray good = sealedFile();
    TXmlFileReader reader(QStringLiteral("a.znt"));
    TXmlNode &root = reader.checkedLoadBytes(good);
    EXPECT_EQ(root.getThisTagNode(QStringLiteral("field")).readString(QStringLiteral("note")),
        QStringLiteral("三角形の外接円"));

    // The 40 hexadecimal digits may change: they are replaced by the placeholder.
    int refused = 0;
    const int changed
        = test::forEachSingleCharacterChange(good, u'x', u'y', [&](const QByteArray &bad) {
              try {
                  TXmlFileReader(QStringLiteral("a.znt")).checkedLoadBytes(bad);
              } catch (const EFileFormatError &) {
                  ++refused;
              }
          });
    EXPECT_GT(changed, 100);
    EXPECT_EQ(refused, changed);

    // A file whose digest region holds other digits still loads (they are not hashed).
    const qsizetype digestAt = test::digestDigitsAt(test::textAfterByteOrderMark(good));
    QByteArray retouched = good;
    qToLittleEndian<quint16>('0', retouched.data() + 2 + 2 * digestAt);
    EXPECT_THROW(
        TXmlFileReader(QStringLiteral("a.znt")).checkedLoadBytes(retouched), EFileFormatError);
}

TEST(Digest, LengthAndIdentifierMatter)
{
    const QByteArray a = sealedFile(QStringLiteral("2a5c"));
    const QByteArray b = sealedFile(QStringLiteral("2a5d"));
    const qsizetype digestAt = test::digestDigitsAt(test::textAfterByteOrderMark(a));
    EXPECT_NE(a.mid(2 + 2 * digestAt, 80), b.mid(2 + 2 * digestAt, 80)); // the identifier is hashed
    EXPECT_NO_THROW(TXmlFileReader(QStringLiteral("b.znt")).checkedLoadBytes(b));

    for (const QString &value : { TMyFigProp::placeholderText() + QStringLiteral("2a5"),
             TMyFigProp::placeholderText() + QStringLiteral("2a5c0") }) {
        TXmlFileWriter w(QStringLiteral("unused"));
        w.writeHeader();
        w.openTag(QStringLiteral("fileInfo"));
        const qint64 at = w.writeString(QStringLiteral("digest"), value).value;
        w.newLine();
        w.closeTag(QStringLiteral("fileInfo"));
        QByteArray bytes = w.bytes();
        TMyFigProp::seal(bytes, at);
        EXPECT_THROW(
            TXmlFileReader(QStringLiteral("c.znt")).checkedLoadBytes(bytes), EFileFormatError)
            << value.size();
    }
}

TEST(Digest, FilesWithoutAHeaderAreDamagedNotFatal)
{
    TXmlFileWriter w(QStringLiteral("unused"));
    w.writeHeader();
    w.openTag(QStringLiteral("field"));
    w.closeTag(QStringLiteral("field"));
    try {
        TXmlFileReader(QStringLiteral("x.znt")).checkedLoadBytes(w.bytes());
        FAIL();
    } catch (const EFileFormatError &e) {
        EXPECT_EQ(e.message(), TXmlText::damagedFileMessage(QStringLiteral("x.znt")));
    }
    EXPECT_THROW(TXmlFileReader(QStringLiteral("x.znt")).checkedLoadBytes(QByteArray("<a></a>")),
        EFileFormatError);
}

TEST(Digest, LimitsOfACheckedRead)
{
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.znt"));
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(TXmlText::kMaxFileSize + 2, 'a'));
    f.close();
    try {
        TXmlFileReader(big).checkedLoad();
        FAIL();
    } catch (const EFileFormatError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("ファイルサイズが大きすぎます。"));
    }

    // A line of 1001 characters in a file the program did not write.
    QString text = QStringLiteral("<a>") + QString(1001, QLatin1Char('x')) + QStringLiteral("</a>");
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        char pair[2];
        qToLittleEndian<quint16>(c.unicode(), pair);
        bytes.append(pair, 2);
    }
    try {
        TXmlFileReader(QStringLiteral("long.znt")).checkedLoadBytes(bytes);
        FAIL();
    } catch (const EFileFormatError &e) {
        EXPECT_EQ(e.message(),
            QStringLiteral("ファイル long.znt が\r\n破損しているため, 開くことができません。"));
    }
    EXPECT_NO_THROW(TXmlFileReader(QStringLiteral("long.znt")).plainLoadBytes(bytes));
}

} // namespace
