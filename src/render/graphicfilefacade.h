#pragma once

#include "base/surface.h"
#include "render/printarea.h"

#include <QSize>
#include <QString>
#include <memory>

namespace zarno {

class TGraphicfileAdapter;
class TJpegAdapter;
class TMetafileAdapter;

// The last image file name and the property in use; the document fills it.
struct TGraphicfileParameter
{
    QString fileName;
    TGraphicfileProperty property;
};

// A millimetre range of the save dialog's size edits.
struct TMmRange
{
    int min = 0;
    int max = 0;
    bool contains(int v) const { return min <= v && v <= max; }
    // "30〜500mm"
    QString text() const;
    // How many characters the edit accepts: the digits of the longer bound.
    int maxLength() const;
};

// What the save dialog checks, without the dialog: the ranges, the values
// shown first and the messages of a value out of range.
struct TGraphicfileDialogRules
{
    // The width of the image (gstInBox).
    static TMmRange boxRange() { return { 30, 500 }; }
    // round(423.33… / W): the x-unit length at which an image of the model
    // width W is 5000 pixels wide at 300 dpi.
    static int unitMaxFor(double modelWidth);
    // max(m div 10, 1) … m.
    static TMmRange unitRange(int unitMax) { return { std::max(unitMax / 10, 1), unitMax }; }
    // The x-unit row is offered only when its maximum exceeds 1.
    static bool unitRowOffered(int unitMax) { return unitMax > 1; }
    // A value outside its range is shown as the range's maximum.
    static int initialValue(int value, const TMmRange &range)
    {
        return range.contains(value) ? value : range.max;
    }
    static QString boxRangeMessage(const TMmRange &range);
    static QString unitRangeMessage(const TMmRange &range);
    // The name with its extension (the part after the last dot of the file
    // name, if any) replaced by extension (".jpg").
    static QString replaceExtension(const QString &fileName, const QString &extension);
    // The filters in the dialog's order: (caption, extension).
    static QList<QPair<QString, QString>> filters();
    // The filter whose extension is the name's (in any case), else 0.
    static int filterIndexFor(const QString &fileName);
};

// The extended save dialog as the logic asks for it; the program installs
// the Qt dialog, tests a scripted one. Without one a request counts as
// cancelled. On OK, fileName is the chosen name and property holds the
// dialog's values.
class TSaveGraphicfileDialog
{
public:
    virtual ~TSaveGraphicfileDialog() = default;
    virtual bool execute(QString &fileName, TGraphicfileProperty &property, int unitMax) = 0;

    static std::unique_ptr<TSaveGraphicfileDialog> install(
        std::unique_ptr<TSaveGraphicfileDialog> dialog);
    static TSaveGraphicfileDialog *current();
};

// The image export's surfaces and dialog: asks for the name and size,
// chooses the surface by the file's extension and forwards to it.
class TGraphicfileFacade
{
public:
    TGraphicfileFacade();
    ~TGraphicfileFacade();
    TGraphicfileFacade(const TGraphicfileFacade &) = delete;
    TGraphicfileFacade &operator=(const TGraphicfileFacade &) = delete;

    // Runs the dialog; on OK the parameter takes its values and the surface
    // for the name's extension is chosen.
    bool askParameters(TGraphicfileParameter &parameter, const TModelViewRect &modelRect);
    // Chooses the surface for the name without asking (".emf" in any case
    // gives the metafile surface, everything else JPEG).
    void choose(const QString &fileName);
    void setupFile(const TModelViewRect &modelRect, const QSize &pixelSize,
        const TGraphicfileProperty &property);
    void saveFile();
    // Puts the chosen surface's scale, resolution and font scale back and
    // forgets it.
    void finish();

    const QString &fileName() const { return fFileName; }
    TGraphicfileAdapter *surface() const { return fChosen; }
    TGraphicfileAdapter *surfaceFor(const QString &fileName) const;

private:
    std::unique_ptr<TJpegAdapter> fJpeg;
    std::unique_ptr<TMetafileAdapter> fMetafile;
    TGraphicfileAdapter *fChosen = nullptr;
    QString fFileName;
};

} // namespace zarno
