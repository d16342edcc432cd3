#include "app/commandlineexport.h"

#include "app/appli.h"
#include "app/logic/commandline.h"
#include "core/exceptions.h"
#include "graphs/dot2function.h"
#include "labels/labelclasses.h"
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/relation.h"
#include "model/shapefactory.h"
#include "paint/shapepaint.h"
#include "persist/xmltext.h"
#include "persist/zarnofile.h"
#include "platform/qtfontcatalog.h"
#include "render/displayadapter.h"
#include "render/dpi.h"
#include "render/graphicexport.h"
#include "render/graphicfileadapter.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"
#include "render/renderclasses.h"
#include "trace/shapetracer.h"
#include "typeset/fontmanage.h"
#include "typeset/typesetting.h"

#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zarno {

namespace {

void print(FILE *to, const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), to);
}

// A screen without a window, at the document's own scale and centre, large
// enough to show the whole output area: the export needs the area's size
// in screen pixels for its aspect ratio and font scale.
QSize screenSizeFor(const TField &field, const TModelViewRect &area)
{
    const TModelPoint mm = field.getMmPerModel1(), c = field.getCenterXy();
    const double ppmX = mm.x * TDpi::kScreenDpiX / 25.4, ppmY = mm.y * TDpi::kScreenDpiY / 25.4;
    const double halfW = std::max(std::fabs(area.left - c.x), std::fabs(area.right - c.x)) * ppmX;
    const double halfH = std::max(std::fabs(area.top - c.y), std::fabs(area.bottom - c.y)) * ppmY;
    auto side = [](double half) { return int(std::clamp(std::ceil(2 * half) + 8, 64.0, 20000.0)); };
    return QSize(side(halfW), side(halfH));
}

} // namespace

int runCommandLineExport(const QStringList &arguments)
{
    QString error;
    const std::optional<TExportRequest> request = TExportRequest::parse(arguments, error);
    if (!request) {
        print(stderr, error);
        print(stderr, TExportRequest::usage());
        return 2;
    }
    TDpi::useScreenResolution();
    TTeXResolution::install(&dpiTeXResolution());
    struct Uninstall
    {
        ~Uninstall()
        {
            TTeXResolution::install(nullptr);
            TParents2Children::setGuidanceNameCreator(nullptr);
        }
    } uninstall;
    TGuidanceNameCreator guidance;
    TParents2Children::setGuidanceNameCreator(&guidance);
    int rc = 0;
    try {
        initializeTypesetting(TQtFontCatalog::instance());
        TShapeFactory factory;
        registerModelRelationClasses(factory);
        registerGraphRelationClasses(factory);
        registerLabelRelationClasses(factory);
        registerPaintRelationClasses(factory);
        registerTraceRelationClasses(factory);
        registerRenderRelationClasses(factory);

        std::unique_ptr<TZarnofile> document;
        try {
            if (!QFileInfo::exists(request->input))
                throw EFileStreamError(
                    QStringLiteral("ファイルが見つかりません。\r\n") + request->input);
            document = TFileReader(request->input, factory).read();
        } catch (const EFileStreamError &e) {
            print(stderr, e.message());
            return 1;
        } catch (const EZarnoBase &) {
            print(stderr, TXmlText::damagedFileMessage(request->input));
            return 1;
        }
        TField &field = document->field();
        auto *area = dynamic_cast<TShapePrintArea *>(field.printArea());
        TGraphicfileProperty property = area ? area->property() : TGraphicfileProperty();
        if (request->widthMm) {
            property.scaleType = TGraphicFileScaletype::gstInBox;
            property.boxSizeMm = *request->widthMm;
        }
        if (request->unitMm) {
            property.scaleType = TGraphicFileScaletype::gstHAxe1;
            property.hAxe1_mm = *request->unitMm;
        }
        if (request->textResizes)
            property.fontScaleType = *request->textResizes
                ? TGraphicFileFontScaletype::fstResize
                : TGraphicFileFontScaletype::fstSameAsDisplay;

        // The area is what the teacher framed, shown on screen or not.
        if (area && area->hasParts())
            area->setShown(true);
        const TModelViewRect framed
            = area && area->hasParts() ? area->modelRect() : TModelViewRect { -4, 3, 4, -3 };
        TFixedDrawingBox box(screenSizeFor(field, framed));
        TDisplayAdapter screen;
        screen.attachMainWindow(&box);
        screen.setController(&field);
        screen.fitToView();
        const TExportRectangle rectangle = exportRectangle(screen, area);

        // The same limits as the save dialog.
        const TMmRange box30 = TGraphicfileDialogRules::boxRange();
        const int unitMax
            = TGraphicfileDialogRules::unitMaxFor(rectangle.model.right - rectangle.model.left);
        const TMmRange unitRange = TGraphicfileDialogRules::unitRange(unitMax);
        if (property.scaleType == TGraphicFileScaletype::gstInBox
            && !box30.contains(property.boxSizeMm)) {
            print(stderr, TGraphicfileDialogRules::boxRangeMessage(box30));
            return 2;
        }
        if (property.scaleType == TGraphicFileScaletype::gstHAxe1
            && !unitRange.contains(property.hAxe1_mm)) {
            print(stderr, TGraphicfileDialogRules::unitRangeMessage(unitRange));
            return 2;
        }

        if (area)
            area->hideForExport();
        TGraphicfileFacade facade;
        facade.choose(request->output);
        const TGraphicfileAdapter *surface = facade.surface();
        drawAndSaveGraphicfile(field, facade, rectangle, property);
        print(stdout,
            QStringLiteral("%1: %2 × %3 mm, %4 × %5 px (300 dpi)")
                .arg(request->output)
                .arg(surface->sizeMm().x, 0, 'f', 2)
                .arg(surface->sizeMm().y, 0, 'f', 2)
                .arg(surface->pixelSize().width())
                .arg(surface->pixelSize().height()));
    } catch (const EFileStreamError &e) {
        print(stderr, e.message());
        rc = 1;
    } catch (const EZarnoBase &e) {
        print(stderr, e.message());
        rc = 1;
    }
    return rc;
}

} // namespace zarno
