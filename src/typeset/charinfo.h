#pragma once

#include "platform/canvas.h"
#include "typeset/fontinfo.h"
#include "typeset/fontmanage.h"
#include "typeset/texsymbol.h"
#include "typeset/whdxy.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace zarno {

// Where a graphic puts its argument boxes once its own position is known.
struct TArgumentPositions
{
    double firstX = 0;
    double firstY = 0;
    double secondX = 0;
    double secondY = 0;
};

// The glyph of one drawer: it measures itself into the drawer's glyph box
// (graphics that hold their arguments, fractions and radicals, also give the
// node box and place the arguments) and draws itself with its baseline at y.
class TAbstractCharInfo
{
public:
    virtual ~TAbstractCharInfo() = default;
    TAbstractCharInfo() = default;
    TAbstractCharInfo(const TAbstractCharInfo &) = delete;
    TAbstractCharInfo &operator=(const TAbstractCharInfo &) = delete;

    // first and second are the argument boxes the glyph sizes itself by:
    // a delimiter's content, an accent's target, numerator and denominator,
    // radicand and index.
    virtual void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr)
        = 0;
    virtual void calcWhd2Fall(const TWhdXy &glyphBox, TWhdXy &nodeBox);
    virtual TArgumentPositions calcXy(double x, double y) const;
    virtual void draw(TCanvas &canvas, double x, double y) = 0;
    // Room before and after the glyph, in pixels.
    virtual double spaceBefore() const { return 0; }
    virtual double spaceAfter() const { return 0; }
    // A short name for box dumps.
    virtual const char *kindName() const = 0;
};

// What every glyph measures with: its size, "H" in the roman font (its
// width Hw is the unit of spacing, its total HT the unit of heights) and the
// rule thicknesses of the current resolution.
class TCharInfo : public TAbstractCharInfo
{
protected:
    void measureReference(TCanvas &canvas, const TFontSize &size);
    double hw() const { return fReference.width(); }
    double ht() const { return fReference.totalHeight(); }
    // The rule thickness: 0.35 mm.
    static int ruleThickness();
    // The thin pen: 0.7 pt, but 2 pixels at 25 pt and above when that would be 1.
    int thinPen() const;
    // Half the height of "+": the axis of a formula.
    double axis(TCanvas &canvas) const;

    TFontinfo fGlyph;
    TFontinfo fReference;
    TFontSize fSize;
};

// A symbol of the symbol table, with its spacing and raise.
class TCharInfoDrawSymbol final : public TCharInfo
{
public:
    explicit TCharInfoDrawSymbol(const TAbstractDrawSymbol &symbol)
        : fText(symbol.glyphText())
        , fFont(symbol.fontType())
        , fKind(symbol.kind())
        , fSpaceBefore(symbol.spaceBefore())
        , fSpaceAfter(symbol.spaceAfter())
        , fRaiseBy(symbol.raise())
    { }
    void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr) override;
    void draw(TCanvas &canvas, double x, double y) override;
    double spaceBefore() const override { return fBefore; }
    double spaceAfter() const override { return fAfter; }
    const char *kindName() const override { return "symbol"; }

private:
    QString fText;
    TFonttype fFont;
    TMyTokentype fKind;
    // In widths of "H".
    double fSpaceBefore, fSpaceAfter, fRaiseBy;
    // In pixels.
    double fBefore = 0;
    double fAfter = 0;
    double fRaise = 0;
};

class TCharInfoNull final : public TCharInfo
{
public:
    void calcWhd2Fmy(TCanvas &, const TFontSize &, TWhdXy &glyphBox, const TWhdXy * = nullptr,
        const TWhdXy * = nullptr) override
    {
        glyphBox.reset();
    }
    void draw(TCanvas &, double, double) override { }
    const char *kindName() const override { return "null"; }
};

// The raw arguments of "\string" and "\code" as the glyph needs them.
struct TRawCommand
{
    QString rawText;
    QStringList arguments;
    bool invalid = false;
    // The font of the first argument ("default": the Japanese font).
    QString fontName() const;
};

// '\string{font}{text}': the text in a font given by name; the whole raw
// text highlighted when the font is not there.
class TCharInfoString final : public TCharInfo
{
public:
    explicit TCharInfoString(TRawCommand command)
        : fCommand(std::move(command))
    { }
    void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr) override;
    void draw(TCanvas &canvas, double x, double y) override;
    const char *kindName() const override { return "string"; }

private:
    TRawCommand fCommand;
    bool fHighlight = false;
};

// '\code{font}{hex}': characters of a font by their codes, the rest of the
// argument highlighted after them.
class TCharInfoCode final : public TCharInfo
{
public:
    explicit TCharInfoCode(TRawCommand command)
        : fCommand(std::move(command))
    { }
    // From the start, the longest run of hexadecimal digits, an odd last
    // digit dropped, each pair one character; the rest from the first
    // character not decoded.
    static void decode(const QString &hex, QString &decoded, QString &rest);
    void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr) override;
    void draw(TCanvas &canvas, double x, double y) override;
    const char *kindName() const override { return "code"; }

private:
    TRawCommand fCommand;
    bool fValid = false;
    TFontinfo fRest;
};

