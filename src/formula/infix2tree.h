#pragma once

#include "core/safeformat.h"
#include "formula/calctoken.h"
#include "formula/tokennode.h"

#include <memory>
#include <vector>

namespace zarno {

// Infix formula text to a token tree, by recursive descent. Besides the
// grammar it inserts tokens the user never typed (unary minus "#", implicit
// multiplication "%", group marker "&", "sin^" and its kin) and keeps
// parentheses and commas in the tree for printing the formula back.
//
// A syntax error never escapes: the unreadable rest of the text is hung into
// the tree as an invalid token where the parse stopped, the error flag is set
// and the message is kept.
class TInfix2tree
{
public:
    explicit TInfix2tree(TCalcSymbolList &symbolList);
    ~TInfix2tree();
    TInfix2tree(const TInfix2tree &) = delete;
    TInfix2tree &operator=(const TInfix2tree &) = delete;

    // Tokenizes the reader's text and parses it. The tree may be returned
    // after an error too (with the invalid rest in it); an empty text gives none.
    std::unique_ptr<TTokenNode> startCompile(TAbstractTextReader &reader);
    std::unique_ptr<TTokenNode> compileProc();

    int errorFlag() const { return fErrorFlag; }
    // The message of the last syntax error, e.g. "右括弧が不足しています。(最後)".
    const QString &errorMessage() const { return fErrorMessage; }
    TTokenNode *lastNode() const { return fLastNode; }
    const TMyTokenList *tokenList() const { return fTokenList.get(); }

    // Nesting of parentheses and function calls beyond this is refused, so
    // that parsing never exhausts the call stack.
    static constexpr int kMaxNesting = 500;

private:
    class NestingGuard;

    void expression(TTokenNode *node);
    void term(TTokenNode *node);
    void implicitProduct(TTokenNode *node);
    void power(TTokenNode *node);
    void primary(TTokenNode *node);
    void group(TTokenNode *node);
    void functionCall(TTokenNode *node);
    void arguments(TTokenNode *fnNode, TCalcToken *callToken, int arity);

    TMyToken *peek() const;
    TMyToken *take();
    bool atEnd() const;
    bool peekOperator(const char *text) const;
    int positionAfterLastToken() const;
    TCalcToken *newToken(
        const QString &symbolName, TMyTokentype kind, int position, int blanks = 0);
    TCalcToken *newToken(TCalcSymbol *symbol, TMyTokentype kind, int position, int blanks = 0);
    TInvalidCalcTokens *newInvalid(const QString &text, int position);
    // Hangs the rest of the tokens from index restFrom into node as an invalid
    // token ("_" when nothing is left), then raises the syntax error. A
    // position of -1 is the end of the formula.
    [[noreturn]] void fail(TTokenNode *node, qsizetype restFrom, const QString &pattern,
        FormatArgs args, int position, const char *method);

    TCalcSymbolList &fSymbolList;
    TSetCalcTokenProc fSetTokenProc;
    std::unique_ptr<TMyTokenList> fTokenList;
    std::vector<std::unique_ptr<TMyToken>> fExtraTokens;
    int fErrorFlag = 0;
    QString fErrorMessage;
    TTokenNode *fLastNode = nullptr;
    qsizetype fPos = 0;
    int fNesting = 0;
};

} // namespace zarno
