#include "model/shapevalues.h"

#include "core/enums.h"
#include "core/exceptions.h"
#include "formula/calcformulafacade.h"
#include "formula/calcsymbollist.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "model/shapelist.h"

#include <cmath>

namespace zarno {

namespace {

const QString kSetterClass = QStringLiteral("TAbstractShapeValueSetter");

class TValueSetterOfDot : public TAbstractShapeValueSetter
{
public:
    TValueSetterOfDot(
        const TShape &shape, int number, TCalcFormulaFacade *first, TCalcFormulaFacade *second)
        : TAbstractShapeValueSetter(vkPoint, shape, number, first, second)
    { }
    std::vector<double> currentValues() const override
    {
        const auto &d = static_cast<const TShapeDot &>(shape());
        return { d.getX(), d.getY() };
    }
};

class TValueSetterOfCircle : public TAbstractShapeValueSetter
{
public:
    TValueSetterOfCircle(
        const TShape &shape, int number, TCalcFormulaFacade *first, TCalcFormulaFacade *second)
        : TAbstractShapeValueSetter(vkCircle, shape, number, first, second)
    { }
    std::vector<double> currentValues() const override
    {
        const auto &c = static_cast<const TShapeCircle &>(shape());
        return { c.centreX(), c.centreY(), c.radius() };
    }
};

class TValueSetterOfEllipse : public TAbstractShapeValueSetter
{
public:
    TValueSetterOfEllipse(
        const TShape &shape, int number, TCalcFormulaFacade *first, TCalcFormulaFacade *second)
        : TAbstractShapeValueSetter(vkEllipse, shape, number, first, second)
    { }
    std::vector<double> currentValues() const override
    {
        const auto &e = static_cast<const TShapeEllipse &>(shape());
        const double cx = e.centreX(), cy = e.centreY();
        const double a = e.ellipse().semiAxisX, b = e.ellipse().semiAxisY;
        const double f = std::sqrt(std::fabs(a * a - b * b));
        // The foci lie on the longer axis: the smaller one first.
        if (a >= b)
            return { cx, cy, 2 * a, 2 * b, cx - f, cy, cx + f, cy };
        return { cx, cy, 2 * a, 2 * b, cx, cy - f, cx, cy + f };
    }
};

class TValueSetterOfLine : public TAbstractShapeValueSetter
{
public:
    TValueSetterOfLine(
        const TShape &shape, int number, TCalcFormulaFacade *first, TCalcFormulaFacade *second)
        : TAbstractShapeValueSetter(vkLine, shape, number, first, second)
    { }
    std::vector<double> currentValues() const override
    {
        return { static_cast<const TShapeLine &>(shape()).angle() };
    }
};

} // namespace

TAbstractShapeValueSetter::TAbstractShapeValueSetter(int kind, const TShape &shape, int number,
    TCalcFormulaFacade *first, TCalcFormulaFacade *second)
    : fKind(kind)
    , fNumber(number)
    , fShape(shape)
    , fHasFirst(first != nullptr)
    , fHasSecond(second != nullptr)
{
    const QStringList &attributes = TCalcSymbolTable::shapeAttributes(kind);
    for (const QString &attribute : attributes) {
        fFirstVariables.push_back(
            first ? first->mustFindShapeVar(kind, number, attribute) : nullptr);
        fSecondVariables.push_back(
            second ? second->mustFindShapeVar(kind, number, attribute) : nullptr);
    }
}

TAbstractShapeValueSetter::~TAbstractShapeValueSetter() = default;

int TAbstractShapeValueSetter::kindOf(TShapetype type)
{
    switch (type) {
    case TShapetype::SHAPE_dot: return vkPoint;
    case TShapetype::SHAPE_circle: return vkCircle;
    case TShapetype::SHAPE_ellipse: return vkEllipse;
    case TShapetype::SHAPE_line:
    case TShapetype::SHAPE_senbun:
    case TShapetype::SHAPE_arrow:
    case TShapetype::SHAPE_arrowLine: return vkLine;
    default: return -1;
    }
}

std::unique_ptr<TAbstractShapeValueSetter> TAbstractShapeValueSetter::create(
    const TShape &shape, int number, TCalcFormulaFacade *first, TCalcFormulaFacade *second)
{
    switch (kindOf(shape.shapeType())) {
    case vkPoint: return std::make_unique<TValueSetterOfDot>(shape, number, first, second);
    case vkCircle: return std::make_unique<TValueSetterOfCircle>(shape, number, first, second);
    case vkEllipse: return std::make_unique<TValueSetterOfEllipse>(shape, number, first, second);
    case vkLine: return std::make_unique<TValueSetterOfLine>(shape, number, first, second);
    default: return nullptr;
    }
}

void TAbstractShapeValueSetter::checkCount(
    const std::vector<double> &values, const QString &method) const
{
    if (values.size() != fFirstVariables.size())
        throw ESouteigai(kSetterClass,
            { fmtArg(qint64(fFirstVariables.size())), fmtArg(qint64(values.size())) },
            QStringLiteral("変数の数(%d)とshapeValueの数(%d)が違っています。"), method);
}

void TAbstractShapeValueSetter::push(const std::vector<double> &values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (fHasFirst && fFirstVariables[i])
            fFirstVariables[i]->setValue(values[i]);
        if (fHasSecond && fSecondVariables[i])
            fSecondVariables[i]->setValue(values[i]);
    }
}

