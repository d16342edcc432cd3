#include "labels/labelclasses.h"

#include "labels/shapevariable2value.h"
#include "labels/shapewriting.h"
#include "labels/zahyougroup.h"
#include "labels/zahyoujiku.h"
#include "model/shapefactory.h"

namespace zarno {

void registerLabelRelationClasses(TShapeFactory &factory)
{
    factory.registerClass(std::make_unique<TParentNil2ZahyoujikuClass>());
    factory.registerClass(std::make_unique<TParentDot2WritingClass>());
    factory.registerClass(std::make_unique<TParentArrow2writingClass>());
    factory.registerClass(std::make_unique<TParentDot2zahyouClass>());
    factory.registerClass(std::make_unique<TParentShapeVariable2valueClass>());
    factory.registerClass(std::make_unique<TParentDot2zahyouGroupClass>());
}

} // namespace zarno
