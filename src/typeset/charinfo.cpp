#include "typeset/charinfo.h"

#include "core/exceptions.h"

#include <QHash>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <cmath>

namespace zarno {

namespace {

int roundi(double v)
{
    // Sizes come from typeset text of any kind; a box that is absurdly
    // large still draws somewhere instead of overflowing the conversion.
    if (!(v > -1e8))
        return -100000000;
    if (!(v < 1e8))
        return 100000000;
    return int(std::nearbyint(v));
}

// A rule t pixels thick from x to x + width with its top edge at top, in
// the pen colour.
void drawRule(TCanvas &canvas, double x, double top, double width, int t)
{
    TCanvasInfoPushGuard saved(canvas);
    canvas.setBrushColor(canvas.penColor());
    canvas.setBrushStyle(TBrushStyle::bsSolid);
    const int left = roundi(x);
    canvas.fillRect(QRect(left, roundi(top), roundi(x + width) - left, t));
}

} // namespace

void TAbstractCharInfo::calcWhd2Fall(const TWhdXy &, TWhdXy &)
{
    throw ESouteigai(QStringLiteral("TAbstractCharInfo"), QStringLiteral("calcWhd2Fall"));
}

TArgumentPositions TAbstractCharInfo::calcXy(double, double) const
{
    throw ESouteigai(QStringLiteral("TAbstractCharInfo"), QStringLiteral("calcXy"));
}

void TCharInfo::measureReference(TCanvas &canvas, const TFontSize &size)
{
    fSize = size;
    fReference.measureReference(canvas, size);
}

int TCharInfo::ruleThickness()
{
    return std::max(1, TTeXResolution::current().mmToPixels(0.35));
}

int TCharInfo::thinPen() const
{
    const int p = TTeXResolution::current().mmToPixels(0.7 * 25.4 / 72);
    if (p <= 1 && fSize.pointSize() >= 25)
        return 2;
    return std::max(1, p);
}

double TCharInfo::axis(TCanvas &canvas) const
{
    return plusMetrics(canvas, fSize).height / 2;
}

void TCharInfoDrawSymbol::calcWhd2Fmy(
    TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox, const TWhdXy *, const TWhdXy *)
{
    measureReference(canvas, size);
    fGlyph.measure(canvas, size, fText, fFont);
    fBefore = hw() * fSpaceBefore;
    fAfter = hw() * fSpaceAfter;
    fRaise = hw() * fRaiseBy;
    glyphBox.setWTD(
        fBefore + fGlyph.width() + fAfter, fGlyph.totalHeight(), fGlyph.depth() - fRaise);
}

void TCharInfoDrawSymbol::draw(TCanvas &canvas, double x, double y)
{
    fGlyph.setHighlight(fKind == TMyTokentype::mt_invalid);
    fGlyph.drawAtBaseline(canvas, x + fBefore, y - fRaise);
}

QString TRawCommand::fontName() const
{
    const QString name = arguments.value(0);
    return name == QLatin1String("default") ? TFontManage::normalName(TFonttype::ftMincyo) : name;
}

void TCharInfoString::calcWhd2Fmy(
    TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox, const TWhdXy *, const TWhdXy *)
{
    measureReference(canvas, size);
    const QString font = fCommand.fontName();
    fHighlight = fCommand.invalid || !TFontManage::isInstalled(font);
    if (fHighlight)
        fGlyph.measure(canvas, size, fCommand.rawText, TFonttype::ftMincyo);
    else
        fGlyph.measureByFontName(canvas, size, fCommand.arguments.value(1), font);
    glyphBox.setWTD(fGlyph.width(), fGlyph.totalHeight(), fGlyph.depth());
}

void TCharInfoString::draw(TCanvas &canvas, double x, double y)
{
    fGlyph.setHighlight(fHighlight);
    fGlyph.drawAtBaseline(canvas, x, y);
}

void TCharInfoCode::decode(const QString &hex, QString &decoded, QString &rest)
{
    const auto isHexDigit = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
    };
    qsizetype run = 0;
    while (run < hex.size() && isHexDigit(hex.at(run)))
        ++run;
    run &= ~qsizetype(1);
    decoded.clear();
    for (qsizetype i = 0; i < run; i += 2)
        decoded += QChar(char16_t(hex.mid(i, 2).toUInt(nullptr, 16)));
    rest = hex.mid(run);
}