void TAbstractShapeValueSetter::s_setShapeValue(const std::vector<double> &values)
{
    checkCount(values, QStringLiteral("s_setShapeValue"));
    if (!fTraceMode)
        push(values);
}

void TAbstractShapeValueSetter::s_setTraceModeOnAndSetRecordedValue(
    const std::vector<double> &values)
{
    checkCount(values, QStringLiteral("s_setTraceModeOnAndSetRecordedValue"));
    fTraceMode = true;
    push(values);
}

std::unique_ptr<TAbstractValueRecord> TAbstractShapeValueSetter::createValueRecord() const
{
    return std::make_unique<TValueRecordOfShape>(
        std::const_pointer_cast<TAbstractShapeValueSetter>(weak_from_this().lock()), fKind,
        currentValues());
}

TValueRecordOfShape::TValueRecordOfShape(
    std::weak_ptr<TAbstractShapeValueSetter> setter, int kind, std::vector<double> values)
    : fSetter(std::move(setter))
    , fKind(kind)
    , fValues(std::move(values))
{ }

void TValueRecordOfShape::restore()
{
    if (auto setter = fSetter.lock())
        setter->s_setTraceModeOnAndSetRecordedValue(fValues);
}

void TValueRecordOfShape::release()
{
    if (auto setter = fSetter.lock())
        setter->clearTraceMode();
}

int TValueRecordOfShape::compare(const TAbstractValueRecord &o) const
{
    const auto &other = static_cast<const TValueRecordOfShape &>(o);
    if (fKind != other.fKind)
        return fKind > other.fKind ? 1 : 2;
    // An ellipse's foci follow from its centre and axes.
    const std::size_t n = std::min(
        { fValues.size(), other.fValues.size(), fKind == vkEllipse ? 4 : fValues.size() });
    for (std::size_t i = 0; i < n; ++i) {
        const double a = fValues[i], b = other.fValues[i];
        if (std::fabs(a - b) <= 1e-5)
            continue;
        return a > b ? 1 : 2;
    }
    return 0;
}

QString TValueRecordOfShape::asText() const
{
    const auto &v = fValues;
    switch (fKind) {
    case vkPoint: return QString::asprintf("(%.5f,%.5f)", v[0], v[1]);
    case vkCircle: return QString::asprintf("(%.5f,%.5f),%.5f", v[0], v[1], v[2]);
    case vkEllipse:
        return QString::asprintf("(%.5f,%.5f),%.5f,%.5f, (%.5f,%.5f), (%.5f,%.5f)", v[0], v[1],
            v[2], v[3], v[4], v[5], v[6], v[7]);
    case vkLine: return QString::asprintf("%.5f", v[0]);
    default: return QString();
    }
}

