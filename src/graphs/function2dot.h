#pragma once

#include "model/curvepoints.h"

namespace zarno {

class TShapeFunction;

// A point on a function graph (y = f(x) or x = g(y)). It keeps its parameter
// s, the graph's free variable relative to the graph's origin, so it moves
// with the origin and follows the formula at the same s. A drag follows the
// cursor's s within the domain and ignores the other coordinate. Where the
// formula has no value the point hides, keeping its last position, and it
// comes back where the formula has one again.
class TParentFunction2dot : public TParentDotOnSomething
{
public:
    using TParentDotOnSomething::TParentDotOnSomething;

    bool calcChildren(TAbstractImageAdapter *surface) override;
    // x0 and y0: a model position whose s, relative to the graph's current
    // origin, is the point's parameter.
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;
    double parameter() const { return fS; }
    TModelPoint kept() const { return { fX0, fY0 }; }

protected:
    void placeAt(const TModelPoint &point) override;
    void dragAt(const TModelPoint &point) override;

private:
    TShapeFunction &graph() const;
    void updateParameter();

    double fX0 = 0;
    double fY0 = 0;
    double fS = 0;
    // A point read from a document learns its parameter at its first
    // recalculation, once the graph's origin is known again.
    bool fSKnown = false;
};

// Descriptor of TParentFunction2dot: a click on a graph makes the point.
class TParentFunction2dotClass : public TDotOnCurveClass<TParentFunction2dot>
{
public:
    QString className() const override { return QStringLiteral("TParentFunction2dot"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_dotOnFunction };
    }

protected:
    TShapetypeSet curveTypes() const override { return { TShapetype::SHAPE_function }; }
};

} // namespace zarno
