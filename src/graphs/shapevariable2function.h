#pragma once

#include "graphs/dot2function.h"
#include "model/shapevalues.h"

#include <memory>

namespace zarno {

// The graph of y = f(x) whose formula also reads other shapes' attributes
// (p1.x, c1.r, l1.angle …). The first parent, a point, is the origin and p1;
// the others are the shapes the formula may use.
class TParentShapeVariable2function : public TParentDot2Function
{
public:
    using TParentDot2Function::TParentDot2Function;

    QString className() const override { return QStringLiteral("TParentShapeVariable2function"); }

    // Compiles the formula against the parents' variables; the graph must
    // have its parents.
    void setFormula(const QString &text) override;
    const TShapeValueSetterList &valueSetters() const { return fSetters; }

    // The parents' attributes go into the variables once, so a whole
    // sampling run sees one consistent set (or the recorded one, while a
    // locus replays).
    void prepare() override;
    // The shape variables change under the formula: it is never treated as
    // a fixed polynomial.
    const TDimensionInfo &degreeInfo() const override;
    // The parents' values now, for loci.
    TTraceRecord *traceRecord() const override;
    void setupProperty() override;

private:
    TShapeValueSetterList fSetters;
};

// Descriptor of TParentShapeVariable2function: an origin point and one to
// four shapes whose attributes the formula uses make a graph.
class TParentShapeVariable2functionClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentShapeVariable2function"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_shapeVariable2function };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    // A graph with the given formula, without asking (the parents in any
    // order: the first point becomes the origin).
    std::unique_ptr<TShape> createWithFormula(const TShapeList &parents, const QString &text) const;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

} // namespace zarno
