#pragma once

#include "core/safeformat.h"
#include "formula/basetoken.h"
#include "formula/textreader.h"
#include "typeset/texsymbol.h"
#include "typeset/textoken.h"

#include <memory>
#include <vector>

namespace zarno {

using TTeXTokenOwner = std::vector<std::unique_ptr<TTeXToken>>;

// Stage one: the formula language's character classes cut the text into
// base tokens; each (or a backslash with the base token after it) becomes a
// typeset token with a kind and a symbol. An unknown command swallows the
// rest of the text into one invalid token.
class TSetTeXTokenProc
{
public:
    explicit TSetTeXTokenProc(const TParenOrGroupingInfoList &delimiters)
        : fDelimiters(delimiters)
    { }
    void setToken(TBaseTokenIterator &it, TTeXTokenOwner &tokens);
    bool unknownCommand() const { return fUnknownCommand; }

private:
    TTeXSymbol symbolOfKind(TMyTokentype kind, const QString &text) const;

    const TParenOrGroupingInfoList &fDelimiters;
    TTeXDrawSymbolList fSymbols;
    bool fUnknownCommand = false;
};

// Stage two: recursive descent over the typeset tokens, for one text. A
// syntax error never escapes: the parser appends an invalid token holding
// the unread rest of the text where it stopped, sets its error flag and
// keeps the message. The tree lives as long as the parser.
class TTeX2List
{
public:
    TTeX2List();
    ~TTeX2List();
    TTeX2List(const TTeX2List &) = delete;
    TTeX2List &operator=(const TTeX2List &) = delete;

    const TTokenList &startAnalyze(TAbstractTextReader &reader);
    bool errorFlag() const { return fErrorFlag; }
    // The last error's detail, e.g. "^が二重になっています。(4文字目)".
    const QString &errorMessage() const { return fErrorMessage; }
    const TTokenList &tokenList() const { return fResult; }

    // Groups and commands nested deeper than this are refused, so that
    // neither parsing nor layout can run out of stack.
    static constexpr int kMaxNesting = 100;

private:
    class NestingGuard;

    void analyzeProc(TTokenList &root);
    void sequence(TTokenList &list);
    void term(TTokenList &list);
    void argument(TTokenList &list);
    void scripts(TTokenList &list, TTeXToken *target);
    void atom(TTokenList &list, bool required);
    void group(TTokenList &list, TTeXToken *open);
    void command(TTokenList &list, TTeXToken *token);
    void rawCommand(TTokenList &list, TTeXToken *token);

    bool atEnd() const { return fPos >= qsizetype(fTokens.size()); }
    TTeXToken *peek() const { return fTokens[std::size_t(fPos)].get(); }
    TTeXToken *take() { return fTokens[std::size_t(fPos++)].get(); }
    void skipSpace();
    template <typename T> T *own(std::unique_ptr<T> token);
    // Appends the invalid rest (from the current token) to list and raises
    // the error; position -1 is the end of the text.
    [[noreturn]] void fail(TTokenList &list, const QString &pattern, FormatArgs args, int position,
        const char *method);

    const TParenOrGroupingInfoList &fDelimiters = TParenOrGroupingInfoList::instance();
    TSetTeXTokenProc fSetTokenProc;
    TTeXDrawSymbolList fSymbols;
    TTeXTokenOwner fTokens;
    TTeXTokenOwner fOwnTokens;
    TTokenList fResult;
    qsizetype fPos = 0;
    int fNesting = 0;
    bool fErrorFlag = false;
    QString fErrorMessage;
};

// Parses typeset text for everyone who draws it. Each analysis replaces
// the previous tree.
class TTeX2ListFacade
{
public:
    // True when the text has an error; the tree still holds what could be
    // read, ending in an invalid token.
    bool analyze(const QString &text);
    // The current tree; nullptr before the first analysis.
    const TTokenList *tokenList() const { return fParser ? &fParser->tokenList() : nullptr; }
    bool errorFlag() const { return fErrorFlag; }
    QString errorMessage() const { return fParser ? fParser->errorMessage() : QString(); }

private:
    std::unique_ptr<TTeX2List> fParser;
    bool fErrorFlag = true;
};

} // namespace zarno
