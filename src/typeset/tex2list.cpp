#include "typeset/tex2list.h"

#include "core/exceptions.h"

namespace zarno {

namespace {

const QString kClassName = QStringLiteral("TTeX2List");

QString positionText(int position)
{
    return position < 0 ? QStringLiteral("最後")
                        : QString::number(position) + QStringLiteral("文字目");
}

TMyTokentype kindOfBaseClass(TBaseTokenKind kind)
{
    switch (kind) {
    case TBaseTokenKind::btkAlphabet: return TMyTokentype::mt_t_alphabet;
    case TBaseTokenKind::btkNumber: return TMyTokentype::mt_t_number;
    case TBaseTokenKind::btkSpace: return TMyTokentype::mt_t_space;
    default: return TMyTokentype::mt_t_other;
    }
}

bool isClosing(const TTeXToken *t)
{
    return t->kind() == TMyTokentype::mt_t_rightGrouping
        || t->kind() == TMyTokentype::mt_t_rightParen;
}

bool isScriptSign(const TTeXToken *t)
{
    // "^" is plain text, "_" the table's entry of kind mt_invalid.
    if (t->kind() != TMyTokentype::mt_t_other && t->kind() != TMyTokentype::mt_invalid)
        return false;
    const QString text = t->text();
    return text == QLatin1String("^") || text == QLatin1String("_");
}

} // namespace

TTeXSymbol TSetTeXTokenProc::symbolOfKind(TMyTokentype kind, const QString &text) const
{
    if (auto symbol = fSymbols.defaultSymbol(kind, text))
        return std::move(*symbol);
    return TTeXDrawSymbolList::plainSymbol(kind, text);
}

void TSetTeXTokenProc::setToken(TBaseTokenIterator &it, TTeXTokenOwner &tokens)
{
    fUnknownCommand = false;
    while (it.hasNext()) {
        const TBaseToken &base = it.next();
        if (const TSymbolOrg *entry = fSymbols.findByName(base.text)) {
            tokens.push_back(
                std::make_unique<TTeXToken>(entry->kind(), base.position, entry->clone()));
            continue;
        }
        if (base.text != QLatin1String("\\")) {
            const TParenOrGroupingInfo *info = fDelimiters.find(base.text);
            const TMyTokentype kind = info ? info->kind : kindOfBaseClass(base.kind);
            tokens.push_back(
                std::make_unique<TTeXToken>(kind, base.position, symbolOfKind(kind, base.text)));
            continue;
        }
        if (!it.hasNext()) {
            tokens.push_back(std::make_unique<TInvalidTeXTokens>(
                base.position, *fSymbols.defaultSymbol(TMyTokentype::mt_invalid, base.text)));
            return;
        }
        const QString joined = base.text + it.next().text;
        if (const TParenOrGroupingInfo *info = fDelimiters.find(joined)) {
            tokens.push_back(std::make_unique<TTeXToken>(
                info->kind, base.position, symbolOfKind(info->kind, joined)));
            continue;
        }
        if (const TSymbolOrg *entry = fSymbols.findByName(joined)) {
            tokens.push_back(
                std::make_unique<TTeXToken>(entry->kind(), base.position, entry->clone()));
            continue;
        }
        // An unknown command: nothing after it can be read reliably.
        QString rest = joined;
        while (it.hasNext())
            rest += it.next().text;
        tokens.push_back(std::make_unique<TInvalidTeXTokens>(
            base.position, *fSymbols.defaultSymbol(TMyTokentype::mt_invalid, rest)));
        fUnknownCommand = true;
        return;
    }
}

class TTeX2List::NestingGuard
{
public:
    NestingGuard(TTeX2List &parser, TTokenList &list, const TTeXToken *token)
        : fParser(parser)
    {
        if (++fParser.fNesting > kMaxNesting)
            fParser.fail(list, QStringLiteral("入れ子が深すぎます。(%s)"), {}, token->position(),
                "analyzeProc");
    }
    ~NestingGuard() { --fParser.fNesting; }
    NestingGuard(const NestingGuard &) = delete;
    NestingGuard &operator=(const NestingGuard &) = delete;

private:
    TTeX2List &fParser;
};

TTeX2List::TTeX2List()
    : fSetTokenProc(fDelimiters)
{ }

TTeX2List::~TTeX2List() = default;

template <typename T> T *TTeX2List::own(std::unique_ptr<T> token)
{
    T *raw = token.get();
    fOwnTokens.push_back(std::move(token));
    return raw;
}

void TTeX2List::skipSpace()
{
    if (!atEnd() && peek()->kind() == TMyTokentype::mt_t_space)
        ++fPos;
}

void TTeX2List::fail(
    TTokenList &list, const QString &pattern, FormatArgs args, int position, const char *method)
{
    QString rest;
    for (qsizetype i = fPos; i < qsizetype(fTokens.size()); ++i)
        rest += fTokens[std::size_t(i)]->text();
    rest = rest.trimmed();
    // The marker the formula conversion puts before a formula's unreadable rest.
    if (rest.startsWith(QLatin1String("\\?")))
        rest = rest.mid(2);
    auto symbol = rest.isEmpty()
        ? fSymbols.findSymbolByNameAndMyTokentype(QStringLiteral("_"), TMyTokentype::mt_invalid)
              .clone()
        : *fSymbols.defaultSymbol(TMyTokentype::mt_invalid, rest);
    list.add(own(std::make_unique<TInvalidTeXTokens>(position, std::move(symbol))));
    args.push_back(fmtArg(positionText(position)));
    throw ETeX2ListAnalyze(kClassName, args, pattern, QString::fromLatin1(method));
}

const TTokenList &TTeX2List::startAnalyze(TAbstractTextReader &reader)
{
    fErrorFlag = false;
    fErrorMessage.clear();
    fTokens.clear();
    fOwnTokens.clear();
    fResult = TTokenList();
    fPos = 0;
    fNesting = 0;
    try {
        TTokenDivider divider;
        divider.divide(reader);
        TBaseTokenIterator it = divider.iterator();
        fSetTokenProc.setToken(it, fTokens);
        fErrorFlag = fSetTokenProc.unknownCommand();
        analyzeProc(fResult);
    } catch (const ETeX2ListAnalyze &e) {
        fErrorFlag = true;
        fErrorMessage = e.detail();
    } catch (const EMyFatalException &) {
        throw;
    } catch (const EZarnoBase &e) {
        throw EMyFatalException(kClassName, e.message(), QStringLiteral("startAnalyze"));
    }
    return fResult;
}

void TTeX2List::analyzeProc(TTokenList &root)
{
    try {
        sequence(root);
        if (!atEnd()) {
            const TTeXToken *stray = peek();
            fail(root, QStringLiteral("不正な文字[%s]（%s)があります。"), { fmtArg(stray->text()) },
                stray->position(), "analyzeProc");
        }
    } catch (const ETeX2ListAnalyze &e) {
        fErrorFlag = true;
        fErrorMessage = e.detail();
    } catch (const EMyFatalException &) {
        throw;
    } catch (const EZarnoBase &e) {
        throw EMyFatalException(kClassName, e.message(), QStringLiteral("analyzeProc"));
    }
}

void TTeX2List::sequence(TTokenList &list)
{
    for (;;) {
        skipSpace();
        if (atEnd() || isClosing(peek()))
            return;
        term(list);
    }
}

void TTeX2List::term(TTokenList &list)
{
    atom(list, false);
    if (list.isEmpty())
        fail(list, QStringLiteral("関数引数の数が不足しています。(%s)"), {}, -1, "term");
    scripts(list, list.last());
}

void TTeX2List::argument(TTokenList &list)
{
    atom(list, false);
    if (list.isEmpty())
        fail(list, QStringLiteral("関数引数の数が不足しています。(%s)"), {}, -1, "term");
    // Scripts after a braced argument belong to the command: "\sqrt{x}^2" is
    // the square of the root (the text the formula sqrt(x)^2 becomes) and
    // "\frac{a}{b}^2" the square of the fraction; "\sqrt x^2" stays the
    // root of x².
    const TTeXToken *last = list.last();
    if (last->kind() == TMyTokentype::mt_v_paren && last->argumentCount() > 0
        && !last->argument(0).isEmpty()
        && last->argument(0).at(0)->kind() == TMyTokentype::mt_t_leftGrouping)
        return;
    scripts(list, list.last());
}

void TTeX2List::scripts(TTokenList &list, TTeXToken *target)
{
    skipSpace();
    bool raised = false, lowered = false;
    // No space is skipped after a script: "x^2 _3" ends the scripts at the space.
    while (!atEnd() && isScriptSign(peek())) {
        const TTeXToken *sign = peek();
        const bool up = sign->text() == QLatin1String("^");
        if (up ? raised : lowered)
            fail(list,
                up ? QStringLiteral("^が二重になっています。(%s)")
                   : QStringLiteral("_が二重になっています。(%s)"),
                {}, sign->position(), "term");
        (up ? raised : lowered) = true;
        take();
        atom(up ? target->superscripts() : target->subscripts(), true);
    }
}

void TTeX2List::atom(TTokenList &list, bool required)
{
    skipSpace();
    if (atEnd()) {
        if (required)
            fail(list, QStringLiteral("^や_に引数がありません。(%s)"), {}, -1, "atom");
        return;
    }
    TTeXToken *t = peek();
    if (isScriptSign(t))
        fail(list, QStringLiteral("^や_はここでは使えません。(%s)"), {}, t->position(), "atom");
    switch (t->kind()) {
    case TMyTokentype::mt_t_leftGrouping:
    case TMyTokentype::mt_t_leftParen: group(list, take()); return;
    case TMyTokentype::mt_t_rightGrouping:
    case TMyTokentype::mt_t_rightParen:
        fail(list, QStringLiteral("左括弧が不足しています。(%sの右括弧に対応)"), {}, t->position(),
            "atom");
    case TMyTokentype::mt_t_combiBinaryOperator: {
        take();
        list.add(t);
        t->newArgumentList().add(own(std::make_unique<TTeXToken>(
            TMyTokentype::mt_t_other, t->position(), t->symbol().cloneSubSymbol())));
        return;
    }
    case TMyTokentype::mt_t_function: command(list, take()); return;
    case TMyTokentype::mt_invalid:
        fail(list, QStringLiteral("[%s]はコマンドではありません。(%s)"), { fmtArg(t->text()) },
            t->position(), "atom");
    default: break;
    }
    take();
    if (t->text() == QLatin1String("-") && !list.isEmpty()) {
        const TSymbolOrg &minus = fSymbols.findSymbolByNameAndMyTokentype(
            QStringLiteral("-"), TMyTokentype::mt_t_binaryOperator);
        list.add(own(std::make_unique<TTeXToken>(
            TMyTokentype::mt_t_binaryOperator, t->position(), minus.clone())));
        return;
    }
    list.add(t);
}

void TTeX2List::group(TTokenList &list, TTeXToken *open)
{
    NestingGuard guard(*this, list, open);
    TTeXToken *g = own(std::make_unique<TTeXToken>(TMyTokentype::mt_v_paren, open->position(),
        TTeXDrawSymbolList::plainSymbol(TMyTokentype::mt_v_paren, QStringLiteral("&"))));
    list.add(g);
    g->newArgumentList().add(open);
    TTokenList &content = g->newArgumentList();
    sequence(content);
    if (content.isEmpty())
        fail(content, QStringLiteral("%sの左括弧'{'のあとの引数が空白文字です。"), {},
            open->position(), "group");
    if (atEnd())
        fail(content,
            QStringLiteral("グルーピング用右括弧'}'が不足しています。(%sの左括弧'{'に対応)"), {},
            open->position(), "group");
    const TTeXToken *close = peek();
    if (close->kind() != TParenOrGroupingInfoList::matchingKind(open->kind()))
        fail(content, QStringLiteral("左括弧が不足しています。(%sの右括弧に対応)"), {},
            close->position(), "group");
    g->newArgumentList().add(take());
}

void TTeX2List::command(TTokenList &list, TTeXToken *token)
{
    if (!token->symbol().parseArguments()) {
        rawCommand(list, token);
        return;
    }
    NestingGuard guard(*this, list, token);
    list.add(token);
    for (int i = 0; i < token->symbol().argumentCount(); ++i) {
        TTokenList &argument = token->newArgumentList();
        if (atEnd())
            fail(argument, QStringLiteral("コマンド[%s](%s)の引数が不足しています。"),
                { fmtArg(token->text()) }, token->position(), "command");
        this->argument(argument);
    }
}

void TTeX2List::rawCommand(TTokenList &list, TTeXToken *token)
{
    const TSymbolOrg &entry
        = fSymbols.findSymbolByNameAndMyTokentype(token->text(), TMyTokentype::mt_t_function);
    auto *raw = own(std::make_unique<TTeXTokenString>(
        TMyTokentype::mt_t_function, token->position(), entry.clone()));
    list.add(raw);
    raw->appendRaw(token->text());
    const int count = entry.argumentCount();
    QStringList arguments;
    // Whatever happens, the token holds exactly its number of arguments.
    const auto stopEarly = [&](const QString &collected) {
        raw->setInvalid();
        while (!atEnd())
            raw->appendRaw(take()->text());
        arguments << collected;
        while (arguments.size() < count)
            arguments << QString();
        raw->setArguments(arguments);
    };
    for (int i = 0; i < count; ++i) {
        while (!atEnd() && peek()->kind() == TMyTokentype::mt_t_space)
            raw->appendRaw(take()->text());
        if (atEnd() || peek()->text() != QLatin1String("{")
            || fPos + 1 >= qsizetype(fTokens.size())) {
            stopEarly(QString());
            fail(list, QStringLiteral("コマンド[%s](%s)の引数が不足しています。"),
                { fmtArg(token->text()) }, -1, "rawCommand");
        }
        const TTeXToken *open = take();
        raw->appendRaw(open->text());
        QString collected;
        bool closed = false;
        while (!atEnd()) {
            const TTeXToken *t = take();
            const QString text = t->text();
            raw->appendRaw(text);
            if (text == QLatin1String("}")) {
                closed = true;
                break;
            }
            if (text == QLatin1String("\\}"))
                collected += QLatin1Char('}');
            else if (text == QLatin1String("\\\\"))
                collected += QLatin1Char('\\');
            else
                collected += text;
        }
        if (!closed) {
            stopEarly(collected);
            fail(list,
                QStringLiteral("グルーピング用右括弧'}'が不足しています。(%sの左括弧'{'に対応)"),
                {}, open->position(), "rawCommand");
        }
        arguments << collected;
    }
    raw->setArguments(arguments);
}

bool TTeX2ListFacade::analyze(const QString &text)
{
    fParser.reset();
    fParser = std::make_unique<TTeX2List>();
    TStringReader reader(text);
    fParser->startAnalyze(reader);
    fErrorFlag = fParser->errorFlag();
    return fErrorFlag;
}

} // namespace zarno
