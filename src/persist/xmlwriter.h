#pragma once

#include "base/fileio.h"

#include <QByteArray>
#include <QString>

namespace zarno {

// Collects a whole tagged text file in memory (UTF-16 little endian, CR LF,
// one tab of indentation per depth) and writes it safely at the end.
class TXmlFileWriter
{
public:
    explicit TXmlFileWriter(QString fileName);

    void writeHeader();
    void openTag(const QString &name);
    void closeTag(const QString &name);
    TWrittenOffsets writeString(const QString &name, const QString &value);
    TWrittenOffsets writeBool(const QString &name, bool b);
    TWrittenOffsets writeInteger(const QString &name, int i);
    TWrittenOffsets writeDouble(const QString &name, double d);
    void newLine();

    int depth() const { return fDepth; }
    const QByteArray &bytes() const { return fBytes; }
    const QString &fileName() const { return fFileName; }

    // Seals the digest whose value starts at the offset, then saves safely.
    void saveWithDigest(qint64 digestValueOffset);
    void saveWithoutDigest();

    // Replaces a file with new content: the content goes to a temporary file
    // "tempN.zn$" beside it first and only then takes the file's name, so a
    // failure leaves the previous file as it was.
    static void saveSafely(const QString &fileName, const QByteArray &bytes);

    // The decimal form of doubles in files: up to 15 significant digits.
    static QString doubleText(double d);
    // With exact doubles every double is written with as many digits as it
    // takes to read back the very same double (states kept in memory).
    void setExactDoubles(bool exact) { fExactDoubles = exact; }
    QString doubleTextFor(double d) const;

private:
    void append(QStringView text);
    void indentIfAtLineStart();

    QString fFileName;
    QByteArray fBytes;
    int fDepth = 0;
    int fLineLength = 0;
    bool fAtLineStart = true;
    bool fExactDoubles = false;
};

} // namespace zarno