TShapeValueSetterList::TShapeValueSetterList() = default;
TShapeValueSetterList::~TShapeValueSetterList() = default;

void TShapeValueSetterList::setRelation(const TShapeList &parents, const QString &firstText,
    TCalcFormulaFacade *firstFacade, TCalcFormulaFacade *secondFacade, const QString &secondText)
{
    fSetters.clear();
    // Compiled first: the switch records enable the variables the setters
    // then look up.
    if (firstFacade)
        firstFacade->compileFormula(firstText);
    if (secondFacade)
        secondFacade->compileFormula(secondText);
    int counts[6] = {};
    for (TShape *parent : parents.items()) {
        const int kind = TAbstractShapeValueSetter::kindOf(parent->shapeType());
        if (kind < 0)
            throw ESouteigai(QStringLiteral("TShapeValueSetterList"),
                { fmtArg(TEnumConverter<TShapetype>::name(parent->shapeType())) },
                QStringLiteral("形(%s)はサポートしていません。"), QStringLiteral("setRelation"));
        fSetters.push_back(
            TAbstractShapeValueSetter::create(*parent, ++counts[kind], firstFacade, secondFacade));
    }
}

void TShapeValueSetterList::pushAll() const
{
    for (const auto &setter : fSetters)
        setter->pushCurrent();
}

std::vector<std::unique_ptr<TAbstractValueRecord>> TShapeValueSetterList::createValueRecords() const
{
    std::vector<std::unique_ptr<TAbstractValueRecord>> records;
    for (const auto &setter : fSetters)
        records.push_back(setter->createValueRecord());
    return records;
}

void TVariableOnOffCreator::done(TFiguretype figureType, const TShapeList &parents,
    TControlCalcSymbolOnOff &switchHolder, bool xOn, bool yOn)
{
    TCalcSymbolOnOff onOff;
    onOff.xOn = xOn;
    onOff.yOn = yOn;
    for (TShape *parent : parents.items()) {
        switch (TAbstractShapeValueSetter::kindOf(parent->shapeType())) {
        case vkPoint: ++onOff.pointCount; break;
        case vkLine: ++onOff.lineCount; break;
        case vkCircle: ++onOff.circleCount; break;
        case vkEllipse: ++onOff.ellipseCount; break;
        default:
            throw ESouteigai(QStringLiteral("TVariableOnOffCreator"),
                { fmtArg(TEnumConverter<TShapetype>::name(parent->shapeType())),
                    fmtArg(TEnumConverter<TFiguretype>::name(figureType)) },
                QStringLiteral("shapetype(%s)がこのfigure(%s)のものと一致しません。"),
                QStringLiteral("done"));
        }
    }
    if (onOff.shapeVariableCount() > 5)
        throw ESouteigai(QStringLiteral("TVariableOnOffCreator"),
            { fmtArg(onOff.shapeVariableCount()) },
            QStringLiteral("選択されたshapeが多すぎます。(%d個)"), QStringLiteral("done"));
    switchHolder.setOnOff(onOff);
}

QStringList shapeVariableNames(const TCalcSymbolOnOff &onOff)
{
    QStringList names;
    const std::pair<int, int> kinds[]
        = { { vkPoint, onOff.pointCount }, { vkCircle, onOff.circleCount },
              { vkEllipse, onOff.ellipseCount }, { vkLine, onOff.lineCount } };
    for (const auto &[kind, count] : kinds)
        for (int n = 1; n <= count; ++n)
            for (const QString &attribute : TCalcSymbolTable::shapeAttributes(kind))
                names << TCalcSymbolTable::variablePrefix(kind) + QString::number(n)
                        + QLatin1Char('.') + attribute;
    return names;
}

} // namespace zarno
