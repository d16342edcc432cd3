#pragma once

#include <QSize>

namespace zarno {

class TBitmap;

// The window area the screen surface shows its bitmap in. The main window's
// drawing box implements it; headless runs use a fixed-size stand-in. A box
// outlives the surface attached to it (the surface detaches on destruction).
class TDrawingBox
{
public:
    virtual ~TDrawingBox() = default;
    virtual QSize clientSize() const = 0;
    // Show this bitmap at the box's top-left, as it is now and after every
    // later change until the next call; nullptr shows nothing.
    virtual void showBitmap(const TBitmap *bitmap) = 0;
};

} // namespace zarno
