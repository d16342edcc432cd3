#pragma once

#include "graphs/polynomial.h"
#include "model/relation.h"

#include <memory>
#include <vector>

namespace zarno {

class TDimensionInfo;

// The real zeros of the derivative of a graph's polynomial: where its
// extreme points (and its level inflection points) lie. One object serves
// all the points made for one graph, so the equation is solved once per
// change of the graph.
class TCalcDiffIs0dots
{
public:
    // Ascending, in the graph's free variable relative to its origin; empty
    // when the record is no polynomial of degree 1 to 4.
    const std::vector<double> &zerosOf(const TDimensionInfo &info);

private:
    TPolynomialFacade fFacade;
    TPolynomialUtils fUtils;
    std::vector<double> fKey; // degree, then the coefficients the zeros belong to
    std::vector<double> fZeros;
};

// One extreme point of a polynomial graph: the index-th real zero of the
// derivative, counted from the left (from below for x = g(y)). The point
// follows the graph and hides while that zero does not exist or lies outside
// the graph's domain. It cannot be dragged.
class TParentSeishiki2diffIs0dots : public TParents2Children
{
public:
    TParentSeishiki2diffIs0dots(const TRelationClass &cls, TFiguretype figureType);

    QString className() const override { return QStringLiteral("TParentSeishiki2diffIs0dots"); }
    const TRelationClass &relationClass() const override { return fClass; }

    // 1-based.
    int index() const { return fIndex; }
    void setIndex(int index) { fIndex = index; }
    void setShared(std::shared_ptr<TCalcDiffIs0dots> shared) { fShared = std::move(shared); }

    bool calcChildren(TAbstractImageAdapter *surface) override;
    void moveXYOffsetXY_p2dot(TShape &, const TModelPoint &) override { }
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;

private:
    const TRelationClass &fClass;
    int fIndex = 1;
    std::shared_ptr<TCalcDiffIs0dots> fShared;
};

// Descriptor of TParentSeishiki2diffIs0dots: a graph whose formula is a
// polynomial of degree 1 to 4 makes one point per degree.
class TParentSeishiki2diffIs0dotsClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentSeishiki2diffIs0dots"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_seishiki2kyokuchiDots };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    bool isMyParentShapes(const TShapeList *shapes) const override;
    // Interactively one point per degree of the graph, indexed 1, 2, …;
    // while a document is read, the one point of the record.
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

} // namespace zarno
