#pragma once

#include "model/relation.h"

namespace zarno {

class TShapeCircle;
class TShapeDot;

// The point of tangency (setten) of one tangent from a point P to a circle:
// the point T of the circle whose radius CT is perpendicular to PT. Of the
// two, dcsPlus lies counter-clockwise from the direction C→P, dcsMinus
// clockwise. Hidden while P lies inside the circle, and on an arc while T
// lies off it. It cannot be dragged.
class TParentDotCircle2setten : public TParents2Children
{
public:
    TParentDotCircle2setten(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }

    QString className() const override { return QStringLiteral("TParentDotCircle2setten"); }
    const TRelationClass &relationClass() const override { return fClass; }

    TDotCircle2settenDirection direction() const { return fDirection; }
    void setDirection(TDotCircle2settenDirection d) { fDirection = d; }

    bool calcChildren(TAbstractImageAdapter *surface) override;
    void moveXYOffsetXY_p2dot(TShape &, const TModelPoint &) override { }
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;

private:
    const TRelationClass &fClass;
    TDotCircle2settenDirection fDirection = TDotCircle2settenDirection::dcsPlus;
};

// The tangent (sessen) at a point of a circle: the line through the point
// perpendicular to the radius. Hidden while the point lies on the centre.
class TParentCircleSetten2Sessen : public TParents2Children
{
public:
    TParentCircleSetten2Sessen(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }
    QString className() const override { return QStringLiteral("TParentCircleSetten2Sessen"); }
    const TRelationClass &relationClass() const override { return fClass; }
    bool calcChildren(TAbstractImageAdapter *surface) override;

private:
    const TRelationClass &fClass;
};

// The tangent at a point of an ellipse: its polar line
// (x0 − cx)(x − cx)/a² + (y0 − cy)(y − cy)/b² = 1.
class TParentEllipseSetten2Sessen : public TParents2Children
{
public:
    TParentEllipseSetten2Sessen(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }
    QString className() const override { return QStringLiteral("TParentEllipseSetten2Sessen"); }
    const TRelationClass &relationClass() const override { return fClass; }
    bool calcChildren(TAbstractImageAdapter *surface) override;

private:
    const TRelationClass &fClass;
};

// Descriptor of TParentDotCircle2setten: a point and a circle make the two
// points of tangency.
class TParentDotCircle2settenClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentDotCircle2setten"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_setten }; }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    // By the user both points, dcsPlus first; while a document is read the
    // one point of the record, whose direction the record then gives.
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Descriptor base of the tangents at a point on a curve of one shape type.
// The curve comes first among the tangent's parents, and the point must have
// been built on that very curve.
class TCurveSetten2SessenClass : public TRelationClass
{
public:
    bool isMyParentShapes(const TShapeList *shapes) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    virtual TShapetype curveType() const = 0;
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Descriptor of TParentCircleSetten2Sessen.
class TParentCircleSetten2SessenClass : public TCurveSetten2SessenClass
{
public:
    QString className() const override { return QStringLiteral("TParentCircleSetten2Sessen"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_sessenOnCircle };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;

protected:
    TShapetype curveType() const override { return TShapetype::SHAPE_circle; }
};

// Descriptor of TParentEllipseSetten2Sessen.
class TParentEllipseSetten2SessenClass : public TCurveSetten2SessenClass
{
public:
    QString className() const override { return QStringLiteral("TParentEllipseSetten2Sessen"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_sessenOnEllipse };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;

protected:
    TShapetype curveType() const override { return TShapetype::SHAPE_ellipse; }
};

// The parent of the given shape type (the first such), or nullptr.
TShape *parentOfType(const TShape &child, TShapetype type);

} // namespace zarno
