#pragma once

#include "formula/calctoken.h"
#include "typeset/texsymbol.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace zarno {

class TTeXToken;

// A cell of a token list: it refers to a token that a parser owns.
struct TListValue
{
    TTeXToken *token = nullptr;
};

// A horizontal list of typeset tokens; the parsed tree is made of these.
class TTokenList
{
public:
    void add(TTeXToken *token) { fCells.push_back({ token }); }
    int count() const { return int(fCells.size()); }
    bool isEmpty() const { return fCells.empty(); }
    TTeXToken *at(int i) const { return fCells[std::size_t(i)].token; }
    TTeXToken *last() const { return fCells.back().token; }
    std::vector<TListValue>::const_iterator begin() const { return fCells.begin(); }
    std::vector<TListValue>::const_iterator end() const { return fCells.end(); }

private:
    std::vector<TListValue> fCells;
};

// A token of typeset text: a symbol at its place in the text, with the
// scripts written after it and, for commands and groups, its arguments.
class TTeXToken : public TMyToken
{
public:
    TTeXToken(TMyTokentype kind, int position, TTeXSymbol symbol)
        : TMyToken(kind, position)
        , fSymbol(std::move(symbol))
    { }

    QString text() const override { return fSymbol.name(); }
    QString sourceText() const { return text(); }
    const TTeXSymbol &symbol() const { return fSymbol; }

    TTokenList &superscripts() { return fSuperscripts; }
    const TTokenList &superscripts() const { return fSuperscripts; }
    TTokenList &subscripts() { return fSubscripts; }
    const TTokenList &subscripts() const { return fSubscripts; }
    int argumentCount() const { return int(fArguments.size()); }
    const TTokenList &argument(int i) const { return *fArguments[std::size_t(i)]; }
    TTokenList &newArgumentList();

private:
    TTeXSymbol fSymbol;
    TTokenList fSuperscripts;
    TTokenList fSubscripts;
    std::vector<std::unique_ptr<TTokenList>> fArguments;
};

// "\string" and "\code": their arguments are kept as raw text.
class TTeXTokenString final : public TTeXToken
{
public:
    using TTeXToken::TTeXToken;

    // The command and everything read for it, as typed.
    const QString &rawText() const { return fRawText; }
    void appendRaw(const QString &text) { fRawText += text; }
    void setArguments(QStringList arguments) { fArguments = std::move(arguments); }
    const QStringList &arguments() const { return fArguments; }
    const QString &outFirst() const { return out(0, "outFirst"); }
    const QString &outSecond() const { return out(1, "outSecond"); }
    bool isInvalid() const { return fInvalid; }
    void setInvalid() { fInvalid = true; }

private:
    const QString &out(int i, const char *method) const;

    QString fRawText;
    QStringList fArguments;
    bool fInvalid = false;
};

// What could not be read: an unknown command, or the rest of the text after
// an error. It draws its text highlighted.
class TInvalidTeXTokens final : public TTeXToken
{
public:
    TInvalidTeXTokens(int position, TTeXSymbol symbol)
        : TTeXToken(TMyTokentype::mt_invalid, position, std::move(symbol))
    { }
};

// A delimiter and its token kind (10 to 13).
struct TParenOrGroupingInfo
{
    QString text;
    TMyTokentype kind;
};

class TParenOrGroupingInfoList
{
public:
    // The one list, made on first use.
    static const TParenOrGroupingInfoList &instance();
    const TParenOrGroupingInfo *find(const QString &text) const;
    // Every bracket and grouping text, in table order.
    QStringList texts() const;
    // The closing kind that matches an opening kind.
    static TMyTokentype matchingKind(TMyTokentype kind);

private:
    TParenOrGroupingInfoList();
    std::vector<TParenOrGroupingInfo> fInfos;
    QHash<QString, int> fIndex;
};

// The tree as text, for tests and diagnostics: each token as text:kind, its
// arguments in braces, then ^{…} and _{…}; raw arguments in [a|b], "!"
// after an invalid raw command.
QString dumpTokenList(const TTokenList &list);

} // namespace zarno
