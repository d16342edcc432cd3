#pragma once

#include "labels/writing.h"
#include "model/relation.h"
#include "model/shape.h"

#include <memory>

namespace zarno {

class TShapeDot;
class TShapeArrow;
class TZahyouProperty;

// A text label next to a point or an arrow: typeset text at a millimetre
// offset from its anchor, aligned by a direction. The anchor comes from the
// label's relation; dragging moves the offset, never the anchor.
class TShapeWriting : public TShape
{
public:
    TShapeWriting();
    ~TShapeWriting() override;

    QString className() const override { return QStringLiteral("TShapeWriting"); }
    QString shapetypeString() const override { return QStringLiteral("文字列"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("W"); }

    TWriting &writing() { return *fWriting; }
    const TWriting &writing() const { return *fWriting; }
    void setTextAndPt(const QString &text, int pt);
    void setOffsetAndDirection(const TModelPoint &mm, T_Direction direction);

    const TModelPoint &anchor() const { return fAnchor; }
    void setAnchor(const TModelPoint &p) { fAnchor = p; }
    // The model vector dragged since the last recalculation; the relation
    // turns it into millimetres at the resolution being drawn.
    TModelPoint takePendingOffset();
    void moveXYOffsetXY(double dx, double dy) override;

    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;
    // 0 inside the rectangle the label covered when last drawn, 100 outside.
    double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const override;

protected:
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    bool acceptsRelation(const TAbstractParents2Children &relation) const override;

private:
    std::unique_ptr<TWriting> fWriting;
    TModelPoint fAnchor;
    TModelPoint fPending;
};

// The family of relations that compute a label: each finds the anchor in
// its parent and carries a drag into the label's offset.
class TParentSomething2writing : public TParents2Children
{
public:
    TParentSomething2writing(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }
    QString className() const override { return fClass.className(); }
    const TRelationClass &relationClass() const override { return fClass; }

    TShapeWriting &label() const { return static_cast<TShapeWriting &>(*myShape()); }
    bool calcChildren(TAbstractImageAdapter *surface) override;
    // The label's own dialog: its typeset text and size.
    void setupProperty() override;

protected:
    // Where the label hangs; false while the parent has no place.
    virtual bool anchorPoint(TAbstractImageAdapter *surface, TModelPoint &anchor) = 0;

private:
    const TRelationClass &fClass;
};

// A label of a point (FIG_writing): the anchor is the point.
class TParentDot2Writing : public TParentSomething2writing
{
public:
    using TParentSomething2writing::TParentSomething2writing;

protected:
    bool anchorPoint(TAbstractImageAdapter *surface, TModelPoint &anchor) override;
    TShapeDot &dot() const;
};

// A label of an arrow (FIG_arrow2writing): the anchor is the arrow's tip,
// which for an arrow line or ray is where it leaves the view.
class TParentArrow2writing : public TParentDot2Writing
{
public:
    using TParentDot2Writing::TParentDot2Writing;

protected:
    bool anchorPoint(TAbstractImageAdapter *surface, TModelPoint &anchor) override;
};

// A coordinate read-out (FIG_dot2zahyou): a label of a point whose text is
// the point's coordinates, formatted by the read-out's property.
class TParentDot2zahyou : public TParentDot2Writing
{
public:
    TParentDot2zahyou(const TRelationClass &cls, TFiguretype figureType);
    ~TParentDot2zahyou() override;

    TZahyouProperty &property() { return *fProperty; }
    bool calcChildren(TAbstractImageAdapter *surface) override;
    // The read-out's property dialog.
    void setupProperty() override;
    // The property goes into the document too, so a read-out shows after a
    // reload (or an undo) what it showed before; without it, as in older
    // files, a read-out starts with the default property.
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;

private:
    std::unique_ptr<TZahyouProperty> fProperty;
};

// The class halves.
template <typename Relation> class TWritingRelationClass : public TRelationClass
{
public:
    std::unique_ptr<TAbstractParents2Children> createRelation(TFiguretype figureType) const override
    {
        checkSupported(figureType);
        return std::make_unique<Relation>(*this, figureType);
    }
};

// Descriptor of TParentDot2Writing: one point makes a label; the user types
// its text (an empty text makes nothing).
class TParentDot2WritingClass : public TWritingRelationClass<TParentDot2Writing>
{
public:
    QString className() const override { return QStringLiteral("TParentDot2Writing"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_writing }; }
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    // A label built by the program (the axes' "0"): no dialog.
    std::unique_ptr<TShapeWriting> createLabel(TFiguretype figureType, TShape &parent,
        const QString &text, int pt, const TModelPoint &offsetMm, T_Direction direction) const;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Descriptor of TParentArrow2writing: one arrow makes a label.
class TParentArrow2writingClass : public TWritingRelationClass<TParentArrow2writing>
{
public:
    QString className() const override { return QStringLiteral("TParentArrow2writing"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_arrow2writing };
    }
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    std::unique_ptr<TShapeWriting> createLabel(TFiguretype figureType, TShape &parent,
        const QString &text, int pt, const TModelPoint &offsetMm, T_Direction direction) const;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Descriptor of TParentDot2zahyou: one point makes its coordinate read-out.
class TParentDot2zahyouClass : public TWritingRelationClass<TParentDot2zahyou>
{
public:
    QString className() const override { return QStringLiteral("TParentDot2zahyou"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_dot2zahyou }; }
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

} // namespace zarno
