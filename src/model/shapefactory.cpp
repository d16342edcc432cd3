#include "model/shapefactory.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "model/shape.h"

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TShapeFactory");
} // namespace

TShapeFactory::~TShapeFactory()
{
    fRegistry.destroyParentShapeInfoLists();
}

void TShapeFactory::registerClass(std::unique_ptr<TRelationClass> relationClass)
{
    TRelationClass &c = fRegistry.add(std::move(relationClass));
    c.createParentShapeInfoList();
    fSupported = fSupported | c.supportedFigureTypes();
}

QString TShapeFactory::figureTypeName(TFiguretype figureType) const
{
    const TRelationClass *c = fRegistry.classFor(figureType);
    if (!c)
        throw ESouteigai(kClass, { fmtArg(TEnumConverter<TFiguretype>::name(figureType)) },
            QStringLiteral("ここではこのfigure(%s)は作れません。"),
            QStringLiteral("figureTypeName"));
    return c->figureTypeName(figureType);
}

TFiguretypeSet TShapeFactory::figureTypesFor(const TShapeList &selection) const
{
    return fRegistry.allowedFigureTypes(selection);
}

TFiguretype TShapeFactory::pointFigureTypeFor(const TShapeList &nearShapes)
{
    if (nearShapes.count() != 1)
        return TFiguretype::FIG_dotOnField;
    switch (nearShapes.first()->shapeType()) {
    case TShapetype::SHAPE_line:
    case TShapetype::SHAPE_senbun:
    case TShapetype::SHAPE_arrow:
    case TShapetype::SHAPE_arrowLine: return TFiguretype::FIG_dotOnLine;
    case TShapetype::SHAPE_circle: return TFiguretype::FIG_dotOnCircle;
    case TShapetype::SHAPE_ellipse: return TFiguretype::FIG_dotOnEllipse;
    case TShapetype::SHAPE_function: return TFiguretype::FIG_dotOnFunction;
    default: return TFiguretype::FIG_dotOnField;
    }
}

TShapeStore TShapeFactory::create(TFiguretype figureType, const TShapeList &parents) const
{
    const TRelationClass *c = fRegistry.classFor(figureType);
    if (!c)
        throw ESouteigai(kClass, { fmtArg(TEnumConverter<TFiguretype>::name(figureType)) },
            QStringLiteral("ここではこのfigure(%s)は作れません。"), QStringLiteral("create"));
    TShapeStore built;
    c->s_createShapes2shapeList(built, figureType, true, parents);
    return built;
}

TShapeStore TShapeFactory::createSilently(TFiguretype figureType, const TShapeList &parents) const
{
    const TRelationClass *c = fRegistry.classFor(figureType);
    if (!c)
        throw ESouteigai(kClass, { fmtArg(TEnumConverter<TFiguretype>::name(figureType)) },
            QStringLiteral("ここではこのfigure(%s)は作れません。"),
            QStringLiteral("createSilently"));
    TShapeStore built;
    c->s_createShapes2shapeList(built, figureType, false, parents);
    return built;
}

void TShapeFactory::readAll(TAbstractXmlNode &figureList, TShapeStore &field) const
{
    QHash<QString, TShape *> registry;
    for (TAbstractXmlNode *figure : figureList.children()) {
        if (figure->tagName() != QLatin1String("figure"))
            continue;
        const QString typeText = figure->readString(TEnumConverter<TFiguretype>::tagName());
        TFiguretype type {};
        // A figure type no class builds cannot come from this program.
        if (!TEnumConverter<TFiguretype>::tryParse(typeText, type) || !hasRelation(type))
            figure->raiseFormatError(
                safeFormat(QStringLiteral("figure(%s)は作れません。"), { fmtArg(typeText) }));

        TShapeList parents;
        if (TAbstractXmlNode *parentBlock
            = figure->getThisTagNodePermitNil(QStringLiteral("parent"))) {
            for (TAbstractXmlNode *id : parentBlock->children()) {
                if (id->tagName() != QLatin1String("id"))
                    continue;
                TShape *parent = registry.value(id->valueText());
                // Parents are written before their children: an unknown one
                // means the file was not written by this program.
                if (!parent)
                    id->raiseFormatError(
                        safeFormat(QStringLiteral("親(%s)がファイルに存在しません。"),
                            { fmtArg(id->valueText()) }));
                parents.add(parent);
            }
        }

        // The parents must be what the construction is built from: a record
        // that names a line where a point belongs would be computed from the
        // wrong kind of shape.
        if (!relationClassFor(type)->acceptsParents(parents))
            figure->raiseFormatError(safeFormat(
                QStringLiteral("figure(%s)の親が正しくありません。"), { fmtArg(typeText) }));
        TShapeStore built = createSilently(type, parents);
        if (built.isEmpty())
            throw ESouteigai(kClass, { fmtArg(typeText) },
                QStringLiteral("figure(%s)が作れませんでした。"), QStringLiteral("createOneShape"));
        TShape *shape = built.first();
        field.add(built.take(shape));
        shape->loadFromFile(*figure);
        const QString key = shape->shapetypeStrAndIdxAtLoad();
        if (registry.contains(key))
            throw ESouteigai(kClass, { fmtArg(key) },
                QStringLiteral("key(%s)は既に登録されています。"), QStringLiteral("setValue"));
        registry.insert(key, shape);
        figure->checkAllRead(kClass, QStringLiteral("readOneShape"));
    }
}

} // namespace zarno
