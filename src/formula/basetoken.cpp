#include "formula/basetoken.h"

namespace zarno {

namespace {

struct OperatorTable
{
    bool is[128] = {};
    constexpr OperatorTable()
    {
        for (const char *p = "!#$%&'()*+,-/:;<=>?@[\\]^`{|}~_"; *p; ++p)
            is[int(*p)] = true;
    }
    constexpr bool operator[](char16_t u) const { return is[u]; }
};
constexpr OperatorTable kOperatorCharacters;

} // namespace

TBaseTokenKind baseTokenKindOf(QChar ch)
{
    const char16_t u = ch.unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
        return TBaseTokenKind::btkAlphabet;
    if ((u >= '0' && u <= '9') || u == '.')
        return TBaseTokenKind::btkNumber;
    if (u < 0x80 && kOperatorCharacters[u])
        return TBaseTokenKind::btkOperator;
    if (u == ' ')
        return TBaseTokenKind::btkSpace;
    if (u == '\r' || u == '\n')
        return TBaseTokenKind::btkCRorLF;
    if (u == '\t')
        return TBaseTokenKind::btkTab;
    if (ch.category() == QChar::Other_Control)
        return TBaseTokenKind::btkNonTabCrlfControl;
    // Everything outside ASCII, and the double quote.
    return TBaseTokenKind::btkKanji;
}

QString TBaseToken::toString() const
{
    QString s = QStringLiteral("kind:") + TEnumConverter<TBaseTokenKind>::name(kind)
        + QStringLiteral(",  line:") + QString::number(line) + QStringLiteral(",  pos:")
        + QString::number(position);
    if (!text.isEmpty()) {
        if (text.at(0).category() != QChar::Other_Control)
            s += QStringLiteral(",  str:") + text;
        s += QStringLiteral(",  code:") + QString::number(text.at(0).unicode());
    }
    return s;
}

TBaseToken TTokenReader::nextToken()
{
    TTextChar info;
    fChars.nextChar(info);
    TBaseToken token;
    token.kind = baseTokenKindOf(info.ch);
    token.byteOffset = info.byteOffset;
    token.line = info.line;
    token.position = info.position;
    token.text = QString(info.ch);
    while (fChars.hasNext()) {
        fChars.nextChar(info);
        if (baseTokenKindOf(info.ch) != token.kind || token.kind == TBaseTokenKind::btkOperator) {
            fChars.prevChar(info);
            break;
        }
        token.text += info.ch;
    }
    return token;
}

void TTokenDivider::divide(TAbstractTextReader &reader)
{
    fTokens.reserve(16);
    TTokenReader tokenReader(reader);
    while (tokenReader.hasNext())
        fTokens.append(tokenReader.nextToken());
}

} // namespace zarno
