#pragma once

#include "platform/drawingbox.h"
#include "render/imageadapter.h"

namespace zarno {

class TField;

// The screen surface: a back buffer the size of the main window's drawing
// box, shown in the box by flush().
class TDisplayAdapter : public TImageAdapter
{
public:
    TDisplayAdapter();
    ~TDisplayAdapter() override;

    void attachMainWindow(TDrawingBox *drawingBox);
    TDrawingBox *drawingBox() const { return fBox; }

    // The screen is drawn at 90.06 × 90.07 dots per inch.
    void prepareDraw() override;
    void flush() override;
    // (0, 0, drawing-box width, drawing-box height).
    QRect getViewrect() const override;

    // Smooth edges on screen; exports and the pixel rules keep aliased pens.
    void setAntialiasing(bool on);
    bool antialiasing() const { return fAntialiasing; }

    // One screen redraw: prepare, clear, the field's draw passes, flush.
    void redraw(TField &field, TDrawStatus &status);

private:
    TDrawingBox *fBox = nullptr;
    bool fAntialiasing = false;
};

// A drawing box of a fixed size without a window: headless drawing, pictures
// written to files, benchmarks.
class TFixedDrawingBox : public TDrawingBox
{
public:
    explicit TFixedDrawingBox(QSize size)
        : fSize(size)
    { }
    QSize clientSize() const override { return fSize; }
    void setClientSize(QSize size) { fSize = size; }
    void showBitmap(const TBitmap *bitmap) override
    {
        fShown = bitmap;
        ++fShowCount;
    }
    const TBitmap *shown() const { return fShown; }
    int showCount() const { return fShowCount; }

private:
    QSize fSize;
    const TBitmap *fShown = nullptr;
    int fShowCount = 0;
};

} // namespace zarno
