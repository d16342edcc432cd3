#pragma once

#include <QString>

namespace zarno {

// One character of a text with where it stands. Positions are 1-based UTF-16
// indexes; the byte offset is twice the position.
struct TTextChar
{
    QChar ch;
    int byteOffset = 0;
    int line = 0;
    int position = 0;
};

// A character source that can step back one character.
class TAbstractTextReader
{
public:
    virtual ~TAbstractTextReader() = default;
    virtual bool hasNext() const = 0;
    virtual void nextChar(TTextChar &info) = 0;
    // Steps back one character and returns the character now under the
    // cursor, which the next nextChar returns again.
    virtual void prevChar(TTextChar &info) = 0;
    virtual bool hasNextLine() const = 0;
    virtual void nextLine(QString &text) = 0;
};

// Reads one string, all of it on line 1.
class TStringReader : public TAbstractTextReader
{
public:
    explicit TStringReader(QString text);
    bool hasNext() const override;
    void nextChar(TTextChar &info) override;
    void prevChar(TTextChar &info) override;
    bool hasNextLine() const override;
    void nextLine(QString &text) override;

private:
    [[noreturn]] void outOfRange(const char *method) const;
    void fill(TTextChar &info) const;

    QString fText;
    qsizetype fCursor = 1;
    bool fLineRead = false;
};

class TCharIterator
{
public:
    explicit TCharIterator(TAbstractTextReader &reader)
        : fReader(reader)
    { }
    bool hasNext() const { return fReader.hasNext(); }
    void nextChar(TTextChar &info) { fReader.nextChar(info); }
    void prevChar(TTextChar &info) { fReader.prevChar(info); }

private:
    TAbstractTextReader &fReader;
};

} // namespace zarno
