#include "graphs/seishiki2kyokuchi.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "formula/calcdimension.h"
#include "graphs/shapefunction.h"
#include "model/shapedot.h"
#include "model/shapestore.h"

#include <cmath>

namespace zarno {

namespace {

// The graph a record makes points for, when it is a polynomial of degree 1 to 4.
bool isPolynomialGraph(const TShape *shape)
{
    const auto *graph = dynamic_cast<const TShapeFunction *>(shape);
    if (!graph || !graph->relation())
        return false;
    const TDimensionInfo &d = graph->degreeInfo();
    return d.state() == TDimensionInfo::dsPolynomial && d.degree() <= TDimensionInfo::kMaxDegree;
}

} // namespace

const std::vector<double> &TCalcDiffIs0dots::zerosOf(const TDimensionInfo &info)
{
    std::vector<double> key;
    if (info.state() == TDimensionInfo::dsPolynomial) {
        key.push_back(info.degree());
        for (int k = 0; k <= info.degree(); ++k)
            key.push_back(info.coefficient(k));
    }
    if (key == fKey && !fKey.empty())
        return fZeros;
    fKey = key;
    fZeros.clear();
    if (key.empty())
        return fZeros;
    for (double c : key)
        if (!std::isfinite(c))
            return fZeros;

    TPolynomial p, d;
    p.setCoefficients(key.data() + 1, info.degree());
    fUtils.derivative(p, d);
    // Scaled to its largest coefficient, so that rounding noise, such as the
    // leading coefficient of the polynomial through collinear points, is
    // recognised whatever the size of the graph's numbers.
    double scale = 0;
    for (int k = 0; k <= TPolynomial::kMaxDegree; ++k)
        scale = std::max(scale, std::fabs(d.coefficient(k)));
    if (scale == 0)
        return fZeros; // a constant: no point stands out
    for (int k = 0; k <= TPolynomial::kMaxDegree; ++k)
        d.setCoefficient(k, d.coefficient(k) / scale);
    d.snapSmall();
    fZeros = fFacade.realRoots(d);
    return fZeros;
}

TParentSeishiki2diffIs0dots::TParentSeishiki2diffIs0dots(
    const TRelationClass &cls, TFiguretype figureType)
    : TParents2Children(figureType)
    , fClass(cls)
    , fShared(std::make_shared<TCalcDiffIs0dots>())
{ }

bool TParentSeishiki2diffIs0dots::calcChildren(TAbstractImageAdapter *)
{
    setValid(false);
    auto &dot = static_cast<TShapeDot &>(*myShape());
    auto *graph = dynamic_cast<TShapeFunction *>(dot.parents().first());
    if (!graph)
        return false;
    const std::vector<double> &zeros = fShared->zerosOf(graph->degreeInfo());
    if (fIndex < 1 || fIndex > int(zeros.size()))
        return false;
    const double s = zeros[std::size_t(fIndex - 1)];
    if (s < graph->range().lower() || s > graph->range().upper())
        return false;
    const TModelPoint p = graph->pointAt(s);
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return false;
    dot.setXY(p);
    setValid(true);
    return true;
}

void TParentSeishiki2diffIs0dots::saveToFile(TAbstractFileWriter &writer) const
{
    writer.writeInteger(QStringLiteral("index"), fIndex);
    writer.newLine();
    TParents2Children::saveToFile(writer);
}

void TParentSeishiki2diffIs0dots::loadFromFile(TAbstractXmlNode &figureNode)
{
    fIndex = figureNode.readInteger(QStringLiteral("index"));
    TParents2Children::loadFromFile(figureNode);
}

std::unique_ptr<TAbstractParents2Children> TParentSeishiki2diffIs0dotsClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentSeishiki2diffIs0dots>(*this, figureType);
}

void TParentSeishiki2diffIs0dotsClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_function }, 1, 1);
}

bool TParentSeishiki2diffIs0dotsClass::isMyParentShapes(const TShapeList *shapes) const
{
    return TRelationClass::isMyParentShapes(shapes) && isPolynomialGraph(shapes->first());
}

void TParentSeishiki2diffIs0dotsClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    if (parents.count() != 1 || !dynamic_cast<const TShapeFunction *>(parents.first()))
        throw ESouteigai(className(), QStringLiteral("親は関数のグラフ1個でなければなりません。"),
            QStringLiteral("s_createShapes2shapeList"));
    int count = 1;
    if (interactive) {
        const auto &graph = static_cast<const TShapeFunction &>(*parents.first());
        count = isPolynomialGraph(&graph) ? graph.degreeInfo().degree() : 0;
    }
    const auto shared = std::make_shared<TCalcDiffIs0dots>();
    for (int index = 1; index <= count; ++index) {
        std::unique_ptr<TShapeDot> dot(TShapeDot::createFreeShapeDot());
        dot->setPropertyType(TPropertyType::None);
        // The points sit where the graph turns: a drag must not move them,
        // nor the shapes whose points include them.
        dot->setCanMoveAnywhere(false);
        auto *relation = static_cast<TParentSeishiki2diffIs0dots *>(attachNew(figureType, *dot));
        relation->setIndex(index);
        relation->setShared(shared);
        relation->setRelation(dot.get(), parents);
        outList.add(std::move(dot));
    }
}

} // namespace zarno
