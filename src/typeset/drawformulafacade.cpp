#include "typeset/drawformulafacade.h"

#include "typeset/fontinfo.h"

namespace zarno {

void TDrawFormulaFacade::layout(TCanvas &canvas, const TTokenList &tokens, double basePoints)
{
    fRoot.reset();
    fSize = TFontSize();
    fSize.setBaseSize(basePoints);
    fRoot = fFactory.createListDrawers(tokens);
    // Measuring sets fonts on the canvas; the caller's stay.
    TCanvasInfoPushGuard saved(canvas);
    TMetricsCacheScope metrics(canvas);
    fRoot->measure(canvas, fSize);
}

TWhdXy TDrawFormulaFacade::measure(TCanvas &canvas, const TTokenList &tokens, double basePoints)
{
    layout(canvas, tokens, basePoints);
    return fRoot->box();
}

void TDrawFormulaFacade::placeAt(
    TCanvas &canvas, double x, const TTokenList &tokens, double basePoints, double yTop)
{
    layout(canvas, tokens, basePoints);
    fRoot->setPosition(x, yTop + fRoot->box().height() + 5);
    fRoot->place();
}

void TDrawFormulaFacade::drawAt(
    TCanvas &canvas, double x, const TTokenList &tokens, double basePoints, double yTop)
{
    placeAt(canvas, x, tokens, basePoints, yTop);
    TCanvasInfoPushGuard saved(canvas);
    fRoot->draw(canvas);
}

const TWhdXy &TDrawFormulaFacade::box() const
{
    static const TWhdXy kEmpty;
    return fRoot ? fRoot->box() : kEmpty;
}

QString TDrawFormulaFacade::dump() const
{
    QString out;
    if (fRoot)
        fRoot->dump(out, 0, QStringLiteral("root"));
    return out;
}

} // namespace zarno
