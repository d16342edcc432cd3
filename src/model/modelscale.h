#pragma once

#include "core/valuetypes.h"

namespace zarno {

class TAbstractFileWriter;
class TAbstractXmlNode;

// Millimetres per model unit along each axis and the model point at the
// centre of the view; one per document. A temporary scale can be pushed once
// (image export) and popped back.
class TModelScale
{
public:
    static constexpr TModelPoint kInitialMmPerModel1 { 20.0, 20.0 };
    // How far the user may zoom: beyond these a model unit is either far
    // below a pixel or larger than any screen, and coordinates on screen
    // leave the range where drawing means anything.
    static constexpr double kMinMmPerModel1 = 0.001;
    static constexpr double kMaxMmPerModel1 = 1000000.0;

    TModelPoint mmPerModel1() const { return fMmPerModel1; }
    void setMmPerModel1(const TModelPoint &mm) { fMmPerModel1 = mm; }
    void setScale(const TModelPoint &mm) { fMmPerModel1 = mm; }
    TModelPoint centerXy() const { return fCenterXy; }
    void setCenterXy(const TModelPoint &c) { fCenterXy = c; }
    bool fixField() const { return fFixField; }
    void setFixField(bool b) { fFixField = b; }
    bool isPushed() const { return fPushed; }

    // Saves the scale and centre and installs the given ones; both components
    // of mm must be greater than 0, and only one push may be pending.
    void pushMmPerModel1(const TModelPoint &mm, const TModelPoint &centre);
    void popMmPerModel1();
    void moveCentre(double dx, double dy);
    void clearCentre() { fCenterXy = { 0, 0 }; }
    void multiplyScale(double fx, double fy);
    // The zoom of the user: like multiplyScale, but a step past a limit
    // stops at it (a scale already beyond one, as read from a file, is not
    // pulled back, only kept from going further). Returns whether it changed.
    bool zoomWithinLimits(double fx, double fy);
    // Both components to the smaller of the two (the 1:1 command).
    void equalizeScale();
    // Back to the values of a new document.
    void reset();

    // The fieldInfo group.
    void saveToFile(TAbstractFileWriter &writer) const;
    // Reads the fieldInfo group below the given node.
    void loadFromFile(TAbstractXmlNode &fieldNode);

private:
    TModelPoint fMmPerModel1 = kInitialMmPerModel1;
    TModelPoint fCenterXy { 0, 0 };
    bool fFixField = true;
    bool fPushed = false;
    TModelPoint fSavedMmPerModel1;
    TModelPoint fSavedCenterXy;
};

// The zoom sliders: each move sends a pair (vx, vy) in −1 … 1; the scale is
// multiplied by 4 to the power of the change since the last pair, and a pair
// of zeros (the slider springing back) only forgets the last pair.
class TSliderZoom
{
public:
    static constexpr int kRange = 120;
    // The pair a slider at this position sends: v = position / 120 for the
    // horizontal slider and −position / 120 for the vertical one, on both axes
    // when the sliders are linked, else on the slider's own axis.
    static TModelPoint pairFor(int position, bool horizontalSlider, bool linked);
    // Returns whether the scale changed (and the figure needs a redraw).
    bool apply(const TModelPoint &pair, TModelScale &scale);
    TModelPoint kept() const { return fKept; }

private:
    TModelPoint fKept { 0, 0 };
};

} // namespace zarno
