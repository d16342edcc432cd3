#include "model/relationregistry.h"

#include "core/exceptions.h"

namespace zarno {

TRelationClass &TRelationClassRegistry::add(std::unique_ptr<TRelationClass> relationClass)
{
    const TFiguretypeSet types = relationClass->supportedFigureTypes();
    for (const auto &existing : fClasses) {
        if (!(existing->supportedFigureTypes() & types).empty())
            throw ESouteigai(QStringLiteral("TRelationClassRegistry"),
                { fmtArg(relationClass->className()), fmtArg(existing->className()) },
                QStringLiteral("%sの図形の種類は既に%sが作ります。"), QStringLiteral("add"));
    }
    fClasses.push_back(std::move(relationClass));
    return *fClasses.back();
}

const TRelationClass *TRelationClassRegistry::classFor(TFiguretype figureType) const
{
    for (const auto &c : fClasses)
        if (c->supportedFigureTypes().contains(figureType))
            return c.get();
    return nullptr;
}

TFiguretypeSet TRelationClassRegistry::allowedFigureTypes(const TShapeList &selection) const
{
    TFiguretypeSet allowed;
    for (const auto &c : fClasses)
        if (c->isMyParentShapes(&selection))
            allowed = allowed | c->supportedFigureTypes();
    return allowed;
}

void TRelationClassRegistry::createParentShapeInfoLists()
{
    for (const auto &c : fClasses)
        c->createParentShapeInfoList();
}

void TRelationClassRegistry::destroyParentShapeInfoLists()
{
    for (const auto &c : fClasses)
        c->destroyParentShapeInfoList();
}

} // namespace zarno
