#pragma once

#include "core/figurecatalog.h"
#include "model/relationregistry.h"
#include "model/shapestore.h"

#include <QHash>
#include <functional>
#include <memory>

namespace zarno {

class TAbstractXmlNode;

// Maps every construction to the relation class that builds it: which
// constructions a selection allows, interactive building for the user,
// non-interactive building while a document is read, and the kind of point a
// click makes. The relation classes are registered by the layers that own
// them, in the program's fixed order, before the factory is used.
class TShapeFactory
{
public:
    TShapeFactory() = default;
    ~TShapeFactory();
    TShapeFactory(const TShapeFactory &) = delete;
    TShapeFactory &operator=(const TShapeFactory &) = delete;

    // Takes a relation class; its parent rules are made at once.
    void registerClass(std::unique_ptr<TRelationClass> relationClass);

    TFiguretypeSet supportedSet() const { return fSupported; }
    bool hasRelation(TFiguretype figureType) const
    {
        return fRegistry.classFor(figureType) != nullptr;
    }
    const TRelationClass *relationClassFor(TFiguretype figureType) const
    {
        return fRegistry.classFor(figureType);
    }
    QString figureTypeName(TFiguretype figureType) const;
    // Every supported construction whose class accepts the selection as its parents.
    TFiguretypeSet figureTypesFor(const TShapeList &selection) const;
    // The kind of point a click makes next to these shapes.
    static TFiguretype pointFigureTypeFor(const TShapeList &nearShapes);

    // Builds interactively; an empty store means the user cancelled. The
    // caller moves the shapes it keeps into the field; the rest go with the store.
    TShapeStore create(TFiguretype figureType, const TShapeList &parents) const;
    // Builds without asking anything (documents, initial shapes).
    TShapeStore createSilently(TFiguretype figureType, const TShapeList &parents) const;

    // Reads every "figure" record of a document's figure list into the field.
    void readAll(TAbstractXmlNode &figureList, TShapeStore &field) const;

private:
    TRelationClassRegistry fRegistry;
    TFiguretypeSet fSupported;
};

} // namespace zarno
