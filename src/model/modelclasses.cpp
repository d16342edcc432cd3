#include "model/modelclasses.h"

#include "model/curvepoints.h"
#include "model/curverelations.h"
#include "model/intersections.h"
#include "model/parentnil2dot.h"
#include "model/shapefactory.h"
#include "model/shapevariable2dot.h"
#include "model/tangents.h"

namespace zarno {

void registerModelRelationClasses(TShapeFactory &factory)
{
    factory.registerClass(std::make_unique<TParentNil2dotClass>());
    factory.registerClass(std::make_unique<TParentLine2DotClass>());
    factory.registerClass(std::make_unique<TParentCircle2DotClass>());
    factory.registerClass(std::make_unique<TParentEllipse2DotClass>());
    factory.registerClass(std::make_unique<TParentDots2LineClass>());
    factory.registerClass(std::make_unique<TParentDotLine2HeikouLineClass>());
    factory.registerClass(std::make_unique<TParentDotLine2SuicyokuLineClass>());
    factory.registerClass(std::make_unique<TParentDots2CircleClass>());
    factory.registerClass(std::make_unique<TParentDots2GaisetsuenClass>());
    factory.registerClass(std::make_unique<TParentDots2ellipseClass>());
    factory.registerClass(std::make_unique<TParentCircleSetten2SessenClass>());
    factory.registerClass(std::make_unique<TParentEllipseSetten2SessenClass>());
    factory.registerClass(std::make_unique<TParentDots2ArcClass>());
    factory.registerClass(std::make_unique<TParentDotCircle2settenClass>());
    factory.registerClass(std::make_unique<TParentLines2KoutenClass>());
    factory.registerClass(std::make_unique<TParentLineCircle2KoutenClass>());
    factory.registerClass(std::make_unique<TParentCircles2KoutenClass>());
    factory.registerClass(std::make_unique<TParentShapeVariable2dotClass>());
}

} // namespace zarno
