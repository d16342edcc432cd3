#include "typeset/fontinfo.h"

#include "core/exceptions.h"

#include <algorithm>
#include <cmath>

namespace zarno {

void TCanvasInfoPush::push(const TCanvas &canvas)
{
    if (fPushed)
        throw ESouteigai(QStringLiteral("TCanvasInfoPush"),
            QStringLiteral("情報は既にpushされています。"), QStringLiteral("push"));
    fFontFamily = canvas.fontFamily();
    fFontPixelSize = canvas.fontPixelSize();
    fFontColor = canvas.fontColor();
    fPenColor = canvas.penColor();
    fPenWidth = canvas.penWidth();
    fPenStyle = canvas.penStyle();
    fBrushColor = canvas.brushColor();
    fBrushStyle = canvas.brushStyle();
    fPushed = true;
}

void TCanvasInfoPush::pop(TCanvas &canvas)
{
    if (!fPushed)
        throw ESouteigai(QStringLiteral("TCanvasInfoPush"),
            QStringLiteral("情報がpushされていません。"), QStringLiteral("pop"));
    canvas.setFont(fFontFamily, fFontPixelSize, fFontColor);
    canvas.setPenColor(fPenColor);
    canvas.setPenWidth(fPenWidth);
    canvas.setPenStyle(fPenStyle);
    canvas.setBrushColor(fBrushColor);
    canvas.setBrushStyle(fBrushStyle);
    fPushed = false;
}

void TFontinfo::clear()
{
    fWidth = fTotalHeight = fDepth = 0;
    fTextWidth = fTextHeight = fTextDescent = 0;
    fScaleV = fScaleH = 1;
}

void TFontinfo::measureWith(TCanvas &canvas, const TFontSize &size, const QString &text,
    const QString &family, Metrics metrics, const TTfmTable *table)
{
    clear();
    fText = text;
    fFamily = family;
    fPixelSize = size.canvasPixelSize(canvas);
    fEm = size.pixelsPerEm(canvas);
    fByCharacterMap = metrics == Metrics::Tfm;
    if (text.isEmpty())
        return;

    // The cell of every string is the roman font's, so that strings of all
    // fonts share one baseline rule.
    const TVerticalMetrics roman = TFontManage::textMetrics(canvas, size);
    fTextHeight = roman.height;
    fTextDescent = roman.height - roman.ascent;

    if (metrics == Metrics::Tfm) {
        const TTfmMetrics &tfm = TTfmMetrics::getInstance();
        double width = 0, height = 0, depth = -10000;
        bool complete = true;
        for (QChar ch : text) {
            const int index = tfm.indexOf(ch.unicode());
            if (index < 0) {
                complete = false;
                break;
            }
            const TTfmRecord &r = table->records[std::size_t(index)];
            width += r.width * fEm;
            height = std::max(height, r.height * fEm);
            depth = std::max(depth, r.depth * fEm);
        }
        if (complete) {
            fWidth = fTextWidth = width;
            fDepth = depth;
            fTotalHeight = height + depth;
            return;
        }
    }
    // A string the tables do not cover is measured by the platform. It sits
    // on the roman baseline; its box reaches as far as its own font does,
    // since Japanese glyphs rise higher than the roman cell and would
    // otherwise touch a fraction bar or an accent above them.
    canvas.setFont(fFamily, fPixelSize, canvas.fontColor());
    fTextWidth = canvas.textExtent(text).width();
    const TTextMetric own = canvas.textMetric();
    fWidth = fTextWidth;
    fDepth = std::max(fTextDescent, double(own.descent));
    fTotalHeight = std::max(fTextHeight - fTextDescent, double(own.ascent)) + fDepth;
}

void TFontinfo::measure(TCanvas &canvas, const TFontSize &size, const QString &text, TFonttype type)
{
    const TFonttype used = TFontManage::effectiveType(type);
    const bool small = size.usesSmallFonts();
    const QString &family = TFontManage::family(used, small);
    if (used == TFonttype::ftMincyo)
        measureWith(canvas, size, text, family, Metrics::Platform, nullptr);
    else
        measureWith(canvas, size, text, family, Metrics::Tfm,
            &TTfmMetrics::getInstance().table(used, small));
}

void TFontinfo::measureByFontName(
    TCanvas &canvas, const TFontSize &size, const QString &text, const QString &fontName)
{
    const QString family = TFontManage::family(fontName);
    if (const TTfmTable *table = TTfmMetrics::getInstance().tableOfName(fontName))
        measureWith(canvas, size, text, family, Metrics::Tfm, table);
    else
        measureWith(canvas, size, text, family, Metrics::Platform, nullptr);
}

void TFontinfo::measureStretched(TCanvas &canvas, const TFontSize &size, const QString &text,
    TFonttype type, double minimumTotal)
{
    measure(canvas, size, text, type);
    if (!(fTotalHeight > 0) || !(fTotalHeight < minimumTotal))
        return;
    const double v = minimumTotal / fTotalHeight;
    const double h = v < 3 ? 1.0 : v < 4 ? 1.2 : v < 5 ? 1.5 : 2.0;
    fScaleV = v;
    fScaleH = h;
    fWidth *= h;
    fTextWidth *= h;
    fTotalHeight *= v;
    fDepth *= v;
    fTextHeight *= v;
    fTextDescent *= v;
}

void TFontinfo::measureReference(TCanvas &canvas, const TFontSize &size)
{
    measure(canvas, size, QStringLiteral("H"), TFonttype::ftCmr);
}

void TFontinfo::drawAt(TCanvas &canvas, double x, double y)
{
    const bool highlighted = fHighlight;
    fHighlight = false;
    if (fText.isEmpty())
        return;
    TGlyphFont font;
    font.family = fFamily;
    font.characterMapOnly = fByCharacterMap;
    // Computer Modern glyphs at the exact em their metrics were taken at;
    // other fonts at the whole-pixel size they were measured with.
    font.pixelSize = fByCharacterMap ? fEm : fPixelSize;
    font.color = highlighted ? kColorRed : canvas.fontColor();
    font.bold = font.underline = highlighted;
    font.scaleX = fScaleH;
    font.scaleY = fScaleV;
    const double left = std::nearbyint(x);
    const double top = std::nearbyint(y);
    canvas.drawGlyphText(left, top + textAscent(), fText, font);
}

void TFontinfo::drawAtBaseline(TCanvas &canvas, double x, double baseline)
{
    drawAt(canvas, x, baseline - textAscent());
}

TPlusMetrics plusMetrics(TCanvas &canvas, const TFontSize &size)
{
    TFontinfo plus;
    plus.measure(canvas, size, QStringLiteral("+"), TFonttype::ftCmr);
    return { plus.totalHeight(), plus.height(), plus.depth() };
}

} // namespace zarno
