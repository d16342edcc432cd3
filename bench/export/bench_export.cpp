// One figure exported 180 mm wide at 300 dpi as JPEG, EMF, SVG and PDF,
// against the JPEG encoding alone of the same bitmap.
//
// The figure: 300 shapes on a 16 × 12 field (segments, circles, arcs and
// sampled graph-like polylines of 400 points each), 50 typeset labels on
// points, and the axes shown with their numbers and a grid every half unit.
#include "core/enums.h"
#include "labels/labelclasses.h"
#include "labels/shapewriting.h"
#include "labels/zahyoujiku.h"
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/relation.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "platform/bitmap.h"
#include "platform/jpegencoder.h"
#include "platform/qtfontcatalog.h"
#include "render/dpi.h"
#include "render/graphicexport.h"
#include "render/graphicfileadapter.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"
#include "renderdemo/demofield.h"
#include "summary.h"
#include "typeset/typesetting.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace zarno;

namespace {

// The axes every document has, shown, with grid lines every half unit, and
// 50 labels on points.
void addAxesAndLabels(TField &field, const TShapeFactory &factory)
{
    TShapeStore axes = factory.create(TFiguretype::FIG_zahyoujiku, TShapeList());
    field.takeAllFrom(axes);
    field.setAxesShown(true);
    auto &shape = static_cast<TShapeZahyoujiku &>(*field.axes());
    for (int i = 0; i < 2; ++i) {
        TWriting &grid = shape.axe(i).gridlineInterval();
        grid.setRationalNumber(QStringLiteral("1"), QStringLiteral("2"), grid.pt());
        grid.setView(true);
    }
    std::mt19937 rng(50);
    std::uniform_real_distribution<double> x(-7.5, 7.5), y(-5.5, 5.5);
    for (int i = 0; i < 50; ++i) {
        TShapeStore dot = factory.createSilently(TFiguretype::FIG_dotOnField, TShapeList());
        auto *d = static_cast<TShapeDot *>(dot.first());
        d->setInitialXY({ x(rng), y(rng) });
        field.takeAllFrom(dot);
        TShapeList parent;
        parent.add(d);
        TShapeStore made = factory.createSilently(TFiguretype::FIG_writing, parent);
        static_cast<TShapeWriting *>(made.first())
            ->setTextAndPt(i % 2 ? QStringLiteral("P_{%1}").arg(i)
                                 : QStringLiteral("\\frac{%1}{2}\\pi").arg(i),
                11);
        field.takeAllFrom(made);
    }
    field.renumber();
    for (TShape *s : field.items())
        if (TAbstractParents2Children *r = s->relation())
            r->calcChildren(nullptr);
}

void buildFigure(TField &field)
{
    std::mt19937 rng(18);
    std::uniform_real_distribution<double> x(-8, 8), y(-6, 6), r(0.3, 4);
    auto add = [&](TShapetype type, TDemoShape::Drawer d) {
        field.add(std::make_unique<TDemoShape>(type, std::move(d)));
    };
    for (int i = 0; i < 120; ++i) {
        const double x1 = x(rng), y1 = y(rng), x2 = x(rng), y2 = y(rng);
        add(TShapetype::SHAPE_senbun,
            [=](TAbstractImageAdapter &s, TPenBrush &pb) { s.drawSegment(pb, x1, y1, x2, y2); });
    }
    for (int i = 0; i < 100; ++i) {
        const double cx = x(rng), cy = y(rng), rr = r(rng);
        add(TShapetype::SHAPE_circle,
            [=](TAbstractImageAdapter &s, TPenBrush &pb) { s.drawCircle(pb, cx, cy, rr); });
    }
    for (int i = 0; i < 60; ++i) {
        const double cx = x(rng), cy = y(rng), rr = r(rng);
        add(TShapetype::SHAPE_circle, [=](TAbstractImageAdapter &s, TPenBrush &pb) {
            s.drawArc(pb, cx, cy, rr, cx + rr, cy, cx, cy + rr);
        });
    }
    for (int i = 0; i < 20; ++i) {
        std::vector<double> xs, ys;
        const double a = 0.5 + i * 0.1, b = i * 0.3;
        for (int k = 0; k <= 400; ++k) {
            const double t = -8 + 16.0 * k / 400;
            xs.push_back(t);
            ys.push_back(std::clamp(a * std::sin(t + b) * 3, -6.0, 6.0));
        }
        add(TShapetype::SHAPE_function, [xs, ys](TAbstractImageAdapter &s, TPenBrush &pb) {
            s.drawPolyline(pb, {}, int(xs.size()) - 1, xs.data(), ys.data());
        });
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TDpi::useScreenResolution();
    initializeTypesetting(TQtFontCatalog::instance());
    TGuidanceNameCreator creator;
    TParents2Children::setGuidanceNameCreator(&creator);
    TShapeFactory factory;
    registerModelRelationClasses(factory);
    registerLabelRelationClasses(factory);
    TField field;
    buildFigure(field);
    addAxesAndLabels(field, factory);
    QTemporaryDir dir;
    TGraphicfileProperty property;
    property.scaleType = TGraphicFileScaletype::gstInBox;
    property.boxSizeMm = 180;
    // The field's 16 × 12 units as a screen at 20 mm per unit shows them.
    const TExportRectangle rectangle { { -8, 6, 8, -6 }, QSize(1135, 851), false };
    TGraphicfileFacade facade;
    auto exportAs = [&](const QString &name) {
        facade.choose(dir.filePath(name));
        drawAndSaveGraphicfile(field, facade, rectangle, property);
    };
    exportAs(QStringLiteral("warm.jpg"));
    exportAs(QStringLiteral("warm.emf"));
    exportAs(QStringLiteral("warm.svg"));
    exportAs(QStringLiteral("warm.pdf"));
    // The bitmap the JPEG export drew, encoded alone.
    TGraphicfileAdapter &jpeg = *facade.surfaceFor(QStringLiteral("x.jpg"));
    const TBitmap &bitmap = jpeg.getBitmap();
    std::printf("image %d x %d px\n", bitmap.width(), bitmap.height());
    // The JPEG export without its encoding and file: what the drawing costs.
    auto drawOnly = [&] {
        facade.choose(dir.filePath(QStringLiteral("x.jpg")));
        TGraphicfileAdapter &surface = *facade.surface();
        surface.setController(&field);
        facade.setupFile(rectangle.model, rectangle.pixels, property);
        surface.clear();
        TDrawStatus status { TCurrentDrawStatus::DocumentChanged, false };
        field.draw(status, surface);
        facade.finish();
    };
    double jpegMs = 0, encodeMs = 0, drawMs = 0, emfMs = 0, svgMs = 0, pdfMs = 0;
    const int rounds = 5;
    for (int i = 0; i < rounds; ++i) {
        jpegMs += medianMs([&] { exportAs(QStringLiteral("x.jpg")); }, 5);
        encodeMs += medianMs([&] { (void)encodeJpeg(bitmap, 100, 300); }, 5);
        drawMs += medianMs(drawOnly, 5);
        emfMs += medianMs([&] { exportAs(QStringLiteral("x.emf")); }, 5);
        svgMs += medianMs([&] { exportAs(QStringLiteral("x.svg")); }, 5);
        pdfMs += medianMs([&] { exportAs(QStringLiteral("x.pdf")); }, 5);
    }
    jpegMs /= rounds;
    encodeMs /= rounds;
    drawMs /= rounds;
    emfMs /= rounds;
    svgMs /= rounds;
    pdfMs /= rounds;
    printBenchSummary("export",
        { { "jpeg_ms", jpegMs }, { "encode_only_ms", encodeMs },
            { "jpeg_ratio", jpegMs / encodeMs }, { "draw_only_ms", drawMs }, { "emf_ms", emfMs },
            { "svg_ms", svgMs }, { "pdf_ms", pdfMs } });
    // The files of the last round, to be looked at side by side.
    const QString keep = qEnvironmentVariable("ZARNO_BENCH_KEEP");
    if (!keep.isEmpty())
        for (const char *ext : { "jpg", "emf", "svg", "pdf" }) {
            const QString name = QStringLiteral("x.") + QLatin1String(ext);
            QFile::remove(QDir(keep).filePath(name));
            QFile::copy(dir.filePath(name), QDir(keep).filePath(name));
        }
    TParents2Children::setGuidanceNameCreator(nullptr);
    return 0;
}
