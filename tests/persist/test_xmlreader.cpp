#include "core/exceptions.h"
#include "persist/digest.h"
#include "persist/xmlreader.h"
#include "persist/xmltext.h"

#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

using namespace zarno;

namespace {

// A file image: byte-order mark, then the text as UTF-16LE.
QByteArray fileBytes(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.resize(2 + 2 * text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 + 2 * i);
    return bytes;
}

TXmlNode &child(TXmlNode &node, const QString &name)
{
    TXmlNode *c = node.childrenNamed(name).value(0);
    if (!c)
        throw std::runtime_error("no child " + name.toStdString());
    return *c;
}

TEST(TagReader, ValuesAreReadInPlaceAndWhatIsHandedOutIsOwned)
{
    QByteArray bytes = fileBytes(QStringLiteral("<a>\r\n\t<b>三角形 ABC</b><c>x&lt;y</c>\r\n</a>"));
    QString b, c, name;
    {
        TXmlFileReader reader(QStringLiteral("v.znt"));
        TXmlNode &a = child(reader.plainLoadBytes(bytes), QStringLiteral("a"));
        const TXmlNode &bNode = child(a, QStringLiteral("b"));
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            // No decoded copy of the file: the value's characters are the file's bytes.
            EXPECT_EQ(reinterpret_cast<const char *>(bNode.valueView().data()),
                bytes.constData() + bNode.valueByteOffset());
        }
        name = bNode.tagName();
        b = a.readString(QStringLiteral("b"));
        c = a.readString(QStringLiteral("c"));
    }
    // The reader is gone and its bytes are overwritten: the texts read before stay.
    bytes.fill('x');
    EXPECT_EQ(name, QStringLiteral("b"));
    EXPECT_EQ(b, QStringLiteral("三角形 ABC"));
    EXPECT_EQ(c, QStringLiteral("x<y"));
}

TEST(TagReader, BuffersTheTreeDoesNotOwnAreCopied)
{
    const QString text = QStringLiteral("<a><b>1.5</b><c>x&amp;y</c></a>");
    const QByteArray image = fileBytes(text);

    // Over a raw buffer that changes after the parse.
    std::vector<char> buffer(image.begin(), image.end());
    TXmlFileReader reader(QStringLiteral("raw.znt"));
    TXmlNode &root
        = reader.plainLoadBytes(QByteArray::fromRawData(buffer.data(), qsizetype(buffer.size())));
    std::vector<char16_t> chars;
    for (QChar ch : text)
        chars.push_back(ch.unicode());
    auto tree = TXmlFileReader::parse(QString::fromRawData(
        reinterpret_cast<const QChar *>(chars.data()), qsizetype(chars.size())));
    std::memset(buffer.data(), 0, buffer.size());
    std::fill(chars.begin(), chars.end(), u'z');
    for (TXmlNode *r : { &root, static_cast<TXmlNode *>(tree.get()) }) {
        TAbstractXmlNode &a = r->getThisTagNode(QStringLiteral("a"));
        EXPECT_EQ(a.readDouble(QStringLiteral("b")), 1.5);
        EXPECT_EQ(a.readString(QStringLiteral("c")), QStringLiteral("x&y"));
    }

    // A file image that starts at an odd address cannot be read in place;
    // it is decoded instead (the sanitizers see any misaligned read).
    QByteArray odd = QByteArray(1, '.') + image;
    odd.remove(0, 1);
    ASSERT_EQ(reinterpret_cast<quintptr>(odd.constData()) % 2, 1u)
        << "the buffer is not at an odd address";
    TXmlFileReader oddReader(QStringLiteral("odd.znt"));
    TAbstractXmlNode &a = oddReader.plainLoadBytes(odd).getThisTagNode(QStringLiteral("a"));
    EXPECT_EQ(a.readString(QStringLiteral("c")), QStringLiteral("x&y"));
}

