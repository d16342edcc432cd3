#pragma once

#include <QString>
#include <QStringView>

namespace zarno {

// The tagged text format's small vocabulary: escapes, positions, limits.
struct TXmlText
{
    // Lines of a file the program reads (and so writes) are at most this long.
    static constexpr int kMaxLineLength = 1000;
    // Files larger than this are refused, and the writer refuses to write
    // them: 64 MiB holds some 45,000 shapes.
    static constexpr qint64 kMaxFileSize = 64 * 1048576;

    // "&" "<" ">" escaped, an empty text as "&null"; CR, LF and tab as
    // character references, which files of older versions never contain.
    static QString escape(const QString &text);
    static QString unescape(QStringView text);

    // "12行5文字目,ファイル先頭から001Abytes目".
    static QString position(int line, int column, qint64 byteOffset);

    static QString damagedFileMessage(const QString &fileName);
    static QString cannotOpenMessage(const QString &fileName);
};

} // namespace zarno
