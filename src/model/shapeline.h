#pragma once

#include "model/geometry/mathcyokusen.h"
#include "model/geometry/mathzahyo.h"
#include "model/shape.h"

namespace zarno {

class TShapeDot;

// A line, ray or segment: one class, the kind is the boundary type of its
// line primitive.
class TShapeLine : public TShape
{
public:
    explicit TShapeLine(TShapetype type = TShapetype::SHAPE_line);

    QString className() const override { return QStringLiteral("TShapeLine"); }
    QString shapetypeString() const override { return QStringLiteral("線"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("L"); }
    QString replaceGuidanceStaring(int n, const QString &text) const override;

    // The line through the two points' current positions; false (and the
    // line unchanged) when they coincide.
    virtual bool setLineBy2Dots(const TShapeDot &dot1, const TShapeDot &dot2);
    // Radians in (−π/2, π/2].
    virtual double angle() const { return fLine.angle(); }
    void setLineKind(TBoundaryType type);
    TBoundaryType getLineKind() const { return fLine.boundary.type; }
    TMathCyokusen &line() { return fLine; }
    const TMathCyokusen &line() const { return fLine; }
    TBoundaryOfLine &boundary() { return fLine.boundary; }

    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;
    double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const override;

protected:
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    void drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb) override;
    // Pen-brush states for a kind; arrows have their own.
    virtual void setStatesFor(TBoundaryType type);

    TMathCyokusen fLine;
};

// A line shape with an arrow head: arrow segment, arrow ray or arrow line.
class TShapeArrow : public TShapeLine
{
public:
    explicit TShapeArrow(TShapetype type = TShapetype::SHAPE_arrow);

    QString className() const override { return QStringLiteral("TShapeArrow"); }
    QString shapetypeString() const override { return QStringLiteral("矢印"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("A"); }

    bool setLineBy2Dots(const TShapeDot &dot1, const TShapeDot &dot2) override;
    // Radians in (−π, π]: the arrow's own direction.
    double angle() const override { return fVector.angle(); }
    void setVector(double vx, double vy) { fVector.setXY(vx, vy); }
    TMathVector vector() const { return fVector; }

    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;

protected:
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    void setStatesFor(TBoundaryType type) override;

private:
    void drawHead(TAbstractImageAdapter &surface, TPenBrush &pb);

    TMathVector fVector;
};

} // namespace zarno
