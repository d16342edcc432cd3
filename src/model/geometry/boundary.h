#pragma once

#include "core/enums.h"
#include "model/geometry/mathzahyo.h"

#include <QString>

namespace zarno {

class TAbstractFileWriter;
class TAbstractXmlNode;
class TAbstractImageAdapter;
class TPenBrush;

// The bounded part of a line or circle: its type and the two defining ends
// (the start of a ray, the ends of a segment or of an arc).
class TAbstractBoundary
{
public:
    virtual ~TAbstractBoundary() = default;

    TBoundaryType type = TBoundaryType::btAll;
    TMathZahyo first;
    TMathZahyo second;

    virtual void saveToFile(TAbstractFileWriter &writer) const;
    virtual void loadFromFile(TAbstractXmlNode &groupNode);
    virtual void assign(const TAbstractBoundary &other);
    virtual QString tagName() const = 0;

    // i = 0: first, i = 1: second.
    const TMathZahyo &getPoint(int i) const;
    void setPoint(int i, const TMathZahyo &p);

protected:
    void saveCommon(TAbstractFileWriter &writer) const;
    void loadCommon(TAbstractXmlNode &groupNode);
};

// p comes before q: smaller x, or the same x (within the tolerance) and p no higher.
bool precedes(const TMathZahyo &p, const TMathZahyo &q);

class TBoundaryOfLine : public TAbstractBoundary
{
public:
    // The visible chord of the line: edge1 lies ahead in the line's direction,
    // edge2 behind. Recomputed before every drawing.
    TMathZahyo edge1;
    TMathZahyo edge2;
    bool direction = false;

    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &groupNode) override;
    void assign(const TAbstractBoundary &other) override;
    QString tagName() const override { return QStringLiteral("boundaryOfLine"); }

    // The ends of what is drawn; endPoint(1) is where arrow heads and end labels go.
    const TMathZahyo &endPoint(int i) const;
    bool getDirection() const;
    // Stores and returns whether p precedes q.
    bool setDirectionBy(const TMathZahyo &p, const TMathZahyo &q);
    void setEdgePoints(const TMathZahyo &e1, const TMathZahyo &e2);

    // Draw the drawn part, or the parts beyond the defining points with the
    // pen-brush's outer style; edge1/edge2 must be current.
    void drawInner(TAbstractImageAdapter &surface, TPenBrush &penBrush) const;
    void drawOuter(TAbstractImageAdapter &surface, TPenBrush &penBrush) const;
};

class TBoundaryOfCircle : public TAbstractBoundary
{
public:
    QString tagName() const override { return QStringLiteral("boundaryOfCircle"); }
    // Arcs run counter-clockwise from first to second; types 0 and 3 are full circles.
    bool isArc() const
    {
        return type == TBoundaryType::btOneSide || type == TBoundaryType::btBothSides;
    }
};

} // namespace zarno
