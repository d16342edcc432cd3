#pragma once

#include "model/parentnil2dot.h"
#include "model/shapevalues.h"

namespace zarno {

// A point whose coordinates are formulas in the attributes of its parents
// (p1.x + c1.r, l1.angle …). It follows its parents and cannot be dragged;
// where a formula has no value the point is undefined and hidden.
class TParentShapeVariable2dot : public TParentSomething2dot
{
public:
    using TParentSomething2dot::TParentSomething2dot;

    void prepareFormulas() override;
    bool calcChildren(TAbstractImageAdapter *surface) override;
    void moveXYOffsetXY_p2dot(TShape &, const TModelPoint &) override { }
    void setDotInitialXY(const TModelPoint &) override { }
    const TShapeValueSetterList &valueSetters() const { return fSetters; }

private:
    TShapeValueSetterList fSetters;
};

// Descriptor of TParentShapeVariable2dot: one to five points, lines, circles
// or ellipses and two formulas make a point.
class TParentShapeVariable2dotClass : public TParentSomething2dotClass
{
public:
    QString className() const override { return QStringLiteral("TParentShapeVariable2dot"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_shapeVariable2dot };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    void setupCalcSymbolOnOff(
        const TShapeList &parents, TControlCalcSymbolOnOff &onOff) const override;
    bool needsDialogAtCreation(Mode mode) const override { return mode == Mode::mInteractive; }

    // A point with the given coordinate formulas, without asking.
    std::unique_ptr<TShapeDot> createWithFormulas(
        const TShapeList &parents, const QString &xText, const QString &yText) const;

    // The shape types whose attributes formulas can use.
    static TShapetypeSet shapeVariableTypes();

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

} // namespace zarno
