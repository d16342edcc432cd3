#include "render/graphicfilefacade.h"

#include "core/exceptions.h"
#include "render/graphicfileadapter.h"

#include <QFileInfo>
#include <cmath>

namespace zarno {

namespace {
std::unique_ptr<TSaveGraphicfileDialog> &installedDialog()
{
    static std::unique_ptr<TSaveGraphicfileDialog> dialog;
    return dialog;
}
} // namespace

QString TMmRange::text() const
{
    return QString::number(min) + QStringLiteral("〜") + QString::number(max)
        + QStringLiteral("mm");
}

int TMmRange::maxLength() const
{
    return int(std::max(QString::number(min).size(), QString::number(max).size()));
}

int TGraphicfileDialogRules::unitMaxFor(double modelWidth)
{
    if (!(modelWidth > 0) || !std::isfinite(modelWidth))
        return 0;
    const double m = std::nearbyint(423.33333333333333334 / modelWidth);
    return m > 100000 ? 100000 : int(m);
}

QString TGraphicfileDialogRules::boxRangeMessage(const TMmRange &range)
{
    return QStringLiteral("正方形の1辺は") + range.text()
        + QStringLiteral("でなければなりません。");
}

QString TGraphicfileDialogRules::unitRangeMessage(const TMmRange &range)
{
    return QStringLiteral("x 座標の1の長さは") + range.text()
        + QStringLiteral("でなければなりません。");
}

QString TGraphicfileDialogRules::replaceExtension(const QString &fileName, const QString &extension)
{
    const qsizetype slash
        = std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > slash ? fileName.left(dot) : fileName;
    return base + extension;
}

QList<QPair<QString, QString>> TGraphicfileDialogRules::filters()
{
    return {
        { QStringLiteral("jpeg file (*.jpg)"), QStringLiteral(".jpg") },
        { QStringLiteral("enhanced metafile (*.emf)"), QStringLiteral(".emf") },
    };
}

int TGraphicfileDialogRules::filterIndexFor(const QString &fileName)
{
    const QString suffix = QLatin1Char('.') + QFileInfo(fileName).suffix().toLower();
    const auto list = filters();
    for (int i = 0; i < list.size(); ++i)
        if (list[i].second == suffix)
            return i;
    return 0;
}

std::unique_ptr<TSaveGraphicfileDialog> TSaveGraphicfileDialog::install(
    std::unique_ptr<TSaveGraphicfileDialog> dialog)
{
    std::swap(installedDialog(), dialog);
    return dialog;
}

TSaveGraphicfileDialog *TSaveGraphicfileDialog::current()
{
    return installedDialog().get();
}

TGraphicfileFacade::TGraphicfileFacade()
    : fJpeg(std::make_unique<TJpegAdapter>())
    , fMetafile(std::make_unique<TMetafileAdapter>())
{ }

TGraphicfileFacade::~TGraphicfileFacade() = default;

TGraphicfileAdapter *TGraphicfileFacade::surfaceFor(const QString &fileName) const
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QStringLiteral("emf"))
        return fMetafile.get();
    return fJpeg.get();
}

void TGraphicfileFacade::choose(const QString &fileName)
{
    fFileName = fileName;
    fChosen = surfaceFor(fileName);
}

bool TGraphicfileFacade::askParameters(
    TGraphicfileParameter &parameter, const TModelViewRect &modelRect)
{
    TSaveGraphicfileDialog *dialog = TSaveGraphicfileDialog::current();
    if (!dialog)
        return false;
    QString name = parameter.fileName;
    TGraphicfileProperty property = parameter.property;
    const int unitMax = TGraphicfileDialogRules::unitMaxFor(modelRect.right - modelRect.left);
    if (!dialog->execute(name, property, unitMax) || name.isEmpty())
        return false;
    parameter.fileName = name;
    parameter.property = property;
    choose(name);
    return true;
}

void TGraphicfileFacade::setupFile(
    const TModelViewRect &modelRect, const QSize &pixelSize, const TGraphicfileProperty &property)
{
    if (!fChosen)
        throw ESouteigai(QStringLiteral("TGraphicfileFacade"),
            QStringLiteral("画像ファイルの種類が選ばれていません。"), QStringLiteral("setupFile"));
    fChosen->setupFile(fFileName, modelRect, pixelSize, property);
}

void TGraphicfileFacade::saveFile()
{
    if (!fChosen)
        throw ESouteigai(QStringLiteral("TGraphicfileFacade"),
            QStringLiteral("画像ファイルの種類が選ばれていません。"), QStringLiteral("saveFile"));
    fChosen->saveFile();
}

void TGraphicfileFacade::finish()
{
    if (fChosen)
        fChosen->finishDraw();
    fChosen = nullptr;
}

} // namespace zarno
