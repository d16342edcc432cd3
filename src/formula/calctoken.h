#pragma once

#include "core/enums.h"
#include "formula/basetoken.h"
#include "formula/calcsymbollist.h"

#include <QString>
#include <memory>
#include <vector>

namespace zarno {

// A token the parser sees: a symbol bound to its place in the text, or the
// unreadable rest of the text.
class TMyToken
{
public:
    TMyToken(TMyTokentype kind, int position, int blankCount = 0)
        : fKind(kind)
        , fPosition(position)
        , fBlankCount(blankCount)
    { }
    virtual ~TMyToken() = default;
    TMyToken(const TMyToken &) = delete;
    TMyToken &operator=(const TMyToken &) = delete;

    TMyTokentype kind() const { return fKind; }
    // 1-based character index of the token's first character.
    int position() const { return fPosition; }
    // How many blanks followed the token in the text.
    int blankCount() const { return fBlankCount; }
    void setBlankCount(int n) { fBlankCount = n; }

    virtual QString text() const = 0;
    QString textWithSpaces() const { return text() + QString(fBlankCount, QLatin1Char(' ')); }

private:
    TMyTokentype fKind;
    int fPosition;
    int fBlankCount;
};

class TCalcToken : public TMyToken
{
public:
    TCalcToken(TCalcSymbol *symbol, TMyTokentype kind, int position, int blankCount = 0);
    TCalcSymbol *symbol() const { return fSymbol; }
    QString text() const override { return fSymbol->name(); }
    // Only these tokens produce code; parentheses, commas and group markers
    // are kept in the tree for printing the formula as written.
    bool isCode() const;
    // How many arguments this call of the symbol takes: the arity, or for
    // max and min the number written in this call.
    int argumentCount() const { return fArgumentCount; }
    void setArgumentCount(int n) { fArgumentCount = n; }

private:
    TCalcSymbol *fSymbol;
    int fArgumentCount;
};

class TInvalidCalcTokens : public TMyToken
{
public:
    TInvalidCalcTokens(const QString &text, int position)
        : TMyToken(TMyTokentype::mt_invalid, position)
        , fText(text)
    { }
    QString text() const override { return fText; }

private:
    QString fText;
};

// Letter runs cut into known names, longest name first: "sinx" is "sin", "x".
class TSymbolDivider
{
public:
    void setSymbolList(const TCalcSymbolList *list) { fSymbolList = list; }
    void divideToken(TBaseTokenIterator &it);
    const TBaseTokenList &tokens() const { return fTokens; }
    TBaseTokenIterator iterator() const { return TBaseTokenIterator(fTokens); }

private:
    const TCalcSymbolList *fSymbolList = nullptr;
    TBaseTokenList fTokens;
};

class TMyTokenList;

class TAbstractSetTokenProc
{
public:
    virtual ~TAbstractSetTokenProc() = default;
    virtual void setToken(TBaseTokenIterator &it, TMyTokenList &list) = 0;
};

// Stage three: base tokens to calc tokens bound to symbols.
class TSetCalcTokenProc : public TAbstractSetTokenProc
{
public:
    void setSymbolList(TCalcSymbolList *list)
    {
        fSymbolList = list;
        fDivider.setSymbolList(list);
    }
    TCalcSymbolList *symbolList() const { return fSymbolList; }
    TSymbolDivider &divider() { return fDivider; }
    void setToken(TBaseTokenIterator &it, TMyTokenList &list) override;

private:
    TCalcSymbolList *fSymbolList = nullptr;
    TSymbolDivider fDivider;
};

// The tokens of one formula, in order; owns them.
class TMyTokenList
{
public:
    explicit TMyTokenList(TSetCalcTokenProc &proc)
        : fProc(proc)
    { }
    // Reads the whole text: character classes, symbol division, calc tokens.
    void readFrom(TAbstractTextReader &reader);

    void add(std::unique_ptr<TMyToken> token) { fTokens.push_back(std::move(token)); }
    qsizetype count() const { return qsizetype(fTokens.size()); }
    TMyToken *at(qsizetype i) const { return fTokens[std::size_t(i)].get(); }
    // The formula printed back as typed (names in their list spelling).
    QString text() const;

private:
    TSetCalcTokenProc &fProc;
    std::vector<std::unique_ptr<TMyToken>> fTokens;
};

class TMyTokenIterator
{
public:
    explicit TMyTokenIterator(const TMyTokenList &list)
        : fList(list)
    { }
    bool hasNext() const { return fPos < fList.count(); }
    TMyToken *next() { return fList.at(fPos++); }
    bool hasPrevious() const { return fPos > 0; }
    TMyToken *previous() { return fList.at(--fPos); }

private:
    const TMyTokenList &fList;
    qsizetype fPos = 0;
};

} // namespace zarno
