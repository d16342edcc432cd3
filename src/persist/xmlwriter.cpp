#include "persist/xmlwriter.h"

#include "core/exceptions.h"
#include "core/safeformat.h"
#include "formula/numbertext.h"
#include "persist/digest.h"
#include "persist/xmltext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace zarno {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
// A value piece ending in this continues on the next line; older files never
// contain it, since they write every "&" as "&amp;".
const QString kContinuation = QStringLiteral("&+");

// Whether a text stands in the file as it is: not empty and nothing to escape.
bool isPlain(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&':
        case '<':
        case '>':
        case '\r':
        case '\n':
        case '\t': return false;
        default: break;
        }
    }
    return true;
}

// Where an escaped value may be cut: never inside an "&...;" sequence.
qsizetype safeCut(const QString &escaped, qsizetype from, qsizetype wanted)
{
    qsizetype cut = std::min(from + wanted, escaped.size());
    if (cut >= escaped.size())
        return cut;
    const qsizetype amp = escaped.lastIndexOf(QLatin1Char('&'), cut - 1);
    if (amp >= from) {
        const qsizetype semi = escaped.indexOf(QLatin1Char(';'), amp);
        if (semi < 0 || semi >= cut)
            cut = amp > from ? amp : std::min(semi + 1, escaped.size());
    }
    return cut;
}

[[noreturn]] void cannotSave(const QString &fileName)
{
    throw EXmlFileWriteError(
        safeFormat(
            QStringLiteral(
                "ファイル(%s)へ\r\nアクセスできません。\r\nファイルは保存できませんでした。"),
            { fmtArg(fileName) }),
        QStringLiteral("zarnoファイルを保存"), 1);
}

} // namespace

TXmlFileWriter::TXmlFileWriter(QString fileName)
    : fFileName(std::move(fileName))
{ }

void TXmlFileWriter::append(QStringView text)
{
    const qsizetype at = fBytes.size();
    const qsizetype n = text.size();
    // Whole documents are written through here piece by piece: grow
    // geometrically, not by each piece.
    if (fBytes.capacity() < at + 2 * n)
        fBytes.reserve(std::max(2 * fBytes.capacity(), at + 2 * n));
    fBytes.resize(at + 2 * n);
    qToLittleEndian<quint16>(text.utf16(), n, fBytes.data() + at);
}

void TXmlFileWriter::writeHeader()
{
    fBytes.append("\xFF\xFE", 2);
}

void TXmlFileWriter::indentIfAtLineStart()
{
    if (fAtLineStart) {
        append(QString(fDepth, QLatin1Char('\t')));
        fLineLength = fDepth;
        fAtLineStart = false;
    }
}

void TXmlFileWriter::newLine()
{
    append(kCrLf);
    fAtLineStart = true;
    fLineLength = 0;
}

void TXmlFileWriter::openTag(const QString &name)
{
    if (!fAtLineStart)
        newLine();
    indentIfAtLineStart();
    append(QLatin1Char('<') + TXmlText::escape(name) + QLatin1Char('>'));
    newLine();
    ++fDepth;
}

void TXmlFileWriter::closeTag(const QString &name)
{
    if (!fAtLineStart)
        newLine();
    --fDepth;
    indentIfAtLineStart();
    append(QStringLiteral("</") + TXmlText::escape(name) + QLatin1Char('>'));
    newLine();
}

