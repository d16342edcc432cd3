#pragma once

#include "platform/canvas.h"
#include "typeset/charinfo.h"
#include "typeset/fontmanage.h"
#include "typeset/textoken.h"
#include "typeset/whdxy.h"

#include <QString>
#include <memory>
#include <vector>

namespace zarno {

class TDrawChar;

// A horizontal list of drawers: the children are set side by side on one
// baseline; all room between them comes from the glyphs' own spacing.
class TTeXDrawList
{
public:
    void add(std::unique_ptr<TDrawChar> drawer);
    int count() const { return int(fItems.size()); }
    TDrawChar &at(int i) const { return *fItems[std::size_t(i)]; }
    bool isEmpty() const { return fItems.empty(); }

    void measure(TCanvas &canvas, const TFontSize &size);
    void setPosition(double x, double y) { fBox.setPosition(x, y); }
    // Gives every child its place from the list's position on, then lets
    // each place its own contents.
    void place();
    void draw(TCanvas &canvas);
    const TWhdXy &box() const { return fBox; }

    // One line per list and drawer, indented by depth.
    void dump(QString &out, int depth, const QString &role) const;

private:
    std::vector<std::unique_ptr<TDrawChar>> fItems;
    TWhdXy fBox;
};

// The drawer of one token: its glyph, one list per argument of the token,
// the glyph box and the node box (the glyph with the arguments and scripts
// around it). Layout measures bottom up, then places top down, then draws.
class TDrawChar
{
public:
    TDrawChar(const TTeXToken &token, std::unique_ptr<TAbstractCharInfo> glyph);
    TDrawChar(QString text, TMyTokentype kind, std::unique_ptr<TAbstractCharInfo> glyph);
    virtual ~TDrawChar();
    TDrawChar(const TDrawChar &) = delete;
    TDrawChar &operator=(const TDrawChar &) = delete;

    virtual void measure(TCanvas &canvas, const TFontSize &size) = 0;
    void setPosition(double x, double y) { fNodeBox.setPosition(x, y); }
    virtual void place() = 0;
    virtual void draw(TCanvas &canvas) = 0;

    const TWhdXy &glyphBox() const { return fGlyphBox; }
    const TWhdXy &nodeBox() const { return fNodeBox; }
    const QString &text() const { return fText; }
    int childCount() const { return int(fChildren.size()); }
    TTeXDrawList &child(int i) const { return *fChildren[std::size_t(i)]; }
    void addChild(std::unique_ptr<TTeXDrawList> list) { fChildren.push_back(std::move(list)); }
    virtual void setRaised(std::unique_ptr<TTeXDrawList>) { }
    virtual void setLowered(std::unique_ptr<TTeXDrawList>) { }

    virtual const char *kindName() const = 0;
    virtual void dump(QString &out, int depth) const;

protected:
    // The number of argument lists this kind of node is built with.
    void checkChildCount(int least, int most) const;

    QString fText;
    TMyTokentype fKind;
    std::unique_ptr<TAbstractCharInfo> fGlyph;
    TWhdXy fGlyphBox;
    TWhdXy fNodeBox;
    std::vector<std::unique_ptr<TTeXDrawList>> fChildren;
    TFontSize fSize;
};

// A token drawer with the scripts written after its token: the list after
// "^" is set raised, the list after "_" lowered, both at smaller sizes.
class TTeXDrawChar : public TDrawChar
{
public:
    using TDrawChar::TDrawChar;
    void setRaised(std::unique_ptr<TTeXDrawList> list) override { fRaised = std::move(list); }
    void setLowered(std::unique_ptr<TTeXDrawList> list) override { fLowered = std::move(list); }

    void measure(TCanvas &canvas, const TFontSize &size) final;
    void place() final;
    void draw(TCanvas &canvas) override;
    void dump(QString &out, int depth) const override;

