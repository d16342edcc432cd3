#pragma once

#include "model/modelscale.h"
#include "model/scalecontroller.h"
#include "model/shapestore.h"

#include <QString>

namespace zarno {

class TShape;
class TAbstractFileWriter;
class TAbstractXmlNode;

// A shape the field shows or hides as a whole group: the coordinate axes and
// the image output area.
class TShownShape
{
public:
    virtual ~TShownShape() = default;
    virtual void setShown(bool shown) = 0;
    virtual bool isShown() const = 0;
};

// The document's drawing field: every shape of the document in creation
// order (so parents always come before their children), the model scale,
// the axes and output area, and the modified flag.
class TField : public TShapeStore, public TScaleController
{
public:
    TField();
    ~TField() override;

    TShape *axes() const { return fAxes; }
    TShape *printArea() const { return fPrintArea; }

    // Before-draw pass, every shape but the points, the points on top, the
    // status reset to 0, after-draw pass.
    void draw(TDrawStatus &status, TAbstractImageAdapter &surface) { drawField(status, surface); }

    void setAxesShown(bool shown);
    bool isAxesShown() const;
    void setPrintAreaShown(bool shown);
    bool isPrintAreaShown() const;

    TModelScale &modelScale() { return fScale; }
    const TModelScale &modelScale() const { return fScale; }
    bool getFFixField() const { return fScale.fixField(); }
    void setFFixField(bool b) { fScale.setFixField(b); }

    // TScaleController: the transforms of every surface read the scale here.
    TModelPoint getMmPerModel1() const override { return fScale.mmPerModel1(); }
    TModelPoint getCenterXy() const override { return fScale.centerXy(); }
    void pushMmPerModel1(const TModelPoint &mm, const TModelPoint &centre) override
    {
        fScale.pushMmPerModel1(mm, centre);
    }
    void popMmPerModel1() override { fScale.popMmPerModel1(); }

    // The view commands; the caller marks the field modified and redraws.
    void scale1_1() { fScale.equalizeScale(); }
    void centerGenten() { fScale.clearCentre(); }
    void moveCentre(double dx, double dy) { fScale.moveCentre(dx, dy); }
    void multiplyScale(double fx, double fy) { fScale.multiplyScale(fx, fy); }
    // The zoom sliders' pair; true when the scale changed.
    bool zoomBySliders(const TModelPoint &pair) { return fSliderZoom.apply(pair, fScale); }

    // The fieldInfo group, then every shape renumbered (which refreshes the
    // guidance names), then the figureList group with every shape.
    void saveToFile(TAbstractFileWriter &writer);
    // The same in parts, for a copy written a few shapes at a time: the
    // fieldInfo group and the list's opening, each shape (items() in order),
    // then the list's end.
    void saveHead(TAbstractFileWriter &writer);
    void saveTail(TAbstractFileWriter &writer);
    // Reads the fieldInfo group below the field node.
    void loadFieldInfo(TAbstractXmlNode &fieldNode);

    // Each caller names its operation ("model.executeCommand").
    void setModified(const QString &byOperation);
    bool isModified() const { return fModified; }
    QString lastModifiedBy() const { return fModifiedBy; }
    // The modified flag or any shape's changed mark.
    bool isChanged() const;
    void clearChanged();

protected:
    // The axes and the output area are remembered by their figure types. An
    // output area read from a document takes the eight shapes before it as
    // its parts (EFileFormatError when they are not).
    void added(TShape &shape) override;

private:
    void adoptPrintAreaParts(TShape *shape);

    TModelScale fScale;
    TSliderZoom fSliderZoom;
    TShape *fAxes = nullptr;
    TShape *fPrintArea = nullptr;
    bool fModified = false;
    QString fModifiedBy;
};

} // namespace zarno
