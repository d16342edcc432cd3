#include "model/shape.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "model/relation.h"

#include <algorithm>

namespace zarno {

int TAbstractShape::distanceDisadvantage(TShapetype type)
{
    switch (type) {
    case TShapetype::SHAPE_dot: return -5;
    case TShapetype::SHAPE_writing: return 1;
    case TShapetype::SHAPE_paint: return 3;
    case TShapetype::SHAPE_tracer: return 2;
    default: return 0;
    }
}

TShape::TShape(TShapetype type)
    : TAbstractShape(type)
    , fPenBrush(std::make_unique<TPenBrush>())
{
    fPenBrush->setOwner(this);
    changed();
}

TShape::~TShape()
{
    // Detach from the parents; they stay alive.
    for (TShape *parent : fParents.items())
        parent->removeChild(this);
    fParents.clear();
    fChildren.clear();
}

void TShape::checkDestroyable(const TShape &shape)
{
    if (shape.hasChild())
        throw ESouteigai(shape.className(), { fmtArg(shape.fChildren.count()) },
            QStringLiteral("FChildren(%d個存在)が空ではありません。"), QStringLiteral("destroy"));
}

void TShape::saveInfo(TAbstractFileWriter &w) const
{
    w.writeShapetype(fShapeType);
    w.writeString(QStringLiteral("id"), idString());
    w.writeInteger(QStringLiteral("allShapeNo"), fAllShapeNo);
    w.newLine();
    w.writeBool(QStringLiteral("canDelete"), fCanDelete);
    w.writeInteger(QStringLiteral("distanceDisadvantage"), distanceDisadvantage(fShapeType));
    w.newLine();
    w.writeBool(QStringLiteral("fView2list"), fView2list);
    w.writeViewOnOff(fViewOnOff);
    w.newLine();
    fPenBrush->saveToFile(w, QStringLiteral("penbrush"));
}

void TShape::saveToFile(TAbstractFileWriter &w) const
{
    w.openTag(QStringLiteral("figure"));
    w.writeFiguretype(getFigureType());
    w.newLine();
    if (!fParents.isEmpty()) {
        w.openTag(QStringLiteral("parent"));
        for (TShape *parent : fParents.items())
            parent->id(w);
        w.newLine();
        w.closeTag(QStringLiteral("parent"));
    }
    if (fRelation)
        fRelation->saveToFile(w);
    w.openTag(QStringLiteral("shape"));
    saveInfo(w);
    w.closeTag(QStringLiteral("shape"));
    w.closeTag(QStringLiteral("figure"));
}

void TShape::loadFromFile(TAbstractXmlNode &figureNode)
{
    if (fRelation)
        fRelation->loadFromFile(figureNode);
    loadInfo(figureNode.getThisTagNode(QStringLiteral("shape")));
}

void TShape::loadInfo(TAbstractXmlNode &node)
{
    const QString typeText = node.readString(TEnumConverter<TShapetype>::tagName());
    if (typeText != TEnumConverter<TShapetype>::name(fShapeType))
        node.raiseFormatError(
            safeFormat(QStringLiteral("shapetype(%s)がこのfigure(%s)のものと一致しません。"),
                { fmtArg(typeText), fmtArg(TEnumConverter<TFiguretype>::name(getFigureType())) }));
    fAllShapeNo = node.readInteger(QStringLiteral("allShapeNo"));
    fLoadedId = node.readString(QStringLiteral("id"));
    fCanDelete = node.readBool(QStringLiteral("canDelete"));
    (void)node.readInteger(QStringLiteral("distanceDisadvantage"));
    fView2list = node.readBool(QStringLiteral("fView2list"));
    fViewOnOff = node.readEnum<TViewOnOff>();
    fPenBrush->loadFromFile(node.getThisTagNode(QStringLiteral("penbrush")));
    node.checkAllRead(className(), QStringLiteral("loadInfo"));
}

void TShape::id(TAbstractFileWriter &w) const
{
    w.writeString(QStringLiteral("id"), idString());
}

QString TShape::idString() const
{
    return TConverter::shapetypeString(fShapeType) + QLatin1Char(',')
        + QString::number(fAllShapeNo);
}

void TShape::setCustomMyName(const QString &name)
{
    if (fRelation)
        fRelation->setCustomMyName(name);
}

void TShape::setViewType(TViewType v)
{
    fPenBrush->setViewType(v);
}

TViewType TShape::getViewType() const
{
    return fPenBrush->getViewType();
}

TFiguretype TShape::getFigureType() const
{
    return fRelation ? fRelation->getFigureType() : TFiguretype::FIG_null;
}

void TShape::setMyGuidanceName(TNumbering &numbering)
{
    if (fView2list)
        fAllShapeNo = numbering.visible++;
    else
        fAllShapeNo = --numbering.hidden;
    if (fRelation)
        fRelation->setGuidanceName(fParents);
}

QString TShape::noAndShapetypeString() const
{
    return QLatin1Char('#') + QString::number(fAllShapeNo) + shapetypeString();
}

QString TShape::guidanceName() const
{
    return fRelation ? fRelation->guidanceNameText() : QString();
}

QString TShape::replaceGuidanceStaring(int n, const QString &text) const
{
    QString t = text;
    t.replace(alphabetShapetypeString() + QString::number(n),
        noAndShapetypeString() + QLatin1Char(' '), Qt::CaseInsensitive);
    return t;
}

void TShape::draw(const TDrawStatus &status, TAbstractImageAdapter &surface)
{
    if (fRelation)
        fRelation->calcChildren(&surface);
    if (!isDrawable())
        return;
    if (status.front == isDrawnInFront())
        return;
    if (!isShapeVisibleOn(surface, getViewType(), fViewOnOff))
        return;
    if (fSelected) {
        std::unique_ptr<TPenBrush> pb = fPenBrush->selectionPenBrush();
        drawSelected(status, surface, *pb);
    } else {
        drawNormal(status, surface);
    }
}

void TShape::drawAsBoundary(TAbstractImageAdapter &surface, TPenBrush &penBrush)
{
    if (fRelation)
        fRelation->calcChildren(&surface);
    drawBoundaryLine(surface, penBrush);
}

void TShape::moveXYOffsetXY(double, double)
{
    throw ESouteigai(className(), QStringLiteral("moveXYOffsetXY"));
}

void TShape::markDelete()
{
    if (fCanDelete)
        fDeleteMark = true;
    for (TShape *child : fChildren.items())
        child->markDelete();
}

void TShape::setupProperty()
{
    if (!fRelation)
        throw ESouteigai(className(), QStringLiteral("setupProperty"));
    fRelation->setupProperty();
}

bool TShape::isDrawable() const
{
    if (fRelation && !fRelation->isValid())
        return false;
    return std::all_of(fParents.items().begin(), fParents.items().end(),
        [](const TShape *p) { return p->isDrawable(); });
}

double TShape::distance(const TModelPoint &point, const TModelPoint &pixelSize) const
{
    return rawDistance(point, pixelSize)
        + distanceDisadvantage(fShapeType) * std::min(pixelSize.x, pixelSize.y);
}

bool TShape::isViewAtScreen(bool hideEditVisible) const
{
    if (fViewOnOff == TViewOnOff::voOff)
        return false;
    switch (getViewType()) {
    case TViewType::vtInvisible: return false;
    case TViewType::vtVisible: return true;
    case TViewType::vtEditVisible: return !hideEditVisible;
    }
    return false;
}

TTraceRecord *TShape::traceRecord() const
{
    return fRelation ? fRelation->traceRecord() : nullptr;
}

void TShape::setParents2Children(std::unique_ptr<TAbstractParents2Children> relation)
{
    if (!relation)
        throw ESouteigai(className(), QStringLiteral("relation=nilです。"),
            QStringLiteral("setParents2Children"));
    if (!acceptsRelation(*relation))
        throw ESouteigai(className(), { fmtArg(relation->className()) },
            QStringLiteral("%sは, このshapeのfigure ではありません。"),
            QStringLiteral("setParents2Children"));
    fRelation = std::move(relation);
    fRelation->setMyShape(this);
}

} // namespace zarno
