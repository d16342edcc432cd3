#include "persist/xmlreader.h"

#include "core/commonprocs.h"
#include "core/exceptions.h"
#include "core/safeformat.h"
#include "persist/colornames.h"
#include "persist/digest.h"
#include "persist/xmltext.h"

#include <QFile>
#include <QtEndian>

namespace zarno {

namespace {

const QString kNodeClass = QStringLiteral("TXmlNode");

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool endsPiece(QChar c)
{
    return c == QLatin1Char('<') || c == QLatin1Char('>') || isLineEnd(c) || c == QLatin1Char('\t');
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control && !isLineEnd(c) && c != QLatin1Char('\t');
}

// Walks the text and knows where each character stands.
class Cursor
{
public:
    explicit Cursor(const QString &text) : fText(text) {}

    TXmlToken tokenAt(qsizetype i, TXmlToken::Kind kind) const
    {
        TXmlToken t;
        t.kind = kind;
        t.byteOffset = 2 + 2 * qint64(i);
        const auto [line, column] = lineColumn(i);
        t.line = line;
        t.column = column;
        return t;
    }

    [[noreturn]] void fail(const QString &message, qsizetype i) const
    {
        throw EFileFormatError(message + QLatin1Char('(') + tokenAt(i, TXmlToken::Text).position()
                               + QLatin1Char(')'));
    }

private:
    std::pair<int, int> lineColumn(qsizetype i) const
    {
        // Positions are asked for rarely (tokens and errors), so counting
        // from the last known point keeps this linear over a whole file.
        if (i < fFrom) {
            fFrom = 0;
            fLine = 1;
            fLineStart = 0;
        }
        for (qsizetype k = fFrom; k < i && k < fText.size(); ++k) {
            if (fText[k] == QLatin1Char('\n')) {
                ++fLine;
                fLineStart = k + 1;
            }
        }
        fFrom = std::max(fFrom, i);
        return {fLine, int(i - fLineStart + 1)};
    }

    const QString &fText;
    mutable qsizetype fFrom = 0;
    mutable int fLine = 1;
    mutable qsizetype fLineStart = 0;
};

std::vector<TXmlToken> tokenize(const QString &text, const Cursor &cursor)
{
    std::vector<TXmlToken> tokens;
    const qsizetype n = text.size();
    if (n == 0 || text[0] != QLatin1Char('<'))
        cursor.fail(QStringLiteral("開始タグがありません。"), 0);
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (isLineEnd(c) || c == QLatin1Char('\t')) {
            ++i;
            continue;
        }
        if (isControl(c) || c == QLatin1Char('>'))
            cursor.fail(QStringLiteral("開始タグがありません。"), i);
        if (c == QLatin1Char('<')) {
            const qsizetype start = i++;
            TXmlToken::Kind kind = TXmlToken::Open;
            if (i < n && text[i] == QLatin1Char('/')) {
                kind = TXmlToken::Close;
                ++i;
            }
            qsizetype j = i;
            while (j < n && !endsPiece(text[j])) {
                if (text[j] == QLatin1Char('&') || isControl(text[j]))
                    cursor.fail(QStringLiteral("不正な文字があります。"), j);
                ++j;
            }
            if (j >= n || text[j] != QLatin1Char('>') || j == i)
                cursor.fail(QStringLiteral("タグが終わっていません。"), j < n ? j : start);
            TXmlToken t = cursor.tokenAt(start, kind);
            t.text = text.mid(i, j - i);
            tokens.push_back(std::move(t));
            i = j + 1;
            continue;
        }
        // A text: pieces up to a tag bracket, line end or tab. A piece that
        // ends in the continuation mark goes on after the line end.
        TXmlToken t = cursor.tokenAt(i, TXmlToken::Text);
        QString raw;
        for (;;) {
            qsizetype j = i;
            while (j < n && !endsPiece(text[j])) {
                if (isControl(text[j]))
                    cursor.fail(QStringLiteral("不正な文字があります。"), j);
                ++j;
            }
            raw += QStringView(text).mid(i, j - i);
            i = j;
            if (!raw.endsWith(QLatin1String("&+")))
                break;
            qsizetype k = j;
            while (k < n && (isLineEnd(text[k]) || text[k] == QLatin1Char('\t')))
                ++k;
            if (k >= n || endsPiece(text[k]) || isControl(text[k]))
                break;
            raw.chop(2);
            i = k;
        }
        t.text = TXmlText::unescape(raw);
        tokens.push_back(std::move(t));
    }
    return tokens;
}

} // namespace

