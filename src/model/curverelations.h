#pragma once

#include "model/relation.h"

namespace zarno {

class TShapeDot;
class TShapeLine;

// The object half of the classic constructions: it knows its class and
// reaches its parents by position.
class TCurveRelation : public TParents2Children
{
public:
    TCurveRelation(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }
    QString className() const override { return fClass.className(); }
    const TRelationClass &relationClass() const override { return fClass; }

protected:
    TShapeDot &dot(int i) const;

private:
    const TRelationClass &fClass;
};

// Builds a line, segment, ray or arrow (or an output-area edge) from two points.
class TParentDots2Line : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

// Builds the line through a point parallel (heikou) to a line.
class TParentDotLine2HeikouLine : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

// Builds the line through a point perpendicular (suicyoku) to a line.
class TParentDotLine2SuicyokuLine : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

// Builds a circle from its centre and a point on it.
class TParentDots2Circle : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

// Builds an arc from its centre, its start (which sets the radius) and the
// point whose radial ends it.
class TParentDots2Arc : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

// Builds the circumcircle (gaisetsuen) of three points.
class TParentDots2Gaisetsuen : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

// Builds an ellipse from its centre and two points on it.
class TParentDots2ellipse : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

// The class halves. Each builds its child shapes from a selection.
template <typename Relation> class TCurveRelationClass : public TRelationClass
{
public:
    std::unique_ptr<TAbstractParents2Children> createRelation(TFiguretype figureType) const override
    {
        return std::make_unique<Relation>(*this, figureType);
    }
};

// Descriptor of TParentDots2Line: two points make a line-like shape.
class TParentDots2LineClass : public TCurveRelationClass<TParentDots2Line>
{
public:
    QString className() const override { return QStringLiteral("TParentDots2Line"); }
    TFiguretypeSet supportedFigureTypes() const override;
    // n points make n − 1 edges joining consecutive points and, for more than
    // two, one more from the last back to the first: a closed polygon.
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    static TBoundaryType kindFor(TFiguretype figureType);

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// A line through a point, built on a line shape: the point always comes
// first among the parents, whatever order they were selected in.
template <typename Relation> class TDotLine2LineClass : public TCurveRelationClass<Relation>
{
public:
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Descriptor of TParentDotLine2HeikouLine: a point and a line make the parallel.
class TParentDotLine2HeikouLineClass : public TDotLine2LineClass<TParentDotLine2HeikouLine>
{
public:
    QString className() const override { return QStringLiteral("TParentDotLine2HeikouLine"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_line_1tenHeikou };
    }
};

// Descriptor of TParentDotLine2SuicyokuLine: a point and a line make the perpendicular.
class TParentDotLine2SuicyokuLineClass : public TDotLine2LineClass<TParentDotLine2SuicyokuLine>
{
public:
    QString className() const override { return QStringLiteral("TParentDotLine2SuicyokuLine"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_line_1tenSuicyoku };
    }
};

// Descriptor of TParentDots2Circle: two points (centre first) make a circle.
class TParentDots2CircleClass : public TCurveRelationClass<TParentDots2Circle>
{
public:
    QString className() const override { return QStringLiteral("TParentDots2Circle"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_circle }; }
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Descriptor of TParentDots2Arc: three points (centre first) make an arc.
class TParentDots2ArcClass : public TCurveRelationClass<TParentDots2Arc>
{
public:
    QString className() const override { return QStringLiteral("TParentDots2Arc"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_arc }; }
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Descriptor of TParentDots2Gaisetsuen: three points make their circumcircle.
class TParentDots2GaisetsuenClass : public TCurveRelationClass<TParentDots2Gaisetsuen>
{
public:
    QString className() const override { return QStringLiteral("TParentDots2Gaisetsuen"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_gaisetsuen }; }
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Descriptor of TParentDots2ellipse: three points (centre first) make an ellipse.
class TParentDots2ellipseClass : public TCurveRelationClass<TParentDots2ellipse>
{
public:
    QString className() const override { return QStringLiteral("TParentDots2ellipse"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_ellipse }; }
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

} // namespace zarno
