#include "render/renderclasses.h"

#include "model/shapefactory.h"
#include "render/printarea.h"

namespace zarno {

void registerRenderRelationClasses(TShapeFactory &factory)
{
    factory.registerClass(std::make_unique<TParentNil2printAreaClass>());
}

} // namespace zarno
