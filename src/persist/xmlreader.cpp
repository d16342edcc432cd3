#include "persist/xmlreader.h"

#include "core/commonprocs.h"
#include "core/exceptions.h"
#include "core/safeformat.h"
#include "persist/colornames.h"
#include "persist/digest.h"
#include "persist/xmltext.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>

namespace zarno {

namespace {

const QString kNodeClass = QStringLiteral("TXmlNode");

// Character indexes are kept in 32 bits and a tag name's length in 29: a
// longer text (a file of a gigabyte) is refused as too large.
constexpr qsizetype kMaxTextSize = (qsizetype(1) << 29) - 1;

bool isLineEnd(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool endsPiece(char16_t c)
{
    return c == u'<' || c == u'>' || isLineEnd(c) || c == u'\t';
}

// The control characters are a fixed set (the Unicode category Cc never
// changes), so they are tested directly instead of through the character
// tables for every character of a file.
bool isControl(char16_t c)
{
    return (c < 0x20 || (c >= 0x7F && c <= 0x9F)) && !isLineEnd(c) && c != u'\t';
}

// A document of 10,000 shapes has some 400,000 elements: every byte of a
// node counts.
static_assert(sizeof(TXmlNode) <= 48);

[[noreturn]] void raiseTooLarge()
{
    throw EFileFormatError(QStringLiteral("ファイルサイズが大きすぎます。"));
}

} // namespace

// ---------------------------------------------------------------------------
// Building a tree: one token at a time, straight into the arena.

class TXmlTreeBuilder
{
public:
    explicit TXmlTreeBuilder(TXmlTree &tree)
        : fTree(tree)
        , fText(tree.text())
        , fSize(fText.size())
    {
        fStack.push_back({ &tree, nullptr, false });
        if (fSize == 0 || fText[0] != u'<')
            fail(QStringLiteral("開始タグがありません。"), 0);
    }

    // Reads tokens until the end of the text, or with firstElementOnly until
    // the first top-level element is complete; a later call goes on from
    // there.
    void run(bool firstElementOnly)
    {
        while (fAt < fSize) {
            const char16_t c = fText[fAt].unicode();
            if (isLineEnd(c) || c == u'\t') {
                ++fAt;
                continue;
            }
            if (c == u'>' || isControl(c))
                fail(QStringLiteral("開始タグがありません。"), fAt);
            if (c == u'<') {
                if (tag() && firstElementOnly && fStack.size() == 1)
                    return;
                continue;
            }
            text();
        }
        if (fStack.size() > 1) {
            const TXmlNode *open = fStack.back().node;
            fail(safeFormat(QStringLiteral("開始タグ(%s)に対応する終了タグがありません。"),
                     { fmtArg(open->tagName()) }),
                open->fTagAt);
        }
    }

private:
    struct Level
    {
        TXmlNode *node;
        TXmlNode *lastChild;
        bool textSeen;
    };

    [[noreturn]] void fail(const QString &message, qsizetype at) const
    {
        throw EFileFormatError(
            message + QLatin1Char('(') + fTree.positionOf(at) + QLatin1Char(')'));
    }

    // A start or an end tag at "<"; true when it closed an element.
    bool tag()
    {
        const qsizetype start = fAt++;
        const bool close = fAt < fSize && fText[fAt] == u'/';
        if (close)
            ++fAt;
        qsizetype j = fAt;
        while (j < fSize && !endsPiece(fText[j].unicode())) {
            if (fText[j] == u'&' || isControl(fText[j].unicode()))
                fail(QStringLiteral("不正な文字があります。"), j);
            ++j;
        }
        if (j >= fSize || fText[j] != u'>' || j == fAt)
            fail(QStringLiteral("タグが終わっていません。"), j < fSize ? j : start);
        const QStringView name = fText.sliced(fAt, j - fAt);
        fAt = j + 1;

        Level &top = fStack.back();
        if (!close) {
            if (top.textSeen && fStack.size() > 1)
                fail(QStringLiteral("文字列の後の終了タグがありません。"), start);
            TXmlNode *child = fTree.newNode(quint32(start), quint32(name.size()));
            (top.lastChild ? top.lastChild->fNextSibling : top.node->fFirstChild) = child;
            top.lastChild = child;
            fStack.push_back({ child, nullptr, false });
            return false;
        }
        if (fStack.size() == 1)
            fail(QStringLiteral("開始タグがありません。"), start);
        if (name != top.node->tagNameView())
            fail(safeFormat(QStringLiteral("終了タグ(%s)が開始タグ(%s)と違っています。"),
                     { fmtArg(name.toString()), fmtArg(top.node->tagName()) }),
                start);
        fStack.pop_back();
        return true;
    }

