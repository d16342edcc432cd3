#pragma once

#include "base/surface.h"
#include "core/enums.h"
#include "core/valuetypes.h"
#include "model/field.h"
#include "model/printareagroup.h"
#include "model/relation.h"
#include "model/shape.h"

#include <QList>
#include <QSize>
#include <QString>
#include <array>

namespace zarno {

class TShapeDot;
class TShapeLine;

// How big an exported image is and whether its text grows with it. The
// output area owns one; the export dialog edits it.
class TGraphicfileProperty
{
public:
    TGraphicFileScaletype scaleType = TGraphicFileScaletype::gstHAxe1;
    // Image width in millimetres (gstInBox).
    int boxSizeMm = 48;
    // Length of one x unit in millimetres (gstHAxe1).
    int hAxe1_mm = 12;
    TGraphicFileFontScaletype fontScaleType = TGraphicFileFontScaletype::fstResize;

    static QString tagName() { return QStringLiteral("graphicfileProperty"); }
    // One group with one line of four values.
    void saveToFile(TAbstractFileWriter &writer) const;
    // Reads the group below parentNode. The group must be there; each value
    // in it may be missing, and then takes the value older documents imply.
    void loadFromFile(TAbstractXmlNode &parentNode);

    // (w, h) in millimetres for the model rectangle, whose on-screen size is
    // pixelSize (pw × ph): the width by the scale type, the height keeping
    // the on-screen aspect ratio. An empty on-screen size gives height 0, so
    // that pushing the export scale fails instead of drawing at infinity.
    TModelPoint outputSizeMm(const TModelViewRect &modelRect, const QSize &pixelSize) const;
    // The factor for text and millimetre-sized details in the image: the
    // image width over the on-screen width in millimetres, or 1 when they
    // keep their screen size (or the on-screen width is empty).
    double fontScale(const TModelViewRect &modelRect, const QSize &pixelSize) const;
};

// The image output area: a rectangle of four corner points and four dotted
// edges that the user drags as a group. The area itself draws nothing and is
// never picked; it holds the export property and keeps its parts
// rectangular. The parts are shapes of the field; the area only refers to them.
class TShapePrintArea : public TShape, public TPrintAreaGroup, public TShownShape
{
public:
    // The parts in their creation and file order.
    enum Part : int { P1 = 0, P2, P3, P4, Edge12V, Edge23H, Edge34V, Edge41H, kPartCount };
    static_assert(kPartCount == TPrintAreaGroup::kPartCount);

    TShapePrintArea();

    QString className() const override { return QStringLiteral("TShapePrintArea"); }
    QString shapetypeString() const override { return QStringLiteral("画像ファイル出力領域"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("PA"); }

    TGraphicfileProperty &property() { return fProperty; }
    const TGraphicfileProperty &property() const { return fProperty; }

    // Takes the eight parts in Part order: four FIG_printAreaDot points, then
    // the four FIG_printAreaSenbun edges each joining the corners the table
    // of parts names. Anything else is a damaged document: EFileFormatError.
    void adoptParts(const QList<TShape *> &parts) override;
    bool hasParts() const override { return fCorners[0] != nullptr; }
    QList<TShape *> parts() const;
    // Corner 0..3 is P1..P4; edge 0..3 is 12V, 23H, 34V, 41H.
    TShapeDot &corner(int index) const;
    TShapeLine &edge(int index) const;
    // The corner index of a shape, or −1.
    int cornerIndexOf(const TShape &shape) const;

    // From the diagonal corners P1 and P3: top is the larger y.
    TModelViewRect modelRect() const;

    // TPrintAreaGroup (and TShownShape for setShown/isShown). The group
    // operations do nothing on an area that has no parts yet.
    void followCorner(TShape &corner) override;
    void moveBy(const TModelPoint &offset) override;
    void selectEdges(TShapeList &selection) override;
    void setShown(bool shown) override;
    bool isShown() const override;
    void hideForExport() override;
    void restoreAfterExport() override;

    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;
    double rawDistance(const TModelPoint &, const TModelPoint &) const override { return 100; }

protected:
    void drawSelected(const TDrawStatus &, TAbstractImageAdapter &, TPenBrush &) override { }
    void drawNormal(const TDrawStatus &, TAbstractImageAdapter &) override { }

private:
    void setCorner(int index, const TModelPoint &p);

    TGraphicfileProperty fProperty;
    std::array<TShapeDot *, 4> fCorners {};
    std::array<TShapeLine *, 4> fEdges {};
    bool fShownBeforeExport = false;
    bool fHiddenForExport = false;
};

// Builds the image output area from nothing (no parents); nothing to compute.
class TParentNil2printArea : public TParents2Children
{
public:
    TParentNil2printArea(const TRelationClass &cls, TFiguretype figureType)
        : TParents2Children(figureType)
        , fClass(cls)
    { }
    QString className() const override { return fClass.className(); }
    const TRelationClass &relationClass() const override { return fClass; }
    bool calcChildren(TAbstractImageAdapter *) override { return isValid(); }

private:
    const TRelationClass &fClass;
};

// Descriptor of TParentNil2printArea: nothing makes the output area.
// Interactively (a new document) it builds the whole
// initial group: P1..P4, the edges 12V, 23H, 34V, 41H, and last the area,
// which the model takes as the list's last shape. While a document is read it
// builds the area alone; the field hands it the eight parts read just before
// it (TField::add).
class TParentNil2printAreaClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentNil2printArea"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_printArea }; }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    // The area is made with each document, never from a selection.
    void createParentShapeInfoList() override { }
    bool isMyParentShapes(const TShapeList *) const override { return false; }

    // The initial area (4, 3), (4, −3), (−4, −3), (−4, 3) with its parts.
    // A failure frees what was built; an EMyException passes on unchanged,
    // anything else becomes EMyFatalException for createInitialPrintArea.
    void createInitialPrintArea(TShapeStore &outList) const;

protected:
    virtual std::unique_ptr<TShapeDot> createCorner(
        const QString &name, const TModelPoint &at) const;
    // The segment from → to.
    virtual std::unique_ptr<TShape> createEdge(
        const QString &name, TShapeDot &from, TShapeDot &to) const;
    std::unique_ptr<TShapePrintArea> createArea() const;
};

} // namespace zarno
