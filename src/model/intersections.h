#pragma once

#include "model/geometry/mathzahyo.h"
#include "model/relation.h"

namespace zarno {

// One intersection point (kouten) of two curves: the index-th of their
// common points, 1-based. A point hides while its intersection does not
// exist: parallel lines, a line that misses a circle, circles apart or one
// inside the other, and a common point off the drawn part of a segment, ray
// or arc. Where two curves touch, the first point sits at the touching point
// and the second hides. It cannot be dragged.
//
// In a document each point is one figure record with the two curves as its
// parents and its index in an element of its own, `index` (read as 1 when
// missing).
class TParentCurves2Kouten : public TParents2Children
{
public:
    TParentCurves2Kouten(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }

    QString className() const override;
    const TRelationClass &relationClass() const override { return fClass; }

    int index() const { return fIndex; }
    void setIndex(int index) { fIndex = index; }

    bool calcChildren(TAbstractImageAdapter *surface) override;
    void moveXYOffsetXY_p2dot(TShape &, const TModelPoint &) override { }
    // Each curve by its number, in parent order: a segment and a line are
    // numbered apart by the templates, which would name both L1.
    void setGuidanceName(const TShapeList &parents) override;
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;

protected:
    // The index-th common point of the two parents; false when there is none.
    virtual bool intersection(TMathZahyo &point) const = 0;

    int fIndex = 1;

private:
    const TRelationClass &fClass;
};

// The common point of two lines (lines, segments, rays or arrows).
class TParentLines2Kouten : public TParentCurves2Kouten
{
public:
    using TParentCurves2Kouten::TParentCurves2Kouten;

protected:
    bool intersection(TMathZahyo &point) const override;
};

// The common points of a line and a circle, in the line's direction of travel.
class TParentLineCircle2Kouten : public TParentCurves2Kouten
{
public:
    using TParentCurves2Kouten::TParentCurves2Kouten;

protected:
    bool intersection(TMathZahyo &point) const override;
};

// The common points of two circles: the first on the left of the way from
// the first centre to the second.
class TParentCircles2Kouten : public TParentCurves2Kouten
{
public:
    using TParentCurves2Kouten::TParentCurves2Kouten;

protected:
    bool intersection(TMathZahyo &point) const override;
};

// Descriptor base of the intersection points: by the user one point per
// possible common point, while a document is read the one of the record.
class TCurves2KoutenClass : public TRelationClass
{
public:
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    // How many common points the two curves can have.
    virtual int pointCount() const = 0;
    // The parents in the order the relation reads them.
    virtual void order(const TShapeList &parents, TShapeList &out) const;
};

class TParentLines2KoutenClass : public TCurves2KoutenClass
{
public:
    QString className() const override { return QStringLiteral("TParentLines2Kouten"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_koutenLineLine };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;

protected:
    int pointCount() const override { return 1; }
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

class TParentLineCircle2KoutenClass : public TCurves2KoutenClass
{
public:
    QString className() const override { return QStringLiteral("TParentLineCircle2Kouten"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_koutenLineCircle };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;

protected:
    int pointCount() const override { return 2; }
    // The line first, whatever order the user picked them in.
    void order(const TShapeList &parents, TShapeList &out) const override;
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

class TParentCircles2KoutenClass : public TCurves2KoutenClass
{
public:
    QString className() const override { return QStringLiteral("TParentCircles2Kouten"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_koutenCircleCircle };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;

protected:
    int pointCount() const override { return 2; }
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

} // namespace zarno
