#include "render/field.h"

#include "model/fileio.h"
#include "model/shape.h"

namespace zarno {

TField::TField()
    : TShapeList(Ownership::Owns)
{ }

TField::~TField() = default;

void TField::remember(TShape *shape)
{
    switch (shape->getFigureType()) {
    case TFiguretype::FIG_zahyoujiku: fAxes = shape; break;
    case TFiguretype::FIG_printArea: fPrintArea = shape; break;
    default: break;
    }
}

void TField::add(TShape *shape)
{
    TShapeList::add(shape);
    remember(shape);
}

void TField::adoptShapesFrom(TShapeList &loaded)
{
    const QList<TShape *> shapes = loaded.items();
    loaded.clear();
    for (TShape *s : shapes)
        add(s);
}

namespace {
TShownShape *shown(TShape *shape)
{
    return dynamic_cast<TShownShape *>(shape);
}
} // namespace

void TField::setAxesShown(bool b)
{
    if (TShownShape *s = shown(fAxes))
        s->setShown(b);
}

bool TField::isAxesShown() const
{
    const TShownShape *s = shown(fAxes);
    return s && s->isShown();
}

void TField::setPrintAreaShown(bool b)
{
    if (TShownShape *s = shown(fPrintArea))
        s->setShown(b);
}

bool TField::isPrintAreaShown() const
{
    const TShownShape *s = shown(fPrintArea);
    return s && s->isShown();
}

void TField::saveToFile(TAbstractFileWriter &writer)
{
    fScale.saveToFile(writer);
    renumber();
    writer.openTag(QStringLiteral("figureList"));
    saveAll(writer);
    writer.closeTag(QStringLiteral("figureList"));
}

void TField::loadFieldInfo(TAbstractXmlNode &fieldNode)
{
    fScale.loadFromFile(fieldNode);
}

void TField::setModified(const QString &byOperation)
{
    fModified = true;
    fModifiedBy = byOperation;
}

bool TField::isChanged() const
{
    if (fModified)
        return true;
    for (const TShape *s : items())
        if (s->isChanged())
            return true;
    return false;
}

void TField::clearChanged()
{
    for (TShape *s : items())
        s->clearChanged();
    fModified = false;
}

} // namespace zarno
