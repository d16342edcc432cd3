#include "model/curverelations.h"

#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "model/shapestore.h"

namespace zarno {

namespace {

TShapetypeSet lineShapeTypes()
{
    return { TShapetype::SHAPE_line, TShapetype::SHAPE_senbun, TShapetype::SHAPE_arrow,
        TShapetype::SHAPE_arrowLine };
}

// Attaches a new relation of the class to the child, wires it to its parents
// and hands it to the output list.
void build(const TRelationClass &cls, TShapeStore &out, TFiguretype figureType,
    std::unique_ptr<TShape> child, const TShapeList &parents, bool pointFirst = false)
{
    TParents2Children *relation = cls.attachNew(figureType, *child);
    if (pointFirst)
        relation->setRelationChildAndParentsThinkFirst(TShapetype::SHAPE_dot, child.get(), parents);
    else
        relation->setRelation(child.get(), parents);
    out.add(std::move(child));
}

TShapeLine &lineOf(TShape *shape)
{
    return static_cast<TShapeLine &>(*shape);
}

bool isArrowType(TFiguretype t)
{
    return t == TFiguretype::FIG_arrow || t == TFiguretype::FIG_arrowLine
        || t == TFiguretype::FIG_arrowHanCyokusen;
}

} // namespace

TShapeDot &TCurveRelation::dot(int i) const
{
    return static_cast<TShapeDot &>(*myShape()->parents().item(i));
}

bool TParentDots2Line::calcChildren(TAbstractImageAdapter *)
{
    TShapeLine &line = lineOf(myShape());
    const TShapeDot &d1 = dot(0);
    const TShapeDot &d2 = dot(1);
    const TMathZahyo p1(d1.getXY()), p2(d2.getXY());
    TBoundaryOfLine &boundary = line.boundary();
    switch (fFigureType) {
    case TFiguretype::FIG_printAreaSenbun:
    case TFiguretype::FIG_senbun:
    case TFiguretype::FIG_arrow:
        boundary.first = p1;
        boundary.second = p2;
        break;
    case TFiguretype::FIG_hanCyokusen:
    case TFiguretype::FIG_arrowHanCyokusen:
        boundary.first = p1;
        boundary.setDirectionBy(p1, p2);
        break;
    case TFiguretype::FIG_arrowLine: boundary.setDirectionBy(p1, p2); break;
    default: break;
    }
    setValid(line.setLineBy2Dots(d1, d2));
    return isValid();
}

bool TParentDotLine2HeikouLine::calcChildren(TAbstractImageAdapter *)
{
    const TShapeDot &d = dot(0);
    lineOf(myShape()).line().setParallel(
        lineOf(myShape()->parents().item(1)).line(), d.getX(), d.getY());
    return isValid();
}

bool TParentDotLine2SuicyokuLine::calcChildren(TAbstractImageAdapter *)
{
    const TShapeDot &d = dot(0);
    lineOf(myShape()).line().setPerpendicular(
        lineOf(myShape()->parents().item(1)).line(), d.getX(), d.getY());
    return isValid();
}

bool TParentDots2Circle::calcChildren(TAbstractImageAdapter *)
{
    auto &circle = static_cast<TShapeCircle &>(*myShape());
    const TMathZahyo c(dot(0).getXY());
    circle.circle().setCentreRadius(c, c.distance(TMathZahyo(dot(1).getXY())));
    return isValid();
}

bool TParentDots2Arc::calcChildren(TAbstractImageAdapter *)
{
    auto &circle = static_cast<TShapeCircle &>(*myShape());
    const TMathZahyo c(dot(0).getXY());
    const TMathZahyo s(dot(1).getXY());
    const TMathZahyo e(dot(2).getXY());
    circle.circle().setCentreRadius(c, c.distance(s));
    circle.setBoundaryPointFrom(0, s.x, s.y);
    circle.setBoundaryPointFrom(1, e.x, e.y);
    return isValid();
}

bool TParentDots2Gaisetsuen::calcChildren(TAbstractImageAdapter *)
{
    auto &circle = static_cast<TShapeCircle &>(*myShape());
    TMathEn scratch;
    setValid(scratch.setCircumcircle(
        TMathZahyo(dot(0).getXY()), TMathZahyo(dot(1).getXY()), TMathZahyo(dot(2).getXY())));
    if (isValid())
        circle.circle().setCentreRadius(scratch.centre, scratch.radius);
    return isValid();
}

bool TParentDots2ellipse::calcChildren(TAbstractImageAdapter *)
{
    auto &ellipse = static_cast<TShapeEllipse &>(*myShape());
    setValid(ellipse.setBy3Points(dot(0).getXY(), dot(1).getXY(), dot(2).getXY()));
    return isValid();
}

TFiguretypeSet TParentDots2LineClass::supportedFigureTypes() const
{
    return { TFiguretype::FIG_printAreaSenbun, TFiguretype::FIG_line, TFiguretype::FIG_senbun,
        TFiguretype::FIG_hanCyokusen, TFiguretype::FIG_arrow, TFiguretype::FIG_arrowLine,
        TFiguretype::FIG_arrowHanCyokusen };
}

TBoundaryType TParentDots2LineClass::kindFor(TFiguretype t)
{
    switch (t) {
    case TFiguretype::FIG_line: return TBoundaryType::btAll;
    case TFiguretype::FIG_hanCyokusen:
    case TFiguretype::FIG_arrowHanCyokusen: return TBoundaryType::btOneSide;
    case TFiguretype::FIG_arrowLine: return TBoundaryType::btAllVec;
    default: return TBoundaryType::btBothSides;
    }
}

void TParentDots2LineClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 2, 2);
}

