#include "formula/infix2tree.h"

#include "core/exceptions.h"

namespace zarno {

namespace {

const QString kClassName = QStringLiteral("TInfix2tree");

QString positionText(int position)
{
    return position < 0 ? QStringLiteral("最後")
                        : QString::number(position) + QStringLiteral("文字目");
}

bool isOperatorText(const TMyToken *t, const char *text)
{
    return t->kind() == TMyTokentype::mt_c_operator && t->text() == QLatin1String(text);
}

} // namespace

class TInfix2tree::NestingGuard
{
public:
    NestingGuard(TInfix2tree &p, TTokenNode *node)
        : fParser(p)
    {
        if (++fParser.fNesting > kMaxNesting)
            fParser.fail(node, fParser.fPos, QStringLiteral("式の入れ子が深すぎます。(%s)"), {},
                fParser.peek()->position(), "primary");
    }
    ~NestingGuard() { --fParser.fNesting; }

private:
    TInfix2tree &fParser;
};

TInfix2tree::TInfix2tree(TCalcSymbolList &symbolList)
    : fSymbolList(symbolList)
{
    fSetTokenProc.setSymbolList(&symbolList);
}

TInfix2tree::~TInfix2tree() = default;

TMyToken *TInfix2tree::peek() const
{
    return atEnd() ? nullptr : fTokenList->at(fPos);
}

TMyToken *TInfix2tree::take()
{
    return fTokenList->at(fPos++);
}

bool TInfix2tree::atEnd() const
{
    return fPos >= fTokenList->count();
}

bool TInfix2tree::peekOperator(const char *text) const
{
    const TMyToken *t = peek();
    return t && isOperatorText(t, text);
}

int TInfix2tree::positionAfterLastToken() const
{
    if (fTokenList->count() == 0)
        return 1;
    const TMyToken *last = fTokenList->at(fTokenList->count() - 1);
    return last->position() + int(last->text().size());
}

TCalcToken *TInfix2tree::newToken(TCalcSymbol *symbol, TMyTokentype kind, int position, int blanks)
{
    auto t = std::make_unique<TCalcToken>(symbol, kind, position, blanks);
    TCalcToken *raw = t.get();
    fExtraTokens.push_back(std::move(t));
    return raw;
}

TCalcToken *TInfix2tree::newToken(
    const QString &symbolName, TMyTokentype kind, int position, int blanks)
{
    return newToken(fSymbolList.mustFindSymbol(symbolName), kind, position, blanks);
}

TInvalidCalcTokens *TInfix2tree::newInvalid(const QString &text, int position)
{
    auto t = std::make_unique<TInvalidCalcTokens>(text, position);
    TInvalidCalcTokens *raw = t.get();
    fExtraTokens.push_back(std::move(t));
    return raw;
}

void TInfix2tree::fail(TTokenNode *node, qsizetype restFrom, const QString &pattern,
    FormatArgs args, int position, const char *method)
{
    QString rest;
    for (qsizetype i = restFrom; i < fTokenList->count(); ++i)
        rest += fTokenList->at(i)->textWithSpaces();
    rest = rest.trimmed();
    const int restPosition = restFrom < fTokenList->count() ? fTokenList->at(restFrom)->position()
                                                            : positionAfterLastToken();
    if (node)
        node->addChild(newInvalid(rest.isEmpty() ? QStringLiteral("_") : rest, restPosition));
    args.push_back(fmtArg(positionText(position)));
    throw EInfix2TreeAnalyze(kClassName, args, pattern, QString::fromLatin1(method));
}

std::unique_ptr<TTokenNode> TInfix2tree::startCompile(TAbstractTextReader &reader)
{
    try {
        fExtraTokens.clear();
        fTokenList = std::make_unique<TMyTokenList>(fSetTokenProc);
        fTokenList->readFrom(reader);
    } catch (const EMyFatalException &) {
        throw;
    } catch (const EZarnoBase &e) {
        throw EMyFatalException(kClassName, e.message(), QStringLiteral("startCompile"));
    }
    return compileProc();
}

std::unique_ptr<TTokenNode> TInfix2tree::compileProc()
{
    auto root = std::make_unique<TTokenNode>();
    fErrorFlag = 0;
    fErrorMessage.clear();
    fLastNode = nullptr;
    fPos = 0;
    fNesting = 0;
    if (!fTokenList)
        fTokenList = std::make_unique<TMyTokenList>(fSetTokenProc);
    try {
        if (fTokenList->count() == 0)
            fail(nullptr, 0, QStringLiteral("式がありません。(%s)"), {}, -1, "compileProc");
        expression(root.get());
        if (root->childCount() > 1)
            throw ESouteigai(kClassName, { fmtArg(root->childCount()) },
                QStringLiteral("rootNodeに子(%d個)が2個以上あります。"),
                QStringLiteral("compileProc"));
        if (!atEnd()) {
            // What follows a complete formula is wrong together with the last
            // operand: "x)" reports "x)", "2+3 4" reports "3 4".
            TMyToken *lastToken = fLastNode->token();
            QString text = lastToken->textWithSpaces();
            for (qsizetype i = fPos; i < fTokenList->count(); ++i)
                text += fTokenList->at(i)->textWithSpaces();
            while (text.endsWith(QLatin1Char(' ')))
                text.chop(1);
            fLastNode->setToken(newInvalid(text, lastToken->position()));
            throw EInfix2TreeAnalyze(kClassName,
                { fmtArg(text), fmtArg(positionText(lastToken->position())) },
                QStringLiteral("不正な文字[%s]があります。(%s)"), QStringLiteral("compileProc"));
        }
    } catch (const EInfix2TreeAnalyze &e) {
        fErrorFlag = 1;
        fErrorMessage = e.detail();
    } catch (const EMyFatalException &) {
        throw;
    } catch (const EZarnoBase &e) {
        throw EMyFatalException(kClassName, e.message(), QStringLiteral("compileProc"));
    }
    if (root->childCount() == 0)
        return nullptr;
    return root->takeChild(0);
}

void TInfix2tree::expression(TTokenNode *node)
{
    if (peekOperator("-")) {
        // A leading minus takes the first term only: -a+b is (-a)+b.
        TMyToken *minus = take();
        TTokenNode *m = node->addChild(
            newToken(QStringLiteral("#"), TMyTokentype::mt_t_monoMinus, minus->position()));
        term(m);
    } else {
        term(node);
    }
    while (peekOperator("+") || peekOperator("-")) {
        TTokenNode *op = node->insertBeforeLastChild(take());
        term(op);
    }
}

void TInfix2tree::term(TTokenNode *node)
{
    implicitProduct(node);
    while (peekOperator("*") || peekOperator("/")) {
        TTokenNode *op = node->insertBeforeLastChild(take());
        implicitProduct(op);
    }
}

void TInfix2tree::implicitProduct(TTokenNode *node)
{
    power(node);
    for (;;) {
        const TMyToken *t = peek();
        if (!t)
            return;
        switch (t->kind()) {
        case TMyTokentype::mt_c_leftParen:
        case TMyTokentype::mt_c_const:
        case TMyTokentype::mt_c_variable:
        case TMyTokentype::mt_c_function:
        case TMyTokentype::mt_invalid: break;
        default: return; // a number never starts an implicit factor
        }
        TTokenNode *op = node->insertBeforeLastChild(
            newToken(QStringLiteral("%"), TMyTokentype::mt_c_operator, t->position()));
        power(op);
    }
}

void TInfix2tree::power(TTokenNode *node)
{
    primary(node);
    while (peekOperator("^")) {
        TTokenNode *op = node->insertBeforeLastChild(take());
        primary(op);
    }
}

void TInfix2tree::primary(TTokenNode *node)
{
    if (atEnd())
        fail(node, fPos, QStringLiteral("数値・変数などが必要です。(%s)"), {},
            positionAfterLastToken(), "primary");
    TMyToken *t = peek();
    switch (t->kind()) {
    case TMyTokentype::mt_c_number:
    case TMyTokentype::mt_c_const:
    case TMyTokentype::mt_c_variable: fLastNode = node->addChild(take()); return;
    case TMyTokentype::mt_c_leftParen: group(node); return;
    case TMyTokentype::mt_c_function: functionCall(node); return;
    default:
        fail(node, fPos, QStringLiteral("不正な文字[%s]があります。(%s)"), { fmtArg(t->text()) },
            t->position(), "primary");
    }
}

void TInfix2tree::group(TTokenNode *node)
{
    NestingGuard guard(*this, node);
    TMyToken *open = take();
    node->addChild(open);
    TTokenNode *marker = node->insertBeforeLastChild(
        newToken(QStringLiteral("&"), TMyTokentype::mt_v_paren, open->position()));
    expression(marker);
    const TMyToken *t = peek();
    if (!t || t->kind() != TMyTokentype::mt_c_rightParen)
        fail(marker, fPos, QStringLiteral("右括弧が不足しています。(%s)"), {}, -1, "group");
    fLastNode = marker->addChild(take());
}

void TInfix2tree::functionCall(TTokenNode *node)
{
    NestingGuard guard(*this, node);
    auto *fn = static_cast<TCalcToken *>(take());
    TTokenNode *fnNode = node->addChild(fn);
    fLastNode = fnNode;
    if (atEnd())
        fail(fnNode, fPos, QStringLiteral("関数に引数がありません。(%sの関数)"), {}, fn->position(),
            "functionCall");
    const int arity = static_cast<TOperator *>(fn->symbol())->arity();
    TCalcToken *call = fn;

    if (peekOperator("^")) {
        // sin^n x: (sin x)^n through the symbol "sin^".
        TOperator *powered = fSymbolList.findOp(fn->text() + QLatin1Char('^'));
        if (!powered)
            fail(fnNode, fPos, QStringLiteral("関数に左括弧がありません。(%sに必要)"), {},
                fn->position(), "functionCall");
        TMyToken *hat = take();
        call = newToken(
            powered, TMyTokentype::mt_c_powerFunction, hat->position(), hat->blankCount());
        fnNode->setToken(call);
        power(fnNode);
        if (atEnd())
            fail(fnNode, fPos, QStringLiteral("関数に引数がありません。(%sの関数)"), {},
                fn->position(), "functionCall");
    }

    TMyToken *t = peek();
    if (t->kind() == TMyTokentype::mt_c_leftParen) {
        fnNode->addChild(take());
        arguments(fnNode, call, arity);
    } else if (arity == 1) {
        // Without parentheses the argument is an implicit product:
        // sin 2x is sin(2x), sin x * y is (sin x)*y.
        implicitProduct(fnNode);
    } else {
        fail(fnNode, fPos, QStringLiteral("関数に左括弧がありません。(%sに必要)"), {},
            t->position(), "functionCall");
    }
}

void TInfix2tree::arguments(TTokenNode *fnNode, TCalcToken *callToken, int arity)
{
    int count = 0;
    for (;;) {
        ++count;
        expression(fnNode);
        if (atEnd()) {
            if (count < arity)
                fail(fnNode, fPos, QStringLiteral("関数引数の数が不足しています。(%s)"), {}, -1,
                    "arguments");
            fail(fnNode, fPos, QStringLiteral("右括弧が不足しています。(%s)"), {}, -1, "arguments");
        }
        const TMyToken *t = peek();
        if (t->kind() == TMyTokentype::mt_c_rightParen)
            break;
        if (t->kind() != TMyTokentype::mt_c_comma)
            fail(fnNode, fPos, QStringLiteral("不正な文字[%s]があります。(%s)"),
                { fmtArg(t->text()) }, t->position(), "arguments");
        if (arity != 0 && count == arity)
            fail(fnNode, fPos, QStringLiteral("関数引数の数が多すぎます。(%s)"), {}, t->position(),
                "arguments");
        fnNode->addChild(take());
    }
    const TMyToken *close = peek();
    if (arity == 0)
        callToken->setArgumentCount(count);
    else if (count < arity)
        fail(fnNode, fPos, QStringLiteral("関数引数の数が不足しています。(%s)"), {},
            close->position(), "arguments");
    fLastNode = fnNode->addChild(take());
}

} // namespace zarno