// The glyphs a delimiter can grow through, smallest first.
struct T_ExtChar
{
    QString text; // the one-text variant's glyph
    struct Candidate
    {
        TFonttype font;
        char16_t code;
    };
    std::vector<Candidate> candidates;

    // The record of a delimiter name ("(", "\{", "\leftabs" ...), or nullptr.
    static const T_ExtChar *forName(const QString &name);
};

// A delimiter that grows with its content: the first candidate tall enough,
// the last one stretched when none is. The content box comes as the first
// argument box.
class TAbstractCharInfoExtendableSide : public TCharInfo
{
public:
    explicit TAbstractCharInfoExtendableSide(const T_ExtChar &record)
        : fRecord(record)
    { }
    void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr) override;
    void draw(TCanvas &canvas, double x, double y) override;

protected:
    // Chooses and measures the glyph for a content of total tc.
    virtual void s_calcWhd2Fmy(TCanvas &canvas, double tc) = 0;
    // Measures the glyph as it is drawn: stretched to at least minimumTotal.
    virtual void measureForDrawing(TCanvas &canvas, double minimumTotal) = 0;

    const T_ExtChar &fRecord;
    TFontinfo fDrawn;
    TWhdXy fContent;
    // Where the drawn glyph's baseline lies below the glyph box baseline.
    double fDrawnBaseline = 0;
};

class TCharInfoExtendableSide final : public TAbstractCharInfoExtendableSide
{
public:
    using TAbstractCharInfoExtendableSide::TAbstractCharInfoExtendableSide;
    const char *kindName() const override { return "delimiter"; }
    bool needsStretching() const { return fStretch; }
    int chosen() const { return fChosen; }

protected:
    void s_calcWhd2Fmy(TCanvas &canvas, double tc) override;
    void measureForDrawing(TCanvas &canvas, double minimumTotal) override;

private:
    QString glyphText() const;
    TFonttype glyphFontType() const;
    int fChosen = 0;
    bool fStretch = false;
};

// The delimiter's text in the Japanese font, when cmex10 is not there.
class TCharInfoExtendableSideOneChar final : public TAbstractCharInfoExtendableSide
{
public:
    using TAbstractCharInfoExtendableSide::TAbstractCharInfoExtendableSide;
    const char *kindName() const override { return "delimiter"; }

protected:
    void s_calcWhd2Fmy(TCanvas &canvas, double tc) override;
    void measureForDrawing(TCanvas &canvas, double minimumTotal) override;
};

struct TCharInfoExtendableSideFactory
{
    static std::unique_ptr<TAbstractCharInfo> create(const QString &delimiterName);
};

// Graphics drawn with rules and strokes rather than a font.
class TAbstractCharInfoGraphic : public TCharInfo
{
protected:
    TWhdXy fFirst;
    TWhdXy fSecond;
    bool fHasSecond = false;
    void takeArguments(const TWhdXy *first, const TWhdXy *second, int needed, const char *method);
};

// A fraction: the bar is the glyph; numerator and denominator are set
// centred above and below it, the bar's centre on the axis.
class TCharInfoGraphicFrac final : public TAbstractCharInfoGraphic
{
public:
    void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr) override;
    void calcWhd2Fall(const TWhdXy &glyphBox, TWhdXy &nodeBox) override;
    TArgumentPositions calcXy(double x, double y) const override;
    void draw(TCanvas &canvas, double x, double y) override;
    const char *kindName() const override { return "fraction"; }

private:
    double fAxis = 0;
    int fRule = 1;
    TWhdXy fBar;
    TWhdXy fNode;
};

// A radical sign of three strokes and the vinculum, with an optional index
// in the notch.
class TCharInfoGraphicSqrt final : public TAbstractCharInfoGraphic
{
public:
    void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr) override;
    void calcWhd2Fall(const TWhdXy &glyphBox, TWhdXy &nodeBox) override;
    TArgumentPositions calcXy(double x, double y) const override;
    void draw(TCanvas &canvas, double x, double y) override;
    const char *kindName() const override { return "radical"; }

private:
    int fPad = 0;
    int fK1 = 0, fK2 = 0, fM3 = 0, fM4 = 0, fM5 = 0;
    int fPen = 1;
    int fSignShift = 0;
    int fIndexShift = 0;
    int fIndexDrop = 0;
    TWhdXy fGlyph;
};

// The bar over "\bar": a rule as wide as its target.
class TCharInfoGraphicBar final : public TAbstractCharInfoGraphic
{
public:
    void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr) override;
    void draw(TCanvas &canvas, double x, double y) override;
    const char *kindName() const override { return "bar"; }

private:
    int fRule = 1;
    double fWidth = 0;
};

// The arrow over "\vec": a rule with a head at the pointed end.
class TCharInfoGraphicArrow final : public TAbstractCharInfoGraphic
{
public:
    // 1: pointing right, 0: pointing left.
    explicit TCharInfoGraphicArrow(int direction)
        : fDirection(direction)
    { }
    void calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
        const TWhdXy *first = nullptr, const TWhdXy *second = nullptr) override;
    void draw(TCanvas &canvas, double x, double y) override;
    const char *kindName() const override { return "arrow"; }

private:
    int fDirection;
    int fRule = 1;
    int fPen = 1;
    double fWidth = 0;
};

} // namespace zarno
