#pragma once

#include "core/valuetypes.h"

#include <QPoint>

namespace zarno {

// Resolutions of the surface being drawn and of the screen, and the font
// scale of an image export. Process-wide: there is one of each. The screen
// is always taken as 90.06 × 90.07 dots per inch, whatever the system says.
class TDpi
{
public:
    TDpi() = delete;

    static constexpr double kScreenDpiX = 90.06;
    static constexpr double kScreenDpiY = 90.07;

    static void setCurrent(double x, double y);
    static TModelPoint current();
    static void setScreen(double x, double y);
    static TModelPoint screen();
    static void setFontScale(double scale);
    static double fontScale();
    // Current and screen pairs to the screen values (application start, screen drawing).
    static void useScreenResolution();
    // The values at program load: current 300 × 300, screen 100 × 100, font scale 1.
    static void resetToLoadValues();

    // round(mm × fontScale × average current DPI / 25.4): sizes given in millimetres.
    static int mmToPixels(double mm);
    static double mmToScreenPixelsF(double mm);
    static double screenPixelsToMm(double px);
    // y is negated: millimetres point up, pixels down.
    static QPoint mmPairToScreenPixels(const TModelPoint &mm);
    static QPoint mmPairToPixels(const TModelPoint &mm);
    // Image sizes: no flip.
    static QPoint mmPairToPixelsUnflipped(const TModelPoint &mm);
    static double averageDpi();
    static double applyFontScale(double v);
    static QPoint applyFontScalePair(const QPoint &p);
    // The larger of the screen's width and height in pixels at 300 dpi.
    static int screenSizeAt300Dpi(int screenWidthPx, int screenHeightPx);
    // The same for the primary screen.
    static int screenSizeAt300Dpi();
};

// Round half to even, raising a range error outside the 32-bit range (and for NaN).
int roundToInt32(double v, const char *method);

} // namespace zarno
