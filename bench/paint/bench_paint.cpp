// One filled region that covers most of the figure, found and filled on a
// 300-dpi export of 180 × 120 mm (2126 × 1417 pixels) and on a 1600 × 1000
// screen: the boundary passes, the flood from the seed, the mask's region
// and the hatched brush over it.
//
// The region: a rectangle of four segments just inside the view, with a
// circle cut out of its middle, seeded left of the circle.
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/relation.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "paint/shapepaint.h"
#include "platform/bitmap.h"
#include "platform/regionmask.h"
#include "render/displayadapter.h"
#include "render/dpi.h"
#include "render/graphicexport.h"
#include "render/graphicfileadapter.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"
#include "summary.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace zarno;

namespace {

TShapeDot *point(TField &field, const TShapeFactory &factory, double x, double y)
{
    TShapeStore made = factory.createSilently(TFiguretype::FIG_dotOnField, TShapeList());
    auto *d = static_cast<TShapeDot *>(made.first());
    d->setInitialXY({ x, y });
    field.takeAllFrom(made);
    return d;
}

TShape *make(TField &field, const TShapeFactory &factory, TFiguretype type,
    std::initializer_list<TShape *> parents)
{
    TShapeList list;
    for (TShape *p : parents)
        list.add(p);
    TShapeStore made = factory.createSilently(type, list);
    TShape *first = made.first();
    field.takeAllFrom(made);
    return first;
}

// The region inside the view rectangle, 3% in from its edges.
TShapePaint *buildRegion(TField &field, const TShapeFactory &factory, const TModelViewRect &v)
{
    const double w = v.right - v.left, h = v.top - v.bottom;
    const double l = v.left + 0.03 * w, r = v.right - 0.03 * w, t = v.top - 0.03 * h,
                 b = v.bottom + 0.03 * h;
    TShapeDot *corners[4] = { point(field, factory, l, t), point(field, factory, r, t),
        point(field, factory, r, b), point(field, factory, l, b) };
    std::vector<TShape *> curves;
    for (int i = 0; i < 4; ++i)
        curves.push_back(
            make(field, factory, TFiguretype::FIG_senbun, { corners[i], corners[(i + 1) % 4] }));
    const double cx = (v.left + v.right) / 2, cy = (v.top + v.bottom) / 2;
    curves.push_back(make(field, factory, TFiguretype::FIG_circle,
        { point(field, factory, cx, cy), point(field, factory, cx + 0.15 * h, cy) }));
    TShapeDot *seed = point(field, factory, l + 0.1 * w, cy);
    TShapeList parents;
    parents.add(seed);
    for (TShape *c : curves)
        parents.add(c);
    TShapeStore made = factory.createSilently(TFiguretype::FIG_paint, parents);
    auto *paint = static_cast<TShapePaint *>(made.first());
    field.takeAllFrom(made);
    return paint;
}

// The share of the bitmap's pixels the region's brush could reach.
double coveredShare(const TBitmap &mask)
{
    const TRegion region = TRegion::makeRgnFromBitmap(mask, kColorWhite);
    return double(region.area()) / (double(mask.width()) * mask.height());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TDpi::useScreenResolution();
    TGuidanceNameCreator creator;
    TParents2Children::setGuidanceNameCreator(&creator);
    TShapeFactory factory;
    registerModelRelationClasses(factory);
    registerPaintRelationClasses(factory);

    // The export: 18 × 12 units at 10 mm per unit.
    TField exportField;
    const TModelViewRect exportRect { -9, 6, 9, -6 };
    buildRegion(exportField, factory, exportRect);
    TGraphicfileProperty property;
    property.scaleType = TGraphicFileScaletype::gstHAxe1;
    property.hAxe1_mm = 10;
    const TExportRectangle rectangle { exportRect, QSize(1600, 1067), false };
    QTemporaryDir dir;
    TGraphicfileFacade facade;
    double exportShare = 0;
    auto exportFill = [&](const QString &name, bool save) {
        facade.choose(dir.filePath(name));
        TGraphicfileAdapter &surface = *facade.surface();
        surface.setController(&exportField);
        facade.setupFile(rectangle.model, rectangle.pixels, property);
        surface.clear();
        TDrawStatus status { TCurrentDrawStatus::DocumentChanged, false };
        exportField.draw(status, surface);
        exportShare = coveredShare(TPaintAdapter::instance().getBitmap());
        if (save)
            surface.saveFile();
        facade.finish();
    };
    exportFill(QStringLiteral("warm.jpg"), true);
    const QSize exportPx = facade.surfaceFor(QStringLiteral("x.jpg"))->pixelSize();

    // The screen: 1600 × 1000 pixels at the field's own scale.
    TField screenField;
    TFixedDrawingBox box(QSize(1600, 1000));
    TDisplayAdapter screen;
    screen.attachMainWindow(&box);
    screen.setController(&screenField);
    screen.fitToView();
    screen.prepareDraw();
    buildRegion(screenField, factory, screen.getModelViewRect());
    TDrawStatus status { TCurrentDrawStatus::Ordinary, false };
    screen.redraw(screenField, status);
    const double screenShare = coveredShare(TPaintAdapter::instance().getBitmap());
    TDpi::useScreenResolution();

    double exportMs = 0, screenMs = 0, svgMs = 0, emfMs = 0;
    const int rounds = 5;
    for (int i = 0; i < rounds; ++i) {
        exportMs += medianMs([&] { exportFill(QStringLiteral("x.jpg"), false); }, 5);
        screenMs += medianMs([&] { screen.redraw(screenField, status); }, 9);
        svgMs += medianMs([&] { exportFill(QStringLiteral("x.svg"), true); }, 3);
        emfMs += medianMs([&] { exportFill(QStringLiteral("x.emf"), true); }, 3);
    }
    std::printf("export %d x %d px (%.2f Mpx), region %.0f%%; screen 1600 x 1000, region %.0f%%\n",
        exportPx.width(), exportPx.height(), exportPx.width() * exportPx.height() / 1e6,
        exportShare * 100, screenShare * 100);
    printBenchSummary("paint",
        { { "export_fill_ms", exportMs / rounds }, { "screen_fill_ms", screenMs / rounds },
            { "svg_ms", svgMs / rounds }, { "emf_ms", emfMs / rounds } });
    TParents2Children::setGuidanceNameCreator(nullptr);
    return 0;
}
