#include "model/shapelist.h"

#include "core/exceptions.h"
#include "model/shape.h"

namespace zarno {

void TShapeList::add(TShape *shape)
{
    fItems.append(shape);
}

void TShapeList::insertFirst(TShape *shape)
{
    fItems.prepend(shape);
}

void TShapeList::remove(TShape *shape)
{
    fItems.removeOne(shape);
}

void TShapeList::clear()
{
    fItems.clear();
}

bool TShapeList::contains(const TShape *shape) const
{
    return fItems.contains(const_cast<TShape *>(shape));
}

int TShapeList::indexOf(const TShape *shape) const
{
    return int(fItems.indexOf(const_cast<TShape *>(shape)));
}

TShape *TShapeList::item(int index) const
{
    if (index < 0 || index >= count())
        throw ESouteigai(QStringLiteral("TShapeList"), { fmtArg(index) },
            QStringLiteral("リストのインデックスが範囲を超えています(%d)。"),
            QStringLiteral("item"));
    return fItems[index];
}

void TShapeList::selectAll()
{
    for (TShape *s : fItems)
        s->setFSelected(true);
}

void TShapeList::deselectAll()
{
    for (TShape *s : fItems)
        s->setFSelected(false);
}

void TShapeList::deselectAndClear()
{
    deselectAll();
    clear();
}

bool TShapeList::allFigureTypesIn(const TFiguretypeSet &types) const
{
    if (fItems.isEmpty())
        return false;
    for (const TShape *s : fItems)
        if (!types.contains(s->getFigureType()))
            return false;
    return true;
}

bool TShapeList::anyFigureTypeIn(const TFiguretypeSet &types) const
{
    for (const TShape *s : fItems)
        if (types.contains(s->getFigureType()))
            return true;
    return false;
}

bool TShapeList::anyHasChild() const
{
    for (const TShape *s : fItems)
        if (s->hasChild())
            return true;
    return false;
}

bool TShapeList::anyOfShapetype(TShapetype type) const
{
    for (const TShape *s : fItems)
        if (s->shapeType() == type)
            return true;
    return false;
}

void TShapeList::markForDelete()
{
    for (TShape *s : fItems)
        s->markDelete();
}

void TShapeList::beforeDrawAll(const TDrawStatus &status, TAbstractImageAdapter &surface)
{
    for (TShape *s : fItems)
        s->beforeDraw(status, surface);
}

void TShapeList::drawAll(const TDrawStatus &status, TAbstractImageAdapter &surface)
{
    for (TShape *s : fItems)
        s->draw(status, surface);
}

void TShapeList::afterDrawAll(const TDrawStatus &status, TAbstractImageAdapter &surface)
{
    for (TShape *s : fItems)
        s->afterDraw(status, surface);
}

void TShapeList::drawField(TDrawStatus &status, TAbstractImageAdapter &surface)
{
    beforeDrawAll(status, surface);
    status.front = true; // points are skipped: everything else first
    drawAll(status, surface);
    status.front = false; // now only the points, on top
    drawAll(status, surface);
    status.value = TCurrentDrawStatus::Ordinary;
    afterDrawAll(status, surface);
}

void TShapeList::saveAll(TAbstractFileWriter &writer) const
{
    for (const TShape *s : fItems)
        s->saveToFile(writer);
}

void TShapeList::acceptVisitor(TShapeVisitor &visitor) const
{
    visitor.visitList(*this);
}

void TShapeList::renumber()
{
    TNumbering numbering;
    for (TShape *s : fItems)
        s->setMyGuidanceName(numbering);
}

void TShapeVisitor::visitList(const TShapeList &list)
{
    for (TShape *s : list.items())
        s->acceptVisitor(*this);
}

} // namespace zarno
