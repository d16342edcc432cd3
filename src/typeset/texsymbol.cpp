#include "typeset/texsymbol.h"

#include "core/exceptions.h"
#include "typeset/fontmanage.h"

#include <QMultiHash>

namespace zarno {

namespace {

using Kind = TMyTokentype;
using Font = TFonttype;

struct SymbolTable
{
    bool built = false;
    std::vector<std::unique_ptr<TSymbolOrg>> named;
    // Each name's entries in build order.
    QHash<QString, std::vector<const TSymbolOrg *>> byName;
    std::unique_ptr<TSymbolOrg> defaults[enumCount<TMyTokentype>()];

    void clear()
    {
        built = false;
        named.clear();
        byName.clear();
        for (auto &d : defaults)
            d.reset();
    }
    void add(std::unique_ptr<TSymbolOrg> entry)
    {
        byName[entry->name()].push_back(entry.get());
        named.push_back(std::move(entry));
    }
    const TSymbolOrg *find(const QString &name) const
    {
        auto it = byName.constFind(name);
        return it == byName.constEnd() ? nullptr : it->front();
    }
};

SymbolTable &table()
{
    static SymbolTable t;
    return t;
}

QString str(const char16_t *text)
{
    return QString::fromUtf16(text);
}

// An entry drawn from one of the mathematics fonts: when that font is not
// available it is drawn in the Japanese font with the substitute text, or,
// without a substitute, not made at all (its name is then unknown).
void addWithSubstitute(TSymbolOrg::Spec spec, const QString *substitute)
{
    if (!TFontManage::isAvailable(spec.fontType)) {
        if (!substitute)
            return;
        spec.fontType = Font::ftMincyo;
        spec.glyphText = *substitute;
    }
    table().add(std::make_unique<TSymbolOrg>(std::move(spec)));
}

struct CharEntry
{
    const char16_t *name;
    Font font;
    char16_t code;
    const char16_t *substitute; // nullptr: omitted without the font
};

void addChar(const CharEntry &e, Kind kind, double before = 0, double after = 0, double raise = 0,
    int arguments = 0)
{
    TSymbolOrg::Spec spec;
    spec.name = str(e.name);
    spec.glyphText = QString(QChar(e.code));
    spec.fontType = e.font;
    spec.kind = kind;
    spec.spaceBefore = before;
    spec.spaceAfter = after;
    spec.raise = raise;
    spec.argumentCount = arguments;
    const QString substitute = e.substitute ? str(e.substitute) : QString();
    addWithSubstitute(std::move(spec), e.substitute ? &substitute : nullptr);
}

void buildOperatorNames()
{
    struct Command
    {
        const char16_t *name;
        int arguments;
        bool parsed;
    };
    static constexpr Command kCommands[] = {
        { u"\\sin", 0, true },
        { u"\\cos", 0, true },
        { u"\\tan", 0, true },
        { u"\\arctan", 0, true },
        { u"\\log", 0, true },
        { u"\\ceil", 0, true },
        { u"\\floor", 0, true },
        { u"\\abs", 0, true },
        { u"\\max", 0, true },
        { u"\\min", 0, true },
        { u"\\lim", 0, true },
        { u"\\sqrt", 1, true },
        { u"\\vec", 1, true },
        { u"\\bar", 1, true },
        { u"\\box", 1, true },
        { u"\\dotbox", 1, true },
        { u"\\phantom", 1, true },
        { u"\\smaller", 1, true },
        { u"\\nthrt", 2, true },
        { u"\\string", 2, false },
        { u"\\code", 2, false },
    };
    for (const Command &c : kCommands) {
        TSymbolOrg::Spec spec;
        spec.name = str(c.name);
        spec.glyphText = spec.name.mid(1);
        spec.fontType = Font::ftCmr;
        spec.kind = Kind::mt_t_function;
        spec.argumentCount = c.arguments;
        spec.parseArguments = c.parsed;
        spec.spaceAfter = 0.2;
        const QString substitute = spec.glyphText;
        addWithSubstitute(std::move(spec), &substitute);
    }
}

void buildSingleCharacters()
{
    static constexpr CharEntry kChars[] = {
        { u"\\infty", Font::ftCmsy, 0x31, u"∞" },
        { u"\\circ", Font::ftCmsy, 0xB1, u"°" },
        { u"\\o", Font::ftCmr, 0xBF, u"φ" },
        { u"/", Font::ftCmr, 0x2F, u"/" },
        { u"\\\\", Font::ftMincyo, 0x5C, nullptr },
        { u"\\^", Font::ftMincyo, 0x5E, u"^" },
        { u"\\_", Font::ftMincyo, 0x5F, u"_" },
        { u"\\superscript_char", Font::ftCmr, 0x20, nullptr },
        { u"\\subscript_char", Font::ftCmr, 0x20, nullptr },
    };
    for (const CharEntry &e : kChars)
        addChar(e, Kind::mt_t_command);

    static constexpr const char16_t *kGreek[][2] = {
        { u"\\alpha", u"α" },
        { u"\\beta", u"β" },
        { u"\\gamma", u"γ" },
        { u"\\delta", u"δ" },
        { u"\\epsilon", u"ε" },
        { u"\\zeta", u"ζ" },
        { u"\\eta", u"η" },
        { u"\\theta", u"θ" },
        { u"\\iota", u"ι" },
        { u"\\kappa", u"κ" },
        { u"\\lambda", u"λ" },
        { u"\\mu", u"μ" },
        { u"\\nu", u"ν" },
        { u"\\xi", u"ξ" },
        { u"\\pi", u"π" },
        { u"\\rho", u"ρ" },
        { u"\\sigma", u"σ" },
        { u"\\tau", u"τ" },
        { u"\\upsilon", u"υ" },
        { u"\\phi", u"φ" },
        { u"\\chi", u"χ" },
        { u"\\psi", u"ψ" },
    };
    char16_t code = 0xAE;
    for (const auto &g : kGreek)
        addChar({ g[0], Font::ftCmmi, code++, g[1] }, Kind::mt_t_command);
    addChar({ u"\\omega", Font::ftCmmi, 0x21, u"ω" }, Kind::mt_t_command);

    static constexpr const char16_t *kCapitals[][2] = {
        { u"\\Gamma", u"Γ" },
        { u"\\Delta", u"Δ" },
        { u"\\Theta", u"Θ" },
        { u"\\Lambda", u"Λ" },
        { u"\\Xi", u"Ξ" },
        { u"\\Pi", u"Π" },
        { u"\\Sigma", u"Σ" },
        { u"\\Upsilon", u"Υ" },
        { u"\\Phi", u"Φ" },
        { u"\\Psi", u"Ψ" },
    };
    code = 0xA1;
    for (const auto &g : kCapitals)
        addChar({ g[0], Font::ftCmmi, code++, g[1] }, Kind::mt_t_command);
    addChar({ u"\\Omega", Font::ftCmmi, 0xAD, u"Ω" }, Kind::mt_t_command);

    static constexpr const char16_t *kVariants[]
        = { u"\\varepsilon", u"\\vartheta", u"\\varpi", u"\\varrho", u"\\varsigma", u"\\varphi" };
    code = 0x22;
    for (const char16_t *name : kVariants)
        addChar({ name, Font::ftCmmi, code++, nullptr }, Kind::mt_t_command);

    addChar({ u"\\forall", Font::ftCmsy, 0x38, u"∀" }, Kind::mt_t_command);
    addChar({ u"\\exists", Font::ftCmsy, 0x39, u"∃" }, Kind::mt_t_command);
    addChar({ u"\\ell", Font::ftCmmi, 0x60, nullptr }, Kind::mt_t_command);
}

void buildCharactersByString()
{
    struct Row
    {
        CharEntry e;
        Kind kind;
        int arguments;
        double before, after, raise;
    };
    const Row rows[] = {
        { { u"\\sum", Font::ftCmr, 0xA7, u"Σ" }, Kind::mt_t_function, 0, 0, 0.15, 0 },
        { { u"\\int", Font::ftCmex, 0x5A, u"∫" }, Kind::mt_t_function, 0, 0, 0, 0 },
        { { u"_", Font::ftMincyo, 0x5F, u"_" }, Kind::mt_invalid, 0, 0, 0, 0 },
        { { u"'", Font::ftCmsy, 0x30, u"'" }, Kind::mt_t_other, 0, 0, 0, 0.4 },
        { { u"\\to", Font::ftCmsy, 0x21, u"→" }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\leftarrow", Font::ftCmsy, 0xC3, u"←" }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\rightarrow", Font::ftCmsy, 0x21, u"→" }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\uparrow", Font::ftCmsy, 0x22, u"↑" }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\downarrow", Font::ftCmsy, 0x23, u"↓" }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\nearrow", Font::ftCmsy, 0x25, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\searrow", Font::ftCmsy, 0x26, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\nwarrow", Font::ftCmsy, 0x2D, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\swarrow", Font::ftCmsy, 0x2E, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\Leftarrow", Font::ftCmsy, 0x28, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\Rightarrow", Font::ftCmsy, 0x29, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\Uparrow", Font::ftCmsy, 0x2A, u"↑" }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\Downarrow", Font::ftCmsy, 0x2B, u"↓" }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\leftrightarrow", Font::ftCmsy, 0x24, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0,
            0 },
        { { u"\\updownarrow", Font::ftCmsy, 0x6C, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0,
            0 },
        { { u"\\Leftrightarrow", Font::ftCmsy, 0x2C, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0,
            0 },
        { { u"\\Updownarrow", Font::ftCmsy, 0x6D, nullptr }, Kind::mt_t_binaryOperator, 0, 0, 0,
            0 },
        { { u"\\perp", Font::ftCmsy, 0x3F, u"⊥" }, Kind::mt_t_binaryOperator, 0, 0, 0, 0 },
        { { u"\\dfrac", Font::ftCmr, 0x7C, u"-" }, Kind::mt_t_function, 2, 0.2, 0.2, 0 },
        { { u"\\frac", Font::ftCmr, 0x7C, u"-" }, Kind::mt_t_function, 2, 0.2, 0.2, 0 },
        { { u"-", Font::ftCmsy, 0xA1, u"-" }, Kind::mt_t_monoMinus, 0, 0, -0.08, 0.055 },
        { { u"-", Font::ftCmsy, 0xA1, u"-" }, Kind::mt_t_binaryOperator, 0, 0.14, 0.14, 0.055 },
    };
    for (const Row &r : rows)
        addChar(r.e, r.kind, r.before, r.after, r.raise, r.arguments);
}

void buildSpacing()
{
    const struct
    {
        const char16_t *name;
        double width;
    } kSpaces[] = {
        { u"\\,", 1.0 / 6 },
        { u"\\:", 2.0 / 9 },
        { u"\\;", 5.0 / 18 },
        { u"\\quad", 1.0 },
        { u"\\!", -1.0 / 6 },
        { u"\\,,", 1.0 / 6 },
    };
    for (const auto &s : kSpaces) {
        TSymbolOrg::Spec spec;
        spec.name = str(s.name);
        spec.fontType = TFontManage::romanType();
        spec.kind = Kind::mt_t_command;
        spec.spaceBefore = spec.spaceAfter = s.width / 2;
        table().add(std::make_unique<TSymbolOrg>(std::move(spec)));
    }
}

void buildBinaryOperators()
{
    const struct
    {
        CharEntry e;
        double space;
    } kOperators[] = {
        { { u"+", Font::ftCmr, 0x2B, u"＋" }, 0.14 },
        { { u"\\div", Font::ftCmsy, 0xA5, u"÷" }, 0.14 },
        { { u"\\times", Font::ftCmsy, 0xA3, u"×" }, 0.14 },
        { { u"\\pm", Font::ftCmsy, 0xA7, u"±" }, 0.14 },
        { { u"\\mp", Font::ftCmsy, 0xA8, nullptr }, 0.14 },
        { { u"\\cdot", Font::ftCmsy, 0xA2, u"・" }, 0.14 },
        { { u"\\in", Font::ftCmsy, 0x32, u"∈" }, 0.14 },
        { { u"\\ni", Font::ftCmsy, 0x33, u"∋" }, 0.14 },
        { { u"\\cap", Font::ftCmsy, 0x5C, u"∩" }, 0.14 },
        { { u"\\cup", Font::ftCmsy, 0x5B, u"∪" }, 0.14 },
        { { u"\\subset", Font::ftCmsy, 0xBD, u"⊂" }, 0.14 },
        { { u"\\supset", Font::ftCmsy, 0xBE, u"⊃" }, 0.14 },
        { { u"\\equiv", Font::ftCmsy, 0xB4, u"≡" }, 0.3 },
        { { u"=", Font::ftCmr, 0x3D, u"=" }, 0.3 },
        { { u"*", Font::ftCmsy, 0xA4, u"＊" }, 0.14 },
        { { u"<", Font::ftCmmi, 0x3C, u"<" }, 0.3 },
        { { u">", Font::ftCmmi, 0x3E, u">" }, 0.3 },
    };
    for (const auto &o : kOperators)
        addChar(o.e, Kind::mt_t_binaryOperator, o.space, o.space);
}

void buildCombinedRelations()
{
    const struct
    {
        const char16_t *name;
        const char16_t *main;
        double mainRaise;
        const char16_t *sub;
        double subRaise;
    } kCombined[] = {
        { u"\\le", u"<", 0.18, u"=", -0.36 },
        { u"\\leq", u"<", 0.18, u"=", -0.36 },
        { u"\\ge", u">", 0.18, u"=", -0.36 },
        { u"\\geq", u">", 0.18, u"=", -0.36 },
        { u"\\ne", u"=", 0, u"/", 0 },
        { u"\\notin", u"\\in", 0, u"/", 0 },
        { u"\\notni", u"\\ni", 0, u"/", 0 },
    };
    for (const auto &c : kCombined) {
        const TSymbolOrg *main = table().find(str(c.main));
        const TSymbolOrg *sub = table().find(str(c.sub));
        if (!main || !sub)
            throw ESouteigai(QStringLiteral("TTeXDrawSymbolList"),
                { fmtArg(main ? "sub" : "main"), fmtArg(str(main ? c.sub : c.main)) },
                QStringLiteral("%sSymbol(%s)が定義されていません。"),
                QStringLiteral("createTeXCombi"));
        TSymbolOrg::Spec spec;
        spec.name = str(c.name);
        spec.glyphText = main->glyphText();
        spec.fontType = main->fontType();
        spec.spaceBefore = main->spaceBefore();
        spec.spaceAfter = main->spaceAfter();
        spec.raise = c.mainRaise;
        spec.kind = Kind::mt_t_combiBinaryOperator;
        TSymbolOrg::Spec subSpec;
        subSpec.name = sub->name();
        subSpec.glyphText = sub->glyphText();
        subSpec.kind = sub->kind();
        subSpec.fontType = sub->fontType();
        subSpec.spaceBefore = sub->spaceBefore();
        subSpec.spaceAfter = sub->spaceAfter();
        subSpec.raise = c.subRaise;
        auto entry = std::make_unique<TSymbolOrg>(std::move(spec));
        entry->setSubSymbol(std::make_unique<TSymbolOrg>(std::move(subSpec)));
        table().add(std::move(entry));
    }
}

void buildDefaults()
{
    const struct
    {
        Kind kind;
        Font font;
    } kDefaults[] = {
        { Kind::mt_t_number, Font::ftCmr },
        { Kind::mt_t_alphabet, Font::ftCmmi },
        { Kind::mt_t_other, Font::ftMincyo },
        { Kind::mt_invalid, Font::ftMincyo },
    };
    for (const auto &d : kDefaults) {
        TSymbolOrg::Spec spec;
        spec.kind = d.kind;
        spec.fontType = d.font;
        table().defaults[ord(d.kind)] = std::make_unique<TSymbolOrg>(std::move(spec));
    }
}

[[noreturn]] void notBuilt(const char *method)
{
    throw ESouteigai(QStringLiteral("TTeXDrawSymbolList"),
        QStringLiteral("記号表が作られていません。"), QString::fromLatin1(method));
}

} // namespace

