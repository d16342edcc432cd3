#include "model/shapeline.h"

#include "base/fileio.h"
#include "model/shapedot.h"

namespace zarno {

namespace {
constexpr auto S = TPenBrushState::pbSelect;
constexpr auto D = TPenBrushState::pbDisable;

// Pen colour, width and style always apply; then brush colour, brush style,
// outer pen style and view type by kind.
TPenBrush::States states(
    TPenBrushState brushColor, TPenBrushState brushStyle, TPenBrushState outer, TPenBrushState view)
{
    return { S, S, S, brushColor, brushStyle, outer, view };
}
} // namespace

TShapeLine::TShapeLine(TShapetype type)
    : TShape(type)
{
    // Created as a bounded line: the parts beyond its points may show.
    penBrush().setStates(states(D, D, S, S));
}

QString TShapeLine::replaceGuidanceStaring(int n, const QString &text) const
{
    // Templates name the line a construction is built on SR1 or L1; an arrow
    // is such a line too, so it answers both as well as its own A1.
    QString t = text;
    const QString name = noAndShapetypeString() + QLatin1Char(' ');
    t.replace(QStringLiteral("SR") + QString::number(n), name, Qt::CaseInsensitive);
    t.replace(QStringLiteral("L") + QString::number(n), name, Qt::CaseInsensitive);
    return TShape::replaceGuidanceStaring(n, t);
}

bool TShapeLine::setLineBy2Dots(const TShapeDot &dot1, const TShapeDot &dot2)
{
    return fLine.setBy2Points(dot1.getX(), dot1.getY(), dot2.getX(), dot2.getY());
}

void TShapeLine::setLineKind(TBoundaryType type)
{
    fLine.boundary.type = type;
    if (type == TBoundaryType::btAll || type == TBoundaryType::btAllVec)
        setStatesFor(type);
}

void TShapeLine::setStatesFor(TBoundaryType type)
{
    if (type == TBoundaryType::btAll)
        penBrush().setStates(states(D, D, D, S));
    else if (type == TBoundaryType::btAllVec)
        penBrush().setStates(states(S, S, D, S));
}

void TShapeLine::saveInfo(TAbstractFileWriter &writer) const
{
    fLine.saveToFile(writer);
    TShape::saveInfo(writer);
}

void TShapeLine::loadInfo(TAbstractXmlNode &node)
{
    fLine.loadFromFile(node);
    TShape::loadInfo(node);
}

double TShapeLine::rawDistance(const TModelPoint &p, const TModelPoint &) const
{
    return fLine.distanceXY(p.x, p.y);
}

void TShapeLine::drawSelected(
    const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fLine.drawLine(surface, pb);
    TShapeLine::drawNormal(status, surface);
}

void TShapeLine::drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    fLine.drawLine(surface, penBrush());
    fLine.drawOuterLine(surface, penBrush());
}

void TShapeLine::drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fLine.drawLine(surface, pb);
}

TShapeArrow::TShapeArrow(TShapetype type)
    : TShapeLine(type)
{
    // The head is filled with the brush: solid, in an editable colour.
    penBrush().setStates(states(S, D, S, S));
    penBrush().setBrushStyle(TBrushStyle::bsSolid);
}

bool TShapeArrow::setLineBy2Dots(const TShapeDot &dot1, const TShapeDot &dot2)
{
    fVector.setXY(dot2.getX() - dot1.getX(), dot2.getY() - dot1.getY());
    return TShapeLine::setLineBy2Dots(dot1, dot2);
}

void TShapeArrow::setStatesFor(TBoundaryType type)
{
    if (type == TBoundaryType::btAllVec)
        penBrush().setStates(states(S, S, D, S));
    else if (type == TBoundaryType::btAll)
        TShapeLine::setStatesFor(type);
}

void TShapeArrow::saveInfo(TAbstractFileWriter &writer) const
{
    writer.writeDouble(QStringLiteral("vx"), fVector.x);
    writer.writeDouble(QStringLiteral("vy"), fVector.y);
    writer.newLine();
    TShapeLine::saveInfo(writer);
}

void TShapeArrow::loadInfo(TAbstractXmlNode &node)
{
    const double vx = node.readDouble(QStringLiteral("vx"));
    const double vy = node.readDouble(QStringLiteral("vy"));
    fVector.setXY(vx, vy);
    TShapeLine::loadInfo(node);
}

void TShapeArrow::drawHead(TAbstractImageAdapter &surface, TPenBrush &pb)
{
    const TMathZahyo &tip = fLine.boundary.endPoint(1);
    surface.drawArrowHead(pb, tip.x, tip.y, fVector.x, fVector.y);
}

void TShapeArrow::drawSelected(
    const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fLine.drawLine(surface, pb);
    drawHead(surface, pb);
    drawNormal(status, surface);
}

void TShapeArrow::drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface)
{
    TShapeLine::drawNormal(status, surface);
    drawHead(surface, penBrush());
}

} // namespace zarno