void TCharInfoCode::calcWhd2Fmy(
    TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox, const TWhdXy *, const TWhdXy *)
{
    measureReference(canvas, size);
    const QString font = fCommand.fontName();
    fValid = !fCommand.invalid && TFontManage::isInstalled(font);
    if (!fValid) {
        fGlyph.measure(canvas, size, fCommand.rawText, TFonttype::ftMincyo);
        fRest.measure(canvas, size, QString(), TFonttype::ftMincyo);
        glyphBox.setWTD(fGlyph.width(), fGlyph.totalHeight(), fGlyph.depth());
        return;
    }
    QString decoded, rest;
    decode(fCommand.arguments.value(1), decoded, rest);
    fGlyph.measureByFontName(canvas, size, decoded, font);
    fRest.measure(canvas, size, rest, TFonttype::ftMincyo);
    glyphBox.setWTD(fGlyph.width(), fGlyph.totalHeight(), fGlyph.depth());
    glyphBox.appendRightWTD(fRest.depth(), fRest.totalHeight(), fRest.width());
}

void TCharInfoCode::draw(TCanvas &canvas, double x, double y)
{
    fGlyph.setHighlight(!fValid);
    fGlyph.drawAtBaseline(canvas, x, y);
    fRest.setHighlight(true);
    fRest.drawAtBaseline(canvas, x + fGlyph.width(), y);
}

const T_ExtChar *T_ExtChar::forName(const QString &name)
{
    using F = TFonttype;
    static const QHash<QString, T_ExtChar> records {
        { QStringLiteral("\\leftabs"), { QStringLiteral("|"), { { F::ftCmsy, 0x6A } } } },
        { QStringLiteral("\\rightabs"), { QStringLiteral("|"), { { F::ftCmsy, 0x6A } } } },
        { QStringLiteral("\\leftnull"), { QString(), { { F::ftCmr, 0x20 } } } },
        { QStringLiteral("\\rightnull"), { QString(), { { F::ftCmr, 0x20 } } } },
        { QStringLiteral("("),
            { QStringLiteral("("),
                { { F::ftCmr, 0x28 }, { F::ftCmex, 0xA1 }, { F::ftCmex, 0xB3 }, { F::ftCmex, 0xB5 },
                    { F::ftCmex, 0xC3 } } } },
        { QStringLiteral(")"),
            { QStringLiteral(")"),
                { { F::ftCmr, 0x29 }, { F::ftCmex, 0xA2 }, { F::ftCmex, 0xB4 }, { F::ftCmex, 0xB6 },
                    { F::ftCmex, 0x21 } } } },
        { QStringLiteral("\\{"),
            { QStringLiteral("{"),
                { { F::ftCmsy, 0x66 }, { F::ftCmex, 0xA9 }, { F::ftCmex, 0x6E },
                    { F::ftCmex, 0xBD }, { F::ftCmex, 0x28 } } } },
        { QStringLiteral("\\}"),
            { QStringLiteral("}"),
                { { F::ftCmsy, 0x67 }, { F::ftCmex, 0xAA }, { F::ftCmex, 0x6F },
                    { F::ftCmex, 0xBE }, { F::ftCmex, 0x29 } } } },
        { QStringLiteral("["),
            { QStringLiteral("["),
                { { F::ftCmr, 0x5B }, { F::ftCmex, 0xA3 }, { F::ftCmex, 0x68 }, { F::ftCmex, 0xB7 },
                    { F::ftCmex, 0x22 } } } },
        { QStringLiteral("]"),
            { QStringLiteral("]"),
                { { F::ftCmr, 0x5D }, { F::ftCmex, 0xA4 }, { F::ftCmex, 0x69 }, { F::ftCmex, 0xB8 },
                    { F::ftCmex, 0x23 } } } },
        { QStringLiteral("\\int"),
            { QStringLiteral("∫"), { { F::ftCmex, 0x52 }, { F::ftCmex, 0x5A } } } },
    };
    auto it = records.constFind(name);
    return it == records.constEnd() ? nullptr : &*it;
}

