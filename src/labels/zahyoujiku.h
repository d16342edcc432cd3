#pragma once

#include "base/penbrush.h"
#include "labels/writing.h"
#include "model/field.h"
#include "model/relation.h"
#include "model/shape.h"

#include <array>
#include <memory>

namespace zarno {

class TShapeArrow;
class TShapeDot;
class TShapeWriting;

// The settings of one axis: the interval of its scale marks with the look
// and place of their numbers, and the interval of its grid lines. Each is a
// number label whose number (for multiple 1) is the interval and whose view
// flag switches the scale or the grid.
class TAxeProperty
{
public:
    TAxeProperty();
    ~TAxeProperty();

    // The label of the axis's name ("x" or "y"): linked only around the
    // axes dialog, never owned.
    TWriting *nameLabel = nullptr;

    TWriting &scaleInterval() { return *fScale; }
    const TWriting &scaleInterval() const { return *fScale; }
    TWriting &gridlineInterval() { return *fGrid; }
    const TWriting &gridlineInterval() const { return *fGrid; }

    // Groups "scaleInterval" and "gridlineInterval" inside a group of its own.
    void save(TAbstractFileWriter &writer, const QString &tag) const;
    void load(TAbstractXmlNode &parentNode, const QString &tag);

private:
    std::unique_ptr<TWriting> fScale;
    std::unique_ptr<TWriting> fGrid;
};

// Both axes' settings: hAxe (index 0) and vAxe (index 1).
class TZahyoujikuProperty
{
public:
    TZahyoujikuProperty();

    TAxeProperty hAxe;
    TAxeProperty vAxe;
    TAxeProperty &axe(int index);
    const TAxeProperty &axe(int index) const;

    void save(TAbstractFileWriter &writer) const;
    void load(TAbstractXmlNode &node);
};

// The coordinate axes: one shape that ties together the group of ordinary
// shapes they are made of (origin, two arrow lines, the labels "0", "x",
// "y") and draws what none of them draws: the scale numbers with their ticks
// and the grid. The parts are shapes of the field; this shape only refers
// to them and is their child.
class TShapeZahyoujiku : public TShape, public TShownShape
{
public:
    enum Part : int { Origin = 0, XAxis, YAxis, OriginLabel, XLabel, YLabel, kPartCount };

    TShapeZahyoujiku();
    ~TShapeZahyoujiku() override;

    QString className() const override { return QStringLiteral("TShapeZahyoujiku"); }
    QString shapetypeString() const override { return QStringLiteral("座標軸"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("Z"); }

    TZahyoujikuProperty &property() { return fProperty; }
    const TZahyoujikuProperty &property() const { return fProperty; }
    TAxeProperty &axe(int index) { return fProperty.axe(index); }

    // Takes the six parts in Part order; anything else is a damaged
    // document (EFileFormatError). The parts open the axes' dialog, the
    // origin and the unit points stay fixed, and the hidden flag follows the
    // origin's switch.
    void adoptParts(const TShapeList &parts);
    bool hasParts() const { return fOrigin != nullptr; }
    const TShapeList &parts() const { return fParts; }
    TShapeDot &origin() const { return *fOrigin; }
    TShapeArrow &axis(int index) const { return *fAxes[std::size_t(index)]; }
    TShapeWriting &label(int index) const { return *fLabels[std::size_t(index)]; }

    // TShownShape: show or hide the six parts; the unit points stay invisible.
    void setShown(bool shown) override;
    bool isShown() const override;
    bool isHidden() const { return fHidden; }

    void linkNameLabels();
    void refreshNameLabels();

    TPenBrush &tickPenBrush() { return fTickPenBrush; }
    TPenBrush &gridPenBrush() { return fGridPenBrush; }

    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;
    // Never near the cursor: its parts are picked instead.
    double rawDistance(const TModelPoint &, const TModelPoint &) const override { return 100; }

    // The length of a tick on each side of its axis.
    static constexpr double kTickMm = 0.8;
    // Grid lines are at least this far apart.
    static constexpr int kGridMinPixels = 20;

protected:
    void drawSelected(const TDrawStatus &, TAbstractImageAdapter &, TPenBrush &) override { }
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;

public:
    // The grid, in the pass before any shape draws.
    void beforeDraw(const TDrawStatus &status, TAbstractImageAdapter &surface) override;

private:
    void drawScale(TAbstractImageAdapter &surface, int axis);
    void drawGrid(TAbstractImageAdapter &surface, int axis);

    TZahyoujikuProperty fProperty;
    TShapeList fParts;
    TShapeDot *fOrigin = nullptr;
    std::array<TShapeArrow *, 2> fAxes {};
    std::array<TShapeWriting *, 3> fLabels {};
    bool fHidden = false;
    TPenBrush fTickPenBrush;
    TPenBrush fGridPenBrush;
};

// Makes the axes shape from nothing; nothing to compute.
class TParentNil2Zahyoujiku : public TParents2Children
{
public:
    TParentNil2Zahyoujiku(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }
    QString className() const override { return fClass.className(); }
    const TRelationClass &relationClass() const override { return fClass; }
    bool calcChildren(TAbstractImageAdapter *) override { return isValid(); }

private:
    const TRelationClass &fClass;
};

// Descriptor of TParentNil2Zahyoujiku. Interactively (a new document) it
// builds the whole group: origin, unit points (1, 0) and (0, 1), the two
// axes, the labels "0", "x" and "y", and last the axes shape. While a
// document is read it builds the axes shape alone on the six parts the
// record names.
class TParentNil2ZahyoujikuClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentNil2Zahyoujiku"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_zahyoujiku }; }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    // The axes come with each document, never from a selection; a record's
    // parents are checked by the axes shape itself.
    void createParentShapeInfoList() override { }
    bool isMyParentShapes(const TShapeList *) const override { return false; }

    // A failure frees what was built; an EMyException passes on unchanged,
    // anything else becomes EMyFatalException for createInitialZahyoujiku.
    void createInitialZahyoujiku(TShapeStore &outList) const;

private:
    std::unique_ptr<TShapeZahyoujiku> createAxes(const TShapeList &parts) const;
};

// Where the numbers and grid lines of one axis go: the multiples l = k, 2k,
// ... of the interval s, up to and including the first whose value reaches
// the reach E of the view, skipping those that lie wholly outside [lo, hi]
// (what the view shows of the axis, widened by a margin) on both sides. No
// step when s is no positive number or already reaches E.
struct TScaleSteps
{
    static constexpr int kNone = 0;
    // The step k for marks that need minPixels each: ⌈minPixels·p / s⌉, at
    // least 1; kNone when it cannot be had (s not positive, k beyond range).
    static int stepFor(double minPixels, double modelPerPixel, double interval);
    // The first multiple worth looking at: k, or later when the view is far
    // from the origin.
    static int firstMultiple(int k, double interval, double lo, double hi);
};

} // namespace zarno
