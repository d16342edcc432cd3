// One figure exported 180 mm wide at 300 dpi as JPEG and as EMF, against the
// JPEG encoding alone of the same bitmap.
//
// The figure: 300 shapes on a 16 × 12 field (segments, circles, arcs and
// sampled graph-like polylines of 400 points each). Labels and the axes
// with their grid are not in the program yet; when they are, add 50 labels
// and the axes to buildFigure so that the figure is the one the target
// names.
#include "core/enums.h"
#include "model/field.h"
#include "platform/bitmap.h"
#include "platform/jpegencoder.h"
#include "render/dpi.h"
#include "render/graphicexport.h"
#include "render/graphicfileadapter.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"
#include "renderdemo/demofield.h"
#include "summary.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace zarno;

namespace {

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
    TField field;
    buildFigure(field);
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
    // The bitmap the JPEG export drew, encoded alone.
    TGraphicfileAdapter &jpeg = *facade.surfaceFor(QStringLiteral("x.jpg"));
    const TBitmap &bitmap = jpeg.getBitmap();
    std::printf("image %d x %d px\n", bitmap.width(), bitmap.height());
    double jpegMs = 0, encodeMs = 0, emfMs = 0;
    const int rounds = 5;
    for (int i = 0; i < rounds; ++i) {
        jpegMs += medianMs([&] { exportAs(QStringLiteral("x.jpg")); }, 5);
        encodeMs += medianMs([&] { (void)encodeJpeg(bitmap, 100, 300); }, 5);
        emfMs += medianMs([&] { exportAs(QStringLiteral("x.emf")); }, 5);
    }
    jpegMs /= rounds;
    encodeMs /= rounds;
    emfMs /= rounds;
    printBenchSummary("export",
        { { "jpeg_ms", jpegMs }, { "encode_only_ms", encodeMs },
            { "jpeg_ratio", jpegMs / encodeMs }, { "emf_ms", emfMs } });
    return 0;
}
