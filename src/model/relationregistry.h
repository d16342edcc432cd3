#pragma once

#include "model/relation.h"

#include <memory>
#include <vector>

namespace zarno {

// The relation classes of the program, one descriptor each, in registration
// order. The shape factory asks them which constructions a selection allows
// and which class builds a figure type.
class TRelationClassRegistry
{
public:
    // Takes the descriptor; a figure type may be built by one class only.
    TRelationClass &add(std::unique_ptr<TRelationClass> relationClass);
    const std::vector<std::unique_ptr<TRelationClass>> &classes() const { return fClasses; }
    // The class that builds this figure type, or nullptr.
    const TRelationClass *classFor(TFiguretype figureType) const;
    // Figure types whose class accepts the selection as its parents.
    TFiguretypeSet allowedFigureTypes(const TShapeList &selection) const;

    void createParentShapeInfoLists();
    void destroyParentShapeInfoLists();

private:
    std::vector<std::unique_ptr<TRelationClass>> fClasses;
};

} // namespace zarno
