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

// Lines, segments, rays and arrows through two points.
class TParentDots2Line : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

class TParentDotLine2HeikouLine : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

class TParentDotLine2SuicyokuLine : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

class TParentDots2Circle : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

class TParentDots2Arc : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

class TParentDots2Gaisetsuen : public TCurveRelation
{
public:
    using TCurveRelation::TCurveRelation;
    bool calcChildren(TAbstractImageAdapter *surface) override;
};

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

class TParentDotLine2HeikouLineClass : public TDotLine2LineClass<TParentDotLine2HeikouLine>
{
public:
    QString className() const override { return QStringLiteral("TParentDotLine2HeikouLine"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_line_1tenHeikou };
    }
};

class TParentDotLine2SuicyokuLineClass : public TDotLine2LineClass<TParentDotLine2SuicyokuLine>
{
public:
    QString className() const override { return QStringLiteral("TParentDotLine2SuicyokuLine"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_line_1tenSuicyoku };
    }
};

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
