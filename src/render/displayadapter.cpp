#include "render/displayadapter.h"

#include "core/exceptions.h"
#include "model/field.h"
#include "platform/bitmap.h"
#include "render/dpi.h"

namespace zarno {

TDisplayAdapter::TDisplayAdapter()
{
    FViewerType = TViewerType::Screen;
    TCanvas &c = getCanvas();
    c.setPenColor(kColorBlack);
    c.setPenWidth(1);
    c.setPenStyle(TPenStyle::psSolid);
}

TDisplayAdapter::~TDisplayAdapter()
{
    if (fBox)
        fBox->showBitmap(nullptr);
}

void TDisplayAdapter::attachMainWindow(TDrawingBox *drawingBox)
{
    if (fBox && fBox != drawingBox)
        fBox->showBitmap(nullptr);
    fBox = drawingBox;
}

void TDisplayAdapter::prepareDraw()
{
    TDpi::useScreenResolution();
}

void TDisplayAdapter::flush()
{
    if (fBox)
        fBox->showBitmap(&getBitmap());
}

QRect TDisplayAdapter::getViewrect() const
{
    if (!fBox)
        throw ESouteigai(QStringLiteral("TDisplayAdapter"),
            QStringLiteral("メインウィンドウが設定されていません。"),
            QStringLiteral("getViewrect"));
    const QSize s = fBox->clientSize();
    return QRect(0, 0, s.width(), s.height());
}

void TDisplayAdapter::setAntialiasing(bool on)
{
    fAntialiasing = on;
    getCanvas().setAntialiasing(on);
}

void TDisplayAdapter::redraw(TField &field, TDrawStatus &status)
{
    prepareDraw();
    clear();
    field.draw(status, *this);
    finishDraw();
    flush();
}

} // namespace zarno
