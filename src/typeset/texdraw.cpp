#include "typeset/texdraw.h"

#include "core/exceptions.h"
#include "typeset/fontinfo.h"

#include <QHash>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

QString number(double v)
{
    return QString::number(v, 'f', 2);
}

QString boxText(const TWhdXy &b)
{
    return number(b.width()) + QLatin1Char(' ') + number(b.height()) + QLatin1Char(' ')
        + number(b.depth()) + QStringLiteral(" @") + number(b.x()) + QLatin1Char(',')
        + number(b.y());
}

// Control characters in texts would break the one-line-per-drawer dump.
QString printable(const QString &text)
{
    QString out;
    for (QChar c : text)
        out += c.unicode() < 0x20
            ? QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0'))
            : QString(c);
    return out;
}

TFontSize atLevel(const TFontSize &size, int level)
{
    TFontSize s = size;
    s.setLevel(std::max(level, TFontSize::kSmallestLevel));
    return s;
}

} // namespace

void TTeXDrawList::add(std::unique_ptr<TDrawChar> drawer)
{
    fItems.push_back(std::move(drawer));
}

void TTeXDrawList::measure(TCanvas &canvas, const TFontSize &size)
{
    fBox.reset();
    for (const auto &item : fItems) {
        item->measure(canvas, size);
        fBox.appendRight(item->nodeBox());
    }
}

void TTeXDrawList::place()
{
    double x = fBox.x();
    for (const auto &item : fItems) {
        item->setPosition(x, fBox.y());
        x += item->nodeBox().width();
        item->place();
    }
}

void TTeXDrawList::draw(TCanvas &canvas)
{
    for (const auto &item : fItems)
        item->draw(canvas);
}

void TTeXDrawList::dump(QString &out, int depth, const QString &role) const
{
    out += QString(2 * depth, QLatin1Char(' ')) + role + QStringLiteral(" list ") + boxText(fBox)
        + QLatin1Char('\n');
    for (const auto &item : fItems)
        item->dump(out, depth + 1);
}

TDrawChar::TDrawChar(const TTeXToken &token, std::unique_ptr<TAbstractCharInfo> glyph)
    : TDrawChar(token.text(), token.kind(), std::move(glyph))
{ }

TDrawChar::TDrawChar(QString text, TMyTokentype kind, std::unique_ptr<TAbstractCharInfo> glyph)
    : fText(std::move(text))
    , fKind(kind)
    , fGlyph(std::move(glyph))
{ }

TDrawChar::~TDrawChar() = default;

void TDrawChar::checkChildCount(int least, int most) const
{
    const int n = childCount();
    if (n >= least && n <= most)
        return;
    throw ESouteigai(QString::fromLatin1(kindName()), { fmtArg(n), fmtArg(least), fmtArg(most) },
        QStringLiteral("子(%d個)は%d〜%d個必要です。"), QStringLiteral("checkChildCount"));
}

void TDrawChar::dump(QString &out, int depth) const
{
    out += QString(2 * depth, QLatin1Char(' ')) + QLatin1String(kindName()) + QStringLiteral(" \"")
        + printable(fText) + QStringLiteral("\" ") + QLatin1String(fGlyph->kindName())
        + QLatin1Char(' ') + boxText(fNodeBox) + QStringLiteral(" | ") + boxText(fGlyphBox)
        + QLatin1Char('\n');
    for (int i = 0; i < childCount(); ++i)
        child(i).dump(out, depth + 1, QStringLiteral("arg%1").arg(i));
}

TTeXNull::TTeXNull()
    : TDrawChar(QString(), TMyTokentype::mt_invalid, std::make_unique<TCharInfoNull>())
{ }

void TTeXNull::measure(TCanvas &, const TFontSize &size)
{
    fSize = size;
    fGlyphBox.setWTD(0, size.pointSize(), 0);
    fNodeBox.copySize(fGlyphBox);
}

void TTeXDrawChar::measure(TCanvas &canvas, const TFontSize &size)
{
    fSize = size;
    const int n = expectedChildren();
    checkChildCount(n, n);
    measureGlyph(canvas);
    measureNode(canvas);
    fBaseWidth = fNodeBox.width();
    calcScripts(canvas);
    combineScripts();
}

void TTeXDrawChar::measureGlyph(TCanvas &canvas)
{
    for (int i = 0; i < childCount(); ++i)
        child(i).measure(canvas, fSize);
    fGlyph->calcWhd2Fmy(canvas, fSize, fGlyphBox);
}