const TSymbolOrg &TAbstractDrawSymbol::getSubSymbol() const
{
    throw ESouteigai(QStringLiteral("TAbstractDrawSymbol"), QStringLiteral("getSubSymbol"));
}

TTeXSymbol TAbstractDrawSymbol::cloneSubSymbol() const
{
    return getSubSymbol().clone();
}

const TSymbolOrg &TSymbolOrg::getSubSymbol() const
{
    if (!fSub)
        return TAbstractDrawSymbol::getSubSymbol();
    return *fSub;
}

TTeXSymbol TSymbolOrg::clone() const
{
    return TTeXSymbol(this);
}

TTeXSymbol TSymbolOrg::clone(const QString &overrideText) const
{
    return TTeXSymbol(this, overrideText);
}

TTeXSymbol TTeXSymbol::clone() const
{
    if (fOwnEntry)
        return TTeXSymbol(std::make_unique<TSymbolOrg>(fOwnEntry->spec()));
    return TTeXSymbol(fEntry, fOverride);
}

TTeXSymbol TTeXSymbol::clone(const QString &overrideText) const
{
    if (fOwnEntry) {
        TTeXSymbol copy(std::make_unique<TSymbolOrg>(fOwnEntry->spec()));
        copy.fOverride = overrideText;
        return copy;
    }
    return TTeXSymbol(fEntry, overrideText);
}

