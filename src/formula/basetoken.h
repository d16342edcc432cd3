#pragma once

#include "core/enums.h"
#include "formula/textreader.h"

#include <QList>
#include <QString>

namespace zarno {

// The character class of one UTF-16 code unit; the classes are tested in a
// fixed order and the first that matches wins.
TBaseTokenKind baseTokenKindOf(QChar ch);

// A run of characters of one class (an operator character is always alone).
struct TBaseToken
{
    TBaseTokenKind kind = TBaseTokenKind::btkAlphabet;
    int byteOffset = 0;
    int line = 0;
    int position = 0;
    QString text;

    // "kind:…,  line:…,  pos:…[,  str:…],  code:…" for diagnostics.
    QString toString() const;
};

using TBaseTokenList = QList<TBaseToken>;

// A cursor over base tokens that can step back and be put back where it was.
class TBaseTokenIterator
{
public:
    explicit TBaseTokenIterator(const TBaseTokenList &list)
        : fList(&list)
    { }
    bool hasNext() const { return fPos < fList->size(); }
    const TBaseToken &next() { return fList->at(fPos++); }
    const TBaseToken &peek() const { return fList->at(fPos); }
    bool hasPrevious() const { return fPos > 0; }
    const TBaseToken &previous() { return fList->at(--fPos); }
    qsizetype mark() const { return fPos; }
    void reset(qsizetype mark) { fPos = mark; }

private:
    const TBaseTokenList *fList;
    qsizetype fPos = 0;
};

// Stage one of reading a formula: characters to base tokens.
class TTokenReader
{
public:
    explicit TTokenReader(TAbstractTextReader &reader)
        : fChars(reader)
    { }
    bool hasNext() const { return fChars.hasNext(); }
    TBaseToken nextToken();

private:
    TCharIterator fChars;
};

class TTokenDivider
{
public:
    void divide(TAbstractTextReader &reader);
    const TBaseTokenList &tokens() const { return fTokens; }
    TBaseTokenIterator iterator() const { return TBaseTokenIterator(fTokens); }
    void clear() { fTokens.clear(); }

private:
    TBaseTokenList fTokens;
};

} // namespace zarno