void TTeXDrawChar::measureNode(TCanvas &)
{
    fNodeBox.copySize(fGlyphBox);
}

void TTeXDrawChar::measureScript(TTeXDrawList &list, TCanvas &canvas, bool shrink)
{
    TFontSize size = atLevel(fSize, fSize.level() - 1);
    list.measure(canvas, size);
    while (shrink && list.box().totalHeight() >= fLine.height && size.canBeSmaller()) {
        size.toSmaller();
        list.measure(canvas, size);
    }
}

void TTeXDrawChar::calcScripts(TCanvas &canvas)
{
    fRaise = fLower = fIndent = 0;
    if (!hasRaised() && !hasLowered())
        return;
    fLine = TFontManage::textMetrics(canvas, fSize);
    const double a = fLine.ascent;
    if (hasRaised())
        measureScript(*fRaised, canvas, true);
    if (hasLowered())
        measureScript(*fLowered, canvas, true);
    const bool raised = hasRaised() && fRaised->box().totalHeight() > 0;
    if (raised) {
        const TWhdXy &r = fRaised->box();
        if (r.totalHeight() < a) {
            fRaise = 1.1 * a - r.height();
        } else {
            fRaise = r.depth() + 0.2 * a;
            fIndent = fSize.pointSize() / 7.0;
        }
    }
    if (hasLowered() && fLowered->box().totalHeight() > 0) {
        const TWhdXy &l = fLowered->box();
        fLower = l.height() - 0.3 * a;
        if (raised)
            fLower = std::max(fLower, l.height() + fRaised->box().depth() - fRaise + 0.1 * a);
    }
}

void TTeXDrawChar::combineScripts()
{
    if (!hasRaised() && !hasLowered())
        return;
    const TWhdXy r = hasRaised() ? fRaised->box() : TWhdXy();
    const TWhdXy l = hasLowered() ? fLowered->box() : TWhdXy();
    fNodeBox.setWHD(fNodeBox.width() + fIndent + std::max(r.width(), l.width()),
        std::max(fNodeBox.height(), r.height() + fRaise),
        std::max(fNodeBox.depth(), l.depth() + fLower));
}

void TTeXDrawChar::placeChildrenAt(double x, double y)
{
    for (int i = 0; i < childCount(); ++i) {
        child(i).setPosition(x, y);
        child(i).place();
    }
}

void TTeXDrawChar::placeContents()
{
    fGlyphBox.copyPosition(fNodeBox);
    placeChildrenAt(fNodeBox.x(), fNodeBox.y());
}

void TTeXDrawChar::place()
{
    placeContents();
    placeScripts(scriptX());
}

void TTeXDrawChar::placeScripts(double x)
{
    const double y = fNodeBox.y();
    if (hasRaised()) {
        fRaised->setPosition(x + fIndent, y - fRaise);
        fRaised->place();
    }
    if (hasLowered()) {
        fLowered->setPosition(x, y + fLower);
        fLowered->place();
    }
}

void TTeXDrawChar::drawContents(TCanvas &canvas)
{
    fGlyph->draw(canvas, fGlyphBox.x(), fGlyphBox.y());
    for (int i = 0; i < childCount(); ++i)
        child(i).draw(canvas);
}

void TTeXDrawChar::draw(TCanvas &canvas)
{
    drawContents(canvas);
    if (hasRaised())
        fRaised->draw(canvas);
    if (hasLowered())
        fLowered->draw(canvas);
}

void TTeXDrawChar::dump(QString &out, int depth) const
{
    TDrawChar::dump(out, depth);
    if (hasRaised())
        fRaised->dump(out, depth + 1, QStringLiteral("sup"));
    if (hasLowered())
        fLowered->dump(out, depth + 1, QStringLiteral("sub"));
}

void TTeXFunction::placeScripts(double x)
{
    const double y = fNodeBox.y();
    const double after = fGlyph->spaceAfter();
    if (hasRaised()) {
        fRaised->setPosition(x + fIndent - after, y - fRaise);
        fRaised->place();
    }
    if (hasLowered()) {
        fLowered->setPosition(x - after, y + fLower);
        fLowered->place();
    }
}

void TTeXDiv::measureGlyph(TCanvas &canvas)
{
    child(0).measure(canvas, fSize);
    child(1).measure(canvas, fSize);
    fGlyph->calcWhd2Fmy(canvas, fSize, fGlyphBox, &child(0).box(), &child(1).box());
}

