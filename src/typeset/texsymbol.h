#pragma once

#include "core/enums.h"

#include <QHash>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace zarno {

class TTeXSymbol;
class TSymbolOrg;

// What the typesetter knows of a command or character: its glyph text, the
// font it is drawn in, its arguments, the room around it (in widths of "H")
// and the token kind the parser gives it.
class TAbstractDrawSymbol
{
public:
    virtual ~TAbstractDrawSymbol() = default;

    virtual QString name() const = 0;
    virtual QString glyphText() const = 0;
    QString emptyText() const { return QString(); }
    virtual TFonttype fontType() const = 0;
    virtual int argumentCount() const = 0;
    virtual double spaceBefore() const = 0;
    virtual double spaceAfter() const = 0;
    virtual double raise() const = 0;
    virtual TMyTokentype kind() const = 0;
    // Whether the parser reads the arguments as typeset text ("\string" and
    // "\code" take theirs raw).
    virtual bool parseArguments() const = 0;
    // The glyph drawn over this one (relations such as "\le").
    virtual const TSymbolOrg &getSubSymbol() const;
    virtual TTeXSymbol clone() const = 0;
    virtual TTeXSymbol clone(const QString &overrideText) const = 0;
    TTeXSymbol cloneSubSymbol() const;
};

// An entry of the symbol table.
class TSymbolOrg final : public TAbstractDrawSymbol
{
public:
    struct Spec
    {
        QString name;
        QString glyphText;
        TFonttype fontType = TFonttype::ftMincyo;
        int argumentCount = 0;
        double spaceBefore = 0;
        double spaceAfter = 0;
        double raise = 0;
        TMyTokentype kind = TMyTokentype::mt_t_other;
        bool parseArguments = true;
    };
    explicit TSymbolOrg(Spec spec)
        : fSpec(std::move(spec))
    { }

    QString name() const override { return fSpec.name; }
    QString glyphText() const override { return fSpec.glyphText; }
    TFonttype fontType() const override { return fSpec.fontType; }
    int argumentCount() const override { return fSpec.argumentCount; }
    double spaceBefore() const override { return fSpec.spaceBefore; }
    double spaceAfter() const override { return fSpec.spaceAfter; }
    double raise() const override { return fSpec.raise; }
    TMyTokentype kind() const override { return fSpec.kind; }
    bool parseArguments() const override { return fSpec.parseArguments; }
    const TSymbolOrg &getSubSymbol() const override;
    void setSubSymbol(std::unique_ptr<TSymbolOrg> sub) { fSub = std::move(sub); }
    const Spec &spec() const { return fSpec; }
    TTeXSymbol clone() const override;
    TTeXSymbol clone(const QString &overrideText) const override;

private:
    Spec fSpec;
    std::unique_ptr<TSymbolOrg> fSub;
};

// The symbol a token owns: a table entry, seen through an optional text of
// its own (a run of letters, a number, Japanese text). A plain symbol made
// for text without a table entry owns its entry.
class TTeXSymbol final : public TAbstractDrawSymbol
{
public:
    TTeXSymbol(const TSymbolOrg *entry, std::optional<QString> overrideText = std::nullopt)
        : fEntry(entry)
        , fOverride(std::move(overrideText))
    { }
    explicit TTeXSymbol(std::unique_ptr<TSymbolOrg> ownEntry)
        : fOwnEntry(std::move(ownEntry))
        , fEntry(fOwnEntry.get())
    { }

    QString name() const override { return fOverride ? *fOverride : fEntry->name(); }
    QString glyphText() const override { return fOverride ? *fOverride : fEntry->glyphText(); }
    TFonttype fontType() const override { return fEntry->fontType(); }
    int argumentCount() const override { return fEntry->argumentCount(); }
    double spaceBefore() const override { return fEntry->spaceBefore(); }
    double spaceAfter() const override { return fEntry->spaceAfter(); }
    double raise() const override { return fEntry->raise(); }
    TMyTokentype kind() const override { return fEntry->kind(); }
    bool parseArguments() const override { return fEntry->parseArguments(); }
    const TSymbolOrg &getSubSymbol() const override { return fEntry->getSubSymbol(); }
    TTeXSymbol clone() const override;
    TTeXSymbol clone(const QString &overrideText) const override;
    const TSymbolOrg &entry() const { return *fEntry; }

private:
    std::unique_ptr<TSymbolOrg> fOwnEntry;
    const TSymbolOrg *fEntry;
    std::optional<QString> fOverride;
};

// The symbol table of the typeset language, built once at start-up after the
// font manager (which fonts are available decides some entries) and kept
// until the program ends. Instances are handles onto the one table.
class TTeXDrawSymbolList
{
public:
    // Builds the table anew from the fonts now available.
    static void build();
    static bool isBuilt();

    // The first entry of that name in build order ("-" is the unary minus).
    const TSymbolOrg *findByName(const QString &name) const;
    const TSymbolOrg *findByNameAndKind(const QString &name, TMyTokentype kind) const;
    const TSymbolOrg &findSymbolByNameAndMyTokentype(const QString &name, TMyTokentype kind) const;
    // The default symbol of a kind with the text as its own, or nothing for
    // a kind without one.
    std::optional<TTeXSymbol> defaultSymbol(TMyTokentype kind) const;
    std::optional<TTeXSymbol> defaultSymbol(TMyTokentype kind, const QString &text) const;
    // A plain symbol for text of that kind: the text drawn in the Japanese
    // font, without spacing.
    static TTeXSymbol plainSymbol(TMyTokentype kind, const QString &text);
    // Every entry in build order.
    const std::vector<std::unique_ptr<TSymbolOrg>> &entries() const;
};

} // namespace zarno
