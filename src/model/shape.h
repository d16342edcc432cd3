#pragma once

#include "base/penbrush.h"
#include "base/surface.h"
#include "core/enums.h"
#include "core/figurecatalog.h"
#include "core/valuetypes.h"
#include "model/shapelist.h"

#include <QString>
#include <memory>

namespace zarno {

class TAbstractParents2Children;
class TAbstractFileWriter;
class TAbstractXmlNode;
class TTraceRecord;

// The counters with which the field numbers its shapes.
struct TNumbering
{
    int visible = 0;
    int hidden = 0;
};

// Kinds of property dialog a shape opens.
enum class TPropertyType : quint16 {
    None = 0,
    Zahyoujiku = 1,
    PrintArea = 2,
    DotCoordinates = 3,
    Function = 4,
    Writing = 5,
    Tracer = 6,
    DotZahyouLabel = 7,
    ShapeVariableValue = 8,
};

// The interface every drawn object of a figure offers.
class TAbstractShape
{
public:
    virtual ~TAbstractShape() = default;

    TShapetype shapeType() const { return fShapeType; }
    TPropertyType propertyType() const { return fPropertyType; }
    void setPropertyType(TPropertyType t) { fPropertyType = t; }
    bool canDelete() const { return fCanDelete; }
    void setCanDelete(bool b) { fCanDelete = b; }
    int allShapeNo() const { return fAllShapeNo; }

    // Hit-test disadvantage of a shape type, in pixels.
    static int distanceDisadvantage(TShapetype type);

protected:
    explicit TAbstractShape(TShapetype type)
        : fShapeType(type)
    { }

    TShapetype fShapeType;
    TPropertyType fPropertyType = TPropertyType::None;
    bool fCanDelete = true;
    int fAllShapeNo = 0;
};

// The base of every shape class: parents and children, its relation, its
// pen-brush, selection and visibility, the draw passes and persistence.
class TShape : public TAbstractShape
{
public:
    ~TShape() override;
    TShape(const TShape &) = delete;
    TShape &operator=(const TShape &) = delete;

    // The run-time class name used in messages (TShapeDot, TShapeLine, ...).
    virtual QString className() const = 0;
    virtual QString shapetypeString() const = 0;
    virtual QString alphabetShapetypeString() const = 0;

    // Persistence.
    virtual void saveInfo(TAbstractFileWriter &writer) const;
    void saveToFile(TAbstractFileWriter &writer) const;
    void loadFromFile(TAbstractXmlNode &figureNode);
    virtual void loadInfo(TAbstractXmlNode &shapeNode);
    virtual void id(TAbstractFileWriter &writer) const;
    QString idString() const;
    QString shapetypeStrAndIdxAtLoad() const { return fLoadedId; }

    void setCustomMyName(const QString &name);
    void setViewType(TViewType v);
    TViewType getViewType() const;
    void setViewOnOff(TViewOnOff v) { fViewOnOff = v; }
    TViewOnOff getViewOnOff() const { return fViewOnOff; }
    void setFSelected(bool b) { fSelected = b; }
    bool getFSelected() const { return fSelected; }
    void setFView2list(bool b) { fView2list = b; }
    bool getFView2list() const { return fView2list; }
    TFiguretype getFigureType() const;

    // Numbers the shape and lets the relation rebuild its guidance name.
    void setMyGuidanceName(TNumbering &numbering);
    QString noAndShapetypeString() const;
    QString guidanceName() const;
    // Replaces this shape's placeholder with number n (P2 for the second point).
    virtual QString replaceGuidanceStaring(int n, const QString &text) const;

    virtual void clearTrace() { }
    void copyPenBrushFrom(const TPenBrush &source) { fPenBrush->copyApplicable(source); }
    void clearChanged() { fChanged = false; }
    void changed() { fChanged = true; }
    bool isChanged() const { return fChanged; }
    int acceptVisitor(TShapeVisitor &visitor) { return visitor.visitShape(*this); }

    virtual void beforeDraw(const TDrawStatus &, TAbstractImageAdapter &) { }
    void draw(const TDrawStatus &status, TAbstractImageAdapter &surface);
    virtual void afterDraw(const TDrawStatus &, TAbstractImageAdapter &) { }
    // Recomputes the shape and draws its outline into a painting surface.
    void drawAsBoundary(TAbstractImageAdapter &surface, TPenBrush &penBrush);
    virtual void moveXYOffsetXY(double dx, double dy);

    void markDelete();
    // Called on every shape just before the deletion sweep looks at its mark.
    virtual void beforeSweep() { }
    bool isMarkedDelete() const { return fDeleteMark; }
    void setupProperty();

    virtual bool isDrawable() const;
    bool isChildOf(const TShape &shape) const { return fParents.contains(&shape); }
    bool hasChild() const { return !fChildren.isEmpty(); }
    // Distance to the drawn shape plus the type's disadvantage, in model units.
    double distance(const TModelPoint &point, const TModelPoint &pixelSize) const;
    TPenBrush &penBrush() { return *fPenBrush; }
    const TPenBrush &penBrush() const { return *fPenBrush; }
    bool isViewAtScreen(bool hideEditVisible) const;
    TTraceRecord *traceRecord() const;

    virtual bool isDrawnInFront() const { return false; }
    virtual double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const = 0;

    // Relations and wiring.
    void addParent(TShape *shape) { fParents.add(shape); }
    void insertParentFirst(TShape *shape) { fParents.insertFirst(shape); }
    void addChild(TShape *shape) { fChildren.add(shape); }
    void removeChild(TShape *shape) { fChildren.remove(shape); }
    const TShapeList &parents() const { return fParents; }
    const TShapeList &children() const { return fChildren; }
    // Attaches the relation that computes this shape; it must be one this shape accepts.
    void setParents2Children(std::unique_ptr<TAbstractParents2Children> relation);
    TAbstractParents2Children *relation() const { return fRelation.get(); }

    // Raises when the shape still has children: freeing it would leave them
    // pointing at freed memory.
    static void checkDestroyable(const TShape &shape);

protected:
    explicit TShape(TShapetype type);

    virtual void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &penBrush)
        = 0;
    virtual void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) = 0;
    virtual void drawBoundaryLine(TAbstractImageAdapter &, TPenBrush &) { }
    // Whether a relation may compute this shape (text labels accept only their own family).
    virtual bool acceptsRelation(const TAbstractParents2Children &) const { return true; }

private:
    bool fChanged = false;
    QString fLoadedId;
    bool fView2list = true;
    bool fDeleteMark = false;
    TShapeList fParents;
    TShapeList fChildren;
    std::unique_ptr<TAbstractParents2Children> fRelation;
    bool fSelected = false;
    std::unique_ptr<TPenBrush> fPenBrush;
    TViewOnOff fViewOnOff = TViewOnOff::voOn;
};

} // namespace zarno
