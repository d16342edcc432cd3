#include "typeset/textoken.h"

#include "core/exceptions.h"

namespace zarno {

TTokenList &TTeXToken::newArgumentList()
{
    fArguments.push_back(std::make_unique<TTokenList>());
    return *fArguments.back();
}

const QString &TTeXTokenString::out(int i, const char *method) const
{
    if (i >= fArguments.size())
        throw ESouteigai(QStringLiteral("TTeXTokenString"), { fmtArg("arguments"), fmtArg(i + 1) },
            QStringLiteral("リスト(%s)は%d番目の要素をもっていません。"),
            QString::fromLatin1(method));
    return fArguments[i];
}

TParenOrGroupingInfoList::TParenOrGroupingInfoList()
{
    using K = TMyTokentype;
    fInfos = {
        { QStringLiteral("{"), K::mt_t_leftGrouping },
        { QStringLiteral("}"), K::mt_t_rightGrouping },
        { QStringLiteral("("), K::mt_t_leftParen },
        { QStringLiteral(")"), K::mt_t_rightParen },
        { QStringLiteral("\\{"), K::mt_t_leftParen },
        { QStringLiteral("\\}"), K::mt_t_rightParen },
        { QStringLiteral("["), K::mt_t_leftParen },
        { QStringLiteral("]"), K::mt_t_rightParen },
        { QStringLiteral("\\leftabs"), K::mt_t_leftParen },
        { QStringLiteral("\\rightabs"), K::mt_t_rightParen },
        { QStringLiteral("\\leftnull"), K::mt_t_leftParen },
        { QStringLiteral("\\rightnull"), K::mt_t_rightParen },
    };
    for (int i = 0; i < int(fInfos.size()); ++i)
        fIndex.insert(fInfos[std::size_t(i)].text, i);
}

const TParenOrGroupingInfoList &TParenOrGroupingInfoList::instance()
{
    static const TParenOrGroupingInfoList list;
    return list;
}

QStringList TParenOrGroupingInfoList::texts() const
{
    QStringList out;
    for (const TParenOrGroupingInfo &info : fInfos)
        out << info.text;
    return out;
}

const TParenOrGroupingInfo *TParenOrGroupingInfoList::find(const QString &text) const
{
    const auto it = fIndex.constFind(text);
    return it == fIndex.constEnd() ? nullptr : &fInfos[std::size_t(*it)];
}

TMyTokentype TParenOrGroupingInfoList::matchingKind(TMyTokentype kind)
{
    switch (kind) {
    case TMyTokentype::mt_t_leftGrouping: return TMyTokentype::mt_t_rightGrouping;
    case TMyTokentype::mt_t_leftParen: return TMyTokentype::mt_t_rightParen;
    case TMyTokentype::mt_t_rightGrouping: return TMyTokentype::mt_t_leftGrouping;
    default: return TMyTokentype::mt_t_leftParen;
    }
}

namespace {

const char *kindTag(TMyTokentype kind)
{
    switch (kind) {
    case TMyTokentype::mt_t_number: return "num";
    case TMyTokentype::mt_t_leftGrouping: return "lg";
    case TMyTokentype::mt_t_rightGrouping: return "rg";
    case TMyTokentype::mt_t_leftParen: return "lp";
    case TMyTokentype::mt_t_rightParen: return "rp";
    case TMyTokentype::mt_t_command: return "cmd";
    case TMyTokentype::mt_t_combiBinaryOperator: return "combi";
    case TMyTokentype::mt_t_function: return "fn";
    case TMyTokentype::mt_t_binaryOperator: return "bin";
    case TMyTokentype::mt_t_monoMinus: return "neg";
    case TMyTokentype::mt_t_other: return "oth";
    case TMyTokentype::mt_t_alphabet: return "abc";
    case TMyTokentype::mt_t_space: return "sp";
    case TMyTokentype::mt_v_paren: return "grp";
    case TMyTokentype::mt_invalid: return "inv";
    default: return "?";
    }
}

// Iterative, like the layout: a list is written as its tokens; each token
// pushes its own parts as pending pieces of text and lists.
void dumpInto(QString &out, const TTokenList &root)
{
    struct Piece
    {
        const TTokenList *list = nullptr;
        QString text;
    };
    std::vector<Piece> pending { { &root, {} } };
    while (!pending.empty()) {
        Piece piece = std::move(pending.back());
        pending.pop_back();
        if (!piece.list) {
            out += piece.text;
            continue;
        }
        std::vector<Piece> parts;
        bool first = true;
        for (const TListValue &cell : *piece.list) {
            const TTeXToken *t = cell.token;
            QString head = first ? QString() : QStringLiteral(" ");
            first = false;
            head += t->text() + QLatin1Char(':') + QLatin1String(kindTag(t->kind()));
            if (const auto *s = dynamic_cast<const TTeXTokenString *>(t)) {
                head += QLatin1Char('[') + s->arguments().join(QLatin1Char('|')) + QLatin1Char(']');
                if (s->isInvalid())
                    head += QLatin1Char('!');
            }
            parts.push_back({ nullptr, head });
            for (int i = 0; i < t->argumentCount(); ++i) {
                parts.push_back({ nullptr, QStringLiteral("{") });
                parts.push_back({ &t->argument(i), {} });
                parts.push_back({ nullptr, QStringLiteral("}") });
            }
            if (!t->superscripts().isEmpty()) {
                parts.push_back({ nullptr, QStringLiteral("^{") });
                parts.push_back({ &t->superscripts(), {} });
                parts.push_back({ nullptr, QStringLiteral("}") });
            }
            if (!t->subscripts().isEmpty()) {
                parts.push_back({ nullptr, QStringLiteral("_{") });
                parts.push_back({ &t->subscripts(), {} });
                parts.push_back({ nullptr, QStringLiteral("}") });
            }
        }
        for (auto it = parts.rbegin(); it != parts.rend(); ++it)
            pending.push_back(std::move(*it));
    }
}

} // namespace

QString dumpTokenList(const TTokenList &list)
{
    QString out;
    dumpInto(out, list);
    return out;
}

} // namespace zarno
