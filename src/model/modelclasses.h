#pragma once

namespace zarno {

class TShapeFactory;

// Registers the relation classes of points, lines, circles and ellipses, in
// the program's registration order.
void registerModelRelationClasses(TShapeFactory &factory);

} // namespace zarno
