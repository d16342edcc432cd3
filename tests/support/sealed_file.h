#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <functional>

namespace zarno::test {

// The text of a file written as UTF-16 little endian after its byte-order mark.
inline QString textAfterByteOrderMark(const QByteArray &file)
{
    return QString::fromUtf16(
        reinterpret_cast<const char16_t *>(file.constData() + 2), (file.size() - 2) / 2);
}

// Where the 40 hexadecimal digits of a sealed file's digest begin, in characters.
inline qsizetype digestDigitsAt(const QString &text)
{
    return text.indexOf(QStringLiteral("<digest>")) + 8;
}

// Calls f with every copy of a sealed file that has one character changed
// (to `to`, or to `other` where it already is `to`), leaving out the digest
// digits, which the digest cannot cover; returns how many copies there were.
inline int forEachSingleCharacterChange(const QByteArray &file, char16_t to, char16_t other,
    const std::function<void(const QByteArray &)> &f)
{
    const QString text = textAfterByteOrderMark(file);
    const qsizetype digestAt = digestDigitsAt(text);
    int changed = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i >= digestAt && i < digestAt + 40)
            continue;
        QByteArray bad = file;
        const quint16 c = qFromLittleEndian<quint16>(bad.constData() + 2 + 2 * i);
        qToLittleEndian<quint16>(c == to ? other : to, bad.data() + 2 + 2 * i);
        ++changed;
        f(bad);
    }
    return changed;
}

} // namespace zarno::test
