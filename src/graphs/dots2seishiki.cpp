#include "graphs/dots2seishiki.h"

#include "core/exceptions.h"
#include "graphs/shapefunction.h"
#include "model/shapedot.h"
#include "model/shapestore.h"

namespace zarno {

TParentDots2seishiki::TParentDots2seishiki(const TRelationClass &cls, TFiguretype figureType)
    : TParentSomething2function(figureType)
    , fClass(cls)
{ }

void TParentDots2seishiki::setRange(TRange *)
{
    throw ESouteigai(className(), QStringLiteral("setRange"));
}

double TParentDots2seishiki::valueAt(double s)
{
    return fHokan.isValid() ? fHokan.valueAt(s) : s;
}

bool TParentDots2seishiki::calcChildren(TAbstractImageAdapter *)
{
    auto &shape = static_cast<TShapeFunction &>(*myShape());
    shape.setOrigin({ 0, 0 });
    fPoints.clear();
    for (const TShape *parent : shape.parents().items())
        fPoints.push_back(static_cast<const TShapeDot *>(parent)->getXY());
    fHokan.setPoints(fPoints);
    setValid(fHokan.isValid());
    return isValid();
}

std::unique_ptr<TAbstractParents2Children> TParentDots2seishikiClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentDots2seishiki>(*this, figureType);
}

void TParentDots2seishikiClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 3, 5);
}

void TParentDots2seishikiClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    std::unique_ptr<TShapeFunction> shape(TShapeFunction::createShapeFunction(false));
    shape->setPropertyType(TPropertyType::None);
    attachNew(figureType, *shape)->setRelation(shape.get(), parents);
    outList.add(std::move(shape));
}

} // namespace zarno
