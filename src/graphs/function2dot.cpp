#include "graphs/function2dot.h"

#include "base/fileio.h"
#include "graphs/shapefunction.h"
#include "model/shapedot.h"

#include <cmath>

namespace zarno {

TShapeFunction &TParentFunction2dot::graph() const
{
    return static_cast<TShapeFunction &>(curve());
}

void TParentFunction2dot::updateParameter()
{
    fS = graph().sOfLocal({ fX0, fY0 });
    fSKnown = true;
}

void TParentFunction2dot::placeAt(const TModelPoint &point)
{
    fX0 = point.x;
    fY0 = point.y;
    updateParameter();
}

void TParentFunction2dot::dragAt(const TModelPoint &point)
{
    placeAt(graph().clampIntoDomain(point));
}

bool TParentFunction2dot::calcChildren(TAbstractImageAdapter *)
{
    TShapeFunction &g = graph();
    if (!fSKnown)
        updateParameter();
    // The kept position moves with the origin, so that a document saved
    // after the origin moved gives the same parameter when it is read.
    const TModelPoint origin = g.origin();
    if (g.isY())
        fY0 = fS + origin.y;
    else
        fX0 = fS + origin.x;
    const TModelPoint p = g.pointAt(fS);
    setValid(std::isfinite(p.x) && std::isfinite(p.y));
    if (isValid())
        dot().setXY(p);
    return isValid();
}

void TParentFunction2dot::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeDouble(QStringLiteral("x0"), fX0);
    writer.writeDouble(QStringLiteral("y0"), fY0);
    writer.newLine();
    TParents2Children::saveToFile(writer);
}

void TParentFunction2dot::loadFromFile(TAbstractXmlNode &figureNode)
{
    fX0 = figureNode.readDouble(QStringLiteral("x0"));
    fY0 = figureNode.readDouble(QStringLiteral("y0"));
    fSKnown = false;
    TParents2Children::loadFromFile(figureNode);
}

} // namespace zarno
