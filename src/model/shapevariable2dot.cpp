#include "model/shapevariable2dot.h"

#include "model/shapedot.h"
#include "model/shapestore.h"
#include "model/zahyou.h"

namespace zarno {

void TParentShapeVariable2dot::prepareFormulas()
{
    // Compiles both formulas and binds the parents to their variables.
    fSetters.setRelation(
        dot()->parents(), zahyou().xstr(), &facadeX(), &facadeY(), zahyou().ystr());
}

bool TParentShapeVariable2dot::calcChildren(TAbstractImageAdapter *surface)
{
    fSetters.pushAll();
    return TParentSomething2dot::calcChildren(surface);
}

std::unique_ptr<TAbstractParents2Children> TParentShapeVariable2dotClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentShapeVariable2dot>(*this, figureType);
}

TShapetypeSet TParentShapeVariable2dotClass::shapeVariableTypes()
{
    return { TShapetype::SHAPE_dot, TShapetype::SHAPE_line, TShapetype::SHAPE_senbun,
        TShapetype::SHAPE_circle, TShapetype::SHAPE_ellipse, TShapetype::SHAPE_arrow,
        TShapetype::SHAPE_arrowLine };
}

void TParentShapeVariable2dotClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add(shapeVariableTypes(), 1, 5);
}

void TParentShapeVariable2dotClass::setupCalcSymbolOnOff(
    const TShapeList &parents, TControlCalcSymbolOnOff &onOff) const
{
    TVariableOnOffCreator::done(TFiguretype::FIG_shapeVariable2dot, parents, onOff, false, false);
}

void TParentShapeVariable2dotClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    std::unique_ptr<TShapeDot> dot = createDotWithZahyou(figureType, TZahyou::createFormulaZahyou(),
        interactive ? Mode::mInteractive : Mode::mLoad, parents);
    if (dot) {
        dot->setCanMoveAnywhere(false);
        outList.add(std::move(dot));
    }
}

std::unique_ptr<TShapeDot> TParentShapeVariable2dotClass::createWithFormulas(
    const TShapeList &parents, const QString &xText, const QString &yText) const
{
    auto zahyou = TZahyou::createFormulaZahyou();
    zahyou->setXstr(xText);
    zahyou->setYstr(yText);
    std::unique_ptr<TShapeDot> dot = createDotWithZahyou(
        TFiguretype::FIG_shapeVariable2dot, std::move(zahyou), Mode::mProgram, parents);
    if (dot)
        dot->setCanMoveAnywhere(false);
    return dot;
}

} // namespace zarno
