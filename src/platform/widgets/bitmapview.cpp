#include "platform/widgets/bitmapview.h"

#include "platform/bitmap.h"

#include <QImage>
#include <QPainter>

namespace zarno {

TBitmapView::TBitmapView(QWidget *parent)
    : QWidget(parent)
{
    // The bitmap covers the whole widget: no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBitmapView::showBitmap(const TBitmap *bitmap)
{
    fBitmap = bitmap;
    update();
}

void TBitmapView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (fBitmap && !fBitmap->isEmpty()) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, fBitmap->image());
    }
}

void TBitmapView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (fOnResize)
        fOnResize();
}

} // namespace zarno
