#include "model/modelclasses.h"

#include "model/curverelations.h"
#include "model/parentnil2dot.h"
#include "model/shapefactory.h"

namespace zarno {

void registerModelRelationClasses(TShapeFactory &factory)
{
    factory.registerClass(std::make_unique<TParentNil2dotClass>());
    factory.registerClass(std::make_unique<TParentDots2LineClass>());
    factory.registerClass(std::make_unique<TParentDotLine2HeikouLineClass>());
    factory.registerClass(std::make_unique<TParentDotLine2SuicyokuLineClass>());
    factory.registerClass(std::make_unique<TParentDots2CircleClass>());
    factory.registerClass(std::make_unique<TParentDots2GaisetsuenClass>());
    factory.registerClass(std::make_unique<TParentDots2ellipseClass>());
    factory.registerClass(std::make_unique<TParentDots2ArcClass>());
}

} // namespace zarno
