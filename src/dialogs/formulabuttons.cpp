#include "dialogs/formulabuttons.h"

#include "core/enums.h"
#include "formula/calcsymbol.h"
#include "typeset/texsymbol.h"

#include <QSet>

namespace zarno {

namespace {

using Info = TFormulaButtonInfo;

// Descriptions both palettes share; they go before a mode's own.
const std::vector<Info> &commonDescriptions()
{
    static const std::vector<Info> list {
        { QStringLiteral("logn"), 1, QStringLiteral("logN(@, )"),
            QStringLiteral("\\log_{\\dotbox{\\phantom{l}}} {\\dotbox{\\phantom{t}}}") },
        { QStringLiteral("^"), 5, QStringLiteral("@^"),
            QStringLiteral("{\\dotbox{\\phantom{i\\,}}}^{\\,\\dotbox{\\phantom{i}}}") },
        { QStringLiteral("arctan"), 1, QStringLiteral("arcTan"), QStringLiteral("\\arctan") },
        { QStringLiteral("("), 5, QStringLiteral("("), QStringLiteral("（") },
        { QStringLiteral(")"), 5, QStringLiteral(")"), QStringLiteral("）") },
    };
    return list;
}

const std::vector<Info> &calcDescriptions()
{
    static const std::vector<Info> list {
        { QStringLiteral("pi"), 5, QStringLiteral("pi"), QStringLiteral("\\pi") },
        { QStringLiteral("*"), 5, QStringLiteral("*"), QStringLiteral("×") },
        { QStringLiteral("sqrt"), 5, QStringLiteral("sqrt"),
            QStringLiteral("\\sqrt{\\dotbox{\\phantom{g}}}") },
        { QStringLiteral("nthrt"), 5, QStringLiteral("nthrt(@,)"),
            QStringLiteral("\\nthrt{\\dotbox{\\phantom{i}}}{\\dotbox{\\phantom{g}}}") },
        { QStringLiteral("/"), 5, QStringLiteral("/"), QStringLiteral("\\div") },
        { QStringLiteral("x"), 5, QStringLiteral("x"), QStringLiteral("x") },
        { QStringLiteral("y"), 5, QStringLiteral("y"), QStringLiteral("y") },
    };
    return list;
}

const std::vector<Info> &texDescriptions()
{
    static const std::vector<Info> list {
        { QStringLiteral("\\log"), 1, QStringLiteral("\\log_{@}{}"),
            QStringLiteral("\\log_{\\dotbox{\\phantom{i}}}{\\dotbox{\\phantom{a}}}") },
        { QStringLiteral("\\sqrt"), 5, QStringLiteral("\\sqrt{@}"),
            QStringLiteral("\\sqrt{\\dotbox{\\phantom{g}}}") },
        { QStringLiteral("\\nthrt"), 5, QStringLiteral("\\nthrt{@}{}"),
            QStringLiteral("\\nthrt{\\dotbox{\\phantom{i}}}{\\dotbox{\\phantom{g}}}") },
        { QStringLiteral("\\frac"), 5, QStringLiteral("\\frac{@}{}"),
            QStringLiteral("\\frac{\\dotbox{\\phantom{o}}}{\\dotbox{\\phantom{o}}}") },
        { QStringLiteral("\\string"), 5, QStringLiteral("\\string{@}{}"),
            QStringLiteral("\\smaller{\\string{default}{string}}") },
        { QStringLiteral("\\smaller"), 5, QStringLiteral("\\smaller{@}"),
            QStringLiteral("A\\!\\smaller{\\smaller{\\to}\\!A}") },
        { QStringLiteral("\\vec"), 5, QStringLiteral("\\vec{@}"),
            QStringLiteral("\\vec{\\,\\dotbox{\\phantom{i}}\\,}") },
        { QStringLiteral("\\bar"), 5, QStringLiteral("\\bar{@}"),
            QStringLiteral("\\bar{\\,\\dotbox{\\phantom{i}}\\,}") },
        { QStringLiteral("\\box"), 5, QStringLiteral("\\box{@}"),
            QStringLiteral("\\box{\\phantom{N}}") },
        { QStringLiteral("\\dotbox"), 5, QStringLiteral("\\dotbox{@}"),
            QStringLiteral("\\dotbox{\\phantom{N}}") },
        { QStringLiteral("\\int"), 5, QStringLiteral("\\int"), QStringLiteral("\\smaller{\\int}") },
        { QStringLiteral("\\,"), 3, QStringLiteral("\\,"), QStringLiteral("\\;|\\,|\\;") },
        { QStringLiteral("\\:"), 3, QStringLiteral("\\:"), QStringLiteral("\\;|\\:|\\;") },
        { QStringLiteral("\\;"), 3, QStringLiteral("\\;"), QStringLiteral("\\;|\\;|\\;") },
        { QStringLiteral("\\quad"), 3, QStringLiteral("\\quad"), QStringLiteral("\\;|\\quad|\\;") },
        { QStringLiteral("\\!"), 3, QStringLiteral("\\!"), QStringLiteral("\\;|\\!|\\;") },
        { QStringLiteral("\\infty"), 5, QStringLiteral("\\infty"), QStringLiteral("\\infty") },
        { QStringLiteral("\\circ"), 5, QStringLiteral("\\circ"), QStringLiteral("\\circ") },
        { QStringLiteral("\\o"), 5, QStringLiteral("\\o"), QStringLiteral("\\o") },
        { QStringLiteral("\\sum"), 5, QStringLiteral("\\sum_{@}^{}"),
            QStringLiteral("\\sum_{\\smaller{\\smaller{\\smaller{\\dotbox{\\phantom{--}}}}}}^{"
                           "\\smaller{\\smaller{\\smaller{\\dotbox{\\phantom{--}}}}}}") },
        { QStringLiteral("\\lim"), 5, QStringLiteral("\\lim_{@}"),
            QStringLiteral("\\lim_{\\dotbox{\\phantom{a}}}") },
        { QStringLiteral("("), 5, QStringLiteral("("), QStringLiteral("(") },
        { QStringLiteral(")"), 5, QStringLiteral(")"), QStringLiteral(")") },
        { QStringLiteral("\\{"), 5, QStringLiteral("\\{"),
            QStringLiteral("\\string{default}{｛}") },
        { QStringLiteral("\\}"), 5, QStringLiteral("\\}"),
            QStringLiteral("\\string{default}{｝}") },
        { QStringLiteral("["), 5, QStringLiteral("["), QStringLiteral("［") },
        { QStringLiteral("]"), 5, QStringLiteral("]"), QStringLiteral("］") },
        { QStringLiteral("\\leftabs"), 5, QStringLiteral("\\leftabs"),
            QStringLiteral("|\\dotbox{\\phantom{o}}") },
        { QStringLiteral("\\rightabs"), 5, QStringLiteral("\\rightabs"),
            QStringLiteral("\\dotbox{\\phantom{o}}|") },
        { QStringLiteral("\\\\"), 5, QStringLiteral("\\\\"), QStringLiteral("\\\\") },
        { QStringLiteral("\\^"), 5, QStringLiteral("\\^"), QStringLiteral("\\^") },
        { QStringLiteral("\\_"), 5, QStringLiteral("\\_"), QStringLiteral("\\_") },
        { QStringLiteral("\\superscript_char"), 5, QStringLiteral("{@}^{}"),
            QStringLiteral("{\\dotbox{\\phantom{a}}}^{\\dotbox{\\phantom{i}}}") },
        { QStringLiteral("\\subscript_char"), 5, QStringLiteral("{@}_{}"),
            QStringLiteral("{\\dotbox{\\phantom{a}}}_{\\dotbox{\\phantom{i}}}") },
    };
    return list;
}

// Symbols that are parts of other notations, or that the palettes show
// through another button.
const QSet<QString> &leftOut()
{
    static const QSet<QString> set { QStringLiteral("_"), QStringLiteral(","), QStringLiteral("%"),
        QStringLiteral("#"), QStringLiteral("&"), QStringLiteral("exp"), QStringLiteral("^^"),
        QStringLiteral("\\code") };
    return set;
}

const Info *describe(const QString &name, const std::vector<Info> &own)
{
    for (const std::vector<Info> *list : { &commonDescriptions(), &own })
        for (const Info &info : *list)
            if (info.name == name)
                return &info;
    return nullptr;
}

// Each name gets one button: a symbol that stands in the table twice (an
// operator and its function form) is offered once.
void addOnce(std::vector<Info> &out, QSet<QString> &seen, Info info)
{
    if (seen.contains(info.name))
        return;
    seen.insert(info.name);
    out.push_back(std::move(info));
}

std::vector<Info> calcButtons(const TCalcSymbolOnOff &onOff)
{
    static const QSet<QString> calcLeftOut { QStringLiteral("sin^"), QStringLiteral("cos^"),
        QStringLiteral("tan^") };
    TCalcSymbolList list;
    list.applyOnOff(onOff);
    std::vector<Info> out;
    QSet<QString> seen;
    TCalcSymbolIterator it(list);
    while (it.hasNext()) {
        const TCalcSymbol *symbol = it.next();
        const QString &name = symbol->name();
        if (!symbol->enabled() || leftOut().contains(name) || calcLeftOut.contains(name))
            continue;
        if (const Info *info = describe(name, calcDescriptions())) {
            addOnce(out, seen, *info);
            continue;
        }
        switch (symbol->kind()) {
        case TSymbolKind::OperatorFunction:
            addOnce(out, seen, { name, 1, name, QStringLiteral("\\") + name });
            break;
        case TSymbolKind::OperatorEnzanshi: addOnce(out, seen, { name, 5, name, name }); break;
        case TSymbolKind::Variable: addOnce(out, seen, { name, 4, name, name }); break;
        case TSymbolKind::Const: addOnce(out, seen, { name, 5, name, name }); break;
        default: break; // parentheses, the comma, numbers
        }
    }
    return out;
}

std::vector<Info> texButtons()
{
    static const QSet<QString> texLeftOut { QStringLiteral("\\dfrac"), QStringLiteral("*"),
        QStringLiteral("/"), QStringLiteral("\\leq"), QStringLiteral("\\geq"),
        QStringLiteral("\\phantom"), QStringLiteral("\\to") };
    std::vector<Info> out;
    QSet<QString> seen;
    if (TTeXDrawSymbolList::isBuilt())
        for (const auto &entry : TTeXDrawSymbolList().entries()) {
            const QString name = entry->name();
            if (name.isEmpty() || leftOut().contains(name) || texLeftOut.contains(name))
                continue;
            if (const Info *info = describe(name, texDescriptions())) {
                addOnce(out, seen, *info);
                continue;
            }
            switch (entry->kind()) {
            case TMyTokentype::mt_t_function: addOnce(out, seen, { name, 1, name, name }); break;
            case TMyTokentype::mt_t_command: addOnce(out, seen, { name, 0, name, name }); break;
            case TMyTokentype::mt_t_binaryOperator:
            case TMyTokentype::mt_t_combiBinaryOperator:
                addOnce(out, seen, { name, 2, name, name });
                break;
            default: break;
            }
        }
    // The delimiters come after the drawable symbols; those without a
    // description get no button.
    for (const char *d : { "(", ")", "\\{", "\\}", "[", "]", "\\leftabs", "\\rightabs" })
        if (const Info *info = describe(QString::fromUtf8(d), texDescriptions()))
            addOnce(out, seen, *info);
    // The descriptions of notations the table holds under other names
    // (spaces, sub- and superscripts, \string ...).
    for (const Info &info : texDescriptions())
        addOnce(out, seen, info);
    return out;
}

} // namespace

const QStringList &formulaTabCaptions()
{
    static const QStringList list { QStringLiteral("文字等"), QStringLiteral("関数"),
        QStringLiteral("演算子等"), QStringLiteral("空白"), QStringLiteral("形の属性"),
        QStringLiteral("他") };
    return list;
}

double formulaTabFacePt(int tab)
{
    return tab == 4 ? 14 : 17;
}

std::vector<TFormulaButtonInfo> formulaButtons(TFormulaMode mode, const TCalcSymbolOnOff &onOff)
{
    return mode == TFormulaMode::fmCalc ? calcButtons(onOff) : texButtons();
}

TInsertion insertTemplate(
    const QString &text, int selStart, int selLength, const QString &templateText)
{
    QString inserted = templateText;
    const int at = int(inserted.indexOf(QLatin1Char('@')));
    if (at >= 0)
        inserted.remove(at, 1);
    TInsertion result;
    result.text = text.left(selStart) + inserted + text.mid(selStart + selLength);
    result.caret = selStart + (at >= 0 ? at : int(inserted.size()));
    return result;
}

} // namespace zarno
