#pragma once

#include "core/enums.h"
#include "platform/canvas.h"

#include <QString>
#include <array>
#include <memory>

namespace zarno {

class TShape;
class TAbstractFileWriter;
class TAbstractXmlNode;

// The pen and brush attributes of one shape. Each attribute has a state:
// pbSelect when it applies to this kind of shape and the user may change it,
// pbDisable when it does not apply.
class TPenBrush
{
public:
    enum Attribute : int {
        aPenColor = 0,
        aPenWidth,
        aPenStyle,
        aBrushColor,
        aBrushStyle,
        aOuterPenStyle,
        aViewType,
        kAttributeCount
    };
    using States = std::array<TPenBrushState, kAttributeCount>;
    using Flags = std::array<bool, kAttributeCount>;

    TPenBrush() { fStates.fill(TPenBrushState::pbDisable); }
    TPenBrush(const TPenBrush &) = delete;
    TPenBrush &operator=(const TPenBrush &) = delete;

    void setOwner(TShape *shape) { fOwner = shape; }
    TShape *owner() const { return fOwner; }

    void setUseOuterStyle(bool b) { fUseOuterStyle = b; }
    void setSelectedLook(bool b) { fSelectedLook = b; }
    void setPenColor(TColor c) { fPenColor = c; }
    void setPenWidthIndex(int i);
    void setPenStyle(TPenStyle s) { fPenStyle = s; }
    void setBrushColor(TColor c) { fBrushColor = c; }
    void setBrushStyle(TBrushStyle s) { fBrushStyle = s; }
    void setOuterPenStyle(TPenStyle s) { fOuterPenStyle = s; }
    void setViewType(TViewType v) { fViewType = v; }
    void setState(int i, TPenBrushState s);
    TPenBrushState state(int i) const;
    void setStates(const States &states) { fStates = states; }
    const States &states() const { return fStates; }

    bool getUseOuterStyle() const { return fUseOuterStyle; }
    bool getSelectedLook() const { return fSelectedLook; }
    TColor getPenColor() const { return fPenColor; }
    int getPenWidthIndex() const { return fPenWidthIndex; }
    double getPenWidth() const { return fPenWidthIndex; }
    TPenStyle getPenStyle() const { return fPenStyle; }
    TColor getBrushColor() const { return fBrushColor; }
    TBrushStyle getBrushStyle() const { return fBrushStyle; }
    TPenStyle getOuterPenStyle() const { return fOuterPenStyle; }
    TViewType getViewType() const { return fViewType; }

    void saveToFile(TAbstractFileWriter &writer, const QString &tag) const;
    void loadFromFile(TAbstractXmlNode &node);

    // Sets the canvas pen and brush from the applicable attributes. Wide,
    // styled pens become geometric pens so their dashes stay visible.
    void applyToCanvas(bool forOutput, TCanvas &canvas);
    // The same with the wider width variant (points).
    void applyToCanvasWide(bool forOutput, TCanvas &canvas);
    void releasePen(TCanvas &canvas);

    // For each applicable attribute, whether the other's value differs.
    Flags compare(const TPenBrush &other) const;
    void copyFrom(const TPenBrush &other);
    // Copies each attribute that is applicable both here and in the source.
    void copyApplicable(const TPenBrush &source);
    void copyStates(const TPenBrush &other) { fStates = other.fStates; }
    void clearStates() { fStates.fill(TPenBrushState::pbDisable); }
    std::unique_ptr<TPenBrush> clone() const;
    // The look of a selected shape: contrast colours and the wider widths.
    std::unique_ptr<TPenBrush> selectionPenBrush() const;
    bool isPenVisible() const;

    // Pen width in pixels for a width index 0..3.
    static int penLineWidth(int index, bool forOutput, bool wide, bool selectedLook);
    // The contrast colour of a selection: black on reddish colours, else red.
    static TColor selectionColor(TColor c);

    static QString penWidthName(int index);
    static QString penStyleName(TPenStyle s);
    static QString brushStyleName(TBrushStyle s);
    static QString viewTypeName(TViewType v);

private:
    void apply(bool forOutput, TCanvas &canvas, bool wide);
    bool selected(Attribute a) const { return fStates[a] == TPenBrushState::pbSelect; }

    TShape *fOwner = nullptr;
    bool fUseOuterStyle = false;
    bool fSelectedLook = false;
    States fStates;
    TColor fPenColor = 0;
    int fPenWidthIndex = 0;
    TPenStyle fPenStyle = TPenStyle::psSolid;
    TColor fBrushColor = 0;
    TBrushStyle fBrushStyle = TBrushStyle::bsSolid;
    TPenStyle fOuterPenStyle = TPenStyle::psClear;
    TViewType fViewType = TViewType::vtVisible;
    bool fPenCreated = false;
};

} // namespace zarno