void TTeXDiv::measureNode(TCanvas &)
{
    fGlyph->calcWhd2Fall(fGlyphBox, fNodeBox);
}

void TTeXDiv::placeContents()
{
    fGlyphBox.copyPosition(fNodeBox);
    const TArgumentPositions p = fGlyph->calcXy(fNodeBox.x(), fNodeBox.y());
    child(0).setPosition(p.firstX, p.firstY);
    child(0).place();
    child(1).setPosition(p.secondX, p.secondY);
    child(1).place();
}

void TTeXCombi::measureNode(TCanvas &)
{
    const TWhdXy &overlay = child(0).box();
    fNodeBox.setWHD(std::max(fGlyphBox.width(), overlay.width()),
        std::max(fGlyphBox.height(), overlay.height()),
        std::max(fGlyphBox.depth(), overlay.depth()));
}

void TTeXCombi::placeContents()
{
    const double x = fNodeBox.x(), y = fNodeBox.y();
    const double free = fNodeBox.width() - (hasRaised() ? fRaised->box().width() : 0);
    child(0).setPosition(x + (free - child(0).box().width()) / 2, y);
    child(0).place();
    fGlyphBox.setPosition(x + (free - fGlyphBox.width()) / 2, y);
}

double TTeXCombi::scriptX() const
{
    return fNodeBox.x() + fGlyphBox.width() - fGlyph->spaceBefore();
}

void TTeXLimits::calcScripts(TCanvas &canvas)
{
    fRaise = fLower = fIndent = 0;
    // Limits are set exactly one level smaller, however tall.
    const TFontSize size = atLevel(fSize, fSize.level() - 1);
    if (hasRaised())
        fRaised->measure(canvas, size);
    if (hasLowered())
        fLowered->measure(canvas, size);
}

void TTeXLimits::combineScripts()
{
    if (!hasRaised() && !hasLowered())
        return;
    const TWhdXy &g = fGlyphBox;
    double w = g.width(), h = g.height(), d = g.depth();
    if (hasRaised()) {
        w = std::max(w, fRaised->box().width());
        h = g.height() + 1.1 * fRaised->box().totalHeight();
    }
    if (hasLowered()) {
        w = std::max(w, fLowered->box().width());
        d = g.depth() + 0.1 * g.height() + 1.1 * fLowered->box().totalHeight();
    }
    fNodeBox.setWHD(w, h, d);
}

void TTeXLimits::placeContents()
{
    const double x = fNodeBox.x(), y = fNodeBox.y(), w = fNodeBox.width();
    const TWhdXy &g = fGlyphBox;
    fGlyphBox.setPosition(x + (w - g.width()) / 2, y);
    if (hasRaised()) {
        const TWhdXy &r = fRaised->box();
        fRaised->setPosition(
            x + (w - r.width()) / 2, y - g.height() - r.depth() - 0.1 * r.totalHeight());
        fRaised->place();
    }
    if (hasLowered()) {
        const TWhdXy &l = fLowered->box();
        fLowered->setPosition(
            x + (w - l.width()) / 2, y + g.depth() + 0.1 * g.height() + l.height());
        fLowered->place();
    }
}

void TTeXInt::measureGlyph(TCanvas &canvas)
{
    fGlyph->calcWhd2Fmy(canvas, fSize, fGlyphBox);
    const TVerticalMetrics line = TFontManage::textMetrics(canvas, fSize);
    const double w = fGlyphBox.width(), t = fGlyphBox.totalHeight(), h = fGlyphBox.height();
    fShift = 0.6 * t;
    fGlyphBox.setWTD(1.6 * w, t + h, (t + h) / 2 - (line.height / 2 - line.descent));
}

void TTeXInt::combineScripts()
{
    if (!hasRaised() && !hasLowered())
        return;
    const TWhdXy &g = fGlyphBox;
    const TWhdXy r = hasRaised() ? fRaised->box() : TWhdXy();
    const TWhdXy l = hasLowered() ? fLowered->box() : TWhdXy();
    fNodeBox.setWHD(
        std::max(g.width() / 2 + r.width(), l.width()) + g.width() / 2 + 0.2 * g.width(),
        g.height() + 0.4 * r.totalHeight(), g.depth() + l.depth() + 0.1 * r.totalHeight());
}

