#include "model/parentnil2dot.h"

#include "core/exceptions.h"
#include "formula/calcformulafacade.h"
#include "formula/numbertext.h"
#include "model/dialogfacades.h"
#include "model/shapedot.h"
#include "model/shapestore.h"

#include <cmath>

namespace zarno {

TParentSomething2dot::TParentSomething2dot(const TRelationClass &cls, TFiguretype figureType)
    : TParents2Children(figureType)
    , fClass(cls)
{ }

TParentSomething2dot::~TParentSomething2dot() = default;

void TParentSomething2dot::setZahyouAndFacades(std::unique_ptr<TZahyou> zahyou,
    std::unique_ptr<TCalcFormulaFacade> facadeX, std::unique_ptr<TCalcFormulaFacade> facadeY)
{
    fZahyou = std::move(zahyou);
    fFacadeX = std::move(facadeX);
    fFacadeY = std::move(facadeY);
}

TShapeDot *TParentSomething2dot::dot() const
{
    return static_cast<TShapeDot *>(myShape());
}

void TParentSomething2dot::prepareFormulas()
{
    fFacadeX->compileFormula(fZahyou->xstr());
    fFacadeY->compileFormula(fZahyou->ystr());
}

bool TParentSomething2dot::isXFree() const
{
    return fZahyou->fXfree() || (dot() && dot()->isFixed());
}

bool TParentSomething2dot::isYFree() const
{
    return fZahyou->fYfree() || (dot() && dot()->isFixed());
}

void TParentSomething2dot::saveToFile(TAbstractFileWriter &writer) const
{
    // A free coordinate is stored as the number of its last position, in
    // plain notation: the text is read back as a formula.
    if (isXFree())
        fZahyou->setXstr(TNumberText::formatPlain15(dot()->getX()));
    if (isYFree())
        fZahyou->setYstr(TNumberText::formatPlain15(dot()->getY()));
    fZahyou->saveInfo(writer);
    TParents2Children::saveToFile(writer);
}

void TParentSomething2dot::loadFromFile(TAbstractXmlNode &figureNode)
{
    fZahyou->loadInfo(figureNode);
    prepareFormulas();
    TParents2Children::loadFromFile(figureNode);
}

void TParentSomething2dot::setupProperty()
{
    if (TZahyouDialogFacade::edit(*fFacadeX, *fFacadeY, *fZahyou) == TZahyouDialogFacade::mrOk) {
        dot()->changed();
        prepareFormulas();
    }
}

bool TParentSomething2dot::calcChildren(TAbstractImageAdapter *)
{
    TShapeDot *d = dot();
    const double x = isXFree() ? d->getX() : fFacadeX->calculate();
    const double y = isYFree() ? d->getY() : fFacadeY->calculate();
    d->setXY({ x, y });
    setValid(std::isfinite(x) && std::isfinite(y));
    return isValid();
}

std::unique_ptr<TShapeDot> TParentSomething2dotClass::createDotWithZahyou(TFiguretype figureType,
    std::unique_ptr<TZahyou> zahyou, Mode mode, const TShapeList &parents) const
{
    std::unique_ptr<TShapeDot> dot(TShapeDot::createFormulaShapeDot());
    auto facadeX = TCalcFormulaFacade::createCalcFormulaFacade();
    setupCalcSymbolOnOff(parents, facadeX->symbolSwitch());
    auto facadeY = TCalcFormulaFacade::createCalcFormulaFacade();
    setupCalcSymbolOnOff(parents, facadeY->symbolSwitch());
    if (needsDialogAtCreation(mode)
        && TZahyouDialogFacade::edit(*facadeX, *facadeY, *zahyou) != TZahyouDialogFacade::mrOk)
        return nullptr;
    auto *relation = static_cast<TParentSomething2dot *>(attachNew(figureType, *dot));
    relation->setRelation(dot.get(), parents);
    relation->setZahyouAndFacades(std::move(zahyou), std::move(facadeX), std::move(facadeY));
    if (mode != Mode::mLoad)
        relation->prepareFormulas();
    return dot;
}

void TParentNil2dot::setDotInitialXY(const TModelPoint &point)
{
    dot()->setXY(point);
}

void TParentNil2dot::moveXYOffsetXY_p2dot(TShape &point, const TModelPoint &offset)
{
    auto &d = static_cast<TShapeDot &>(point);
    d.setXY({ d.getX() + offset.x, d.getY() + offset.y });
    d.changed();
}

std::unique_ptr<TAbstractParents2Children> TParentNil2dotClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentNil2dot>(*this, figureType);
}

void TParentNil2dotClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    std::unique_ptr<TShapeDot> dot = createDotWithZahyou(figureType, TZahyou::createFreeZahyou(),
        interactive ? Mode::mInteractive : Mode::mLoad, parents);
    if (dot)
        outList.add(std::move(dot));
}

void TParentNil2dotClass::setupCalcSymbolOnOff(
    const TShapeList &, TControlCalcSymbolOnOff &onOff) const
{
    // Constants only: neither x, y nor any shape variable.
    onOff.setOnOff(TCalcSymbolOnOff {});
}

} // namespace zarno
