#include "render/graphicfileadapter.h"

#include "core/exceptions.h"
#include "platform/bitmap.h"
#include "platform/emfcanvas.h"
#include "platform/jpegencoder.h"
#include "platform/vectorcanvas.h"
#include "render/dpi.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <exception>
#include <utility>

namespace zarno {

TGraphicfileAdapter::TGraphicfileAdapter()
{
    FViewerType = TViewerType::Printer;
    // Edit-only shapes never reach a file.
    FPreview = 1;
}

TGraphicfileAdapter::~TGraphicfileAdapter()
{
    finishDraw();
}

QSize TGraphicfileAdapter::pixelSizeFor(const TModelPoint &mm)
{
    return QSize(roundToInt32(mm.x * kDpi / 25.4, "setupFile"),
        roundToInt32(mm.y * kDpi / 25.4, "setupFile"));
}

QRect TGraphicfileAdapter::getViewrect() const
{
    return QRect(0, 0, fPixelSize.width(), fPixelSize.height());
}

void TGraphicfileAdapter::paramCopyTo(TAbstractImageAdapter &other)
{
    other.paramCopyTo_s(fTransformer.getViewRect(), fTransformer.controller(), fPixelSize.width(),
        fPixelSize.height());
}

void TGraphicfileAdapter::setupFile(const QString &fileName, const TModelViewRect &modelRect,
    const QSize &pixelSize, const TGraphicfileProperty &property)
{
    finishDraw();
    fFileName = fileName;
    const TModelPoint mm = property.outputSizeMm(modelRect, pixelSize);
    const double w = modelRect.right - modelRect.left, h = modelRect.top - modelRect.bottom;
    // The push refuses a non-positive scale (an empty rectangle) before
    // anything else has changed.
    TScaleController *controller = fTransformer.controller();
    if (!controller)
        throw ESouteigai(QStringLiteral("TGraphicfileAdapter"),
            QStringLiteral("controllerが設定されていません。"), QStringLiteral("setupFile"));
    const TModelPoint centre { (modelRect.left + modelRect.right) / 2,
        (modelRect.top + modelRect.bottom) / 2 };
    const TModelPoint mmPerModel { w != 0 ? mm.x / w : 0, h != 0 ? mm.y / h : 0 };
    if (!(mmPerModel.x > 0 && mmPerModel.y > 0))
        throw ESouteigai(QStringLiteral("TGraphicfileAdapter"),
            QStringLiteral("値は0より大きい実数でなければなりません。"),
            QStringLiteral("pushMmPerModel1"));
    const QSize px = pixelSizeFor(mm);
    if (px.width() < 1 || px.height() < 1)
        throw ESouteigai(QStringLiteral("TGraphicfileAdapter"),
            QStringLiteral("画像の大きさが0です。"), QStringLiteral("setupFile"));
    fPushed.emplace(*controller, mmPerModel, centre);
    TDpi::setFontScale(property.fontScale(modelRect, pixelSize));
    TDpi::setCurrent(kDpi, kDpi);
    fSizeMm = mm;
    fPixelSize = px;
    TCanvas &c = getCanvas();
    c.setFontResolution(kDpi);
    fTransformer.setViewRect(0, 0, px.width() - 1, px.height() - 1);
    c.setPenWidth(1);
    c.setBrushColor(kColorWhite);
    c.setBrushStyle(TBrushStyle::bsClear);
    openTarget(px, mm);
}

void TGraphicfileAdapter::openTarget(const QSize &px, const TModelPoint &)
{
    fBitmap->setSize(px.width(), px.height());
}

void TGraphicfileAdapter::finishDraw()
{
    if (!fPushed)
        return;
    TDpi::setFontScale(1.0);
    getCanvas().setFontResolution(96);
    fPushed.reset();
}

void TGraphicfileAdapter::writeFile(const QByteArray &bytes)
{
    writeFile([&](QIODevice &device) { return device.write(bytes) == bytes.size(); });
}

void TGraphicfileAdapter::writeFile(const std::function<bool(QIODevice &)> &produce)
{
    if (fFileName.isEmpty()) {
        fBytes.clear();
        QBuffer buffer(&fBytes);
        if (!buffer.open(QIODevice::WriteOnly) || !produce(buffer))
            throw EFileStreamError(QStringLiteral("画像を作成できませんでした。"));
        return;
    }
    // Written beside the target and renamed over it, so that a failure
    // never leaves half an image behind.
    QSaveFile file(fFileName);
    bool ok = file.open(QIODevice::WriteOnly) && produce(file);
    if (!ok)
        file.cancelWriting();
    ok = ok && file.commit();
    if (!ok)
        throw EFileStreamError(QStringLiteral("画像ファイルを保存できませんでした。\r\n")
            + QFileInfo(fFileName).absoluteFilePath() + QStringLiteral("\r\n")
            + file.errorString());
}

void TJpegAdapter::saveToFileWithDpi(QByteArray &jpeg, int dpi)
{
    // The APP0 segment right after the start-of-image marker: FF E0, length,
    // then "JFIF\0"; the density unit at offset 11, X and Y after it.
    const qsizetype at = jpeg.indexOf(QByteArray("\xFF\xE0", 2));
    if (at < 0 || at + 16 > jpeg.size() || jpeg.mid(at + 4, 5) != QByteArray("JFIF\0", 5))
        throw ESouteigai(QStringLiteral("TJpegAdapter"),
            QStringLiteral("APP0セグメントが見つかりません"), QStringLiteral("saveToFileWithDpi"));
    jpeg[at + 11] = char(1);
    jpeg[at + 12] = char((dpi >> 8) & 0xFF);
    jpeg[at + 13] = char(dpi & 0xFF);
    jpeg[at + 14] = char((dpi >> 8) & 0xFF);
    jpeg[at + 15] = char(dpi & 0xFF);
}

void TJpegAdapter::saveFile()
{
    const QString failed = QStringLiteral("画像をJPEGに変換できませんでした。\r\n") + fileName();
    if (getBitmap().isEmpty())
        throw EFileStreamError(failed);
    // Written while it is encoded, without the whole JPEG in memory. The
    // first piece holds the header, whose density is set before it goes
    // out. Nothing is thrown through the library: a fault is kept and
    // raised once it has returned.
    writeFile([&](QIODevice &device) {
        bool first = true, written = true;
        std::exception_ptr fault;
        const bool encoded
            = encodeJpeg(getBitmap(), 100, kDpi, [&](const char *data, qsizetype size) noexcept {
                  try {
                      if (std::exchange(first, false)) {
                          QByteArray head(data, size);
                          saveToFileWithDpi(head, kDpi);
                          written = device.write(head) == size;
                      } else {
                          written = device.write(data, size) == size;
                      }
                  } catch (...) {
                      fault = std::current_exception();
                      return false;
                  }
                  return written;
              });
        if (fault)
            std::rethrow_exception(fault);
        if (!encoded && written)
            throw EFileStreamError(failed);
        return written;
    });
}

TMetafileAdapter::TMetafileAdapter() = default;

TMetafileAdapter::~TMetafileAdapter()
{
    finishDraw();
}

TCanvas &TMetafileAdapter::getCanvas()
{
    return fMetafile ? *fMetafile : TGraphicfileAdapter::getCanvas();
}

void TMetafileAdapter::openTarget(const QSize &px, const TModelPoint &mm)
{
    fMetafile = std::make_unique<TEmfCanvas>(px.width(), px.height(),
        roundToInt32(mm.x * 100, "setupFile"), roundToInt32(mm.y * 100, "setupFile"));
    fMetafile->setPenWidth(1);
    fMetafile->setBrushColor(kColorWhite);
    fMetafile->setBrushStyle(TBrushStyle::bsClear);
}

void TMetafileAdapter::saveFile()
{
    const QByteArray bytes = fMetafile ? fMetafile->finish() : QByteArray();
    if (bytes.isEmpty())
        throw EFileStreamError(
            QStringLiteral("メタファイルを作成できませんでした。\r\n") + fileName());
    writeFile(bytes);
}

void TMetafileAdapter::finishDraw()
{
    TGraphicfileAdapter::finishDraw();
    fMetafile.reset();
}

void TPngAdapter::saveFile()
{
    const QByteArray png = encodePng(getBitmap(), kDpi);
    if (png.isEmpty())
        throw EFileStreamError(
            QStringLiteral("画像をPNGに変換できませんでした。\r\n") + fileName());
    writeFile(png);
}

TVectorFileAdapter::TVectorFileAdapter(Format format)
    : fFormat(format)
{ }

TVectorFileAdapter::~TVectorFileAdapter()
{
    finishDraw();
}

TCanvas &TVectorFileAdapter::getCanvas()
{
    return fVector ? *fVector : TGraphicfileAdapter::getCanvas();
}

void TVectorFileAdapter::openTarget(const QSize &px, const TModelPoint &mm)
{
    fVector = std::make_unique<TVectorCanvas>(
        fFormat == Format::Svg ? TVectorCanvas::Format::Svg : TVectorCanvas::Format::Pdf,
        px.width(), px.height(), mm.x, mm.y);
    fVector->setPenWidth(1);
    fVector->setBrushColor(kColorWhite);
    fVector->setBrushStyle(TBrushStyle::bsClear);
}

void TVectorFileAdapter::saveFile()
{
    const QByteArray bytes = fVector ? fVector->finish() : QByteArray();
    if (bytes.isEmpty())
        throw EFileStreamError(
            (fFormat == Format::Svg ? QStringLiteral("SVGファイルを作成できませんでした。\r\n")
                                    : QStringLiteral("PDFファイルを作成できませんでした。\r\n"))
            + fileName());
    writeFile(bytes);
}

void TVectorFileAdapter::finishDraw()
{
    TGraphicfileAdapter::finishDraw();
    fVector.reset();
}

} // namespace zarno
