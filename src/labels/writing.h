#pragma once

#include "base/surface.h"
#include "core/enums.h"
#include "core/valuetypes.h"
#include "labels/writinginfo.h"
#include "platform/canvas.h"
#include "typeset/whdxy.h"

#include <QString>
#include <map>
#include <memory>

namespace zarno {

class TAbstractWritingStr;
class TAbstractFileWriter;
class TAbstractXmlNode;
class TBitmap;
class TDrawFormulaFacade;
class TTeX2ListFacade;

// A typeset label: what it shows (typeset text, or a number that becomes
// typeset text), how big, and where it lies next to its anchor. On the
// screen it draws a cached bitmap, rendered again only when its text, size
// or colour changed; on an image surface it lays its text out on the
// surface's own canvas, at the surface's resolution.
//
// The same object draws the scale numbers of the axes: there the number
// shown is a multiple of the label's own, each in its own small bitmap.
class TWriting
{
public:
    // Typeset text with an offset; any value.
    static std::unique_ptr<TWriting> createTextWriting();
    // A number with an offset (the scale interval of an axis); values above 0.
    static std::unique_ptr<TWriting> createNumberWriting();
    // A number with a size and a switch but no place of its own (the grid
    // interval of an axis), drawn off at first; values above 0, or any when
    // anySign is set.
    static std::unique_ptr<TWriting> createHiddenNumberWriting(bool anySign = false);

    ~TWriting();
    TWriting(const TWriting &) = delete;
    TWriting &operator=(const TWriting &) = delete;

    // The typeset text of the label (for a number label: of its number).
    QString text() const;
    // Typeset-text labels only.
    void setText(const QString &text);
    int pt() const { return fInfo->pt(); }
    void setPt(int pt);
    bool view() const { return fInfo->view(); }
    void setView(bool view) { fInfo->setView(view); }
    void setOffsetMmXy(const TModelPoint &mm) { fInfo->setOffsetMmXy(mm); }
    TModelPoint getOffsetMmXy() const { return fInfo->getOffsetMmXy(); }
    void setDirection(T_Direction direction) { fInfo->setDirection(direction); }
    T_Direction getDirection() const { return fInfo->getDirection(); }

    // Number labels: the number and the size at once.
    void setRationalNumber(const QString &numerator, const QString &denominator, int pt);
    void setRationalNumberPi(const QString &numerator, const QString &denominator, int pt);
    void setRealNumber(const QString &text, int pt);
    void setDegreeNumber(const QString &text, int pt);
    double value(int multiple) const;
    QString valueTeXStr(int multiple) const;
    TNumberMode numberMode() const;
    QString numeratorStr() const;
    QString denominatorStr() const;
    QString realStr() const;
    // 0 for a number label, 1 for typeset text.
    int kind() const;

    // The open interval the number dialog admits, and whether it offers a size.
    double minValue() const { return fMinValue; }
    double maxValue() const { return fMaxValue; }
    bool sizeSelectable() const { return fSizeSelectable; }
    void setSizeSelectable(bool b) { fSizeSelectable = b; }

    // Up to three saved states for the dialogs.
    void pushCurrent();
    void pop();
    void clearPushed();
    bool differsFromPushed() const;

    // The label string's lines, then the size line and, with an offset, the
    // place line.
    void save(TAbstractFileWriter &writer) const;
    void load(TAbstractXmlNode &node);

    // Draws the label in a colour with its anchor at a model point. Nothing
    // when its view flag is off.
    void draw(TAbstractImageAdapter &surface, TColor colour, const TModelPoint &anchor);
    // One scale number: the label's number times multiple, in its size and
    // place, whatever its view flag.
    void drawClipped(
        TAbstractImageAdapter &surface, TColor colour, int multiple, const TModelPoint &anchor);
    // The larger of the width and height in pixels of the label showing
    // multiple (on the screen its bitmap with the margins).
    int measureHeight(int multiple, TAbstractImageAdapter &surface);
    // The label centred in a box of a dialog.
    void drawInDialog(TCanvas &canvas, int width, int height);

    // Renders the cached bitmap in a colour (dialogs show it in black).
    void renderBitmap(TColor colour);
    const TBitmap *bitmap() const { return fBitmap.get(); }
    // How often the cached bitmap was rendered: drawing must not re-render
    // what did not change.
    int renderCount() const { return fRenderCount; }
    // The model rectangle the label covered when last drawn on the screen
    // (a printed copy does not move the one the user picks).
    bool hasBounds() const { return fHasBounds; }
    const TModelViewRect &bounds() const { return fBounds; }
    // The pixel vector from the anchor to the top-left corner of a box.
    QPoint positionViewOffsetXy(int width, int height) const
    {
        return fInfo->positionViewOffsetXy(width, height);
    }

    // The margin around the text in a cached bitmap: the text's box starts
    // kMarginLeft right of and kMarginTop below the bitmap's corner.
    static constexpr int kMarginLeft = 3;
    static constexpr int kMarginTop = 5;
    static constexpr int kMarginTotal = 6;
    // Pixels per inch of the cached bitmaps: the screen's average resolution,
    // so that a label keeps its size against the figure on screen and in print.
    static int screenFontResolution();

private:
    TWriting(std::unique_ptr<TAbstractWritingStr> str, std::unique_ptr<TWritingInfo> info,
        double minValue, double maxValue);

    // Lays tex out at the label's size into bmp, in colour.
    void renderInto(TBitmap &bmp, const QString &tex, TColor colour);
    const TBitmap &numberBitmap(int multiple, TColor colour);
    void drawOnPrinter(TAbstractImageAdapter &surface, const QString &tex, TColor colour,
        const TModelPoint &anchor);
    void markDirty() { fDirty = true; }

    std::unique_ptr<TAbstractWritingStr> fStr;
    std::unique_ptr<TWritingInfo> fInfo;
    std::unique_ptr<TTeX2ListFacade> fParser;
    std::unique_ptr<TDrawFormulaFacade> fLayout;
    std::unique_ptr<TBitmap> fBitmap;
    TColor fBitmapColor = kColorBlack;
    bool fDirty = true;
    int fRenderCount = 0;
    int fBackupIndex = -1;
    double fMinValue;
    double fMaxValue;
    bool fSizeSelectable = true;
    bool fHasBounds = false;
    TModelViewRect fBounds;
    // Scale numbers by their typeset text, for one colour, size and resolution.
    std::map<QString, std::unique_ptr<TBitmap>> fNumbers;
    TColor fNumbersColor = kColorBlack;
    int fNumbersPt = 0;
    int fNumbersResolution = 0;
};

} // namespace zarno
