#include "labels/shapevariable2value.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "formula/calcformulafacade.h"
#include "labels/labeldialogs.h"
#include "labels/writing.h"
#include "labels/zahyouproperty.h"
#include "model/shapedot.h"
#include "model/shapestore.h"
#include "model/shapevariable2dot.h"

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TShapeVariable2value");
} // namespace

TShapeVariable2value::TShapeVariable2value()
    : fName(TWriting::createTextWriting())
{
    fName->setText(QStringLiteral("A"));
}

TShapeVariable2value::~TShapeVariable2value() = default;

QString TShapeVariable2value::formattedValue(double x) const
{
    return TZahyouProperty::formatNumber(scaletype, ketasuuBelowPoint, x);
}

QString TShapeVariable2value::text(double value) const
{
    const QString name = fName->text();
    const QString prefix
        = name.trimmed().isEmpty() ? QString() : QLatin1Char('{') + name + QLatin1Char('}');
    return prefix + formattedValue(value);
}

void TShapeVariable2value::pushCurrent()
{
    if (fSavedCount >= int(fSaved.size()))
        throw ESouteigai(
            kClass, QStringLiteral("情報は既にpushされています。"), QStringLiteral("pushCurrent"));
    fName->pushCurrent();
    fSaved[fSavedCount++] = { valueStr, scaletype, ketasuuBelowPoint };
}

void TShapeVariable2value::pop()
{
    if (fSavedCount <= 0)
        throw ESouteigai(
            kClass, QStringLiteral("情報がpushされていません。"), QStringLiteral("pop"));
    const Saved &s = fSaved[--fSavedCount];
    valueStr = s.valueStr;
    scaletype = s.scaletype;
    ketasuuBelowPoint = s.ketasuuBelowPoint;
    fName->pop();
}

void TShapeVariable2value::clearPushed()
{
    if (fSavedCount <= 0)
        throw ESouteigai(
            kClass, QStringLiteral("情報がpushされていません。"), QStringLiteral("clearPushed"));
    --fSavedCount;
    fName->clearPushed();
}

void TShapeVariable2value::save(TAbstractFileWriter &writer) const
{
    fName->save(writer);
    writer.writeString(QStringLiteral("valueStr"), valueStr);
    writer.writeZahyouScaletype(QStringLiteral("scaletype"), scaletype);
    writer.writeInteger(QStringLiteral("ketasuuBelowPoint"), ketasuuBelowPoint);
    writer.newLine();
}

void TShapeVariable2value::load(TAbstractXmlNode &node)
{
    fName->load(node);
    valueStr = node.readString(QStringLiteral("valueStr"));
    scaletype = node.readEnumOr(QStringLiteral("scaletype"), TZahyouScaletype::zstDouble);
    ketasuuBelowPoint = node.readInteger(QStringLiteral("ketasuuBelowPoint"));
    if (ketasuuBelowPoint < TZahyouProperty::kMinDigits
        || ketasuuBelowPoint > TZahyouProperty::kMaxDigits)
        node.raiseFormatError(safeFormat(
            QStringLiteral("小数点以下の桁数(%d)が不正です。"), { fmtArg(ketasuuBelowPoint) }));
}

TParentShapeVariable2value::TParentShapeVariable2value(
    const TRelationClass &cls, TFiguretype figureType)
    : TParentDot2Writing(cls, figureType)
    , fFacade(TCalcFormulaFacade::createCalcFormulaFacade())
    , fValue(std::make_unique<TShapeVariable2value>())
{ }

TParentShapeVariable2value::~TParentShapeVariable2value() = default;

void TParentShapeVariable2value::setFacadeAndValue(
    std::unique_ptr<TCalcFormulaFacade> facade, std::unique_ptr<TShapeVariable2value> value)
{
    fFacade = std::move(facade);
    fValue = std::move(value);
}

void TParentShapeVariable2value::prepare()
{
    const TShapeList &parents = myShape()->parents();
    TVariableOnOffCreator::done(
        TFiguretype::FIG_shapeVariable2value, parents, fFacade->symbolSwitch(), false, false);
    fSetters.setRelation(parents, fValue->valueStr, fFacade.get(), nullptr, QString());
}

double TParentShapeVariable2value::currentValue()
{
    fSetters.pushAll();
    return fFacade->calculate();
}

bool TParentShapeVariable2value::calcChildren(TAbstractImageAdapter *surface)
{
    if (!TParentDot2Writing::calcChildren(surface))
        return false;
    label().setTextAndPt(fValue->text(currentValue()), fValue->name().pt());
    return true;
}

void TParentShapeVariable2value::setupProperty()
{
    if (!TValueDialogFacade::edit(*fFacade, *fValue))
        return;
    prepare();
    calcChildren(nullptr);
    label().changed();
}

void TParentShapeVariable2value::saveToFile(TAbstractFileWriter &writer) const
{
    fValue->save(writer);
    TParents2Children::saveToFile(writer);
}

void TParentShapeVariable2value::loadFromFile(TAbstractXmlNode &figureNode)
{
    fValue->load(figureNode);
    prepare();
    TParents2Children::loadFromFile(figureNode);
}

void TParentShapeVariable2valueClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
    rules.add(TParentShapeVariable2dotClass::shapeVariableTypes(), 1, 4);
}

std::unique_ptr<TShapeWriting> TParentShapeVariable2valueClass::build(const TShapeList &parents,
    std::unique_ptr<TCalcFormulaFacade> facade, std::unique_ptr<TShapeVariable2value> value) const
{
    auto label = std::make_unique<TShapeWriting>();
    label->setPropertyType(TPropertyType::ShapeVariableValue);
    auto *relation = static_cast<TParentShapeVariable2value *>(
        attachNew(TFiguretype::FIG_shapeVariable2value, *label));
    relation->setFacadeAndValue(std::move(facade), std::move(value));
    // The first point is the anchor, and p1.
    relation->setRelationChildAndParentsThinkFirst(TShapetype::SHAPE_dot, label.get(), parents);
    relation->prepare();
    label->setTextAndPt(
        relation->value().text(relation->currentValue()), relation->value().name().pt());
    return label;
}

void TParentShapeVariable2valueClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    auto value = std::make_unique<TShapeVariable2value>();
    auto facade = TCalcFormulaFacade::createCalcFormulaFacade();
    // The dialog offers exactly the variables of these parents.
    TVariableOnOffCreator::done(figureType, parents, facade->symbolSwitch(), false, false);
    if (interactive && !TValueDialogFacade::edit(*facade, *value))
        return; // cancelled: nothing is made
    outList.add(build(parents, std::move(facade), std::move(value)));
}

std::unique_ptr<TShapeWriting> TParentShapeVariable2valueClass::createWithFormula(
    const TShapeList &parents, const QString &valueStr, TZahyouScaletype scaletype,
    int digits) const
{
    auto value = std::make_unique<TShapeVariable2value>();
    value->valueStr = valueStr;
    value->scaletype = scaletype;
    value->ketasuuBelowPoint = digits;
    return build(parents, TCalcFormulaFacade::createCalcFormulaFacade(), std::move(value));
}

} // namespace zarno
