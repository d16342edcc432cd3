#pragma once

#include "platform/drawingbox.h"

#include <QWidget>
#include <functional>

namespace zarno {

// A widget that shows a surface's bitmap one to one, without scaling. It
// reports resizes so that the owner can fit the surface and redraw.
class TBitmapView : public QWidget, public TDrawingBox
{
    Q_OBJECT
public:
    explicit TBitmapView(QWidget *parent = nullptr);

    QSize clientSize() const override { return size(); }
    void showBitmap(const TBitmap *bitmap) override;

    void setResizeHandler(std::function<void()> handler) { fOnResize = std::move(handler); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    const TBitmap *fBitmap = nullptr;
    std::function<void()> fOnResize;
};

} // namespace zarno
