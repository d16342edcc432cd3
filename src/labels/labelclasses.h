#pragma once

namespace zarno {

class TShapeFactory;

// Registers the relation classes of labels and axes: the axes, a label of
// a point, a label of an arrow and the coordinate read-out.
void registerLabelRelationClasses(TShapeFactory &factory);

} // namespace zarno
