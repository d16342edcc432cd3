#pragma once

#include "model/scalecontroller.h"
#include "render/imageadapter.h"
#include "render/printarea.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class QIODevice;

namespace zarno {

// A surface that draws the figure into an image file at an exact size in
// millimetres and 300 dots per inch. Between setupFile and finishDraw the
// field's model scale is pushed so that the exported rectangle fills the
// image, the current resolution is 300 dpi and the font scale follows the
// property; finishDraw puts all three back, also after a failed drawing.
class TGraphicfileAdapter : public TImageAdapter
{
public:
    static constexpr int kDpi = 300;

    TGraphicfileAdapter();
    ~TGraphicfileAdapter() override;

    // Needs the transform's controller (setController) first.
    virtual void setupFile(const QString &fileName, const TModelViewRect &modelRect,
        const QSize &pixelSize, const TGraphicfileProperty &property);
    virtual void saveFile() = 0;
    void finishDraw() override;
    QRect getViewrect() const override;
    // The image's pixel size, also where a vector recording keeps no bitmap.
    void paramCopyTo(TAbstractImageAdapter &other) override;

    const QString &fileName() const { return fFileName; }
    // The image's size in millimetres and in pixels at 300 dpi.
    TModelPoint sizeMm() const { return fSizeMm; }
    QSize pixelSize() const { return fPixelSize; }
    bool isSetUp() const { return fPushed.has_value(); }

    // (round(w × 300/25.4), round(h × 300/25.4)), halves to even.
    static QSize pixelSizeFor(const TModelPoint &mm);

protected:
    // Gives the surface its drawing target for an image of px pixels and mm
    // millimetres: the bitmap here, a vector recording in subclasses.
    virtual void openTarget(const QSize &px, const TModelPoint &mm);
    // Writes the bytes to the file named in setupFile; an unwritable file
    // raises EFileStreamError with the name. Without a name (an image for
    // the clipboard) the bytes are kept for takeBytes.
    void writeFile(const QByteArray &bytes);
    // The same for bytes made while they are written: produce writes them to
    // the device and says whether all went well.
    void writeFile(const std::function<bool(QIODevice &)> &produce);

public:
    // What saveFile made when no file was named; empty afterwards.
    QByteArray takeBytes() { return std::exchange(fBytes, {}); }

private:
    QString fFileName;
    TModelPoint fSizeMm;
    QSize fPixelSize;
    std::optional<TPushedScale> fPushed;
    QByteArray fBytes;
};

// The JPEG surface: the bitmap encoded at quality 100 with full-resolution
// colour, the JFIF header stating 300 dpi.
class TJpegAdapter : public TGraphicfileAdapter
{
public:
    void saveFile() override;

    // Sets the density of the JFIF APP0 segment of encoded data to dpi × dpi
    // dots per inch; data without that segment are a program fault.
    static void saveToFileWithDpi(QByteArray &jpeg, int dpi);
};

// The PNG surface: the bitmap as a PNG stating 300 dpi. Offered for the
// clipboard and the command-line exporter.
class TPngAdapter : public TGraphicfileAdapter
{
public:
    void saveFile() override;
};

class TEmfCanvas;
class TVectorCanvas;

// The metafile surface: every drawing call recorded into an enhanced
// metafile whose frame is the image's size in hundredths of a millimetre,
// with 300-dpi logical pixels.
class TMetafileAdapter : public TGraphicfileAdapter
{
public:
    TMetafileAdapter();
    ~TMetafileAdapter() override;
    TCanvas &getCanvas() override;
    void saveFile() override;
    void finishDraw() override;

protected:
    void openTarget(const QSize &px, const TModelPoint &mm) override;

private:
    std::unique_ptr<TEmfCanvas> fMetafile;
};

// The SVG and PDF surfaces: every drawing call recorded as vector graphics
// on a page of the image's size in millimetres (SVG: its width and height in
// hundredths of a millimetre), in 300-dpi drawing units.
class TVectorFileAdapter : public TGraphicfileAdapter
{
public:
    enum class Format { Svg, Pdf };
    explicit TVectorFileAdapter(Format format);
    ~TVectorFileAdapter() override;
    TCanvas &getCanvas() override;
    void saveFile() override;
    void finishDraw() override;

protected:
    void openTarget(const QSize &px, const TModelPoint &mm) override;

private:
    Format fFormat;
    std::unique_ptr<TVectorCanvas> fVector;
};

} // namespace zarno