    // The end of the text piece starting at the given index.
    qsizetype pieceEnd(qsizetype from) const
    {
        qsizetype j = from;
        while (j < fSize && !endsPiece(fText[j].unicode())) {
            if (isControl(fText[j].unicode()))
                fail(QStringLiteral("不正な文字があります。"), j);
            ++j;
        }
        return j;
    }

    // A text: pieces up to a tag bracket, line end or tab. A piece that ends
    // in the continuation mark goes on after the line end.
    void text()
    {
        const qsizetype start = fAt;
        qsizetype j = pieceEnd(fAt);
        const QStringView piece = fText.sliced(fAt, j - fAt);
        fAt = j;
        TXmlNode &node = *fStack.back().node;
        node.fHasValue = 1;
        node.fValueAt = quint32(start);
        node.fOwnedValue = 0;
        node.fValueSize = 0;
        fStack.back().textSeen = true;

        if (!piece.endsWith(u"&+")) {
            // The usual case: the value stands in the text as it is.
            if (piece == u"&null")
                return;
            if (piece.contains(u'&')) {
                node.fOwnedValue = 1;
                node.fValueSize = fTree.keepValue(TXmlText::unescape(piece));
                return;
            }
            node.fValueSize = quint32(piece.size());
            return;
        }
        QString raw = piece.toString();
        while (raw.endsWith(u"&+")) {
            // The mark is never part of a value, whose every "&" is written as
            // an escape; it goes even when the end tag follows it.
            raw.chop(2);
            qsizetype k = fAt;
            while (k < fSize && (isLineEnd(fText[k].unicode()) || fText[k] == u'\t'))
                ++k;
            if (k >= fSize || endsPiece(fText[k].unicode()) || isControl(fText[k].unicode()))
                break;
            j = pieceEnd(k);
            raw += fText.sliced(k, j - k);
            fAt = j;
        }
        node.fOwnedValue = 1;
        node.fValueSize = fTree.keepValue(TXmlText::unescape(raw));
    }

    TXmlTree &fTree;
    const QStringView fText;
    const qsizetype fSize;
    qsizetype fAt = 0;
    // An explicit stack: nesting depth comes from the file.
    std::vector<Level> fStack;
};

// ---------------------------------------------------------------------------
// The tree.

TXmlTree::TXmlTree()
    : TXmlNode(Key {}, this, 0, 0)
{ }

TXmlTree::~TXmlTree() = default;

void TXmlTree::setText(QStringView view)
{
    if (view.size() > kMaxTextSize)
        raiseTooLarge();
    fView = view;
}

std::unique_ptr<TXmlTree> TXmlTree::ofText(const QString &text)
{
    std::unique_ptr<TXmlTree> tree(new TXmlTree);
    tree->fOwnedText = text;
    // A string over someone else's buffer (fromRawData) is copied: the tree
    // must not depend on how long that buffer lives.
    if (!tree->fOwnedText.isEmpty() && !tree->fOwnedText.data_ptr().isMutable())
        tree->fOwnedText = QString(text.constData(), text.size());
    tree->setText(tree->fOwnedText);
    return tree;
}

std::unique_ptr<TXmlTree> TXmlTree::ofFileBytes(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || uchar(bytes[0]) != 0xFF
        || uchar(bytes[1]) != 0xFE)
        throw EFileFormatError(TXmlText::damagedFileMessage(fileName));
    const qsizetype size = (bytes.size() - 2) / 2;
    if (size > kMaxTextSize)
        raiseTooLarge();
    std::unique_ptr<TXmlTree> tree(new TXmlTree);
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        // The bytes already are the text: share them instead of decoding a
        // second copy of the file.
        tree->fOwnedBytes = bytes;
        if (!tree->fOwnedBytes.data_ptr().isMutable())
            tree->fOwnedBytes = QByteArray(bytes.constData(), bytes.size());
        const char *chars = tree->fOwnedBytes.constData() + 2;
        if (reinterpret_cast<quintptr>(chars) % alignof(QChar) == 0) {
            tree->setText(QStringView(reinterpret_cast<const QChar *>(chars), size));
            return tree;
        }
        tree->fOwnedBytes.clear();
    }
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 + 2 * i));
    tree->fOwnedText = std::move(text);
    tree->setText(tree->fOwnedText);
    return tree;
}

TXmlNode *TXmlTree::newNode(quint32 tagAt, quint32 nameSize)
{
    return &fNodes.emplace_back(Key {}, this, tagAt, nameSize);
}

quint32 TXmlTree::keepValue(QString value)
{
    fOwnedValues.push_back(std::move(value));
    return quint32(fOwnedValues.size() - 1);
}

