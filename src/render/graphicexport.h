#pragma once

#include "base/surface.h"

#include <QSize>
#include <QString>

namespace zarno {

class TField;
class TGraphicfileFacade;
class TGraphicfileProperty;
class TImageAdapter;
class TShapePrintArea;

// What an image export covers: a model rectangle and its size in pixels as
// the screen shows it (which fixes the image's aspect ratio and font scale).
struct TExportRectangle
{
    TModelViewRect model;
    QSize pixels;
    // The output area was shown but reached beyond the visible field, so
    // the visible field is exported instead.
    bool areaOutsideView = false;
};

// The output area when it is shown and lies inside the screen's visible
// field, else the visible field. The screen's transform must be current
// (screen resolution).
TExportRectangle exportRectangle(const TImageAdapter &screen, const TShapePrintArea *area);

// "画像ファイル出力領域がフィールドの可視領域をはみ出しています。…"
QString areaOutsideViewMessage();

// Draws the field onto the facade's chosen surface at the property's size
// and writes the file. The output area and edit-only shapes stay out; the
// surface's scale, resolution and font scale are put back whatever happens.
void drawAndSaveGraphicfile(TField &field, TGraphicfileFacade &facade,
    const TExportRectangle &rectangle, const TGraphicfileProperty &property);

} // namespace zarno
