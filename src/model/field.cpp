#include "model/field.h"

#include "base/fileio.h"
#include "model/printareagroup.h"
#include "model/shape.h"

namespace zarno {

TField::TField() = default;

TField::~TField() = default;

void TField::added(TShape &shape)
{
    switch (shape.getFigureType()) {
    case TFiguretype::FIG_zahyoujiku: fAxes = &shape; break;
    case TFiguretype::FIG_printArea:
        fPrintArea = &shape;
        adoptPrintAreaParts(&shape);
        break;
    default: break;
    }
}

void TField::adoptPrintAreaParts(TShape *shape)
{
    // A document stores the output area right after its eight parts, and
    // the area's record names none of them: it takes the eight shapes that
    // stand before it. The initial area of a new document has its parts already.
    auto *area = dynamic_cast<TPrintAreaGroup *>(shape);
    if (!area || area->hasParts())
        return;
    const int n = TPrintAreaGroup::kPartCount;
    const int at = count() - 1; // just appended
    area->adoptParts(at >= n ? items().mid(at - n, n) : QList<TShape *>());
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
    saveHead(writer);
    saveAll(writer);
    saveTail(writer);
}

void TField::saveHead(TAbstractFileWriter &writer)
{
    fScale.saveToFile(writer);
    renumber();
    writer.openTag(QStringLiteral("figureList"));
}

void TField::saveTail(TAbstractFileWriter &writer)
{
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