std::pair<int, int> TXmlTree::lineColumn(qsizetype at) const
{
    if (fLineStarts.empty()) {
        fLineStarts.push_back(0);
        for (qsizetype i = 0; i < fView.size(); ++i)
            if (fView[i] == u'\n')
                fLineStarts.push_back(quint32(i + 1));
    }
    // A line starts after each LF; the character at `at` is on the line of
    // the last start at or before it.
    const auto next = std::upper_bound(fLineStarts.begin(), fLineStarts.end(), quint64(at));
    const qsizetype line = next - fLineStarts.begin();
    return { int(line), int(at - qsizetype(fLineStarts[line - 1]) + 1) };
}

QString TXmlTree::positionOf(qsizetype at) const
{
    const auto [line, column] = lineColumn(at);
    return TXmlText::position(line, column, 2 + 2 * qint64(at));
}

// ---------------------------------------------------------------------------
// Nodes.

TXmlNode::TXmlNode(Key, TXmlTree *tree, quint32 tagAt, quint32 nameSize)
    : fTree(tree)
    , fTagAt(tagAt)
    , fNameSize(nameSize)
{ }

QStringView TXmlNode::tagNameView() const
{
    if (this == fTree)
        return u"root";
    return fTree->fView.sliced(fTagAt + 1, fNameSize);
}

QStringView TXmlNode::valueView() const
{
    if (fOwnedValue)
        return fTree->fOwnedValues[fValueSize];
    return fTree->fView.sliced(fValueAt, fValueSize);
}

QString TXmlNode::valueText() const
{
    if (!fHasValue)
        return QStringLiteral("(no value)");
    if (fOwnedValue)
        return fTree->fOwnedValues[fValueSize];
    return valueView().toString();
}

qint64 TXmlNode::startByteOffset() const
{
    return this == fTree ? 0 : 2 + 2 * qint64(fTagAt);
}

qint64 TXmlNode::valueByteOffset() const
{
    return 2 + 2 * qint64(fValueAt);
}

QString TXmlNode::positionText() const
{
    if (this == fTree)
        return TXmlText::position(1, 1, 0);
    return fTree->positionOf(fTagAt);
}

TXmlNode *TXmlNode::findFirst(QStringView name)
{
    for (TXmlNode *c = fFirstChild; c; c = c->fNextSibling)
        if (c->tagNameView() == name)
            return c;
    return nullptr;
}

TAbstractXmlNode *TXmlNode::getThisTagNodePermitNil(const QString &name)
{
    TXmlNode *c = findFirst(name);
    if (!c)
        return nullptr;
    if (c->fRead)
        throw ESouteigai(kNodeClass, { fmtArg(name) },
            QStringLiteral("タグ<%s>は既にサブクラスで読み込み済です。"),
            QStringLiteral("getThisTagNodePermitNil"));
    c->fRead = 1;
    return c;
}

TAbstractXmlNode &TXmlNode::getThisTagNode(const QString &name)
{
    TAbstractXmlNode *c = getThisTagNodePermitNil(name);
    if (!c)
        throw ESouteigai(kNodeClass, { fmtArg(name) },
            QStringLiteral("必要なタグ名(%s)がファイルに存在しません。"),
            QStringLiteral("getThisTagNode"));
    return *c;
}

QList<TAbstractXmlNode *> TXmlNode::children()
{
    QList<TAbstractXmlNode *> r;
    for (TXmlNode *c = fFirstChild; c; c = c->fNextSibling)
        r << c;
    return r;
}

QList<TAbstractXmlNode *> TXmlNode::childrenNotRead()
{
    QList<TAbstractXmlNode *> r;
    for (TXmlNode *c = fFirstChild; c; c = c->fNextSibling)
        if (!c->fRead)
            r << c;
    return r;
}

QList<TXmlNode *> TXmlNode::childrenNamed(const QString &name)
{
    QList<TXmlNode *> r;
    for (TXmlNode *c = fFirstChild; c; c = c->fNextSibling)
        if (c->tagNameView() == name)
            r << c;
    return r;
}

void TXmlNode::conversionError(const QString &word) const
{
    throw EFileFormatError(safeFormat(QStringLiteral("%sに変換できない文字列(%s)です。"),
        { fmtArg(word), fmtArg(valueText() + QLatin1Char(':') + positionText()) }));
}

QString TXmlNode::readString(const QString &name)
{
    return getThisTagNode(name).valueText();
}

bool TXmlNode::readBool(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    if (node.fHasValue) {
        const QStringView t = node.valueView();
        if (t == u"true")
            return true;
        if (t == u"false")
            return false;
    }
    node.conversionError(QStringLiteral("bool"));
}

int TXmlNode::readInteger(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    const QString t = node.valueText();
    if (!TCommonProcs::isIntegerString(t))
        node.conversionError(QStringLiteral("integer"));
    return TCommonProcs::str2dint(t);
}

double TXmlNode::readDouble(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    try {
        return TCommonProcs::str2double(node.valueText());
    } catch (const EMyException &) {
        node.conversionError(QStringLiteral("double"));
    }
}