void TTeXDrawSymbolList::build()
{
    SymbolTable &t = table();
    t.clear();
    buildOperatorNames();
    buildSingleCharacters();
    buildCharactersByString();
    buildSpacing();
    buildBinaryOperators();
    buildCombinedRelations();
    buildDefaults();
    t.built = true;
}

bool TTeXDrawSymbolList::isBuilt()
{
    return table().built;
}

const TSymbolOrg *TTeXDrawSymbolList::findByName(const QString &name) const
{
    if (!table().built)
        notBuilt("findByName");
    return table().find(name);
}

const TSymbolOrg *TTeXDrawSymbolList::findByNameAndKind(
    const QString &name, TMyTokentype kind) const
{
    if (!table().built)
        notBuilt("findByNameAndKind");
    auto it = table().byName.constFind(name);
    if (it == table().byName.constEnd())
        return nullptr;
    for (const TSymbolOrg *s : *it)
        if (s->kind() == kind)
            return s;
    return nullptr;
}

const TSymbolOrg &TTeXDrawSymbolList::findSymbolByNameAndMyTokentype(
    const QString &name, TMyTokentype kind) const
{
    if (const TSymbolOrg *s = findByNameAndKind(name, kind))
        return *s;
    throw ESouteigai(QStringLiteral("TTeXDrawSymbolList"),
        { fmtArg(name), fmtArg(TEnumConverter<TMyTokentype>::name(kind)) },
        QStringLiteral("(%s,%s)はみつかりません。"),
        QStringLiteral("findSymbolByNameAndMyTokentype"));
}

