#pragma once

#include "model/relation.h"
#include "model/shape.h"
#include "paint/paintadapter.h"

namespace zarno {

class TShapeFactory;

// A filled region: the connected area that holds the first parent point
// and is bounded by the other parents (curves). It has no geometry of its
// own: at every drawing the region is found on the paint surface at the
// size and scale of the surface being drawn (the screen, or the 300-dpi
// image of an export) and filled there with the brush, so it follows its
// curves and is exact at each resolution.
//
// Degenerate cases: a seed outside the view or on a boundary fills nothing
// and cannot be picked; a region whose curves leave a gap wider than the
// boundary width leaks through it, to the edges of the view.
class TShapePaint : public TShape
{
public:
    TShapePaint();

    QString className() const override { return QStringLiteral("TShapePaint"); }
    QString shapetypeString() const override { return QStringLiteral("塗潰し"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("D"); }

    // Where the first parent (the point) stood at the last drawing.
    TModelPoint seed() const { return fP1; }
    // 0 inside the region as the screen last showed it, else 100.
    double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const override;
    const TPaintedArea &paintedArea() const { return fArea; }

protected:
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;

private:
    void fill(TAbstractImageAdapter &surface, TPenBrush &pb);

    TModelPoint fP1;
    TPaintedArea fArea;
};

// One point, then one or more curves (lines, segments, circles, ellipses,
// arrows, arrow lines, function graphs) to a filled region. Nothing to
// compute: the shape finds its region when it draws.
class TParentArea2Paint : public TParents2Children
{
public:
    TParentArea2Paint(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }
    QString className() const override { return QStringLiteral("TParentArea2Paint"); }
    const TRelationClass &relationClass() const override { return fClass; }
    bool calcChildren(TAbstractImageAdapter *) override { return isValid(); }

private:
    const TRelationClass &fClass;
};

class TParentArea2PaintClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentArea2Paint"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_paint }; }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    // The point goes first among the parents, whatever the selection order.
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Registers the filled region.
void registerPaintRelationClasses(TShapeFactory &factory);

} // namespace zarno