void TAbstractCharInfoExtendableSide::calcWhd2Fmy(
    TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox, const TWhdXy *first, const TWhdXy *)
{
    measureReference(canvas, size);
    if (first)
        fContent.copySize(*first);
    else
        fContent.reset();
    const double tc = fContent.totalHeight();
    s_calcWhd2Fmy(canvas, tc);
    measureForDrawing(canvas, 1.2 * tc);

    // Where the glyph is drawn: around a content up to about one line high
    // it sits on the baseline as text does; a taller one it is centred on.
    const TVerticalMetrics line = TFontManage::textMetrics(canvas, size);
    const double total = fDrawn.totalHeight();
    const double glyphTop = tc <= 1.2 * line.height && line.height > 0
        ? -total * line.ascent / line.height
        : (-fContent.height() + tc / 2) - total / 2;
    fDrawnBaseline = glyphTop + fDrawn.height();

    // The box reaches 0.1·Tc beyond the content, and at least as far as the
    // glyph itself, so that neighbours above and below keep clear of it.
    glyphBox.setWHD(std::max(fGlyph.width(), fDrawn.width()),
        std::max(fContent.height() + 0.1 * tc, -glyphTop),
        std::max(fContent.depth() + 0.1 * tc, glyphTop + total));
}

void TAbstractCharInfoExtendableSide::draw(TCanvas &canvas, double x, double y)
{
    fDrawn.drawAtBaseline(canvas, x, y + fDrawnBaseline);
}

void TCharInfoExtendableSide::s_calcWhd2Fmy(TCanvas &canvas, double tc)
{
    const double e = fSize.pixelsPerEm(canvas);
    const TTfmMetrics &tfm = TTfmMetrics::getInstance();
    int lastValid = -1;
    fChosen = -1;
    for (int i = 0; i < int(fRecord.candidates.size()); ++i) {
        const T_ExtChar::Candidate &c = fRecord.candidates[std::size_t(i)];
        if (c.code == 0)
            break;
        const int index = tfm.indexOf(c.code);
        if (index < 0 || !TFontManage::isAvailable(c.font))
            continue;
        const TTfmRecord &r = tfm.table(c.font, fSize.usesSmallFonts()).records[std::size_t(index)];
        lastValid = i;
        if ((r.height + r.depth) * e * 1.2 > tc) {
            fChosen = i;
            break;
        }
    }
    fStretch = fChosen < 0;
    if (fStretch)
        fChosen = lastValid;
    if (fChosen < 0) {
        // No candidate font at all: the record's text in the Japanese font.
        fGlyph.measureStretched(canvas, fSize, fRecord.text, TFonttype::ftMincyo, 1.2 * tc);
        return;
    }
    if (fStretch)
        fGlyph.measureStretched(canvas, fSize, glyphText(), glyphFontType(), 1.2 * tc);
    else
        fGlyph.measure(canvas, fSize, glyphText(), glyphFontType());
}

void TCharInfoExtendableSide::measureForDrawing(TCanvas &canvas, double minimumTotal)
{
    fDrawn.measureStretched(canvas, fSize, glyphText(), glyphFontType(), minimumTotal);
}

QString TCharInfoExtendableSide::glyphText() const
{
    if (fChosen < 0)
        return fRecord.text;
    return QString(QChar(fRecord.candidates[std::size_t(fChosen)].code));
}