    const TTeXDrawList *raised() const { return fRaised.get(); }
    const TTeXDrawList *lowered() const { return fLowered.get(); }
    double raiseShift() const { return fRaise; }
    double lowerShift() const { return fLower; }
    double indent() const { return fIndent; }

protected:
    // How many argument lists the node takes.
    virtual int expectedChildren() const { return 0; }
    // The glyph box; by default the children first, then the glyph alone.
    virtual void measureGlyph(TCanvas &canvas);
    // The node box before scripts; by default the glyph box.
    virtual void measureNode(TCanvas &canvas);
    virtual void calcScripts(TCanvas &canvas);
    virtual void combineScripts();
    // Places the glyph box and the children from the node's position.
    virtual void placeContents();
    // Where the scripts start: the right end of the node before scripts.
    virtual double scriptX() const { return fNodeBox.x() + fBaseWidth; }
    virtual void placeScripts(double x);
    virtual void drawContents(TCanvas &canvas);

    bool hasRaised() const { return fRaised && !fRaised->isEmpty(); }
    bool hasLowered() const { return fLowered && !fLowered->isEmpty(); }
    // Measures a script list from one level below this node on, smaller
    // still while it is at least as tall as a line (when shrink is set).
    void measureScript(TTeXDrawList &list, TCanvas &canvas, bool shrink);
    void placeChildrenAt(double x, double y);