TWrittenOffsets TXmlFileWriter::writeString(const QString &name, const QString &value)
{
    constexpr int kMax = TXmlText::kMaxLineLength;
    // Most elements: plain name and value on one line, written without
    // building the escaped texts first.
    if (isPlain(name) && isPlain(value)) {
        const qsizetype length = 2 * name.size() + 5 + value.size();
        const bool fitsHere = (fAtLineStart ? fDepth : fLineLength) + length <= kMax;
        if (fitsHere || (!fAtLineStart && fDepth + length <= kMax)) {
            if (!fitsHere)
                newLine();
            indentIfAtLineStart();
            TWrittenOffsets offsets;
            offsets.startTag = fBytes.size();
            append(u"<");
            append(name);
            append(u">");
            offsets.value = fBytes.size();
            append(value);
            offsets.endTag = fBytes.size();
            append(u"</");
            append(name);
            append(u">");
            fLineLength += int(length);
            return offsets;
        }
    }
    const QString tag = TXmlText::escape(name);
    const QString startTag = QLatin1Char('<') + tag + QLatin1Char('>');
    const QString endTag = QStringLiteral("</") + tag + QLatin1Char('>');
    const QString escaped = TXmlText::escape(value);

    // Keep every line within the length the reader accepts: start a new line
    // before an element that would not fit, and continue a long value over
    // several lines.
    if (!fAtLineStart && fLineLength + startTag.size() + escaped.size() + endTag.size() > kMax)
        newLine();
    indentIfAtLineStart();

    TWrittenOffsets offsets;
    offsets.startTag = fBytes.size();
    append(startTag);
    fLineLength += int(startTag.size());
    offsets.value = fBytes.size();
    qsizetype at = 0;
    for (;;) {
        const qsizetype remaining = escaped.size() - at;
        if (fLineLength + remaining + endTag.size() <= kMax) {
            append(escaped.mid(at));
            fLineLength += int(remaining);
            break;
        }
        // Leave room for the continuation mark and for an escape that must
        // not be cut in two.
        const qsizetype room
            = std::max<qsizetype>(kMax - fLineLength - kContinuation.size() - 6, 1);
        qsizetype cut = safeCut(escaped, at, room);
        if (cut >= escaped.size()) {
            // The rest fits only without its end tag: carry its last piece
            // over, so that the mark is always followed by more of the value.
            cut = safeCut(escaped, at, remaining - 1);
            if (cut >= escaped.size())
                cut = at; // a single escape: it goes to the next line whole
        }
        append(escaped.mid(at, cut - at) + kContinuation);
        at = cut;
        newLine();
        fAtLineStart = false; // continuation lines carry no indentation
    }
    offsets.endTag = fBytes.size();
    append(endTag);
    fLineLength += int(endTag.size());
    return offsets;
}

TWrittenOffsets TXmlFileWriter::writeBool(const QString &name, bool b)
{
    return writeString(name, b ? QStringLiteral("true") : QStringLiteral("false"));
}

TWrittenOffsets TXmlFileWriter::writeInteger(const QString &name, int i)
{
    return writeString(name, QString::number(i));
}

TWrittenOffsets TXmlFileWriter::writeDouble(const QString &name, double d)
{
    return writeString(name, doubleTextFor(d));
}

QString TXmlFileWriter::doubleTextFor(double d) const
{
    if (!fExactDoubles || !std::isfinite(d))
        return doubleText(d);
    // The shortest text that reads back as the same double.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, d);
    return QString::fromLatin1(buf, written.ptr - buf);
}

QString TXmlFileWriter::doubleText(double d)
{
    return TNumberText::formatGeneral15(d);
}

void TXmlFileWriter::saveWithDigest(qint64 digestValueOffset)
{
    // Never write what the reader would refuse.
    if (fBytes.size() > TXmlText::kMaxFileSize)
        throw EXmlFileWriteError(
            safeFormat(QStringLiteral("ファイル(%s)が大きすぎるため, 保存できませんでした。"),
                { fmtArg(fFileName) }),
            QStringLiteral("zarnoファイルを保存"), 2);
    TMyFigProp::seal(fBytes, digestValueOffset);
    saveSafely(fFileName, fBytes);
}

void TXmlFileWriter::saveWithoutDigest()
{
    saveSafely(fFileName, fBytes);
}

void TXmlFileWriter::saveSafely(const QString &fileName, const QByteArray &bytes)
{
    const QFileInfo target(fileName);
    const QDir dir = target.absoluteDir();
    QString temp;
    for (int n = 1;; ++n) {
        temp = dir.filePath(QStringLiteral("temp%1.zn$").arg(n));
        if (!QFileInfo::exists(temp))
            break;
        if (n > 100000)
            cannotSave(fileName);
    }
    QFile file(temp);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        cannotSave(fileName);
    const bool written
        = file.write(bytes) == bytes.size() && file.flush() && ::fsync(file.handle()) == 0;
    file.close();
    // rename() replaces the target in one step: at no moment is there no file.
    if (!written
        || std::rename(QFile::encodeName(temp).constData(),
               QFile::encodeName(target.absoluteFilePath()).constData())
            != 0) {
        QFile::remove(temp);
        cannotSave(fileName);
    }
}

} // namespace zarno