QString TXmlToken::position() const
{
    return TXmlText::position(line, column, byteOffset);
}

QString TXmlNode::valueText() const
{
    return fHasText ? fText.text : QStringLiteral("(no value)");
}

TXmlNode *TXmlNode::addChild(TXmlToken start)
{
    fChildren.push_back(std::make_unique<TXmlNode>(std::move(start)));
    return fChildren.back().get();
}

void TXmlNode::setText(const TXmlToken &text)
{
    fText = text;
    fHasText = true;
}

TXmlNode *TXmlNode::findFirst(const QString &name)
{
    for (auto &c : fChildren)
        if (c->tagName() == name)
            return c.get();
    return nullptr;
}

TAbstractXmlNode *TXmlNode::getThisTagNodePermitNil(const QString &name)
{
    TXmlNode *c = findFirst(name);
    if (!c)
        return nullptr;
    if (c->fRead)
        throw ESouteigai(kNodeClass, {fmtArg(name)}, QStringLiteral("タグ<%s>は既にサブクラスで読み込み済です。"),
                         QStringLiteral("getThisTagNodePermitNil"));
    c->fRead = true;
    return c;
}

TAbstractXmlNode &TXmlNode::getThisTagNode(const QString &name)
{
    TAbstractXmlNode *c = getThisTagNodePermitNil(name);
    if (!c)
        throw ESouteigai(kNodeClass, {fmtArg(name)}, QStringLiteral("必要なタグ名(%s)がファイルに存在しません。"),
                         QStringLiteral("getThisTagNode"));
    return *c;
}

QList<TAbstractXmlNode *> TXmlNode::children()
{
    QList<TAbstractXmlNode *> r;
    r.reserve(qsizetype(fChildren.size()));
    for (auto &c : fChildren)
        r << c.get();
    return r;
}

QList<TAbstractXmlNode *> TXmlNode::childrenNotRead()
{
    QList<TAbstractXmlNode *> r;
    for (auto &c : fChildren)
        if (!c->fRead)
            r << c.get();
    return r;
}

QList<TXmlNode *> TXmlNode::childrenNamed(const QString &name)
{
    QList<TXmlNode *> r;
    for (auto &c : fChildren)
        if (c->tagName() == name)
            r << c.get();
    return r;
}

void TXmlNode::conversionError(const QString &word, const TXmlNode &node) const
{
    throw EFileFormatError(safeFormat(QStringLiteral("%sに変換できない文字列(%s)です。"),
                                      {fmtArg(word), fmtArg(node.valueText() + QLatin1Char(':') + node.positionText())}));
}

QString TXmlNode::readString(const QString &name)
{
    return getThisTagNode(name).valueText();
}

bool TXmlNode::readBool(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    const QString t = node.valueText();
    if (t == QLatin1String("true"))
        return true;
    if (t == QLatin1String("false"))
        return false;
    conversionError(QStringLiteral("bool"), node);
}

int TXmlNode::readInteger(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    if (!TCommonProcs::isIntegerString(node.valueText()))
        conversionError(QStringLiteral("integer"), node);
    return TCommonProcs::str2dint(node.valueText());
}

double TXmlNode::readDouble(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    try {
        return TCommonProcs::str2double(node.valueText());
    } catch (const EMyException &) {
        conversionError(QStringLiteral("double"), node);
    }
}

TColor TXmlNode::readColor(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    TColor c = 0;
    if (!TColorNames::fromText(node.valueText(), c))
        conversionError(QStringLiteral("color"), node);
    return c;
}

TModelPoint TXmlNode::readModelPoint(const QString &name)
{
    auto &node = static_cast<TXmlNode &>(getThisTagNode(name));
    const QString t = node.valueText();
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma <= 0 || comma == t.size() - 1)
        throw ESouteigai(kNodeClass, QStringLiteral("数値の区切り文字(,)がありません。"), QStringLiteral("modelPoint"));
    try {
        return {TCommonProcs::str2double(t.left(comma)), TCommonProcs::str2double(t.mid(comma + 1))};
    } catch (const EMyException &) {
        conversionError(QStringLiteral("modelPoint"), node);
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
    for (auto &c : fChildren)
        if (!c->fRead)
            throw ESouteigai(className, {fmtArg(c->tagName()), fmtArg(c->positionText())},
                             QStringLiteral("タグ<%s>(%s)がファイルに存在しますが, 読み込まれませんでした。"),
                             operation);
}