TColor TXmlNode::readColor(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    TColor c = 0;
    if (!TColorNames::fromText(node.valueText(), c))
        node.conversionError(QStringLiteral("color"));
    return c;
}

TModelPoint TXmlNode::readModelPoint(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    const QString t = node.valueText();
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma <= 0 || comma == t.size() - 1)
        throw ESouteigai(kNodeClass, QStringLiteral("数値の区切り文字(,)がありません。"),
            QStringLiteral("modelPoint"));
    try {
        return { TCommonProcs::str2double(t.left(comma)),
            TCommonProcs::str2double(t.mid(comma + 1)) };
    } catch (const EMyException &) {
        node.conversionError(QStringLiteral("modelPoint"));
    }
}

bool TXmlNode::readBoolOr(const QString &name, bool defaultValue)
{
    if (!findFirst(name))
        return defaultValue;
    return readBool(name);
}

int TXmlNode::readIntegerOr(const QString &name, int defaultValue)
{
    if (!findFirst(name))
        return defaultValue;
    return readInteger(name);
}

void TXmlNode::checkAllRead(const QString &className, const QString &operation)
{
    for (TXmlNode *c = fFirstChild; c; c = c->fNextSibling)
        if (!c->fRead)
            throw ESouteigai(className, { fmtArg(c->tagName()), fmtArg(c->positionText()) },
                QStringLiteral("タグ<%s>(%s)がファイルに存在しますが, 読み込まれませんでした。"),
                operation);
}

void TXmlNode::raiseFormatError(const QString &text) const
{
    throw EFileFormatError(text + QLatin1Char('(') + positionText() + QLatin1Char(')'));
}

// ---------------------------------------------------------------------------
// The reader.

std::unique_ptr<TXmlTree> TXmlFileReader::parse(const QString &text, bool firstElementOnly)
{
    std::unique_ptr<TXmlTree> tree = TXmlTree::ofText(text);
    TXmlTreeBuilder(*tree).run(firstElementOnly);
    return tree;
}

QByteArray TXmlFileReader::readFile(bool limited) const
{
    QFile file(fFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileStreamError(TXmlText::cannotOpenMessage(fFileName));
    if (limited && file.size() > TXmlText::kMaxFileSize)
        raiseTooLarge();
    return file.readAll();
}

namespace {

void checkLineLengths(QStringView text, const QString &fileName)
{
    const QChar *const begin = text.data();
    const QChar *const end = begin + text.size();
    const QChar *lineStart = begin;
    for (const QChar *p = begin; p != end; ++p) {
        if (isLineEnd(p->unicode())) {
            if (p - lineStart > TXmlText::kMaxLineLength)
                throw EFileFormatError(TXmlText::damagedFileMessage(fileName));
            lineStart = p + 1;
        }
    }
    if (end - lineStart > TXmlText::kMaxLineLength)
        throw EFileFormatError(TXmlText::damagedFileMessage(fileName));
}

} // namespace

TXmlNode &TXmlFileReader::checkedLoad()
{
    return checkedLoadBytes(readFile(true));
}

TXmlNode &TXmlFileReader::plainLoad()
{
    return plainLoadBytes(readFile(false));
}

TXmlNode &TXmlFileReader::checkedLoadBytes(const QByteArray &bytes)
{
    if (bytes.size() > TXmlText::kMaxFileSize)
        raiseTooLarge();
    std::unique_ptr<TXmlTree> tree = TXmlTree::ofFileBytes(bytes, fFileName);
    checkLineLengths(tree->text(), fFileName);

    // The digest first: a file whose header cannot even be found is as
    // damaged as one whose digest does not match. The header is the first
    // top-level element, so the parse stops there and goes on from there
    // once the digest holds.
    TXmlTreeBuilder builder(*tree);
    builder.run(true);
    TXmlNode *info = tree->childrenNamed(QStringLiteral("fileInfo")).value(0);
    TXmlNode *digest = info ? info->childrenNamed(QStringLiteral("digest")).value(0) : nullptr;
    if (!digest || !digest->isValueElement())
        throw EFileFormatError(TXmlText::damagedFileMessage(fFileName));
    if (!TMyFigProp::check(bytes, digest->valueByteOffset(), digest->valueText()))
        throw EFileFormatError(TXmlText::damagedFileMessage(fFileName));
    builder.run(false);
    fRoot = std::move(tree);
    return *fRoot;
}

TXmlNode &TXmlFileReader::plainLoadBytes(const QByteArray &bytes)
{
    std::unique_ptr<TXmlTree> tree = TXmlTree::ofFileBytes(bytes, fFileName);
    TXmlTreeBuilder(*tree).run(false);
    fRoot = std::move(tree);
    return *fRoot;
}

} // namespace zarno
