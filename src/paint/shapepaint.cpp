#include "paint/shapepaint.h"

#include "core/exceptions.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapestore.h"

namespace zarno {

namespace {

constexpr auto S = TPenBrushState::pbSelect;
constexpr auto D = TPenBrushState::pbDisable;

TShapetypeSet boundaryShapeTypes()
{
    return { TShapetype::SHAPE_line, TShapetype::SHAPE_senbun, TShapetype::SHAPE_circle,
        TShapetype::SHAPE_ellipse, TShapetype::SHAPE_arrow, TShapetype::SHAPE_arrowLine,
        TShapetype::SHAPE_function };
}

} // namespace

TShapePaint::TShapePaint()
    : TShape(TShapetype::SHAPE_paint)
{
    // Only the brush is the region's own; the curves keep their pens.
    penBrush().setStates({ D, D, D, S, S, D, D });
    penBrush().setBrushColor(kColorBlack);
    penBrush().setBrushStyle(TBrushStyle::bsBDiagonal);
}

double TShapePaint::rawDistance(const TModelPoint &point, const TModelPoint &) const
{
    return fArea.isCovered(point) ? 0 : 100;
}

void TShapePaint::drawSelected(const TDrawStatus &, TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fill(surface, pb);
}

void TShapePaint::drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    fill(surface, penBrush());
}

void TShapePaint::fill(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    const bool screen = surface.FViewerType == TViewerType::Screen;
    if (parents().count() < 2)
        return;
    TPaintAdapter &painter = TPaintAdapter::instance();
    surface.paramCopyTo(painter);
    painter.prepareBoundaryPass();
    fP1 = static_cast<const TShapeDot &>(*parents().item(0)).getXY();
    const QList<TShape *> &curves = parents().items();
    for (int i = 1; i < curves.size(); ++i)
        curves[i]->drawAsBoundary(painter, painter.boundaryPenBrush());
    // The seed's pixel, or none when the point lies far outside the view.
    const TModelViewRect view = painter.getModelViewRect();
    const bool inView = fP1.x >= std::min(view.left, view.right)
        && fP1.x <= std::max(view.left, view.right) && fP1.y >= std::min(view.bottom, view.top)
        && fP1.y <= std::max(view.bottom, view.top);
    const QPoint seed = inView ? painter.modelToPixel(fP1) : QPoint(-1, -1);
    if (!painter.fillFromSeed(seed.x(), seed.y())) {
        if (screen)
            fArea.clear();
        return;
    }
    painter.prepareErasePass();
    for (int i = 1; i < curves.size(); ++i)
        curves[i]->drawAsBoundary(painter, painter.erasePenBrush());
    if (screen)
        painter.buildCoverage(fArea);
    surface.floodFill(painter.getBitmap(), pb, fP1.x, fP1.y);
}

std::unique_ptr<TAbstractParents2Children> TParentArea2PaintClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentArea2Paint>(*this, figureType);
}

void TParentArea2PaintClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
    rules.add(boundaryShapeTypes(), 1, 0);
}

void TParentArea2PaintClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    auto paint = std::make_unique<TShapePaint>();
    TParents2Children *relation = attachNew(figureType, *paint);
    relation->setRelationChildAndParentsThinkFirst(TShapetype::SHAPE_dot, paint.get(), parents);
    outList.add(std::move(paint));
}

void registerPaintRelationClasses(TShapeFactory &factory)
{
    factory.registerClass(std::make_unique<TParentArea2PaintClass>());
}

} // namespace zarno
