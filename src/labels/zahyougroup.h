#pragma once

#include "model/relation.h"

namespace zarno {

// The read-out of a point drawn on the axes (FIG_dot2zahyouGroup): the feet
// of the point on both axes (points whose coordinates are formulas in the
// point's), the two segments from the point to them, and a read-out of x
// under the foot on the x axis. Only the parts are kept; each is an ordinary
// shape of its own kind afterwards.
class TParentDot2zahyouGroupClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentDot2zahyouGroup"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_dot2zahyouGroup };
    }
    // No shape keeps this relation, so none is ever made for one.
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    // Builds the parts only when the user asked for them.
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

} // namespace zarno
