#include "graphs/dot2function.h"

#include "base/fileio.h"
#include "formula/calcformulafacade.h"
#include "graphs/dots2seishiki.h"
#include "graphs/function2dot.h"
#include "graphs/seishiki2kyokuchi.h"
#include "graphs/shapefunction.h"
#include "graphs/shapevariable2function.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapestore.h"

namespace zarno {

namespace {

std::unique_ptr<TFunctionDialogFacade> &dialogSlot()
{
    static std::unique_ptr<TFunctionDialogFacade> dialog;
    return dialog;
}

bool isYType(TFiguretype t)
{
    return t == TFiguretype::FIG_functionY;
}

} // namespace

void TParentSomething2function::valuesAt(const double *s, double *t, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i)
        t[i] = valueAt(s[i]);
}

TParentDot2Function::TParentDot2Function(const TRelationClass &cls, TFiguretype figureType)
    : TParentSomething2function(figureType)
    , fClass(cls)
    , fFacade(TCalcFormulaFacade::createCalcFormulaFacade())
{
    // Only the free variable may appear: x for y = f(x), y for x = g(y).
    TCalcSymbolOnOff onOff;
    (isYType(figureType) ? onOff.yOn : onOff.xOn) = true;
    fFacade->setCalcSymbolOnOff(onOff);
}

TParentDot2Function::~TParentDot2Function() = default;

void TParentDot2Function::setFormula(const QString &text)
{
    fText = text;
    fFacade->compileFormula(text);
    fVariable
        = fFacade->mustFindVar(isYType(fFigureType) ? QStringLiteral("y") : QStringLiteral("x"));
}

double TParentDot2Function::valueAt(double s)
{
    if (!fVariable)
        return std::numeric_limits<double>::quiet_NaN();
    fVariable->setValue(s);
    return fFacade->calculate();
}

void TParentDot2Function::valuesAt(const double *s, double *t, qsizetype n)
{
    if (!fVariable) {
        std::fill(t, t + n, std::numeric_limits<double>::quiet_NaN());
        return;
    }
    fFacade->calculateBatch(*fVariable, s, t, n);
}

const TDimensionInfo &TParentDot2Function::degreeInfo() const
{
    static const TDimensionInfo none;
    return fFacade->errorFlag() != 0 ? none : fFacade->dimensionInfo();
}

bool TParentDot2Function::calcChildren(TAbstractImageAdapter *)
{
    auto &shape = static_cast<TShapeFunction &>(*myShape());
    shape.setOrigin(static_cast<TShapeDot &>(*shape.parents().first()).getXY());
    return isValid();
}

void TParentDot2Function::setupProperty()
{
    auto &shape = static_cast<TShapeFunction &>(*myShape());
    setRange(&shape.range());
    QString text = fText;
    if (TFunctionDialogFacade::edit(text, shape.range(), isYType(fFigureType))) {
        setFormula(text);
        shape.changed();
    }
}

void TParentDot2Function::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeString(QStringLiteral("str"), fText);
    writer.newLine();
    TParents2Children::saveToFile(writer);
}

void TParentDot2Function::loadFromFile(TAbstractXmlNode &figureNode)
{
    setFormula(figureNode.readString(QStringLiteral("str")));
    TParents2Children::loadFromFile(figureNode);
}

std::unique_ptr<TAbstractParents2Children> TParentDot2FunctionClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentDot2Function>(*this, figureType);
}

void TParentDot2FunctionClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
}

void TParentDot2FunctionClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    std::unique_ptr<TShapeFunction> shape(TShapeFunction::createShapeFunction(isYType(figureType)));
    QString text;
    if (interactive && !TFunctionDialogFacade::edit(text, shape->range(), isYType(figureType)))
        return; // cancelled: nothing is made
    auto *relation = static_cast<TParentDot2Function *>(attachNew(figureType, *shape));
    relation->setRange(&shape->range());
    if (interactive)
        relation->setFormula(text);
    relation->setRelation(shape.get(), parents);
    outList.add(std::move(shape));
}

std::unique_ptr<TFunctionDialogFacade> TFunctionDialogFacade::install(
    std::unique_ptr<TFunctionDialogFacade> dialog)
{
    std::swap(dialogSlot(), dialog);
    return dialog;
}

bool TFunctionDialogFacade::edit(QString &text, TRange &range, bool isY)
{
    return dialogSlot() && dialogSlot()->editFunction(text, range, isY);
}

bool TFunctionDialogFacade::editWithVariables(
    TCalcFormulaFacade &facade, QString &text, TRange &range)
{
    return dialogSlot() && dialogSlot()->editFunctionWithVariables(facade, text, range);
}

void registerGraphRelationClasses(TShapeFactory &factory)
{
    factory.registerClass(std::make_unique<TParentFunction2dotClass>());
    factory.registerClass(std::make_unique<TParentDot2FunctionClass>());
    factory.registerClass(std::make_unique<TParentDots2seishikiClass>());
    factory.registerClass(std::make_unique<TParentSeishiki2diffIs0dotsClass>());
    factory.registerClass(std::make_unique<TParentShapeVariable2functionClass>());
}

} // namespace zarno
