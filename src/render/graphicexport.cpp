#include "render/graphicexport.h"

#include "model/field.h"
#include "render/graphicfileadapter.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"

#include <cmath>

namespace zarno {

TExportRectangle exportRectangle(const TImageAdapter &screen, const TShapePrintArea *area)
{
    const TUnitTransformer &t = screen.transformer();
    const TModelViewRect v = t.getModelViewRect();
    const int w = t.width(), h = t.height();
    TExportRectangle result { v, QSize(w, h), false };
    if (!area || !area->hasParts() || !area->isShown())
        return result;
    const TModelViewRect a = area->modelRect();
    const bool inside
        = v.left <= a.left && a.right <= v.right && v.bottom <= a.bottom && a.top <= v.top;
    if (!inside) {
        result.areaOutsideView = true;
        return result;
    }
    // The pixel columns and rows the screen gives the area's edges.
    const double kx = w / (v.right - v.left), ky = h / (v.top - v.bottom);
    const int pw = int(std::nearbyint((a.right - v.left) * kx))
        - int(std::nearbyint((a.left - v.left) * kx));
    const int ph
        = int(std::nearbyint((v.top - a.bottom) * ky)) - int(std::nearbyint((v.top - a.top) * ky));
    result.model = a;
    result.pixels = QSize(pw, ph);
    return result;
}

QString areaOutsideViewMessage()
{
    return QStringLiteral("画像ファイル出力領域がフィールドの可視領域をはみ出しています。\r\n"
                          "フィールドの可視領域を画像出力領域とします。");
}

void drawAndSaveGraphicfile(TField &field, TGraphicfileFacade &facade,
    const TExportRectangle &rectangle, const TGraphicfileProperty &property)
{
    struct Finish
    {
        TGraphicfileFacade &facade;
        ~Finish() { facade.finish(); }
    } finish { facade };
    TGraphicfileAdapter *surface = facade.surface();
    if (surface)
        surface->setController(&field);
    facade.setupFile(rectangle.model, rectangle.pixels, property);
    surface->clear();
    TDrawStatus status { TCurrentDrawStatus::DocumentChanged, false };
    field.draw(status, *surface);
    facade.saveFile();
}

} // namespace zarno
