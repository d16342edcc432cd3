#include "trace/traceadapter.h"

#include "base/penbrush.h"
#include "platform/bitmap.h"

#include <memory>

namespace zarno {

namespace {

std::unique_ptr<TTraceAdapter> &theLayer()
{
    static std::unique_ptr<TTraceAdapter> layer;
    return layer;
}

} // namespace

TTraceAdapter::TTraceAdapter()
{
    fBitmap->setSize(10, 10);
    TCanvas &c = getCanvas();
    c.setPenColor(kColorBlack);
    c.setPenStyle(TPenStyle::psSolid);
}

TTraceAdapter::~TTraceAdapter() = default;

TTraceAdapter &TTraceAdapter::instance()
{
    std::unique_ptr<TTraceAdapter> &layer = theLayer();
    if (!layer)
        layer = std::make_unique<TTraceAdapter>();
    return *layer;
}

void TTraceAdapter::release()
{
    theLayer().reset();
}

void TTraceAdapter::clear()
{
    if (fEmpty)
        return;
    TImageAdapter::clear();
    fEmpty = true;
}

void TTraceAdapter::paramCopyTo_s(
    const QRect &viewRect, TScaleController *controller, int width, int height)
{
    setController(controller);
    fTransformer.setViewRect(viewRect);
    if (fBitmap->width() != width || fBitmap->height() != height) {
        fBitmap->setSize(width, height); // white again
        fEmpty = true;
        // The first locus of a draw gets here before any draws: all of
        // them draw everything again.
        if (fPassOpen)
            fRebuilding = true;
    }
}

void TTraceAdapter::compositeOnto(TAbstractImageAdapter &surface)
{
    if (!fEmpty)
        surface.copyFromBitmap(*fBitmap);
}

bool TTraceAdapter::Fit::operator==(const Fit &o) const
{
    return surface == o.surface && model.left == o.model.left && model.top == o.model.top
        && model.right == o.model.right && model.bottom == o.model.bottom;
}

TTraceAdapter::Fit TTraceAdapter::fitOf(const TAbstractImageAdapter &surface)
{
    return { &surface, surface.getModelViewRect() };
}

bool TTraceAdapter::beginPass(bool statusClears, const TAbstractImageAdapter &surface)
{
    if (fPassOpen)
        return fRebuilding;
    fPassOpen = true;
    fComposited = false;
    fRebuilding = statusClears || fStale || !(fitOf(surface) == fBuiltFor);
    if (fRebuilding)
        clear();
    fStale = false;
    return fRebuilding;
}

void TTraceAdapter::endPass(TAbstractImageAdapter &surface)
{
    if (!fComposited)
        compositeOnto(surface);
    fComposited = true;
    fBuiltFor = fitOf(surface);
    fRebuilding = false;
    fPassOpen = false;
}

void TTraceAdapter::invalidate()
{
    clear();
    fStale = true;
}

} // namespace zarno
