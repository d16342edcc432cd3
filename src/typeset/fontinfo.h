#pragma once

#include "core/enums.h"
#include "platform/canvas.h"
#include "typeset/fontmanage.h"

#include <QString>

namespace zarno {

// Saves what typesetting changes on a canvas (font colour, name and size,
// pen colour, width and style, brush colour and style) and puts it back.
class TCanvasInfoPush
{
public:
    void push(const TCanvas &canvas);
    void pop(TCanvas &canvas);
    bool isPushed() const { return fPushed; }

private:
    bool fPushed = false;
    QString fFontFamily;
    int fFontPixelSize = 0;
    TColor fFontColor = kColorBlack;
    TColor fPenColor = kColorBlack;
    int fPenWidth = 1;
    TPenStyle fPenStyle = TPenStyle::psSolid;
    TColor fBrushColor = kColorWhite;
    TBrushStyle fBrushStyle = TBrushStyle::bsSolid;
};

// push on construction, pop on destruction: an exception cannot leave the
// canvas changed.
class TCanvasInfoPushGuard
{
public:
    explicit TCanvasInfoPushGuard(TCanvas &canvas)
        : fCanvas(canvas)
    {
        fSaved.push(canvas);
    }
    ~TCanvasInfoPushGuard() { fSaved.pop(fCanvas); }
    TCanvasInfoPushGuard(const TCanvasInfoPushGuard &) = delete;
    TCanvasInfoPushGuard &operator=(const TCanvasInfoPushGuard &) = delete;

private:
    TCanvas &fCanvas;
    TCanvasInfoPush fSaved;
};

// One measured string of typeset text: how wide, how high above and how
// deep below the baseline it is in pixels, and how to draw it there.
// Computer Modern strings are measured with the TFM metrics, other fonts
// with the platform's text measurement.
class TFontinfo
{
public:
    void measure(TCanvas &canvas, const TFontSize &size, const QString &text, TFonttype type);
    // With a font given by name (the raw-argument commands): a name of the
    // font table measures as that very font, any other installed font with
    // the platform's metrics.
    void measureByFontName(
        TCanvas &canvas, const TFontSize &size, const QString &text, const QString &fontName);
    // Stretched vertically to at least minimumTotal (and a little wider as
    // it grows): delimiters taller than the font's largest.
    void measureStretched(TCanvas &canvas, const TFontSize &size, const QString &text,
        TFonttype type, double minimumTotal);
    // "H" in the roman font: the unit of spacing.
    void measureReference(TCanvas &canvas, const TFontSize &size);

    double width() const { return fWidth; }
    double totalHeight() const { return fTotalHeight; }
    double depth() const { return fDepth; }
    double height() const { return fTotalHeight - fDepth; }
    double textWidth() const { return fTextWidth; }
    double textHeight() const { return fTextHeight; }
    double textDescent() const { return fTextDescent; }
    double textAscent() const { return fTextHeight - fTextDescent; }
    double verticalScale() const { return fScaleV; }
    double horizontalScale() const { return fScaleH; }
    const QString &text() const { return fText; }
    const QString &family() const { return fFamily; }

    bool highlight() const { return fHighlight; }
    void setHighlight(bool on) { fHighlight = on; }

    // Draws the string with the top of its text cell at y (the baseline is
    // textAscent below it), in the canvas's font colour, or red, bold and
    // underlined when highlighted. Clears the highlight.
    void drawAt(TCanvas &canvas, double x, double y);
    // The same with the baseline given: the cell top it implies is rounded
    // as drawAt rounds it.
    void drawAtBaseline(TCanvas &canvas, double x, double baseline);

private:
    enum class Metrics { Tfm, Platform };
    void measureWith(TCanvas &canvas, const TFontSize &size, const QString &text,
        const QString &family, Metrics metrics, const TTfmTable *table);
    void clear();

    QString fText;
    QString fFamily;
    double fEm = 0;
    int fPixelSize = 0;
    bool fByCharacterMap = true;
    double fWidth = 0;
    double fTotalHeight = 0;
    double fDepth = 0;
    double fTextWidth = 0;
    double fTextHeight = 0;
    double fTextDescent = 0;
    double fScaleV = 1;
    double fScaleH = 1;
    bool fHighlight = false;
};

// Total, height and depth of "+" in the roman font: the axis of a formula
// lies at half its height.
struct TPlusMetrics
{
    double total = 0;
    double height = 0;
    double depth = 0;
};
TPlusMetrics plusMetrics(TCanvas &canvas, const TFontSize &size);

} // namespace zarno