void TTeXInt::placeScripts(double)
{
    const double x = fNodeBox.x(), y = fNodeBox.y();
    const TWhdXy &g = fGlyphBox;
    const TWhdXy r = hasRaised() ? fRaised->box() : TWhdXy();
    if (hasRaised()) {
        fRaised->setPosition(x + 1.08 * g.width(),
            y - g.height() + r.totalHeight() / 2 - r.depth() + 0.1 * r.totalHeight());
        fRaised->place();
    }
    if (hasLowered()) {
        fLowered->setPosition(x + g.width() / 2, y + g.depth() + 0.1 * r.totalHeight());
        fLowered->place();
    }
}

void TTeXInt::drawContents(TCanvas &canvas)
{
    fGlyph->draw(canvas, fGlyphBox.x(), fGlyphBox.y() - fShift);
}

void TTeXBox::measureGlyph(TCanvas &canvas)
{
    child(0).measure(canvas, fSize);
    const TWhdXy &c = child(0).box();
    fGlyphBox.setWTD(c.width() + 6, c.totalHeight() + 6, c.depth() + 3);
}

void TTeXBox::placeContents()
{
    fGlyphBox.copyPosition(fNodeBox);
    placeChildrenAt(fNodeBox.x() + 3, fNodeBox.y());
}

void TTeXBox::drawContents(TCanvas &canvas)
{
    child(0).draw(canvas);
    TCanvasInfoPushGuard saved(canvas);
    canvas.setPenStyle(fStyle);
    canvas.setBrushStyle(TBrushStyle::bsClear);
    const TWhdXy &b = fGlyphBox;
    canvas.rectangle(int(std::nearbyint(b.x())), int(std::nearbyint(b.top())),
        int(std::nearbyint(b.right())), int(std::nearbyint(b.bottom())));
}

void TTeXPhantom::measureGlyph(TCanvas &canvas)
{
    child(0).measure(canvas, fSize);
    fGlyphBox.copySize(child(0).box());
}

void TTeXSmaller::measureGlyph(TCanvas &canvas)
{
    child(0).measure(canvas, atLevel(fSize, fSize.level() - 1));
    fGlyphBox.copySize(child(0).box());
}

void TTeXUpper::measureGlyph(TCanvas &canvas)
{
    for (int i = 0; i < childCount(); ++i)
        child(i).measure(canvas, fSize);
    fGlyph->calcWhd2Fmy(canvas, fSize, fGlyphBox, &target().box());
}

void TTeXUpper::measureNode(TCanvas &)
{
    const TWhdXy &t = target().box();
    fNodeBox.setWTD(fGlyphBox.width(), fGlyphBox.totalHeight() + t.totalHeight(), t.depth());
}

void TTeXUpper::placeContents()
{
    const double x = fNodeBox.x(), y = fNodeBox.y();
    const TWhdXy &t = target().box();
    target().setPosition(x + (fBaseWidth - t.width()) / 2, y);
    target().place();
    fGlyphBox.setPosition(
        x + (fBaseWidth - fGlyphBox.width()) / 2, y - t.height() - fGlyphBox.depth());
}

void TTeXParenParent::measureGlyph(TCanvas &canvas)
{
    TTeXDrawList &content = child(1);
    content.measure(canvas, fSize);
    for (int i : { 0, 2 }) {
        TTeXDrawList &delimiter = child(i);
        for (int k = 0; k < delimiter.count(); ++k)
            if (auto *paren = dynamic_cast<TTeXParen *>(&delimiter.at(k)))
                paren->setContentBox(content.box());
        delimiter.measure(canvas, fSize);
    }
    fGlyphBox.reset();
    for (int i = 0; i < 3; ++i)
        fGlyphBox.appendRight(child(i).box());
}

void TTeXParenParent::placeContents()
{
    fGlyphBox.copyPosition(fNodeBox);
    double x = fNodeBox.x();
    for (int i = 0; i < 3; ++i) {
        child(i).setPosition(x, fNodeBox.y());
        child(i).place();
        x += child(i).box().width();
    }
}

void TTeXParen::measureGlyph(TCanvas &canvas)
{
    fGlyph->calcWhd2Fmy(canvas, fSize, fGlyphBox, &fContent);
}

void TTeXParen::drawContents(TCanvas &canvas)
{
    if (fVisible)
        fGlyph->draw(canvas, fGlyphBox.x(), fGlyphBox.y());
}

