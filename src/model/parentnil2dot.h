#pragma once

#include "model/relation.h"
#include "model/zahyou.h"

#include <memory>

namespace zarno {

class TCalcFormulaFacade;
class TControlCalcSymbolOnOff;
class TShapeDot;

// Builds a point from parent shapes (none for a free point) and a coordinate
// description (zahyou): each coordinate free or a formula.
class TParentSomething2dot : public TParents2Children
{
public:
    TParentSomething2dot(const TRelationClass &cls, TFiguretype figureType);
    ~TParentSomething2dot() override;

    QString className() const override { return fClass.className(); }
    const TRelationClass &relationClass() const override { return fClass; }

    void setZahyouAndFacades(std::unique_ptr<TZahyou> zahyou,
        std::unique_ptr<TCalcFormulaFacade> facadeX, std::unique_ptr<TCalcFormulaFacade> facadeY);
    // Compiles both coordinate formulas.
    virtual void prepareFormulas();
    bool isXFree() const;
    bool isYFree() const;
    TZahyou &zahyou() { return *fZahyou; }
    TCalcFormulaFacade &facadeX() { return *fFacadeX; }
    TCalcFormulaFacade &facadeY() { return *fFacadeY; }
    TShapeDot *dot() const;

    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;
    void setupProperty() override;
    // Free coordinates keep the point's position, formulas give theirs. A
    // coordinate without a value leaves the point undefined: it is neither
    // drawn nor picked, and neither is anything built on it.
    bool calcChildren(TAbstractImageAdapter *surface) override;

private:
    const TRelationClass &fClass;
    std::unique_ptr<TZahyou> fZahyou;
    std::unique_ptr<TCalcFormulaFacade> fFacadeX;
    std::unique_ptr<TCalcFormulaFacade> fFacadeY;
};

// Descriptor base of TParentSomething2dot: the parents' variables and the
// coordinate dialog make a point.
class TParentSomething2dotClass : public TRelationClass
{
public:
    // Creation modes: 0 while a document is read (formulas are compiled when
    // the record is read), 1 by the user, 2 by the program with ready texts.
    enum class Mode { mLoad = 0, mInteractive = 1, mProgram = 2 };

    // Which variables the coordinate formulas may use.
    virtual void setupCalcSymbolOnOff(
        const TShapeList &parents, TControlCalcSymbolOnOff &onOff) const = 0;
    virtual bool needsDialogAtCreation(Mode mode) const = 0;

    // Builds the point; nothing when the user cancels the coordinate dialog.
    std::unique_ptr<TShapeDot> createDotWithZahyou(TFiguretype figureType,
        std::unique_ptr<TZahyou> zahyou, Mode mode, const TShapeList &parents) const;
};

// Builds a point on the field from nothing (no parent shapes): a free point,
// the origin or an output-area corner.
class TParentNil2dot : public TParentSomething2dot
{
public:
    using TParentSomething2dot::TParentSomething2dot;
    void setDotInitialXY(const TModelPoint &point) override;
    void moveXYOffsetXY_p2dot(TShape &point, const TModelPoint &offset) override;
};

// Descriptor of TParentNil2dot: nothing (no parents) makes a point.
class TParentNil2dotClass : public TParentSomething2dotClass
{
public:
    QString className() const override { return QStringLiteral("TParentNil2dot"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_genten, TFiguretype::FIG_printAreaDot,
            TFiguretype::FIG_dotOnField };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    // Points on the field are made by clicking, never from a selection.
    void createParentShapeInfoList() override { }
    bool isMyParentShapes(const TShapeList *) const override { return false; }

    void setupCalcSymbolOnOff(
        const TShapeList &parents, TControlCalcSymbolOnOff &onOff) const override;
    bool needsDialogAtCreation(Mode) const override { return false; }
};

} // namespace zarno
