#include "model/geometry/boundary.h"

#include "base/fileio.h"
#include "base/penbrush.h"
#include "base/surface.h"
#include "core/exceptions.h"

#include <cmath>

namespace zarno {

const TMathZahyo &TAbstractBoundary::getPoint(int i) const
{
    return i == 0 ? first : second;
}

void TAbstractBoundary::setPoint(int i, const TMathZahyo &p)
{
    (i == 0 ? first : second) = p;
}

void TAbstractBoundary::assign(const TAbstractBoundary &other)
{
    type = other.type;
    first = other.first;
    second = other.second;
}

void TAbstractBoundary::saveCommon(TAbstractFileWriter &writer) const
{
    writer.writeString(QStringLiteral("type"), TEnumConverter<TBoundaryType>::name(type));
    writer.newLine();
    writer.writeDouble(QStringLiteral("first.x"), first.x);
    writer.writeDouble(QStringLiteral("first.y"), first.y);
    writer.newLine();
    writer.writeDouble(QStringLiteral("second.x"), second.x);
    writer.writeDouble(QStringLiteral("second.y"), second.y);
    writer.newLine();
}

void TAbstractBoundary::loadCommon(TAbstractXmlNode &groupNode)
{
    type = groupNode.readEnum<TBoundaryType>(QStringLiteral("type"));
    first.x = groupNode.readDouble(QStringLiteral("first.x"));
    first.y = groupNode.readDouble(QStringLiteral("first.y"));
    second.x = groupNode.readDouble(QStringLiteral("second.x"));
    second.y = groupNode.readDouble(QStringLiteral("second.y"));
}

void TAbstractBoundary::saveToFile(TAbstractFileWriter &writer) const
{
    writer.openTag(tagName());
    saveCommon(writer);
    writer.closeTag(tagName());
}

void TAbstractBoundary::loadFromFile(TAbstractXmlNode &groupNode)
{
    loadCommon(groupNode);
}

bool precedes(const TMathZahyo &p, const TMathZahyo &q)
{
    if (p.x < q.x)
        return true;
    return isGeomZero(p.x - q.x) && p.y <= q.y;
}

void TBoundaryOfLine::saveToFile(TAbstractFileWriter &writer) const
{
    writer.openTag(tagName());
    saveCommon(writer);
    writer.writeBool(QStringLiteral("direction"), direction);
    writer.newLine();
    writer.closeTag(tagName());
}

void TBoundaryOfLine::loadFromFile(TAbstractXmlNode &groupNode)
{
    loadCommon(groupNode);
    direction = groupNode.readBool(QStringLiteral("direction"));
}

void TBoundaryOfLine::assign(const TAbstractBoundary &other)
{
    TAbstractBoundary::assign(other);
    if (const auto *line = dynamic_cast<const TBoundaryOfLine *>(&other)) {
        edge1 = line->edge1;
        edge2 = line->edge2;
        direction = line->direction;
    }
}

const TMathZahyo &TBoundaryOfLine::endPoint(int i) const
{
    switch (type) {
    case TBoundaryType::btOneSide: return i == 1 ? edge1 : first;
    case TBoundaryType::btBothSides: return i == 0 ? first : second;
    case TBoundaryType::btAll:
    case TBoundaryType::btAllVec: break;
    }
    return i == 1 ? edge1 : edge2;
}

bool TBoundaryOfLine::getDirection() const
{
    switch (type) {
    case TBoundaryType::btOneSide:
    case TBoundaryType::btAllVec: return direction;
    case TBoundaryType::btBothSides: return precedes(first, second);
    case TBoundaryType::btAll: break;
    }
    return true;
}

bool TBoundaryOfLine::setDirectionBy(const TMathZahyo &p, const TMathZahyo &q)
{
    direction = precedes(p, q);
    return direction;
}

void TBoundaryOfLine::setEdgePoints(const TMathZahyo &e1, const TMathZahyo &e2)
{
    edge1 = e1;
    edge2 = e2;
}

namespace {
void segment(
    TAbstractImageAdapter &surface, TPenBrush &pb, const TMathZahyo &p, const TMathZahyo &q)
{
    surface.drawSegment(pb, p.x, p.y, q.x, q.y);
}
} // namespace

void TBoundaryOfLine::drawInner(TAbstractImageAdapter &surface, TPenBrush &penBrush) const
{
    switch (type) {
    case TBoundaryType::btAll:
    case TBoundaryType::btAllVec: segment(surface, penBrush, edge1, edge2); break;
    case TBoundaryType::btOneSide: segment(surface, penBrush, first, edge1); break;
    case TBoundaryType::btBothSides: segment(surface, penBrush, first, second); break;
    }
}

void TBoundaryOfLine::drawOuter(TAbstractImageAdapter &surface, TPenBrush &penBrush) const
{
    switch (type) {
    case TBoundaryType::btOneSide: segment(surface, penBrush, first, edge2); break;
    case TBoundaryType::btBothSides:
        segment(surface, penBrush, second, edge1);
        segment(surface, penBrush, first, edge2);
        break;
    case TBoundaryType::btAll:
    case TBoundaryType::btAllVec: break;
    }
}

} // namespace zarno