    std::unique_ptr<TTeXDrawList> fRaised;
    std::unique_ptr<TTeXDrawList> fLowered;
    double fRaise = 0;
    double fLower = 0;
    double fIndent = 0;
    // The node's width before scripts were added.
    double fBaseWidth = 0;
    // Cell height and ascent of the roman font at the node's size.
    TVerticalMetrics fLine;
};

// A glyph of the symbol table, a number, a run of letters, text.
class TTeXStr : public TTeXDrawChar
{
public:
    using TTeXDrawChar::TTeXDrawChar;
    const char *kindName() const override { return "TTeXStr"; }
};

// An operator name ("\sin"): its scripts sit against the glyph, before the
// space that follows it.
class TTeXFunction final : public TTeXStr
{
public:
    using TTeXStr::TTeXStr;
    const char *kindName() const override { return "TTeXFunction"; }

protected:
    void placeScripts(double x) override;
};

class TTeXDiv final : public TTeXStr
{
public:
    using TTeXStr::TTeXStr;
    const char *kindName() const override { return "TTeXDiv"; }

protected:
    int expectedChildren() const override { return 2; }
    void measureGlyph(TCanvas &canvas) override;
    void measureNode(TCanvas &canvas) override;
    void placeContents() override;
};

// A relation drawn as two glyphs over each other ("\le").
class TTeXCombi final : public TTeXStr
{
public:
    using TTeXStr::TTeXStr;
    const char *kindName() const override { return "TTeXCombi"; }

protected:
    int expectedChildren() const override { return 1; }
    void measureNode(TCanvas &canvas) override;
    void placeContents() override;
    double scriptX() const override;
};

// "\sum" and "\lim": scripts centred above and below.
class TTeXLimits final : public TTeXStr
{
public:
    using TTeXStr::TTeXStr;
    const char *kindName() const override { return "TTeXLimits"; }

protected:
    void calcScripts(TCanvas &canvas) override;
    void combineScripts() override;
    void placeContents() override;
    void placeScripts(double) override { }
};

class TTeXInt final : public TTeXStr
{
public:
    using TTeXStr::TTeXStr;
    const char *kindName() const override { return "TTeXInt"; }

protected:
    void measureGlyph(TCanvas &canvas) override;
    void combineScripts() override;
    void placeScripts(double x) override;
    void drawContents(TCanvas &canvas) override;

private:
    double fShift = 0;
};

// "\box" and "\dotbox": a frame around the argument.
class TTeXBox final : public TTeXStr
{
public:
    TTeXBox(const TTeXToken &token, std::unique_ptr<TAbstractCharInfo> glyph, TPenStyle style)
        : TTeXStr(token, std::move(glyph))
        , fStyle(style)
    { }
    const char *kindName() const override { return "TTeXBox"; }

protected:
    int expectedChildren() const override { return 1; }
    void measureGlyph(TCanvas &canvas) override;
    void placeContents() override;
    void drawContents(TCanvas &canvas) override;

private:
    TPenStyle fStyle;
};

// Takes the room of its argument and draws nothing of it.
class TTeXPhantom final : public TTeXStr
{
public:
    using TTeXStr::TTeXStr;
    const char *kindName() const override { return "TTeXPhantom"; }

protected:
    int expectedChildren() const override { return 1; }
    void measureGlyph(TCanvas &canvas) override;
    void drawContents(TCanvas &) override { }
};

class TTeXSmaller final : public TTeXStr
{
public:
    using TTeXStr::TTeXStr;
    const char *kindName() const override { return "TTeXSmaller"; }

protected:
    int expectedChildren() const override { return 1; }
    void measureGlyph(TCanvas &canvas) override;
};

// "\bar" and "\vec": a rule or arrow over the argument.
class TTeXUpper final : public TTeXDrawChar
{
public:
    using TTeXDrawChar::TTeXDrawChar;
    const char *kindName() const override { return "TTeXUpper"; }

protected:
    int expectedChildren() const override { return 1; }
    void measureGlyph(TCanvas &canvas) override;
    void measureNode(TCanvas &canvas) override;
    void placeContents() override;

private:
    TTeXDrawList &target() const { return child(childCount() == 1 ? 0 : 1); }
};

// A group or a parenthesised part: opening delimiter, content, closing
// delimiter; the delimiters size themselves to the content.
class TTeXParenParent final : public TTeXDrawChar
{
public:
    using TTeXDrawChar::TTeXDrawChar;
    const char *kindName() const override { return "TTeXParenParent"; }

protected:
    int expectedChildren() const override { return 3; }
    void measureGlyph(TCanvas &canvas) override;
    void placeContents() override;
};

class TTeXParen final : public TTeXDrawChar
{
public:
    TTeXParen(const TTeXToken &token, std::unique_ptr<TAbstractCharInfo> glyph, bool visible)
        : TTeXDrawChar(token, std::move(glyph))
        , fVisible(visible)
    { }
    const char *kindName() const override { return "TTeXParen"; }
    void setContentBox(const TWhdXy &content) { fContent.copySize(content); }

protected:
    void measureGlyph(TCanvas &canvas) override;
    void drawContents(TCanvas &canvas) override;

private:
    bool fVisible;
    TWhdXy fContent;
};

class TTeXSqrt final : public TTeXDrawChar
{
public:
    using TTeXDrawChar::TTeXDrawChar;
    const char *kindName() const override { return "TTeXSqrt"; }

protected:
    int expectedChildren() const override { return 1; }
    void measureGlyph(TCanvas &canvas) override;
    void measureNode(TCanvas &canvas) override;
    void placeContents() override;
};

// '\nthrt{n}{x}': the index n, then the radicand x.
class TTeXNthRoot final : public TTeXDrawChar
{
public:
    using TTeXDrawChar::TTeXDrawChar;
    const char *kindName() const override { return "TTeXNthRoot"; }

protected:
    int expectedChildren() const override { return 2; }
    void measureGlyph(TCanvas &canvas) override;
    void measureNode(TCanvas &canvas) override;
    void placeContents() override;
};

// Stands in for an argument the text does not have (the denominator of a
// "\frac" at the very end of a text): a strut of the point size.
class TTeXNull final : public TDrawChar
{
public:
    TTeXNull();
    void measure(TCanvas &canvas, const TFontSize &size) override;
    void place() override { }
    void draw(TCanvas &) override { }
    const char *kindName() const override { return "TTeXNull"; }
};

// Builds the drawers of a token tree: a node per token with its glyph, its
// argument lists as children, then its raised and lowered script lists.
class TTeXDrawerFactory
{
public:
    std::unique_ptr<TTeXDrawList> createListDrawers(const TTokenList &list) const;
    std::unique_ptr<TDrawChar> createNodeDrawers(const TTeXToken &token) const;
};

} // namespace zarno
