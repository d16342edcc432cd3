#include "platform/bitmap.h"

#include "core/exceptions.h"
#include "platform/rastercanvas.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace zarno {

TBitmap::TBitmap()
    : fImage(std::make_unique<QImage>())
{
    fCanvas = std::make_unique<TRasterCanvas>(fImage.get());
}

TBitmap::TBitmap(int width, int height)
    : TBitmap()
{
    setSize(width, height);
}

TBitmap::~TBitmap()
{
    fCanvas.reset(); // ends its painter before the image goes
}

int TBitmap::width() const
{
    return fImage->width();
}

int TBitmap::height() const
{
    return fImage->height();
}

void TBitmap::setSize(int width, int height)
{
    if (width == this->width() && height == this->height() && !fImage->isNull())
        return;
    fCanvas->endPainting();
    if (width > 0 && height > 0) {
        *fImage = QImage(width, height, QImage::Format_RGB32);
        fImage->fill(Qt::white);
    } else {
        *fImage = QImage();
    }
}

TCanvas &TBitmap::canvas()
{
    return *fCanvas;
}

TColor TBitmap::pixel(int x, int y) const
{
    if (!fImage->valid(x, y))
        throw ESouteigai(QStringLiteral("TBitmap"), { fmtArg(x), fmtArg(y) },
            QStringLiteral("(%d, %d)はビットマップの外です。"), QStringLiteral("pixel"));
    return fromQRgb(fImage->pixel(x, y));
}

bool TBitmap::renderSvg(const QString &fileName)
{
    fCanvas->endPainting();
    fImage->fill(Qt::white);
    QSvgRenderer svg(fileName);
    if (!svg.isValid() || fImage->isNull())
        return false;
    QPainter p(fImage.get());
    svg.render(&p, QRectF(0, 0, fImage->width(), fImage->height()));
    return true;
}

bool TBitmap::saveToFile(const QString &fileName) const
{
    return fImage->save(fileName);
}

QImage TBitmap::toImage() const
{
    return fImage->copy();
}

const QImage &TBitmap::image() const
{
    return *fImage;
}

QImage &TBitmap::writableImage()
{
    return *fImage;
}

} // namespace zarno