TEST(TagReader, ContinuedAndEscapedValues)
{
    struct Case
    {
        const char16_t *text;
        const char16_t *value;
    } cases[] = {
        { u"<a>x&+\r\ny</a>", u"xy" },
        { u"<a>x&+\r\n\t\ty</a>",
            u"xy" }, // indentation between the pieces is not part of the value
        { u"<a>x&+</a>", u"x" }, // nothing follows: the mark still goes
        { u"<a>x&+\r\n</a>", u"x" },
        { u"<a>&nu&+\r\nll</a>", u"" }, // escapes are undone after joining
        { u"<a>a&am&+\r\np;b</a>", u"a&b" },
        { u"<a>x&&+\r\n+\r\ny</a>", u"xy" }, // the joined text ends in the mark again
        { u"<a>x\r\ny</a>", u"y" }, // without the mark a later piece replaces the value
        { u"<a>&null</a>", u"" },
        { u"<a>&amp;null</a>", u"&null" },
        { u"<a> spaced  value </a>", u" spaced  value " },
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        auto root = TXmlFileReader::parse(text);
        EXPECT_EQ(root->readString(QStringLiteral("a")), QString::fromUtf16(c.value))
            << text.toStdString();
    }
    // A continuation into a control character is no value.
    try {
        TXmlFileReader::parse(QStringLiteral("<a>x&+\r\n\x01</a>"));
        FAIL() << "parsed";
    } catch (const EFileFormatError &e) {
        EXPECT_EQ(e.message(),
            QStringLiteral("開始タグがありません。(2行1文字目,ファイル先頭から0012bytes目)"));
    }
}

TEST(TagReader, PositionsAreRightInAnyOrderTheyAreAskedFor)
{
    auto root = TXmlFileReader::parse(
        QStringLiteral("<top>\r\n\t<a>1</a>\r\n\t<b>2</b><c>3</c>\r\n</top>"));
    TXmlNode &top = child(*root, QStringLiteral("top"));
    EXPECT_EQ(child(top, QStringLiteral("c")).positionText(),
        QStringLiteral("3行10文字目,ファイル先頭から0038bytes目"));
    EXPECT_EQ(child(top, QStringLiteral("a")).positionText(),
        QStringLiteral("2行2文字目,ファイル先頭から0012bytes目"));
    EXPECT_EQ(child(top, QStringLiteral("b")).positionText(),
        QStringLiteral("3行2文字目,ファイル先頭から0028bytes目"));
    EXPECT_EQ(root->positionText(), QStringLiteral("1行1文字目,ファイル先頭から0000bytes目"));
    EXPECT_EQ(root->tagName(), QStringLiteral("root"));
}

// A sealed file whose field holds a tag with an invalid character.
QByteArray sealedFileWithBadField()
{
    const QString text = QStringLiteral("<fileInfo>\r\n\t<digest>") + TMyFigProp::placeholderText()
        + TMyFigProp::identifierText()
        + QStringLiteral("</digest>\r\n</fileInfo>\r\n<field>\r\n\t<c&d>1</c&d>\r\n</field>\r\n");
    QByteArray bytes = fileBytes(text);
    TMyFigProp::seal(bytes, 2 + 2 * (text.indexOf(QStringLiteral("<digest>")) + 8));
    return bytes;
}

TEST(TagReader, TheDigestIsCheckedOnTheHeaderAloneAndTheParseGoesOnFromThere)
{
    const QByteArray good = sealedFileWithBadField();
    try {
        TXmlFileReader(QStringLiteral("s.znt")).checkedLoadBytes(good);
        FAIL() << "loaded";
    } catch (const EFileFormatError &e) {
        EXPECT_EQ(e.message(),
            QStringLiteral("不正な文字があります。(5行4文字目,ファイル先頭から00CCbytes目)"));
    }
    // The same file changed after its header: the digest fails before the
    // rest of the file is looked at.
    QByteArray changed = good;
    changed[changed.size() - 6] = 'X';
    try {
        TXmlFileReader(QStringLiteral("s.znt")).checkedLoadBytes(changed);
        FAIL() << "loaded";
    } catch (const EFileFormatError &e) {
        EXPECT_EQ(e.message(), TXmlText::damagedFileMessage(QStringLiteral("s.znt")));
    }
}

} // namespace
