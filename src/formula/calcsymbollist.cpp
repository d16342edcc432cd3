#include "formula/calcsymbollist.h"

#include "core/commonprocs.h"
#include "core/exceptions.h"
#include "formula/calc2texstring.h"
#include "formula/numbertext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zarno {

namespace {

int letterIndex(QChar c)
{
    const char16_t u = QChar::toLower(c.unicode());
    return (u >= 'a' && u <= 'z') ? int(u - 'a') : -1;
}

} // namespace

TCalcSymbolTable &TCalcSymbolTable::getInstance()
{
    static TCalcSymbolTable instance;
    return instance;
}

template <typename T, typename... Args> T *TCalcSymbolTable::add(Args &&...args)
{
    auto symbol = std::make_unique<T>(std::forward<Args>(args)...);
    T *raw = symbol.get();
    FNotVarConstSymbolList.push_back(raw);
    fNotVarConstByName.insert(raw->name().toLower(), raw);
    fOwned.push_back(std::move(symbol));
    return raw;
}

void TCalcSymbolTable::addVariable(const QString &name, int kind, int number)
{
    auto v = std::make_unique<TVariable>(name, kind, number);
    fVariables.push_back(v.get());
    fVariableByName.insert(name.toLower(), v.get());
    for (qsizetype n = 1; n <= name.size(); ++n)
        fVariablePrefixes.insert(name.left(n).toLower());
    fLongestVariableName = std::max(fLongestVariableName, int(name.size()));
    fOwned.push_back(std::move(v));
}

QString TCalcSymbolTable::variablePrefix(int kind)
{
    static const QString prefixes[]
        = { QStringLiteral("tempFunction"), QStringLiteral("tempFunctionY"), QStringLiteral("p"),
              QStringLiteral("c"), QStringLiteral("e"), QStringLiteral("l") };
    if (kind < 0 || kind > 5)
        throw ESouteigai(QStringLiteral("TCalcSymbolTable"), { fmtArg(kind) },
            QStringLiteral("変数の種類(%d)はありません。"), QStringLiteral("variablePrefix"));
    return prefixes[kind];
}

const QStringList &TCalcSymbolTable::shapeAttributes(int kind)
{
    static const QStringList none;
    static const QStringList point { QStringLiteral("x"), QStringLiteral("y") };
    static const QStringList circle { QStringLiteral("cx"), QStringLiteral("cy"),
        QStringLiteral("r") };
    static const QStringList ellipse { QStringLiteral("cx"), QStringLiteral("cy"),
        QStringLiteral("alenx"), QStringLiteral("aleny"), QStringLiteral("fsx"),
        QStringLiteral("fsy"), QStringLiteral("flx"), QStringLiteral("fly") };
    static const QStringList line { QStringLiteral("angle") };
    switch (kind) {
    case vkPoint: return point;
    case vkCircle: return circle;
    case vkEllipse: return ellipse;
    case vkLine: return line;
    default: return none;
    }
}

