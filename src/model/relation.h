#pragma once

#include "core/enums.h"
#include "core/figurecatalog.h"
#include "core/valuetypes.h"

#include <QList>
#include <QString>
#include <memory>

namespace zarno {

class TShape;
class TShapeList;
class TShapeStore;
class TAbstractImageAdapter;
class TAbstractFileWriter;
class TAbstractXmlNode;
class TGuidanceNameCreator;
class TRelationClass;

// A record that a relation keeps for the loci of its shape.
class TTraceRecord
{
public:
    virtual ~TTraceRecord() = default;
};

using TShapetypeSet = EnumSet<TShapetype, 16>;

// One parent rule: which shape types it takes and how many.
struct TParentShapeInfo
{
    TShapetypeSet accepted;
    int min = 0;
    int max = 0; // 0: no upper limit
    int count = 0;
};

// The parent rules of one relation class, in priority order.
class TParentShapeInfoList
{
public:
    // NotEnough: not yet enough shapes; Complete: the selection makes the
    // construction; Impossible: some shape fits no rule.
    enum class Result { NotEnough = 0, Complete = 1, Impossible = 2 };

    void add(const TShapetypeSet &accepted, int min, int max);
    Result checkParentShapes(const TShapeList &shapes);
    int size() const { return int(fRules.size()); }
    const TParentShapeInfo &rule(int i) const { return fRules[i]; }

private:
    QList<TParentShapeInfo> fRules;
};

// The object half of a construction: it computes one child shape from its parents.
class TAbstractParents2Children
{
public:
    virtual ~TAbstractParents2Children() = default;

    virtual QString className() const = 0;
    virtual const TRelationClass &relationClass() const = 0;

    virtual void setMyShape(TShape *shape) = 0;
    virtual void setCustomMyName(const QString &name) = 0;
    virtual QString guidanceNameText() const = 0;
    virtual void saveToFile(TAbstractFileWriter &writer) const = 0;
    virtual void loadFromFile(TAbstractXmlNode &figureNode) = 0;
    virtual void setGuidanceName(const TShapeList &parents) = 0;
    virtual QString idStringForFile() const = 0;
    virtual TFiguretype getFigureType() const = 0;
    // Opens the relation's property dialog, where it has one.
    virtual void setupProperty();
    // Recomputes the child from its parents and sets the valid flag.
    virtual bool calcChildren(TAbstractImageAdapter *surface) = 0;
    virtual bool isValid() const = 0;
    // Moves a point made by this relation by an offset in model units.
    virtual void moveXYOffsetXY_p2dot(TShape &point, const TModelPoint &offset);
    // The user drags the point to the cursor, which moved by the offset since
    // the last event. A point bound to a curve follows the cursor along the
    // curve; every other point moves by the offset.
    virtual void dragDotTo(TShape &point, const TModelPoint &cursor, const TModelPoint &offset)
    {
        (void)cursor;
        moveXYOffsetXY_p2dot(point, offset);
    }
    // Places a newly created point at a model position.
    virtual void setDotInitialXY(const TModelPoint &point);
    virtual TTraceRecord *traceRecord() const { return nullptr; }

    const QString &customName() const { return fCustomName; }

protected:
    QString fCustomName;
};

// The concrete base of every construction: builds one child shape from its
// parent shapes ("2" reads "to" in every relation name).
class TParents2Children : public TAbstractParents2Children
{
public:
    explicit TParents2Children(TFiguretype figureType)
        : fFigureType(figureType)
    { }

    void setMyShape(TShape *shape) override { fMyShape = shape; }
    TShape *myShape() const { return fMyShape; }
    void setCustomMyName(const QString &name) override { fCustomName = name; }
    QString guidanceNameText() const override { return fGuidanceName; }
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;
    void setGuidanceName(const TShapeList &parents) override;
    QString idStringForFile() const override { return QStringLiteral("parents2Children"); }
    TFiguretype getFigureType() const override { return fFigureType; }
    bool isValid() const override { return fValid; }

    // Wires child and parents both ways, in parent order.
    void setRelation(TShape *child, const TShapeList &parents);
    // The same, with the first parent of the given type moved to the front.
    void setRelationChildAndParentsThinkFirst(
        TShapetype shapetype, TShape *child, const TShapeList &parents);

    // The one guidance-name creator of the program (owned by the application).
    static void setGuidanceNameCreator(TGuidanceNameCreator *creator);
    static TGuidanceNameCreator *guidanceNameCreator();

protected:
    void setValid(bool v) { fValid = v; }

    QString fGuidanceName;
    TFiguretype fFigureType;
    TShape *fMyShape = nullptr;
    bool fValid = true;
};

// The class half of a construction: its parent rules, the figure types it
// builds, and how it builds child shapes from a selection. One descriptor
// object per relation class is registered with the shape factory.
class TRelationClass
{
public:
    virtual ~TRelationClass() = default;

    virtual QString className() const = 0;
    virtual TFiguretypeSet supportedFigureTypes() const = 0;
    virtual std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const = 0;
    // Builds the child shape or shapes from the parents and appends them to
    // outList. Interactive building may ask the user first; a cancel appends nothing.
    virtual void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType,
        bool interactive, const TShapeList &parents) const;

    // Parent rules: made once when the factory is created, freed with it.
    virtual void createParentShapeInfoList();
    void destroyParentShapeInfoList() { fParentRules.reset(); }
    TParentShapeInfoList *parentShapeInfoList() const { return fParentRules.get(); }

    virtual QString figureTypeName(TFiguretype figureType) const;
    // Whether a selection exactly meets the parent rules.
    virtual bool isMyParentShapes(const TShapeList *shapes) const;
    // Whether the parents a document names can build this class's shape: the
    // parent rules where the class has them. Classes built by clicking, which
    // have none, check their parents themselves.
    virtual bool acceptsParents(const TShapeList &parents) const;

    // Creates a relation of this class for the figure type and attaches it to the shape.
    TParents2Children *attachNew(TFiguretype figureType, TShape &shape) const;

protected:
    // Classes with parent rules fill them here; the default has none to give.
    virtual void fillParentRules(TParentShapeInfoList &) const;
    void checkSupported(TFiguretype figureType) const;

private:
    std::unique_ptr<TParentShapeInfoList> fParentRules;
};

} // namespace zarno
