#pragma once

#include "core/enums.h"
#include "platform/canvas.h"
#include "platform/fontcatalog.h"
#include "typeset/tfmtables.h"

#include <QString>
#include <array>
#include <cstdint>

namespace zarno {

// Where the sizes of typeset text that are given in millimetres (rules,
// radical strokes) and the font scale of an image export come from. The
// program installs one that reads the drawing surfaces' process-wide
// resolution; until then the screen's is used.
class TTeXResolution
{
public:
    virtual ~TTeXResolution() = default;
    virtual double fontScale() const = 0;
    // round(mm × font scale × average resolution / 25.4).
    virtual int mmToPixels(double mm) const = 0;

    // nullptr goes back to the screen's resolution. The object must outlive
    // its installation.
    static void install(const TTeXResolution *resolution);
    static const TTeXResolution &current();
};

// A resolution of its own: tools and tests that draw at a chosen dpi.
class TFixedTeXResolution final : public TTeXResolution
{
public:
    explicit TFixedTeXResolution(double dpiX = 90.06, double dpiY = 90.07, double fontScale = 1.0)
        : fDpiX(dpiX)
        , fDpiY(dpiY)
        , fFontScale(fontScale)
    { }
    double fontScale() const override { return fFontScale; }
    int mmToPixels(double mm) const override;

private:
    double fDpiX;
    double fDpiY;
    double fFontScale;
};

// Installs a resolution for the life of the guard.
class TTeXResolutionScope
{
public:
    explicit TTeXResolutionScope(const TTeXResolution &resolution);
    ~TTeXResolutionScope();
    TTeXResolutionScope(const TTeXResolutionScope &) = delete;
    TTeXResolutionScope &operator=(const TTeXResolutionScope &) = delete;

private:
    const TTeXResolution *fPrevious;
};

// The size of typeset text: a base size in points and a level, 0 for the
// text itself down to −5 for scripts of scripts.
class TFontSize
{
public:
    static constexpr int kSmallestLevel = -5;

    double baseSize() const { return fBaseSize; }
    void setBaseSize(double points) { fBaseSize = points; }
    int level() const { return fLevel; }
    void setLevel(int level) { fLevel = level; }

    // The factor of a level; below −5 counts as −5.
    static double factor(int level);
    // round(font scale × base size × factor), the size the font is made in.
    int pointSize() const;
    // The small design sizes (cmr6 ...) serve below 90 % of the base size.
    bool usesSmallFonts() const { return 0.9 * fBaseSize > pointSize(); }
    // Pixels per em on the canvas: point size × its font resolution / 72.
    double pixelsPerEm(const TCanvas &canvas) const;
    // The whole-pixel em a canvas font is made with.
    int canvasPixelSize(const TCanvas &canvas) const;

    void toLarger();
    void toSmaller() { --fLevel; }
    bool canBeSmaller() const { return fLevel >= -4; }
    void assign(const TFontSize &other) { *this = other; }

private:
    double fBaseSize = 10.0;
    int fLevel = 0;
};

// The metric tables of the Computer Modern fonts, checked once.
class TTfmMetrics
{
public:
    static const TTfmMetrics &getInstance();
    TTfmMetrics(const TTfmMetrics &) = delete;
    TTfmMetrics &operator=(const TTfmMetrics &) = delete;

    // The record index of a character code, or −1 when no table has it.
    int indexOf(char16_t code) const { return code < 256 ? fIndex[code] : -1; }
    // The table of a TFM font type at a design size (cmex10 serves both).
    const TTfmTable &table(TFonttype type, bool small) const;
    // The table of a font name of the font table ("cmr6"), or nullptr.
    const TTfmTable *tableOfName(const QString &fontName) const;

private:
    TTfmMetrics();
    std::array<std::int16_t, 256> fIndex;
};

// Cell height, ascent and descent of a canvas font, in pixels.
struct TVerticalMetrics
{
    double height = 0;
    double ascent = 0;
    double descent = 0;
};

// Which fonts typesetting draws with. Set up once at start-up, before any
// typesetting, from what the platform has installed.
class TFontManage
{
public:
    TFontManage() = delete;

    // Checks the metric tables, stops the program when "ＭＳ Ｐ明朝" is not
    // installed, and records which font types are available. Tests call it
    // again with another catalog; the symbol table must then be built again.
    static void initialize(const TFontCatalog &catalog);
    static bool isInitialized();

    static QString normalName(TFonttype type);
    static QString smallName(TFonttype type);
    // The font of a type at a size: its small or normal name, or the
    // Japanese font for a type that is not available.
    static QString fontName(TFonttype type, const TFontSize &size);
    // The type itself, or ftMincyo for a type that is not available.
    static TFonttype effectiveType(TFonttype type);
    static bool isAvailable(TFonttype type);
    static TFonttype romanType();
    static TFonttype fonttypeOfName(const QString &name);
    static bool isFontName(const QString &name);
    // Whether the platform has a font of that name.
    static bool isInstalled(const QString &name);
    // The family a canvas draws the named font with (the name itself when
    // the platform has no such font: the canvas then falls back on its own).
    static QString family(const QString &fontName);
    // The same for a type's normal or small name.
    static const QString &family(TFonttype type, bool small);

    // Cell height, ascent and descent of the roman font at the size (its
    // small or normal name by the size rule, whether or not installed).
    static TVerticalMetrics textMetrics(TCanvas &canvas, const TFontSize &size);

private:
    friend class TMetricsCacheScope;
    static const TFontCatalog &catalog();
};

// While a layout runs, the roman cell of each size is asked for by every
// glyph; the canvas and its fonts cannot change meanwhile, so the answers
// are kept for the life of the scope (one per layout, not nested).
class TMetricsCacheScope
{
public:
    explicit TMetricsCacheScope(const TCanvas &canvas);
    ~TMetricsCacheScope();
    TMetricsCacheScope(const TMetricsCacheScope &) = delete;
    TMetricsCacheScope &operator=(const TMetricsCacheScope &) = delete;

private:
    bool fOwner;
};

} // namespace zarno
