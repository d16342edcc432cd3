#include "persist/filewriter.h"

#include "persist/colornames.h"

namespace zarno {

void TFileWriter::writeColor(const QString &name, TColor color)
{
    fXml.writeString(name, TColorNames::toText(color));
}

void TFileWriter::writePoint(const QString &name, const QPoint &p)
{
    fXml.writeString(name, QString::number(p.x()) + QLatin1Char(',') + QString::number(p.y()));
}

void TFileWriter::writePair(const QString &name, const TModelPoint &p)
{
    fXml.writeString(name, fXml.doubleTextFor(p.x) + QLatin1Char(',') + fXml.doubleTextFor(p.y));
}

} // namespace zarno
