#include "formula/calc2texstring.h"

#include "core/exceptions.h"
#include "formula/calctoken.h"

#include <QHash>

namespace zarno {

namespace {

const QString S = QStringLiteral(" ");

void markError(TTokenNode &node)
{
    node.setErrorMark(1);
}

} // namespace

bool TAbstractC2TStrProc::anyChildError(const TTokenNode &node)
{
    for (int i = 0; i < node.childCount(); ++i)
        if (node.child(i)->errorMark() != 0)
            return true;
    return false;
}

bool TAbstractC2TStrProc::isInvalidToken(const TTokenNode &node)
{
    return node.token() && node.token()->kind() == TMyTokentype::mt_invalid;
}

void TAbstractC2TStrProc::wrongCount(
    const QString &nodeClass, const QString &needed, int count, const char *method)
{
    throw ESouteigai(QStringLiteral("TAbstractC2TStrProc"),
        { fmtArg(nodeClass), fmtArg(needed), fmtArg(count) },
        QStringLiteral("%sのパラメータの数が合いません。(必要:%s, 実際:%d)"),
        QString::fromLatin1(method));
}

void TAbstractC2TStrProc::convert(
    const QString &texName, TTokenNode &node, QString &out, bool omitParens) const
{
    QStringList children;
    if (usesChildren(omitParens))
        for (int i = 0; i < node.childCount(); ++i) {
            QString text;
            calc2TeXString(*node.child(i), childOmitParens(i, omitParens), text);
            children << text;
        }
    out = join(texName, node, children, omitParens);
}

QString TC2TStrProcNoParam::join(
    const QString &texName, TTokenNode &node, QStringList &children, bool) const
{
    QString out = texName;
    for (const QString &c : children)
        out += S + c + S;
    if (anyChildError(node))
        markError(node);
    return out;
}

QString TC2TStrProcBinaryOperator::join(
    const QString &texName, TTokenNode &node, QStringList &children, bool) const
{
    if (node.childCount() != 2)
        wrongCount(QStringLiteral("TNode<TMyToken>"), QStringLiteral("2"), node.childCount(),
            "checkParamCount");
    if (anyChildError(node))
        markError(node);
    // Chains (1+1+1+…, x^2^2…) nest to the left as deep as the formula is
    // long: the left text is extended in place, never copied.
    QString out = std::move(children[0]);
    out += S;
    out += texName;
    out += S;
    out += children[1];
    return out;
}

QString TC2TStrProcDiv::join(
    const QString &texName, TTokenNode &node, QStringList &children, bool) const
{
    if (node.childCount() != 2)
        wrongCount(QStringLiteral("TNode<TMyToken>"), QStringLiteral("2"), node.childCount(),
            "checkParamCount");
    QString out = std::move(children[0]);
    out.prepend(texName + QLatin1Char('{'));
    out += QStringLiteral("}{");
    out += children[1];
    // The denominator of a broken formula ends in its raw remainder, which
    // must follow unclosed.
    if (anyChildError(node))
        markError(node);
    else
        out += QLatin1Char('}');
    return out;
}

QString TC2TStrProcParen::join(
    const QString &texName, TTokenNode &, QStringList &, bool omitParens) const
{
    return omitParens ? QString() : S + texName + S;
}

QString TC2TStrProcParenParent::join(
    const QString &texName, TTokenNode &node, QStringList &children, bool) const
{
    QString out = texName;
    for (const QString &c : children)
        out += S + c + S;
    if (anyChildError(node))
        markError(node);
    return out;
}

QString TC2TStrProcSqrt::join(
    const QString &texName, TTokenNode &node, QStringList &children, bool) const
{
    QString out = texName + QLatin1Char('{');
    switch (node.childCount()) {
    case 1:
        out += children[0];
        if (!isInvalidToken(*node.child(0)))
            out += QLatin1Char('}');
        break;
    case 2: out += children[1]; break;
    case 3:
        out += children[1];
        out += isInvalidToken(*node.child(2)) ? children[2] : QStringLiteral("}");
        break;
    default:
        wrongCount(QStringLiteral("TTokenNode"), QStringLiteral("1〜3"), node.childCount(), "done");
    }
    return out;
}

void TLogNAndNthRootParam::analyzeParam(const TTokenNode &node, const QStringList &children)
{
    base.clear();
    argument.clear();
    single = closed = false;
    switch (node.childCount()) {
    case 1:
        base = children[0];
        single = closed = true;
        break;
    case 2:
        base = children[1];
        single = closed = true;
        break;
    case 3:
        base = children[1];
        argument = children[2];
        closed = true;
        break;
    case 4:
        base = children[1];
        argument = children[3];
        closed = true;
        break;
    case 5:
        base = children[1];
        argument = children[3];
        if (node.child(4)->token() && node.child(4)->token()->kind() == TMyTokentype::mt_invalid) {
            closed = true;
            argument += children[4];
        }
        break;
    default:
        throw ESouteigai(QStringLiteral("TLogNAndNthRootParam"),
            { fmtArg("TTokenNode"), fmtArg("2〜5"), fmtArg(node.childCount()) },
            QStringLiteral("%sのパラメータの数が合いません。(必要:%s, 実際:%d)"),
            QStringLiteral("analyzeParam"));
    }
    // An incomplete form leaves its last brace open for the raw remainder.
    base = QLatin1Char('{') + base;
    if (!single) {
        base += QLatin1Char('}');
        argument = QLatin1Char('{') + argument;
    }
    if (!closed)
        argument += QLatin1Char('}');
}

QString TC2TStrProcLogN::join(
    const QString &texName, TTokenNode &node, QStringList &children, bool) const
{
    TLogNAndNthRootParam p;
    p.analyzeParam(node, children);
    if (node.childCount() == 1)
        return texName + p.base;
    return texName + QLatin1Char('_') + p.base + S + p.argument;
}

QString TC2TStrProcNthRoot::join(
    const QString &texName, TTokenNode &node, QStringList &children, bool) const
{
    TLogNAndNthRootParam p;
    p.analyzeParam(node, children);
    if (node.childCount() == 1)
        return texName + p.base;
    return texName + p.base + p.argument;
}

const TAbstractC2TStrProc &TC2TStrProcCreator::ruleFor(const TCalcSymbol &symbol)
{
    static const TC2TStrProcNoParam noParam;
    static const TC2TStrProcBinaryOperator binary;
    static const TC2TStrProcDiv div;
    static const TC2TStrProcSqrt sqrt;
    static const TC2TStrProcLogN logN;
    static const TC2TStrProcNthRoot nthRoot;
    static const TC2TStrProcParen paren;
    static const TC2TStrProcParenParent parenParent;
    static const QHash<QString, const TAbstractC2TStrProc *> byName {
        { QStringLiteral("+"), &binary },
        { QStringLiteral("-"), &binary },
        { QStringLiteral("*"), &binary },
        { QStringLiteral("^"), &binary },
        { QStringLiteral("%"), &binary },
        { QStringLiteral("^^"), &binary },
        { QStringLiteral("/"), &div },
        { QStringLiteral("sqrt"), &sqrt },
        { QStringLiteral("logn"), &logN },
        { QStringLiteral("nthrt"), &nthRoot },
        { QStringLiteral("("), &paren },
        { QStringLiteral(")"), &paren },
        { QStringLiteral("&"), &parenParent },
    };
    if (symbol.texProc())
        return *symbol.texProc();
    // Numbers, constants, variables, functions, "#", "," and " ".
    switch (symbol.kind()) {
    case TSymbolKind::OperatorEnzanshi:
    case TSymbolKind::OperatorFunction:
    case TSymbolKind::Other: return *byName.value(symbol.name(), &noParam);
    default: return noParam;
    }
}

void TC2TStrProcCreator::attach(const std::vector<TCalcSymbol *> &symbols)
{
    for (TCalcSymbol *s : symbols)
        s->setTexProc(&ruleFor(*s));
}

void calc2TeXString(TTokenNode &root, bool omitParens, QString &out)
{
    struct Frame
    {
        TTokenNode *node;
        bool omitParens;
        const TAbstractC2TStrProc *rule;
        QString texName;
        QStringList children;
        int next;
    };
    std::vector<Frame> stack;
    QString result;
    // Pushes a frame for node, or, for a leaf that needs none, leaves its
    // text in result and answers false.
    const auto enter = [&](TTokenNode &node, bool omit) {
        TMyToken *token = node.token();
        if (token && token->kind() == TMyTokentype::mt_invalid) {
            markError(node);
            result = QStringLiteral("\\?") + token->textWithSpaces();
            return false;
        }
        const auto *calc = dynamic_cast<const TCalcToken *>(token);
        if (!calc)
            throw ESouteigai(QStringLiteral("TMyToken"), QStringLiteral("calc2TeXString"));
        const TCalcSymbol &symbol = *calc->symbol();
        stack.push_back(
            { &node, omit, &TC2TStrProcCreator::ruleFor(symbol), symbol.texName(), {}, 0 });
        return true;
    };
    if (enter(root, omitParens)) {
        while (!stack.empty()) {
            const std::size_t top = stack.size() - 1;
            Frame &f = stack[top];
            if (f.rule->usesChildren(f.omitParens) && f.next < f.node->childCount()) {
                const int i = f.next++;
                if (!enter(*f.node->child(i), f.rule->childOmitParens(i, f.omitParens)))
                    stack[top].children << std::move(result);
                continue;
            }
            result = f.rule->join(f.texName, *f.node, f.children, f.omitParens);
            stack.pop_back();
            if (!stack.empty())
                stack.back().children << std::move(result);
        }
    }
    out = result;
}

} // namespace zarno
