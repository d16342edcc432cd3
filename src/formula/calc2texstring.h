#pragma once

#include "formula/calcsymbol.h"
#include "formula/tokennode.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace zarno {

// How a symbol of the formula language becomes typeset text: the rule joins
// the typeset texts of a node's children (converted first, each with the
// omitParens the rule asks for) around the symbol's typeset name. Where the
// surrounding notation already groups a child (inside the braces of a
// fraction or a root), typed parentheses are left out.
class TAbstractC2TStrProc
{
public:
    virtual ~TAbstractC2TStrProc() = default;

    // The whole subtree of node (node's token must be a symbol's).
    void convert(const QString &texName, TTokenNode &node, QString &out, bool omitParens) const;

    // Whether the children are converted at all (a parenthesis left out is not).
    virtual bool usesChildren(bool /*omitParens*/) const { return true; }
    virtual bool childOmitParens(int /*index*/, bool /*omitParens*/) const { return false; }
    // The node's text from its children's texts, which it may take over.
    // Sets the node's error flag where the rule propagates errors.
    virtual QString join(
        const QString &texName, TTokenNode &node, QStringList &children, bool omitParens) const = 0;

protected:
    static bool anyChildError(const TTokenNode &node);
    static bool isInvalidToken(const TTokenNode &node);
    // Raises the unexpected-state error for a child count the parser never makes.
    [[noreturn]] static void wrongCount(
        const QString &nodeClass, const QString &needed, int count, const char *method);
};

class TC2TStrProcNoParam final : public TAbstractC2TStrProc
{
public:
    QString join(const QString &texName, TTokenNode &node, QStringList &children,
        bool omitParens) const override;
};

class TC2TStrProcBinaryOperator final : public TAbstractC2TStrProc
{
public:
    QString join(const QString &texName, TTokenNode &node, QStringList &children,
        bool omitParens) const override;
};

class TC2TStrProcDiv final : public TAbstractC2TStrProc
{
public:
    bool childOmitParens(int, bool) const override { return true; }
    QString join(const QString &texName, TTokenNode &node, QStringList &children,
        bool omitParens) const override;
};

class TC2TStrProcParen final : public TAbstractC2TStrProc
{
public:
    bool usesChildren(bool omitParens) const override { return !omitParens; }
    QString join(const QString &texName, TTokenNode &node, QStringList &children,
        bool omitParens) const override;
};

class TC2TStrProcParenParent final : public TAbstractC2TStrProc
{
public:
    bool childOmitParens(int, bool omitParens) const override { return omitParens; }
    QString join(const QString &texName, TTokenNode &node, QStringList &children,
        bool omitParens) const override;
};

class TC2TStrProcSqrt final : public TAbstractC2TStrProc
{
public:
    bool childOmitParens(int, bool) const override { return true; }
    QString join(const QString &texName, TTokenNode &node, QStringList &children,
        bool omitParens) const override;
};

// The two arguments of logn and nthrt, gathered from the node's children
// (complete: "(", first, ",", second, ")").
struct TLogNAndNthRootParam
{
    QString base;
    QString argument;
    bool single = false;
    bool closed = false;

    void analyzeParam(const TTokenNode &node, const QStringList &children);
};

class TC2TStrProcLogN final : public TAbstractC2TStrProc
{
public:
    bool childOmitParens(int, bool) const override { return true; }
    QString join(const QString &texName, TTokenNode &node, QStringList &children,
        bool omitParens) const override;
};

class TC2TStrProcNthRoot final : public TAbstractC2TStrProc
{
public:
    bool childOmitParens(int, bool) const override { return true; }
    QString join(const QString &texName, TTokenNode &node, QStringList &children,
        bool omitParens) const override;
};

// The shared rule instances and which symbol follows which.
class TC2TStrProcCreator
{
public:
    TC2TStrProcCreator() = delete;
    static const TAbstractC2TStrProc &ruleFor(const TCalcSymbol &symbol);
    // Gives every symbol of a table its rule.
    static void attach(const std::vector<TCalcSymbol *> &symbols);
};

// The typeset text of a formula's (sub)tree. An invalid token becomes the
// marker "\?" with its raw text and the blanks that followed it, and sets
// the error flag of its node. Works without recursion, so that a formula as
// long as a file can hold converts without exhausting the call stack.
void calc2TeXString(TTokenNode &node, bool omitParens, QString &out);

} // namespace zarno
