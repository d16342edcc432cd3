#pragma once

#include "graphs/dot2function.h"
#include "graphs/lagrangeshokan.h"

namespace zarno {

// The graph of the polynomial through three to five points: a parabola
// through three, a cubic through four, a quartic through five. The points
// stay live, and while two of them share an x there is no such polynomial
// and the graph hides. There is no formula, so the graph has no dialog.
class TParentDots2seishiki : public TParentSomething2function
{
public:
    TParentDots2seishiki(const TRelationClass &cls, TFiguretype figureType);

    QString className() const override { return QStringLiteral("TParentDots2seishiki"); }
    const TRelationClass &relationClass() const override { return fClass; }

    // The domain is always unbounded: nothing edits it.
    void setRange(TRange *range) override;
    // The interpolated value; s itself while there is no polynomial (the graph
    // is not drawn then).
    double valueAt(double s) override;
    const TDimensionInfo &degreeInfo() const override { return fHokan.coefficients(); }
    // The points' positions, in parent order, make the polynomial; the
    // origin stays at (0, 0) so the curve runs through the points themselves.
    bool calcChildren(TAbstractImageAdapter *surface) override;
    const TLagrangesHokan &hokan() const { return fHokan; }
    // The curve through other points until the next recomputation (loci
    // replay earlier states of the graph).
    void replacePoints(const std::vector<TModelPoint> &points) { fHokan.setPoints(points); }

private:
    const TRelationClass &fClass;
    std::vector<TModelPoint> fPoints;
    TLagrangesHokan fHokan;
};

// Descriptor of TParentDots2seishiki: three to five points make the graph.
class TParentDots2seishikiClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentDots2seishiki"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_seishiki }; }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

} // namespace zarno
