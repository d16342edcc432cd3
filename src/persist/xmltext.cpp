#include "persist/xmltext.h"

#include "core/safeformat.h"

namespace zarno {

QString TXmlText::escape(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("&null");
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '\r': out += QStringLiteral("&#13;"); break;
        case '\n': out += QStringLiteral("&#10;"); break;
        case '\t': out += QStringLiteral("&#9;"); break;
        default: out += c;
        }
    }
    return out;
}

QString TXmlText::unescape(QStringView text)
{
    if (text == u"&null")
        return QString();
    if (!text.contains(u'&'))
        return text.toString();
    static const struct
    {
        const char *entity;
        char c;
    } entities[] = { { "&gt;", '>' }, { "&lt;", '<' }, { "&amp;", '&' }, { "&#13;", '\r' },
        { "&#10;", '\n' }, { "&#9;", '\t' } };
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == QLatin1Char('&')) {
            bool matched = false;
            for (const auto &e : entities) {
                const QLatin1StringView entity(e.entity);
                if (text.sliced(i).startsWith(entity)) {
                    out += QLatin1Char(e.c);
                    i += entity.size();
                    matched = true;
                    break;
                }
            }
            if (matched)
                continue;
        }
        out += text[i++];
    }
    return out;
}

QString TXmlText::position(int line, int column, qint64 byteOffset)
{
    QString hex = QString::number(byteOffset, 16).toUpper();
    if (hex.size() < 4)
        hex = hex.rightJustified(4, QLatin1Char('0'));
    return safeFormat(QStringLiteral("%d行%d文字目,ファイル先頭から%sbytes目"),
        { fmtArg(line), fmtArg(column), fmtArg(hex) });
}

QString TXmlText::damagedFileMessage(const QString &fileName)
{
    return safeFormat(QStringLiteral("ファイル %s が\r\n破損しているため, 開くことができません。"),
        { fmtArg(fileName) });
}

QString TXmlText::cannotOpenMessage(const QString &fileName)
{
    return safeFormat(QStringLiteral("ファイル(%s)を開くことができません。"), { fmtArg(fileName) });
}

} // namespace zarno