TFonttype TCharInfoExtendableSide::glyphFontType() const
{
    return fChosen < 0 ? TFonttype::ftMincyo : fRecord.candidates[std::size_t(fChosen)].font;
}

void TCharInfoExtendableSideOneChar::s_calcWhd2Fmy(TCanvas &canvas, double tc)
{
    fGlyph.measureStretched(canvas, fSize, fRecord.text, TFonttype::ftMincyo, 1.2 * tc);
}

void TCharInfoExtendableSideOneChar::measureForDrawing(TCanvas &canvas, double minimumTotal)
{
    fDrawn.measureStretched(canvas, fSize, fRecord.text, TFonttype::ftMincyo, minimumTotal);
}

std::unique_ptr<TAbstractCharInfo> TCharInfoExtendableSideFactory::create(
    const QString &delimiterName)
{
    const T_ExtChar *record = T_ExtChar::forName(delimiterName);
    if (!record)
        return std::make_unique<TCharInfoNull>();
    if (TFontManage::isAvailable(TFonttype::ftCmex))
        return std::make_unique<TCharInfoExtendableSide>(*record);
    return std::make_unique<TCharInfoExtendableSideOneChar>(*record);
}

void TAbstractCharInfoGraphic::takeArguments(
    const TWhdXy *first, const TWhdXy *second, int needed, const char *method)
{
    if (!first || (needed > 1 && !second))
        throw ESouteigai(QStringLiteral("TAbstractCharInfoGraphic"),
            { fmtArg(first ? "second" : "first") }, QStringLiteral("%s=nilです。"),
            QStringLiteral("checkChildCount"));
    (void)method;
    fFirst.copySize(*first);
    fHasSecond = second != nullptr;
    if (second)
        fSecond.copySize(*second);
    else
        fSecond.reset();
}

void TCharInfoGraphicFrac::calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
    const TWhdXy *first, const TWhdXy *second)
{
    takeArguments(first, second, 2, "calcWhd2Fmy");
    measureReference(canvas, size);
    fRule = ruleThickness();
    fAxis = axis(canvas);
    const double t = fRule;
    fBar.setWHD(std::max(fFirst.width(), fSecond.width()) + 0.4 * hw(), fAxis + t / 2 + 0.1 * hw(),
        t / 2 - fAxis + 0.05 * hw());
    glyphBox.copySize(fBar);
}

void TCharInfoGraphicFrac::calcWhd2Fall(const TWhdXy &, TWhdXy &nodeBox)
{
    const double total = fFirst.totalHeight() + fBar.totalHeight() + fSecond.totalHeight();
    nodeBox.setWTD(fBar.width(), total, fSecond.totalHeight() + fBar.totalHeight() / 2 - fAxis);
    fNode.copySize(nodeBox);
}

TArgumentPositions TCharInfoGraphicFrac::calcXy(double x, double y) const
{
    const double w = fNode.width();
    TArgumentPositions p;
    p.firstX = x + (w - fFirst.width()) / 2;
    p.firstY = y - fNode.height() + fFirst.height();
    p.secondX = x + (w - fSecond.width()) / 2;
    p.secondY = y - fAxis + fBar.totalHeight() / 2 + fSecond.height();
    return p;
}

void TCharInfoGraphicFrac::draw(TCanvas &canvas, double x, double y)
{
    drawRule(canvas, x, y - fAxis - fRule / 2.0, fBar.width(), fRule);
}

namespace {

struct SqrtRow
{
    double limit; // 0: none
    double r1, r2, r3, r4, r5, r6;
};
constexpr SqrtRow kSqrtRows[] = {
    { 2, 0.2, 0.2, 0.2, 0.45, 0.3, 1.1 },
    { 3, 0.2, 0.2, 0.15, 0.45, 0.25, 1.1 },
    { 0, 0.2, 0.2, 0.2, 0.4, 0, 0.5 },
};
// The radical's pen: 0.7 pt.
constexpr double kRadicalPenMm = 0.24694444444444444;

} // namespace

