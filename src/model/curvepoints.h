#pragma once

#include "model/relation.h"

namespace zarno {

class TShapeDot;
class TShapeLine;
class TShapeCircle;
class TShapeEllipse;

// A point bound to one curve, its only parent. The user makes it by clicking
// next to the curve; a drag slides it along the curve under the cursor, and
// it follows the curve when the curve moves. Each kind keeps, in the
// document, where on its curve the point was put.
class TParentDotOnSomething : public TParents2Children
{
public:
    TParentDotOnSomething(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }

    QString className() const override;
    const TRelationClass &relationClass() const override { return fClass; }

    // Placed where the user clicked; on the curve at once.
    void setDotInitialXY(const TModelPoint &point) override;
    // The cursor is where the point is dragged to; the point stays on the curve.
    void dragDotTo(TShape &point, const TModelPoint &cursor, const TModelPoint &offset) override;
    // A move by an offset is a drag to the point's own position plus the offset.
    void moveXYOffsetXY_p2dot(TShape &point, const TModelPoint &offset) override;

protected:
    TShapeDot &dot() const;
    TShape &curve() const;
    // Keep what the point needs to find its place on the curve again.
    virtual void placeAt(const TModelPoint &point) = 0;
    // The same for a drag; by default like placing.
    virtual void dragAt(const TModelPoint &point) { placeAt(point); }

private:
    const TRelationClass &fClass;
};

// A point on a line, segment, ray or arrow. It keeps its last position; on a
// moved line it takes the nearest point of the drawn part, so a point on a
// segment stays between its ends.
class TParentLine2Dot : public TParentDotOnSomething
{
public:
    using TParentDotOnSomething::TParentDotOnSomething;
    bool calcChildren(TAbstractImageAdapter *surface) override;
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;
    TModelPoint kept() const { return { fX0, fY0 }; }

protected:
    void placeAt(const TModelPoint &point) override;
    void dragAt(const TModelPoint &point) override;

private:
    TShapeLine &line() const;
    double fX0 = 0;
    double fY0 = 0;
};

// A point on a circle or arc. It keeps its offset from the centre, so it
// keeps its direction when the circle moves or grows.
class TParentCircle2Dot : public TParentDotOnSomething
{
public:
    using TParentDotOnSomething::TParentDotOnSomething;
    bool calcChildren(TAbstractImageAdapter *surface) override;
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;
    TModelPoint kept() const { return { fXd0, fYd0 }; }

protected:
    void placeAt(const TModelPoint &point) override;

private:
    TShapeCircle &circle() const;
    double fXd0 = 0;
    double fYd0 = 0;
};

// A point on an ellipse: where the ray from the centre in the kept direction
// meets the ellipse.
class TParentEllipse2Dot : public TParentDotOnSomething
{
public:
    using TParentDotOnSomething::TParentDotOnSomething;
    bool calcChildren(TAbstractImageAdapter *surface) override;
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;
    TModelPoint kept() const { return { fXd0, fYd0 }; }

protected:
    void placeAt(const TModelPoint &point) override;

private:
    TShapeEllipse &ellipse() const;
    // The point of the ellipse on the ray from its centre towards centre +
    // (dx, dy); false when the ellipse is flat or the direction is none.
    bool project(double dx, double dy, TModelPoint &onEllipse) const;
    double fXd0 = 0;
    double fYd0 = 0;
};

// Descriptor base of the points on one curve. They have no parent rules:
// a click next to the curve makes them, never a selection.
class TDotOnSomethingClass : public TRelationClass
{
public:
    void createParentShapeInfoList() override { }
    bool isMyParentShapes(const TShapeList *) const override { return false; }
    // Exactly one parent, a curve of the kind the class puts points on.
    bool acceptsParents(const TShapeList &parents) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    virtual TShapetypeSet curveTypes() const = 0;
};

template <typename Relation> class TDotOnCurveClass : public TDotOnSomethingClass
{
public:
    std::unique_ptr<TAbstractParents2Children> createRelation(TFiguretype figureType) const override
    {
        return std::make_unique<Relation>(*this, figureType);
    }
};

// Descriptor of TParentLine2Dot.
class TParentLine2DotClass : public TDotOnCurveClass<TParentLine2Dot>
{
public:
    QString className() const override { return QStringLiteral("TParentLine2Dot"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_dotOnLine }; }

protected:
    TShapetypeSet curveTypes() const override;
};

// Descriptor of TParentCircle2Dot.
class TParentCircle2DotClass : public TDotOnCurveClass<TParentCircle2Dot>
{
public:
    QString className() const override { return QStringLiteral("TParentCircle2Dot"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_dotOnCircle };
    }

protected:
    TShapetypeSet curveTypes() const override { return { TShapetype::SHAPE_circle }; }
};

// Descriptor of TParentEllipse2Dot.
class TParentEllipse2DotClass : public TDotOnCurveClass<TParentEllipse2Dot>
{
public:
    QString className() const override { return QStringLiteral("TParentEllipse2Dot"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_dotOnEllipse };
    }

protected:
    TShapetypeSet curveTypes() const override { return { TShapetype::SHAPE_ellipse }; }
};

// The shape types of line-like shapes: lines, rays, segments and arrows.
TShapetypeSet lineLikeShapeTypes();

} // namespace zarno
