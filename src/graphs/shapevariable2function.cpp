#include "graphs/shapevariable2function.h"

#include "formula/calcformulafacade.h"
#include "graphs/shapefunction.h"
#include "model/shapedot.h"
#include "model/shapestore.h"
#include "model/shapevariable2dot.h"
#include "model/tracerecord.h"

namespace zarno {

void TParentShapeVariable2function::setFormula(const QString &text)
{
    const TShapeList &parents = myShape()->parents();
    TVariableOnOffCreator::done(
        TFiguretype::FIG_shapeVariable2function, parents, fFacade->symbolSwitch(), true, false);
    fText = text;
    fSetters.setRelation(parents, text, fFacade.get(), nullptr, QString());
    fVariable = fFacade->mustFindVar(QStringLiteral("x"));
}

void TParentShapeVariable2function::prepare()
{
    fSetters.pushAll();
}

const TDimensionInfo &TParentShapeVariable2function::degreeInfo() const
{
    static const TDimensionInfo none;
    return none;
}

TTraceRecord *TParentShapeVariable2function::traceRecord() const
{
    auto record = std::make_unique<TTraceRecordOfSomething2function>();
    for (auto &r : fSetters.createValueRecords())
        record->add(std::move(r));
    return record.release();
}

void TParentShapeVariable2function::setupProperty()
{
    auto &shape = static_cast<TShapeFunction &>(*myShape());
    setRange(&shape.range());
    QString text = fText;
    if (TFunctionDialogFacade::editWithVariables(*fFacade, text, shape.range())) {
        setFormula(text);
        shape.changed();
    }
}

std::unique_ptr<TAbstractParents2Children> TParentShapeVariable2functionClass::createRelation(
    TFiguretype figureType) const
{
    checkSupported(figureType);
    return std::make_unique<TParentShapeVariable2function>(*this, figureType);
}

void TParentShapeVariable2functionClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
    rules.add(TParentShapeVariable2dotClass::shapeVariableTypes(), 1, 4);
}

namespace {

// The graph with its parents, the first point first: the origin, and p1.
TParentShapeVariable2function *attachGraph(const TParentShapeVariable2functionClass &cls,
    TFiguretype figureType, TShapeFunction &shape, const TShapeList &parents)
{
    auto *relation = static_cast<TParentShapeVariable2function *>(cls.attachNew(figureType, shape));
    relation->setRange(&shape.range());
    relation->setRelationChildAndParentsThinkFirst(TShapetype::SHAPE_dot, &shape, parents);
    return relation;
}

} // namespace

void TParentShapeVariable2functionClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    std::unique_ptr<TShapeFunction> shape(TShapeFunction::createShapeFunction(false));
    auto *relation = attachGraph(*this, figureType, *shape, parents);
    if (interactive) {
        // The dialog offers exactly the variables of these parents.
        relation->setFormula(QString());
        QString text;
        if (!TFunctionDialogFacade::editWithVariables(relation->facade(), text, shape->range())) {
            return; // cancelled: the graph goes, and leaves its parents
        }
        relation->setFormula(text);
    }
    outList.add(std::move(shape));
}

std::unique_ptr<TShape> TParentShapeVariable2functionClass::createWithFormula(
    const TShapeList &parents, const QString &text) const
{
    std::unique_ptr<TShapeFunction> shape(TShapeFunction::createShapeFunction(false));
    attachGraph(*this, TFiguretype::FIG_shapeVariable2function, *shape, parents)->setFormula(text);
    return shape;
}

} // namespace zarno
