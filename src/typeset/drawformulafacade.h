#pragma once

#include "platform/canvas.h"
#include "typeset/fontmanage.h"
#include "typeset/texdraw.h"
#include "typeset/textoken.h"
#include "typeset/whdxy.h"

#include <QString>
#include <memory>

namespace zarno {

// Measures, places and draws a parsed typeset text at a size in points. Each
// call lays the text out afresh on the canvas; the drawer tree of the last
// layout stays for a look (dump) until the next.
class TDrawFormulaFacade
{
public:
    // The box of the text (width, total and depth in pixels).
    TWhdXy measure(TCanvas &canvas, const TTokenList &tokens, double basePoints);
    // Lays the text out with its left edge at x and its top edge 5 pixels
    // below yTop.
    void placeAt(
        TCanvas &canvas, double x, const TTokenList &tokens, double basePoints, double yTop);
    // placeAt, then draws in the canvas's pen colour (rules) and font colour
    // (glyphs).
    void drawAt(
        TCanvas &canvas, double x, const TTokenList &tokens, double basePoints, double yTop);

    // The box of the last layout, with its position once placed.
    const TWhdXy &box() const;
    const TTeXDrawList *root() const { return fRoot.get(); }
    // The drawer tree of the last layout: kind, text, and the node and
    // glyph boxes (width, height, depth @ x, y) to 0.01 pixel.
    QString dump() const;

private:
    void layout(TCanvas &canvas, const TTokenList &tokens, double basePoints);

    TFontSize fSize;
    TTeXDrawerFactory fFactory;
    std::unique_ptr<TTeXDrawList> fRoot;
};

} // namespace zarno