TCalcSymbolTable::TCalcSymbolTable()
{
    const auto s = [](const char16_t *t) { return QString::fromUtf16(t); };
    add<TOp_plus>(s(u"+"), s(u"+"), 1000, TCalcOp::Plus, 2);
    add<TOp_minus>(s(u"-"), s(u"-"), 1000, TCalcOp::Minus, 2);
    add<TOp_mul>(s(u"*"), s(u"\\times"), 2000, TCalcOp::Mul, 2);
    add<TOp_div>(s(u"/"), s(u"\\dfrac"), 2000, TCalcOp::Div, 2);
    add<TOp_power>(s(u"^"), s(u"^"), 7000, TCalcOp::Power, 2);
    // The implicit multiplication the parser inserts between factors.
    add<TOp_mul>(s(u"%"), QString(), 6000, TCalcOp::Mul, 2);
    add<TOp_mono_minus>(s(u"#"), s(u"-"), 6000, TCalcOp::MonoMinus, 1);
    add<TOp_intPower>(s(u"^^"), s(u"^^"), 7000);
    add<TOp_sin>(s(u"sin"), s(u"\\sin"), 5000, TCalcOp::Sin, 1);
    add<TOp_cos>(s(u"cos"), s(u"\\cos"), 5000, TCalcOp::Cos, 1);
    add<TOp_tan>(s(u"tan"), s(u"\\tan"), 5000, TCalcOp::Tan, 1);
    add<TOp_arcTan>(s(u"arctan"), s(u"\\arctan"), 5000, TCalcOp::ArcTan, 1);
    add<TOp_log>(s(u"log"), s(u"\\log"), 5000, TCalcOp::Log, 1);
    add<TOp_sqrt>(s(u"sqrt"), s(u"\\sqrt"), 5000, TCalcOp::Sqrt, 1);
    add<TOp_nthrt>(s(u"nthrt"), s(u"\\nthrt"), 5000, TCalcOp::Nthrt, 2);
    add<TOp_exp>(s(u"exp"), QString(), 5000, TCalcOp::Exp, 1);
    add<TOp_ceil>(s(u"ceil"), s(u"\\ceil"), 5000, TCalcOp::Ceil, 1);
    add<TOp_floor>(s(u"floor"), s(u"\\floor"), 5000, TCalcOp::Floor, 1);
    add<TOp_abs>(s(u"abs"), s(u"\\abs"), 5000, TCalcOp::Abs, 1);
    add<TOp_logN>(s(u"logn"), s(u"\\log"), 5000, TCalcOp::LogN, 2);
    add<TOp_max>(s(u"max"), s(u"\\max"), 5000, TCalcOp::Max, 0);
    add<TOp_min>(s(u"min"), s(u"\\min"), 5000, TCalcOp::Min, 0);
    add<TOp_sinP>(s(u"sin^"), s(u"\\sin^"), 5000, TCalcOp::SinP, 2);
    add<TOp_cosP>(s(u"cos^"), s(u"\\cos^"), 5000, TCalcOp::CosP, 2);
    add<TOp_tanP>(s(u"tan^"), s(u"\\tan^"), 5000, TCalcOp::TanP, 2);
    add<TCalcSymbolOther>(s(u"&"), QString(), 8000);
    add<TCalcSymbolOther>(s(u"("), s(u"("), 8000);
    add<TCalcSymbolOther>(s(u")"), s(u")"), 0);
    add<TCalcSymbolOther>(s(u","), s(u","), 0);
    add<TCalcSymbolOther>(s(u" "), s(u" "), 1);
    add<TConst>(s(u"pi"), s(u"\\pi"), 3.141592653589793);
    add<TConst>(s(u"e"), s(u"e"), std::exp(1.0));

    addVariable(QStringLiteral("x"), vkX, 0);
    addVariable(QStringLiteral("y"), vkY, 0);
    for (int kind : { vkEllipse, vkPoint, vkCircle, vkLine })
        for (int n = 1; n <= 5; ++n)
            for (const QString &attribute : shapeAttributes(kind))
                addVariable(
                    variablePrefix(kind) + QString::number(n) + QLatin1Char('.') + attribute, kind,
                    n);

    TC2TStrProcCreator::attach(FNotVarConstSymbolList);
    for (const auto &symbol : fOwned)
        fNameList.append(symbol->name().toLower());
    std::stable_sort(fNameList.begin(), fNameList.end(), [](const QString &a, const QString &b) {
        if (a.size() != b.size())
            return a.size() > b.size();
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    for (int i = 0; i < fNameList.size(); ++i) {
        const int letter = letterIndex(fNameList[i].at(0));
        if (letter >= 0)
            fNamesByLetter[letter].push_back(i);
    }
}

TCalcSymbol *TCalcSymbolTable::findNotVarConst(const QString &name) const
{
    TCalcSymbol *s = fNotVarConstByName.value(name.toLower(), nullptr);
    return s && s->enabled() ? s : nullptr;
}

bool TCalcSymbolTable::startsVariableName(const QString &text) const
{
    return fVariablePrefixes.contains(text.toLower());
}

TVariable *TCalcSymbolTable::findVariable(const QString &name) const
{
    if (name.size() > fLongestVariableName)
        return nullptr;
    TVariable *v = fVariableByName.value(name.toLower(), nullptr);
    return v && v->enabled() ? v : nullptr;
}

QString TCalcSymbolTable::longestNamePrefix(QStringView text) const
{
    if (text.isEmpty())
        return QString();
    const int letter = letterIndex(text.at(0));
    if (letter < 0) {
        for (const QString &name : fNameList)
            if (text.startsWith(name, Qt::CaseInsensitive))
                return name;
        return QString();
    }
    // Names beginning with another letter cannot be a prefix; the order of
    // the full list is kept within the bucket.
    for (int i : fNamesByLetter[letter])
        if (text.startsWith(fNameList[i], Qt::CaseInsensitive))
            return fNameList[i];
    return QString();
}

void TCalcSymbolTable::applyOnOff(const TCalcSymbolOnOff &onOff)
{
    for (TVariable *v : fVariables) {
        switch (v->varKind()) {
        case vkX: v->setEnabled(onOff.xOn); break;
        case vkPoint: v->setEnabled(v->number() <= onOff.pointCount); break;
        case vkCircle: v->setEnabled(v->number() <= onOff.circleCount); break;
        case vkEllipse: v->setEnabled(v->number() <= onOff.ellipseCount); break;
        case vkLine: v->setEnabled(v->number() <= onOff.lineCount); break;
        default: v->setEnabled(onOff.yOn); break;
        }
    }
}

TCalcSymbolList::TCalcSymbolList()
    : fTable(TCalcSymbolTable::getInstance())
{ }

void TCalcSymbolList::notFound(const QString &name, const QString &what) const
{
    throw ESouteigai(QStringLiteral("TCalcSymbolList"), { fmtArg(name), fmtArg(what) },
        QStringLiteral("文字<%s>は認識できない%sです。"), QStringLiteral("mustFind"));
}

TCalcSymbol *TCalcSymbolList::findSymbol(const QString &name) const
{
    if (TCalcSymbol *s = fTable.findNotVarConst(name))
        return s;
    for (const auto &own : fOwn)
        if (own->enabled() && QString::compare(own->name(), name, Qt::CaseInsensitive) == 0)
            return own.get();
    return nullptr;
}

TCalcSymbol *TCalcSymbolList::mustFindSymbol(const QString &name) const
{
    if (TCalcSymbol *s = findSymbol(name))
        return s;
    notFound(name, QStringLiteral("シンボル"));
}

TOperator *TCalcSymbolList::findOp(const QString &name) const
{
    TCalcSymbol *s = fTable.findNotVarConst(name);
    if (s
        && (s->kind() == TSymbolKind::OperatorEnzanshi
            || s->kind() == TSymbolKind::OperatorFunction))
        return static_cast<TOperator *>(s);
    return nullptr;
}

TOperator *TCalcSymbolList::mustFindOp(const QString &name) const
{
    if (TOperator *op = findOp(name))
        return op;
    notFound(name, QStringLiteral("演算子"));
}

TVariable *TCalcSymbolList::findVariableSpanning(const QString &text, TBaseTokenIterator &it) const
{
    const qsizetype mark = it.mark();
    QString name = text;
    // Once the text begins no variable name, no longer text names one
    // either: the search can end there instead of at the end of the formula.
    while (fTable.startsVariableName(name)) {
        if (TVariable *v = fTable.findVariable(name))
            return v;
        if (!it.hasNext())
            break;
        name += it.next().text;
    }
    it.reset(mark);
    return nullptr;
}

TVariable *TCalcSymbolList::mustFindVar(const QString &name) const
{
    if (TVariable *v = fTable.findVariable(name))
        return v;
    notFound(name, QStringLiteral("シンボル"));
}

TVariable *TCalcSymbolList::mustFindShapeVar(int kind, int number, const QString &attribute) const
{
    return mustFindVar(TCalcSymbolTable::variablePrefix(kind) + QString::number(number)
        + QLatin1Char('.') + attribute);
}

void TCalcSymbolList::addOwn(std::unique_ptr<TCalcSymbol> symbol)
{
    fOwn.push_back(std::move(symbol));
}

void TCalcSymbolList::releaseNumbersExcept(const std::vector<const TCalcSymbol *> &used)
{
    std::erase_if(fOwn, [&](const std::unique_ptr<TCalcSymbol> &symbol) {
        return !std::binary_search(used.begin(), used.end(), symbol.get());
    });
}

TNumberDouble *TCalcSymbolList::tryAddNumber(const QString &text)
{
    double value = 0;
    if (!TNumberText::tryRead(text, value))
        return nullptr;
    auto n = std::make_unique<TNumberDouble>(text, value);
    TNumberDouble *raw = n.get();
    addOwn(std::move(n));
    return raw;
}

TNumberDouble *TCalcSymbolList::addNumber(const QString &text)
{
    if (TNumberDouble *n = tryAddNumber(text))
        return n;
    throw EMyException(QStringLiteral("TCalcSymbolList"), { fmtArg("実数"), fmtArg(text) },
        QStringLiteral("%sに変換できない文字列(%s)です。"), QStringLiteral("addNumber"));
}

TNumberInteger *TCalcSymbolList::addInteger(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || !TCommonProcs::isIntegerString(text))
        throw EMyException(QStringLiteral("TCalcSymbolList"), { fmtArg("整数"), fmtArg(text) },
            QStringLiteral("%sに変換できない文字列(%s)です。"), QStringLiteral("addInteger"));
    auto n = std::make_unique<TNumberInteger>(text, value);
    TNumberInteger *raw = n.get();
    addOwn(std::move(n));
    return raw;
}

TCalcSymbolIterator::TCalcSymbolIterator(const TCalcSymbolList &list)
    : fList(list)
{
    settle();
}

void TCalcSymbolIterator::settle()
{
    const TCalcSymbolTable &t = fList.table();
    while (fStage < 3) {
        const std::size_t size = fStage == 0 ? t.notVarConstSymbols().size()
            : fStage == 1                    ? fList.ownSymbols().size()
                                             : t.variables().size();
        if (fIndex < size)
            return;
        ++fStage;
        fIndex = 0;
    }
}

bool TCalcSymbolIterator::hasNext() const
{
    return fStage < 3;
}

TCalcSymbol *TCalcSymbolIterator::next()
{
    if (!hasNext())
        throw ESouteigai(QStringLiteral("TCalcSymbolIterator"),
            QStringLiteral("次の要素はありません。"), QStringLiteral("next"));
    const TCalcSymbolTable &t = fList.table();
    TCalcSymbol *s = fStage == 0 ? t.notVarConstSymbols()[fIndex]
        : fStage == 1            ? fList.ownSymbols()[fIndex].get()
                                 : t.variables()[fIndex];
    ++fIndex;
    settle();
    return s;
}

} // namespace zarno
