#pragma once

namespace zarno {

class TShapeFactory;

// Registers the relation classes of the rendering layer (the image output
// area) with the factory, after the model's own classes.
void registerRenderRelationClasses(TShapeFactory &factory);

} // namespace zarno
