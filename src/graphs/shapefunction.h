#pragma once

#include "graphs/functioncalculator.h"
#include "graphs/range.h"
#include "model/shape.h"

namespace zarno {

class TDimensionInfo;
class TParentSomething2function;

// The graph of a formula, y = f(x) or x = g(y), relative to its origin
// point. s is the free variable, t the formula's value.
class TShapeFunction : public TShape
{
public:
    static TShapeFunction *createShapeFunction(bool isY);

    QString shapetypeString() const override { return QStringLiteral("関数のグラフ"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("F"); }
    virtual bool isY() const = 0;

    void setOrigin(const TModelPoint &origin) { fOrigin = origin; }
    TModelPoint origin() const { return fOrigin; }
    TRange &range() { return fRange; }
    const TRange &range() const { return fRange; }
    const TFunctionCalculator &calculator() const { return fCalculator; }

    // f(s), without the origin.
    double valueAt(double s) const;
    // (s, f(s)) on the graph, in model coordinates.
    TModelPoint pointAt(double s) const;
    // The point with its s coordinate brought into the domain.
    TModelPoint clampIntoDomain(const TModelPoint &point) const;
    // The s coordinate of a model point relative to the origin.
    double sOfLocal(const TModelPoint &point) const
    {
        return sOf({ point.x - fOrigin.x, point.y - fOrigin.y });
    }
    // The s coordinate of a model point as it stands.
    double sOfModel(const TModelPoint &point) const { return sOf(point); }
    TModelPoint anchorPoint() const;
    // Whether f is a polynomial of degree at most 4, and which.
    const TDimensionInfo &degreeInfo() const;

    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;
    double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const override;
    // The curve over its domain as origin and relation stand now, without
    // recomputing and without touching the hit record: loci replay earlier
    // states of the graph through it.
    void drawReplay(TAbstractImageAdapter &surface, TPenBrush &pb);

protected:
    TShapeFunction();
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    void drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb) override;
    bool acceptsRelation(const TAbstractParents2Children &relation) const override;

    // The axis mapping: s and t of a model pair, and back.
    double sOf(const TModelPoint &p) const { return isY() ? p.y : p.x; }
    double tOf(const TModelPoint &p) const { return isY() ? p.x : p.y; }
    TModelPoint pairOf(double s, double t) const
    {
        return isY() ? TModelPoint { t, s } : TModelPoint { s, t };
    }

private:
    TParentSomething2function &function() const;
    void drawOutside(TAbstractImageAdapter &surface);
    void drawDomain(TAbstractImageAdapter &surface, TPenBrush &pb);
    void runOver(TAbstractImageAdapter &surface, TPenBrush &pb,
        TFunctionCalculator::RecordMode recordMode, double from, double to);

    TModelPoint fOrigin;
    TRange fRange;
    TFunctionCalculator fCalculator;
};

class TShapeFunctionX final : public TShapeFunction
{
public:
    QString className() const override { return QStringLiteral("TShapeFunctionX"); }
    bool isY() const override { return false; }

private:
    friend class TShapeFunction;
    TShapeFunctionX() = default;
};

class TShapeFunctionY final : public TShapeFunction
{
public:
    QString className() const override { return QStringLiteral("TShapeFunctionY"); }
    bool isY() const override { return true; }

private:
    friend class TShapeFunction;
    TShapeFunctionY() = default;
};

} // namespace zarno
