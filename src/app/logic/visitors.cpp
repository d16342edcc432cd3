#include "app/logic/visitors.h"

#include "base/surface.h"
#include "core/exceptions.h"
#include "model/shape.h"

#include <algorithm>

namespace zarno {

int TNearVisitor::visitShape(TShape &shape)
{
    if (!fSurface || fSurface->FViewerType == TViewerType::Printer)
        throw ESouteigai(QStringLiteral("TNearVisitor"),
            QStringLiteral("viewerTypeがprinterのときに, nearVisitorが呼ばれました。"),
            QStringLiteral("visitShape"));
    // Shapes that are not drawn cannot be picked.
    if (!shape.isViewAtScreen(fSurface->FPreview != 0) || !shape.isDrawable())
        return 0;
    const TModelPoint mpp = fSurface->getModelPerPixel();
    const double m = std::min(mpp.x, mpp.y);
    const double d = shape.distance(fCursor, mpp);
    if (!(d < kThresholdPixels * m))
        return 0;
    const bool isDot = shape.shapeType() == TShapetype::SHAPE_dot;
    if (!fDotFound) {
        if (d < fBest) {
            fBest = d;
            fNearest = &shape;
            if (isDot) {
                fDotFound = true;
                fCandidates.clear();
            }
        }
        fCandidates.add(&shape);
    } else if (isDot && d < fBest) {
        fBest = d;
        fNearest = &shape;
        fCandidates.clear();
        fCandidates.add(&shape);
    }
    return 0;
}

int TRootDotVisitor::visitShape(TShape &shape)
{
    if (shape.shapeType() == TShapetype::SHAPE_dot) {
        if (!fDots.contains(&shape))
            fDots.add(&shape);
        return 0;
    }
    for (TShape *parent : shape.parents().items())
        parent->acceptVisitor(*this);
    return 0;
}

} // namespace zarno