void TParentDots2LineClass::s_createShapes2shapeList(
    TShapeStore &out, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    auto makeEdge = [&](TShape *from, TShape *to) {
        std::unique_ptr<TShapeLine> line;
        if (isArrowType(figureType))
            line = std::make_unique<TShapeArrow>(figureType == TFiguretype::FIG_arrow
                    ? TShapetype::SHAPE_arrow
                    : TShapetype::SHAPE_arrowLine);
        else
            line = std::make_unique<TShapeLine>(kindFor(figureType) == TBoundaryType::btBothSides
                    ? TShapetype::SHAPE_senbun
                    : TShapetype::SHAPE_line);
        line->setLineKind(kindFor(figureType));
        TShapeList ends;
        ends.add(from);
        ends.add(to);
        build(*this, out, figureType, std::move(line), ends);
    };
    const int n = parents.count();
    for (int i = 0; i + 1 < n; ++i)
        makeEdge(parents.item(i), parents.item(i + 1));
    if (n > 2)
        makeEdge(parents.last(), parents.first());
}

template <typename Relation>
void TDotLine2LineClass<Relation>::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
    rules.add(lineShapeTypes(), 1, 1);
}

template <typename Relation>
void TDotLine2LineClass<Relation>::s_createShapes2shapeList(
    TShapeStore &out, TFiguretype figureType, bool, const TShapeList &parents) const
{
    this->checkSupported(figureType);
    auto line = std::make_unique<TShapeLine>(TShapetype::SHAPE_line);
    line->setLineKind(TBoundaryType::btAll);
    build(*this, out, figureType, std::move(line), parents, true);
}

template class TDotLine2LineClass<TParentDotLine2HeikouLine>;
template class TDotLine2LineClass<TParentDotLine2SuicyokuLine>;

void TParentDots2CircleClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 2, 2);
}

void TParentDots2CircleClass::s_createShapes2shapeList(
    TShapeStore &out, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    auto circle = std::make_unique<TShapeCircle>();
    circle->setCircleKind(TBoundaryType::btAll);
    build(*this, out, figureType, std::move(circle), parents);
}

void TParentDots2ArcClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 3, 3);
}

void TParentDots2ArcClass::s_createShapes2shapeList(
    TShapeStore &out, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    auto circle = std::make_unique<TShapeCircle>();
    circle->setCircleKind(TBoundaryType::btBothSides);
    build(*this, out, figureType, std::move(circle), parents);
}

void TParentDots2GaisetsuenClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 3, 3);
}

void TParentDots2GaisetsuenClass::s_createShapes2shapeList(
    TShapeStore &out, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    auto circle = std::make_unique<TShapeCircle>();
    circle->setCircleKind(TBoundaryType::btAll);
    build(*this, out, figureType, std::move(circle), parents);
}

void TParentDots2ellipseClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 3, 3);
}

void TParentDots2ellipseClass::s_createShapes2shapeList(
    TShapeStore &out, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    build(*this, out, figureType, std::make_unique<TShapeEllipse>(), parents);
}

} // namespace zarno
