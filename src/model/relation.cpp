#include "model/relation.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "model/guidancename.h"
#include "model/shape.h"
#include "model/shapestore.h"

namespace zarno {

namespace {
TGuidanceNameCreator *gGuidanceNameCreator = nullptr;
}

void TParentShapeInfoList::add(const TShapetypeSet &accepted, int min, int max)
{
    fRules.append(TParentShapeInfo { accepted, min, max, 0 });
}

TParentShapeInfoList::Result TParentShapeInfoList::checkParentShapes(const TShapeList &shapes)
{
    for (TParentShapeInfo &rule : fRules)
        rule.count = 0;
    for (const TShape *shape : shapes.items()) {
        bool taken = false;
        for (TParentShapeInfo &rule : fRules) {
            if (rule.accepted.contains(shape->shapeType())
                && (rule.max == 0 || rule.count < rule.max)) {
                ++rule.count;
                taken = true;
                break;
            }
        }
        if (!taken)
            return Result::Impossible;
    }
    for (const TParentShapeInfo &rule : fRules) {
        if (rule.count < rule.min)
            return Result::NotEnough;
        if (rule.max != 0 && rule.count > rule.max)
            throw ESouteigai(QStringLiteral("TParentShapeInfoList"),
                QStringLiteral("親の個数が上限を超えています。"),
                QStringLiteral("checkParentShapes"));
    }
    return Result::Complete;
}

void TAbstractParents2Children::setupProperty()
{
    throw ESouteigai(className(), QStringLiteral("setupProperty"));
}

void TAbstractParents2Children::moveXYOffsetXY_p2dot(TShape &, const TModelPoint &)
{
    throw ESouteigai(className(), QStringLiteral("moveXYOffsetXY_p2dot"));
}

void TAbstractParents2Children::setDotInitialXY(const TModelPoint &)
{
    throw ESouteigai(className(), QStringLiteral("setDotInitialXY"));
}

void TParents2Children::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeString(QStringLiteral("guidanceName"), fGuidanceName);
    writer.newLine();
}

void TParents2Children::loadFromFile(TAbstractXmlNode &figureNode)
{
    // A loaded shape keeps the name it was saved with, whatever comes before it later.
    fCustomName = figureNode.readString(QStringLiteral("guidanceName"));
}

void TParents2Children::setGuidanceName(const TShapeList &parents)
{
    if (!fCustomName.isEmpty()) {
        fGuidanceName = fCustomName;
        return;
    }
    if (!gGuidanceNameCreator)
        throw ESouteigai(className(), QStringLiteral("guidanceNameCreatorがありません。"),
            QStringLiteral("setGuidanceName"));
    fGuidanceName = gGuidanceNameCreator->nameFor(fFigureType, parents);
}

void TParents2Children::setRelation(TShape *child, const TShapeList &parents)
{
    for (TShape *parent : parents.items()) {
        child->addParent(parent);
        parent->addChild(child);
    }
}

void TParents2Children::setRelationChildAndParentsThinkFirst(
    TShapetype shapetype, TShape *child, const TShapeList &parents)
{
    TShape *firstOfType = nullptr;
    for (TShape *parent : parents.items()) {
        if (parent->shapeType() == shapetype) {
            firstOfType = parent;
            break;
        }
    }
    if (!firstOfType)
        throw ESouteigai(className(), { fmtArg(TEnumConverter<TShapetype>::name(shapetype)) },
            QStringLiteral("子として%sが必要です。"),
            QStringLiteral("setRelationChildAndParentsThinkFirst"));
    child->addParent(firstOfType);
    firstOfType->addChild(child);
    for (TShape *parent : parents.items()) {
        if (parent == firstOfType)
            continue;
        child->addParent(parent);
        parent->addChild(child);
    }
}

void TParents2Children::setGuidanceNameCreator(TGuidanceNameCreator *creator)
{
    gGuidanceNameCreator = creator;
}

TGuidanceNameCreator *TParents2Children::guidanceNameCreator()
{
    return gGuidanceNameCreator;
}

void TRelationClass::s_createShapes2shapeList(
    TShapeStore &, TFiguretype, bool, const TShapeList &) const
{
    throw ESouteigai(className(), QStringLiteral("s_createShapes2shapeList"));
}

void TRelationClass::createParentShapeInfoList()
{
    if (fParentRules)
        return;
    auto rules = std::make_unique<TParentShapeInfoList>();
    fillParentRules(*rules);
    fParentRules = std::move(rules);
}

void TRelationClass::fillParentRules(TParentShapeInfoList &) const
{
    throw ESouteigai(className(), QStringLiteral("createParentShapeInfoList"));
}

QString TRelationClass::figureTypeName(TFiguretype figureType) const
{
    if (!gGuidanceNameCreator)
        throw ESouteigai(className(), QStringLiteral("guidanceNameCreatorがありません。"),
            QStringLiteral("figureTypeName"));
    return gGuidanceNameCreator->figureTypeName(figureType);
}

bool TRelationClass::isMyParentShapes(const TShapeList *shapes) const
{
    if (!shapes)
        throw ESouteigai(className(), { fmtArg("shapeList0") }, QStringLiteral("%s=nilです。"),
            QStringLiteral("isMyParentShapes"));
    TParentShapeInfoList *rules = parentShapeInfoList();
    return rules && rules->checkParentShapes(*shapes) == TParentShapeInfoList::Result::Complete;
}

bool TRelationClass::acceptsParents(const TShapeList &parents) const
{
    TParentShapeInfoList *rules = parentShapeInfoList();
    return !rules || rules->checkParentShapes(parents) == TParentShapeInfoList::Result::Complete;
}

TParents2Children *TRelationClass::attachNew(TFiguretype figureType, TShape &shape) const
{
    std::unique_ptr<TAbstractParents2Children> relation = createRelation(figureType);
    auto *typed = dynamic_cast<TParents2Children *>(relation.get());
    shape.setParents2Children(std::move(relation));
    return typed;
}

void TRelationClass::checkSupported(TFiguretype figureType) const
{
    if (!supportedFigureTypes().contains(figureType))
        throw ESouteigai(className(), { fmtArg(TEnumConverter<TFiguretype>::name(figureType)) },
            QStringLiteral("ここではこのfigure(%s)は作れません。"),
            QStringLiteral("createShapes2shapeList"));
}

} // namespace zarno