std::optional<TTeXSymbol> TTeXDrawSymbolList::defaultSymbol(TMyTokentype kind) const
{
    if (!table().built)
        notBuilt("defaultSymbol");
    const auto &d = table().defaults[ord(kind)];
    if (!d)
        return std::nullopt;
    return d->clone();
}

std::optional<TTeXSymbol> TTeXDrawSymbolList::defaultSymbol(
    TMyTokentype kind, const QString &text) const
{
    if (!table().built)
        notBuilt("defaultSymbol");
    const auto &d = table().defaults[ord(kind)];
    if (!d)
        return std::nullopt;
    return d->clone(text);
}

TTeXSymbol TTeXDrawSymbolList::plainSymbol(TMyTokentype kind, const QString &text)
{
    // One plain entry per kind, made on first use; the text is the symbol's own.
    static const auto entries = [] {
        std::vector<std::unique_ptr<TSymbolOrg>> e;
        for (std::size_t k = 0; k < enumCount<TMyTokentype>(); ++k) {
            TSymbolOrg::Spec spec;
            spec.kind = static_cast<TMyTokentype>(k);
            spec.fontType = TFonttype::ftMincyo;
            e.push_back(std::make_unique<TSymbolOrg>(std::move(spec)));
        }
        return e;
    }();
    return entries[std::size_t(ord(kind))]->clone(text);
}

const std::vector<std::unique_ptr<TSymbolOrg>> &TTeXDrawSymbolList::entries() const
{
    if (!table().built)
        notBuilt("entries");
    return table().named;
}

} // namespace zarno