void TXmlNode::raiseFormatError(const QString &text) const
{
    throw EFileFormatError(text + QLatin1Char('(') + positionText() + QLatin1Char(')'));
}

std::unique_ptr<TXmlNode> TXmlFileReader::parse(const QString &text, bool firstElementOnly)
{
    const Cursor cursor(text);
    const std::vector<TXmlToken> tokens = tokenize(text, cursor);
    TXmlToken rootToken;
    rootToken.text = QStringLiteral("root");
    auto root = std::make_unique<TXmlNode>(rootToken);

    // An explicit stack: nesting depth comes from the file.
    struct Level
    {
        TXmlNode *node;
        bool textSeen;
    };
    std::vector<Level> stack{{root.get(), false}};
    auto fail = [](const QString &message, const TXmlToken &at) {
        throw EFileFormatError(message + QLatin1Char('(') + at.position() + QLatin1Char(')'));
    };
    for (const TXmlToken &t : tokens) {
        Level &top = stack.back();
        switch (t.kind) {
        case TXmlToken::Text:
            top.node->setText(t);
            top.textSeen = true;
            break;
        case TXmlToken::Open:
            if (top.textSeen && stack.size() > 1)
                fail(QStringLiteral("文字列の後の終了タグがありません。"), t);
            stack.push_back({top.node->addChild(t), false});
            break;
        case TXmlToken::Close:
            if (stack.size() == 1)
                fail(QStringLiteral("開始タグがありません。"), t);
            if (t.text != top.node->tagName())
                fail(safeFormat(QStringLiteral("終了タグ(%s)が開始タグ(%s)と違っています。"),
                                {fmtArg(t.text), fmtArg(top.node->tagName())}),
                     t);
            stack.pop_back();
            if (firstElementOnly && stack.size() == 1)
                return root;
            break;
        }
    }
    if (stack.size() > 1)
        fail(safeFormat(QStringLiteral("開始タグ(%s)に対応する終了タグがありません。"),
                        {fmtArg(stack.back().node->tagName())}),
             stack.back().node->startToken());
    return root;
}

QByteArray TXmlFileReader::readFile(bool limited) const
{
    QFile file(fFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EMyException(QStringLiteral("TXmlFileReader"), {fmtArg(fFileName)},
                           QStringLiteral("ファイル(%s)を開くことができません。"), QStringLiteral("load"));
    if (limited && file.size() > TXmlText::kMaxFileSize)
        throw EFileFormatError(QStringLiteral("ファイルサイズが大きすぎます。"));
    return file.readAll();
}

namespace {

QString decode(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || uchar(bytes[0]) != 0xFF || uchar(bytes[1]) != 0xFE)
        throw EFileFormatError(TXmlText::damagedFileMessage(fileName));
    QString text(qsizetype((bytes.size() - 2) / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 + 2 * i));
    return text;
}

void checkLineLengths(const QString &text, const QString &fileName)
{
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isLineEnd(text[i])) {
            if (i - lineStart > TXmlText::kMaxLineLength)
                throw EFileFormatError(TXmlText::damagedFileMessage(fileName));
            lineStart = i + 1;
        }
    }
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
        throw EFileFormatError(QStringLiteral("ファイルサイズが大きすぎます。"));
    const QString text = decode(bytes, fFileName);
    checkLineLengths(text, fFileName);

    // The digest first: a file whose header cannot even be found is as
    // damaged as one whose digest does not match.
    {
        std::unique_ptr<TXmlNode> head = parse(text, true);
        TXmlNode *info = head->childrenNamed(QStringLiteral("fileInfo")).value(0);
        TXmlNode *digest = info ? info->childrenNamed(QStringLiteral("digest")).value(0) : nullptr;
        if (!digest || !digest->isValueElement())
            throw EFileFormatError(TXmlText::damagedFileMessage(fFileName));
        if (!TMyFigProp::check(bytes, digest->textToken().byteOffset, digest->valueText()))
            throw EFileFormatError(TXmlText::damagedFileMessage(fFileName));
    }
    fRoot = parse(text);
    return *fRoot;
}

TXmlNode &TXmlFileReader::plainLoadBytes(const QByteArray &bytes)
{
    fRoot = parse(decode(bytes, fFileName));
    return *fRoot;
}

} // namespace zarno