void TTeXSqrt::measureGlyph(TCanvas &canvas)
{
    child(0).measure(canvas, fSize);
    fGlyph->calcWhd2Fmy(canvas, fSize, fGlyphBox, &child(0).box());
}

void TTeXSqrt::measureNode(TCanvas &)
{
    fGlyph->calcWhd2Fall(fGlyphBox, fNodeBox);
}

void TTeXSqrt::placeContents()
{
    fGlyphBox.copyPosition(fNodeBox);
    const TArgumentPositions p = fGlyph->calcXy(fNodeBox.x(), fNodeBox.y());
    child(0).setPosition(p.firstX, p.firstY);
    child(0).place();
}

void TTeXNthRoot::measureGlyph(TCanvas &canvas)
{
    TTeXDrawList &index = child(0);
    TTeXDrawList &radicand = child(1);
    radicand.measure(canvas, fSize);
    // The index shrinks while it is at least half as tall as the sign it
    // sits in (the radicand with its padding above and below).
    TFontinfo reference;
    reference.measureReference(canvas, fSize);
    const double sign
        = radicand.box().totalHeight() + 2 * std::nearbyint(0.1 * reference.totalHeight());
    TFontSize size = atLevel(fSize, fSize.level() - 1);
    index.measure(canvas, size);
    while (index.box().totalHeight() >= sign / 2 && size.canBeSmaller()) {
        size.toSmaller();
        index.measure(canvas, size);
    }
    fGlyph->calcWhd2Fmy(canvas, fSize, fGlyphBox, &radicand.box(), &index.box());
}

void TTeXNthRoot::measureNode(TCanvas &)
{
    fGlyph->calcWhd2Fall(fGlyphBox, fNodeBox);
}

void TTeXNthRoot::placeContents()
{
    fGlyphBox.copyPosition(fNodeBox);
    const TArgumentPositions p = fGlyph->calcXy(fNodeBox.x(), fNodeBox.y());
    child(1).setPosition(p.firstX, p.firstY);
    child(1).place();
    child(0).setPosition(p.secondX, p.secondY);
    child(0).place();
}

namespace {

TRawCommand rawCommandOf(const TTeXToken &token)
{
    TRawCommand c;
    if (const auto *s = dynamic_cast<const TTeXTokenString *>(&token)) {
        c.rawText = s->rawText();
        c.arguments = s->arguments();
        c.invalid = s->isInvalid();
    } else {
        c.rawText = token.text();
        c.invalid = true;
    }
    return c;
}

// How many argument lists a drawer is built with.
int argumentListsOf(const TTeXToken &t)
{
    switch (t.kind()) {
    case TMyTokentype::mt_v_paren: return 3;
    case TMyTokentype::mt_t_combiBinaryOperator: return 1;
    case TMyTokentype::mt_t_function:
        return t.symbol().parseArguments() ? t.symbol().argumentCount() : 0;
    default: return 0;
    }
}

} // namespace

std::unique_ptr<TTeXDrawList> TTeXDrawerFactory::createListDrawers(const TTokenList &list) const
{
    auto drawers = std::make_unique<TTeXDrawList>();
    for (const TListValue &cell : list)
        drawers->add(createNodeDrawers(*cell.token));
    return drawers;
}

namespace {

// The commands with drawers of their own; every other token is drawn by its
// kind.
enum class Drawer {
    NullStr,
    Sqrt,
    NthRoot,
    Div,
    Int,
    Bar,
    Vec,
    Limits,
    Box,
    DotBox,
    Phantom,
    String,
    Code,
    Smaller
};

const QHash<QString, Drawer> &commandDrawers()
{
    static const QHash<QString, Drawer> drawers {
        { QStringLiteral("\\leftnull"), Drawer::NullStr },
        { QStringLiteral("\\rightnull"), Drawer::NullStr },
        { QStringLiteral("\\sqrt"), Drawer::Sqrt },
        { QStringLiteral("\\nthrt"), Drawer::NthRoot },
        { QStringLiteral("\\dfrac"), Drawer::Div },
        { QStringLiteral("\\frac"), Drawer::Div },
        { QStringLiteral("\\int"), Drawer::Int },
        { QStringLiteral("\\bar"), Drawer::Bar },
        { QStringLiteral("\\vec"), Drawer::Vec },
        { QStringLiteral("\\sum"), Drawer::Limits },
        { QStringLiteral("\\lim"), Drawer::Limits },
        { QStringLiteral("\\box"), Drawer::Box },
        { QStringLiteral("\\dotbox"), Drawer::DotBox },
        { QStringLiteral("\\phantom"), Drawer::Phantom },
        { QStringLiteral("\\string"), Drawer::String },
        { QStringLiteral("\\code"), Drawer::Code },
        { QStringLiteral("\\smaller"), Drawer::Smaller },
    };
    return drawers;
}

} // namespace

