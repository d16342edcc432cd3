#include "formula/calctoken.h"

#include "formula/numbertext.h"

namespace zarno {

TCalcToken::TCalcToken(TCalcSymbol *symbol, TMyTokentype kind, int position, int blankCount)
    : TMyToken(kind, position, blankCount)
    , fSymbol(symbol)
    , fArgumentCount(0)
{
    if (symbol->kind() == TSymbolKind::OperatorEnzanshi
        || symbol->kind() == TSymbolKind::OperatorFunction)
        fArgumentCount = static_cast<TOperator *>(symbol)->arity();
}

bool TCalcToken::isCode() const
{
    switch (kind()) {
    case TMyTokentype::mt_c_leftParen:
    case TMyTokentype::mt_c_rightParen:
    case TMyTokentype::mt_c_comma:
    case TMyTokentype::mt_v_paren: return false;
    default: return true;
    }
}

void TSymbolDivider::divideToken(TBaseTokenIterator &it)
{
    if (!fSymbolList)
        throw ESouteigai(QStringLiteral("TSymbolDivider"), { fmtArg("symbolList") },
            QStringLiteral("%sをセットせずに参照しています。"), QStringLiteral("divideToken"));
    fTokens.clear();
    while (it.hasNext()) {
        const TBaseToken &token = it.next();
        if (token.kind != TBaseTokenKind::btkAlphabet) {
            fTokens.append(token);
            continue;
        }
        QStringView rest(token.text);
        int position = token.position;
        int byteOffset = token.byteOffset;
        while (!rest.isEmpty()) {
            const QString name = fSymbolList->longestNamePrefix(rest);
            TBaseToken piece = token;
            piece.position = position;
            piece.byteOffset = byteOffset;
            if (name.isEmpty()) {
                piece.text = rest.toString();
                fTokens.append(piece);
                break;
            }
            piece.text = name;
            fTokens.append(piece);
            rest = rest.mid(name.size());
            position += int(name.size());
            byteOffset += 2 * int(name.size());
        }
    }
}

namespace {

TMyTokentype kindOfSymbol(const TCalcSymbol *symbol)
{
    switch (symbol->kind()) {
    case TSymbolKind::OperatorFunction: return TMyTokentype::mt_c_function;
    case TSymbolKind::OperatorEnzanshi: return TMyTokentype::mt_c_operator;
    case TSymbolKind::Variable: return TMyTokentype::mt_c_variable;
    case TSymbolKind::Const: return TMyTokentype::mt_c_const;
    case TSymbolKind::NumberDouble:
    case TSymbolKind::NumberInteger: return TMyTokentype::mt_c_number;
    case TSymbolKind::Other: break;
    }
    // The group marker and the blank cannot be typed as tokens.
    return TMyTokentype::mt_invalid;
}

} // namespace

void TSetCalcTokenProc::setToken(TBaseTokenIterator &it, TMyTokenList &list)
{
    if (!fSymbolList)
        throw ESouteigai(QStringLiteral("TSetCalcTokenProc"), { fmtArg("symbolList") },
            QStringLiteral("%sをセットせずに参照しています。"), QStringLiteral("setToken"));
    while (it.hasNext()) {
        const TBaseToken &base = it.next();
        if (base.kind == TBaseTokenKind::btkSpace || base.text.isEmpty())
            continue;

        TCalcSymbol *symbol = nullptr;
        TMyTokentype kind = TMyTokentype::mt_invalid;
        switch (base.kind) {
        case TBaseTokenKind::btkNumber:
            if (TNumberText::isDecimalLiteral(base.text)) {
                symbol = fSymbolList->tryAddNumber(base.text);
                if (symbol)
                    kind = TMyTokentype::mt_c_number;
            }
            break;
        case TBaseTokenKind::btkAlphabet:
        case TBaseTokenKind::btkOperator:
            symbol = fSymbolList->findSymbol(base.text);
            if (base.text == QLatin1String(","))
                kind = TMyTokentype::mt_c_comma;
            else if (base.text == QLatin1String("("))
                kind = TMyTokentype::mt_c_leftParen;
            else if (base.text == QLatin1String(")"))
                kind = TMyTokentype::mt_c_rightParen;
            else {
                // A variable name may run over several tokens (p, 1., x) and
                // wins over a symbol found for the first one (e of e1.cx).
                if (TVariable *v = fSymbolList->findVariableSpanning(base.text, it))
                    symbol = v;
                if (symbol)
                    kind = kindOfSymbol(symbol);
            }
            break;
        default: break;
        }

        if (!symbol || kind == TMyTokentype::mt_invalid) {
            // The unreadable token takes the rest of the text with it.
            QString rest = base.text;
            while (it.hasNext())
                rest += it.next().text;
            list.add(std::make_unique<TInvalidCalcTokens>(rest, base.position));
            return;
        }
        int blanks = 0;
        if (it.hasNext() && it.peek().kind == TBaseTokenKind::btkSpace)
            blanks = int(it.peek().text.size());
        list.add(std::make_unique<TCalcToken>(symbol, kind, base.position, blanks));
    }
}

void TMyTokenList::readFrom(TAbstractTextReader &reader)
{
    fTokens.clear();
    TTokenDivider divider;
    divider.divide(reader);
    TBaseTokenIterator baseIt = divider.iterator();
    TSymbolDivider &symbolDivider = fProc.divider();
    symbolDivider.divideToken(baseIt);
    TBaseTokenIterator dividedIt = symbolDivider.iterator();
    fProc.setToken(dividedIt, *this);
}

QString TMyTokenList::text() const
{
    QString s;
    for (const auto &t : fTokens)
        s += t->textWithSpaces();
    return s;
}

} // namespace zarno