void TCharInfoGraphicSqrt::calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
    const TWhdXy *first, const TWhdXy *second)
{
    takeArguments(first, second, 1, "calcWhd2Fmy");
    measureReference(canvas, size);
    const double h = ht();
    fPad = roundi(0.1 * h);
    const double x = fFirst.totalHeight() + 2 * fPad;
    const SqrtRow *row = &kSqrtRows[2];
    for (const SqrtRow &r : kSqrtRows)
        if (r.limit > 0 && r.limit * h >= x) {
            row = &r;
            break;
        }
    fK1 = roundi(h * row->r1);
    fK2 = roundi(h * row->r2);
    fM3 = roundi(x * row->r3);
    fM4 = roundi(x * row->r4);
    fM5 = roundi(x * row->r5);
    const int m6 = roundi(x * row->r6);
    fPen = std::max(1, TTeXResolution::current().mmToPixels(kRadicalPenMm));
    // The strokes' pen is centred on the sign's outline: half of it lies
    // above the vinculum and below the sign's bottom.
    fGlyph.setWHD(
        fK1 + fM3 + fM5, fFirst.height() + fPad + fPen / 2.0, fFirst.depth() + fPad + fPen / 2.0);
    fSignShift = fIndexShift = fIndexDrop = 0;
    if (fHasSecond) {
        const int room = fK1 + fM3 + fM5 - (m6 > 0 ? roundi(double(m6 - fM4) * fM5 / m6) : 0);
        if (fSecond.width() <= room) {
            fIndexShift = roundi(room - fSecond.width());
        } else {
            fSignShift = roundi(fSecond.width() - room);
            fGlyph.setWTD(fGlyph.width() + fSignShift, fGlyph.totalHeight(), fGlyph.depth());
        }
        fIndexDrop = roundi(fGlyph.depth() - fM4 - fSecond.depth());
    }
    glyphBox.copySize(fGlyph);
}

void TCharInfoGraphicSqrt::calcWhd2Fall(const TWhdXy &glyphBox, TWhdXy &nodeBox)
{
    double height = glyphBox.height();
    // A tall index rises above the sign; the box grows with it so that
    // nothing above is drawn over it.
    if (fHasSecond)
        height = std::max(height, fSecond.height() - fIndexDrop);
    nodeBox.setWHD(glyphBox.width() + 2 * fPad + fFirst.width(), height, glyphBox.depth());
}

TArgumentPositions TCharInfoGraphicSqrt::calcXy(double x, double y) const
{
    TArgumentPositions p;
    p.firstX = x + fGlyph.width() + fPad;
    p.firstY = y;
    p.secondX = x + fIndexShift;
    p.secondY = y + fIndexDrop;
    return p;
}

void TCharInfoGraphicSqrt::draw(TCanvas &canvas, double x, double y)
{
    TCanvasInfoPushGuard saved(canvas);
    canvas.setPenWidth(fPen);
    canvas.setPenStyle(TPenStyle::psSolid);
    const double bottom = y + fFirst.depth() + fPad;
    const double top = y - (fFirst.height() + fPad);
    const double x0 = x + fSignShift;
    // The pen's round end would reach past the box.
    const int capInset = fPen / 2;
    const QPoint points[] = {
        { roundi(x0), roundi(bottom - fM4 + fK2) },
        { roundi(x0 + fK1), roundi(bottom - fM4) },
        { roundi(x0 + fK1 + fM3), roundi(bottom) },
        { roundi(x0 + fK1 + fM3 + fM5), roundi(top) },
        { roundi(x0 + fK1 + fM3 + fM5 + 2 * fPad + fFirst.width()) - capInset, roundi(top) },
    };
    canvas.polyline(points, 5);
}

