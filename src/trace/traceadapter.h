#pragma once

#include "render/imageadapter.h"

namespace zarno {

// The one layer every locus draws on, laid over the figure after all shapes
// (white is transparent: it is copied with AND). It lives for the whole
// program, so a locus survives every redraw; its size and scale follow the
// surface being drawn.
//
// Besides the draw statuses that clear it (scroll, resize, zoom, document
// changed), the layer notices by itself when what it holds no longer fits:
// a different surface, size or visible model rectangle than it was built
// for (an export drew on it meanwhile), or a locus erased or freed. The next
// draw then rebuilds it from the records, whatever its status.
class TTraceAdapter : public TImageAdapter
{
public:
    TTraceAdapter();
    ~TTraceAdapter() override;

    // Created on first use; release frees it at the program's end.
    static TTraceAdapter &instance();
    static void release();

    bool isEmpty() const { return fEmpty; }
    void markNotEmpty() { fEmpty = false; }
    // White, and only when something was drawn since the last clear.
    void clear() override;
    QRect getViewrect() const override { return fTransformer.getViewRect(); }
    void paramCopyTo_s(
        const QRect &viewRect, TScaleController *controller, int width, int height) override;
    // AND-copies the layer onto the surface unless it is empty.
    void compositeOnto(TAbstractImageAdapter &surface);

    // The first pass of a field draw: whether the loci must draw all their
    // records again in this draw (the layer was cleared for it).
    bool beginPass(bool statusClears, const TAbstractImageAdapter &surface);
    bool isRebuilding() const { return fRebuilding; }
    // The last pass: composites once per draw and remembers what the layer
    // now shows.
    void endPass(TAbstractImageAdapter &surface);
    // Some locus's drawing was taken off: the others draw again next time.
    void invalidate();

private:
    struct Fit
    {
        const TAbstractImageAdapter *surface = nullptr;
        TModelViewRect model;
        bool operator==(const Fit &o) const;
    };
    static Fit fitOf(const TAbstractImageAdapter &surface);

    bool fEmpty = true;
    bool fStale = true;
    bool fRebuilding = false;
    bool fPassOpen = false;
    bool fComposited = false;
    Fit fBuiltFor;
};

} // namespace zarno
