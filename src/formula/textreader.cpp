#include "formula/textreader.h"

#include "core/exceptions.h"

#include <utility>

namespace zarno {

TStringReader::TStringReader(QString text)
    : fText(std::move(text))
{ }

bool TStringReader::hasNext() const
{
    return fCursor <= fText.size();
}

void TStringReader::outOfRange(const char *method) const
{
    throw ESouteigai(QStringLiteral("TStringReader"),
        QStringLiteral("文字列の0文字目は参照できません。"), QString::fromLatin1(method));
}

void TStringReader::fill(TTextChar &info) const
{
    info.ch = fText.at(fCursor - 1);
    info.position = int(fCursor);
    info.byteOffset = int(2 * fCursor);
    info.line = 1;
}

void TStringReader::nextChar(TTextChar &info)
{
    if (!hasNext())
        outOfRange("nextChar");
    fill(info);
    ++fCursor;
}

void TStringReader::prevChar(TTextChar &info)
{
    if (fCursor <= 1)
        outOfRange("prevChar");
    --fCursor;
    fill(info);
}

bool TStringReader::hasNextLine() const
{
    return !fLineRead;
}

void TStringReader::nextLine(QString &text)
{
    if (fLineRead)
        outOfRange("nextLine");
    fLineRead = true;
    text = fText;
}

} // namespace zarno