void TCharInfoGraphicBar::calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
    const TWhdXy *first, const TWhdXy *second)
{
    takeArguments(first, second, 1, "calcWhd2Fmy");
    measureReference(canvas, size);
    fRule = ruleThickness();
    fWidth = fFirst.width();
    glyphBox.setWHD(fWidth, fRule / 2.0, 0.1 * ht() + fRule / 2.0);
}

void TCharInfoGraphicBar::draw(TCanvas &canvas, double x, double y)
{
    // Centred on the baseline, as the box (t/2 above, t/2 + 0.1·HT below)
    // is cut for it: the gap to the target is then 0.1·HT.
    drawRule(canvas, x, y - fRule / 2.0, fWidth, fRule);
}

void TCharInfoGraphicArrow::calcWhd2Fmy(TCanvas &canvas, const TFontSize &size, TWhdXy &glyphBox,
    const TWhdXy *first, const TWhdXy *second)
{
    takeArguments(first, second, 1, "calcWhd2Fmy");
    measureReference(canvas, size);
    fRule = ruleThickness();
    fPen = thinPen();
    fWidth = fFirst.width();
    glyphBox.setWHD(fWidth, 0.2 * ht() + fRule / 2.0, 0.2 * ht() + fRule / 2.0);
}

namespace {

// A cubic Bézier curve as a polyline of its rounded points.
void bezier(TCanvas &canvas, const QPointF (&c)[4])
{
    constexpr int kSteps = 8;
    QPoint points[kSteps + 1];
    for (int i = 0; i <= kSteps; ++i) {
        const double t = double(i) / kSteps, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
        points[i] = QPoint(roundi(a * c[0].x() + b * c[1].x() + d * c[2].x() + e * c[3].x()),
            roundi(a * c[0].y() + b * c[1].y() + d * c[2].y() + e * c[3].y()));
    }
    canvas.polyline(points, kSteps + 1);
}

} // namespace

void TCharInfoGraphicArrow::draw(TCanvas &canvas, double x, double y)
{
    drawRule(canvas, x, y - fRule / 2.0, fWidth, fRule);
    TCanvasInfoPushGuard saved(canvas);
    canvas.setPenWidth(fPen);
    canvas.setPenStyle(TPenStyle::psSolid);
    canvas.setBrushColor(canvas.penColor());
    const int left = roundi(x), right = roundi(x + fWidth);
    // The middle row of the shaft.
    const int ty = roundi(y - fRule / 2.0) + (fRule - 1) / 2;
    const int xt = fDirection == 1 ? right : left;
    if (hw() > fWidth) {
        // Toward the shaft.
        const double k = fDirection == 1 ? -1 : 1;
        const double s = 0.7 * hw();
        for (const double side : { -1.0, 1.0 }) {
            const QPointF c[4] = {
                { double(xt), double(ty) },
                { double(roundi(xt + k * 0.1 * s)), double(ty) },
                { double(roundi(xt + k * 0.25 * s)), double(roundi(ty + side * 0.15 * s)) },
                { double(roundi(xt + k * 0.3 * s)), double(roundi(ty + side * 0.33 * s)) },
            };
            bezier(canvas, c);
        }
        return;
    }
    const double r = 0.2 * ht();
    const int bx1 = roundi(xt - r), bx2 = roundi(xt + r);
    if (fDirection == 1) {
        canvas.arc(bx1, roundi(ty - 2 * r + 1), bx2, ty + 1, left, roundi(ty - r + 1), xt, ty + 11);
        canvas.arc(bx1, ty, bx2, roundi(ty + 2 * r), xt, ty - 10, left, roundi(ty + r));
    } else {
        canvas.arc(bx1, roundi(ty - 2 * r + 1), bx2, ty + 1, xt, ty + 11, roundi(xt + r),
            roundi(ty - r + 1));
        canvas.arc(
            bx1, ty, bx2, roundi(ty + 2 * r), roundi(xt + fWidth), roundi(ty + r), xt, ty - 10);
    }
}

} // namespace zarno