std::unique_ptr<TDrawChar> TTeXDrawerFactory::createNodeDrawers(const TTeXToken &t) const
{
    using K = TMyTokentype;
    const auto symbol = [&t] { return std::make_unique<TCharInfoDrawSymbol>(t.symbol()); };
    const auto null = [] { return std::make_unique<TCharInfoNull>(); };
    std::unique_ptr<TDrawChar> d;
    const K kind = t.kind();
    const auto command = commandDrawers().constFind(t.text());
    const bool isCommand = command != commandDrawers().constEnd()
        && (kind == K::mt_t_function || kind == K::mt_t_leftParen || kind == K::mt_t_rightParen);
    if (kind == K::mt_t_leftGrouping || kind == K::mt_t_rightGrouping) {
        d = std::make_unique<TTeXParen>(t, null(), false);
    } else if (isCommand && *command == Drawer::NullStr) {
        d = std::make_unique<TTeXStr>(t, null());
    } else if (kind == K::mt_t_leftParen || kind == K::mt_t_rightParen) {
        d = std::make_unique<TTeXParen>(t, TCharInfoExtendableSideFactory::create(t.text()), true);
    } else if (kind == K::mt_t_combiBinaryOperator) {
        d = std::make_unique<TTeXCombi>(t, symbol());
    } else if (isCommand) {
        switch (*command) {
        case Drawer::Sqrt:
            d = std::make_unique<TTeXSqrt>(t, std::make_unique<TCharInfoGraphicSqrt>());
            break;
        case Drawer::NthRoot:
            d = std::make_unique<TTeXNthRoot>(t, std::make_unique<TCharInfoGraphicSqrt>());
            break;
        case Drawer::Div:
            d = std::make_unique<TTeXDiv>(t, std::make_unique<TCharInfoGraphicFrac>());
            break;
        case Drawer::Int: d = std::make_unique<TTeXInt>(t, symbol()); break;
        case Drawer::Bar:
            d = std::make_unique<TTeXUpper>(t, std::make_unique<TCharInfoGraphicBar>());
            break;
        case Drawer::Vec:
            d = std::make_unique<TTeXUpper>(t, std::make_unique<TCharInfoGraphicArrow>(1));
            break;
        case Drawer::Limits: d = std::make_unique<TTeXLimits>(t, symbol()); break;
        case Drawer::Box: d = std::make_unique<TTeXBox>(t, null(), TPenStyle::psSolid); break;
        case Drawer::DotBox: d = std::make_unique<TTeXBox>(t, null(), TPenStyle::psDot); break;
        case Drawer::Phantom: d = std::make_unique<TTeXPhantom>(t, null()); break;
        case Drawer::String:
            d = std::make_unique<TTeXStr>(t, std::make_unique<TCharInfoString>(rawCommandOf(t)));
            break;
        case Drawer::Code:
            d = std::make_unique<TTeXStr>(t, std::make_unique<TCharInfoCode>(rawCommandOf(t)));
            break;
        case Drawer::Smaller: d = std::make_unique<TTeXSmaller>(t, null()); break;
        case Drawer::NullStr: break;
        }
    } else if (kind == K::mt_t_function) {
        d = std::make_unique<TTeXFunction>(t, symbol());
    } else if (kind == K::mt_v_paren) {
        d = std::make_unique<TTeXParenParent>(t, null());
    } else {
        d = std::make_unique<TTeXStr>(t, symbol());
    }

    const int lists = argumentListsOf(t);
    for (int i = 0; i < lists; ++i) {
        if (i < t.argumentCount()) {
            d->addChild(createListDrawers(t.argument(i)));
        } else {
            // An argument the text broke off before.
            auto missing = std::make_unique<TTeXDrawList>();
            missing->add(std::make_unique<TTeXNull>());
            d->addChild(std::move(missing));
        }
    }
    if (!t.superscripts().isEmpty())
        d->setRaised(createListDrawers(t.superscripts()));
    if (!t.subscripts().isEmpty())
        d->setLowered(createListDrawers(t.subscripts()));
    return d;
}

} // namespace zarno
