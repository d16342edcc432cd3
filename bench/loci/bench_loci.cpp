// Loci on a 1600 × 1000 screen: a locus of a point with 20000 records (a
// spiral) and a locus of a line with 10000 records (the tangents of a
// circle, whose envelope is the circle).
//
// thinned: a redraw after a scroll, which draws every k-th record (4th of
// the points, 10th of the lines); full: the redraw after a release, which
// draws every record; drag step: one drag step of the line's point with both
// loci recording and drawing their current state, less the same step on the
// same figure without locus marks.
#include "graphs/dot2function.h"
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "platform/bitmap.h"
#include "render/displayadapter.h"
#include "summary.h"
#include "trace/shapetracer.h"
#include "trace/tracerecords.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace zarno;

namespace {

struct Scene
{
    TGuidanceNameCreator creator;
    TShapeFactory factory;
    TField field;
    TShapeDot *p = nullptr;
    TShapeDot *a = nullptr;
    TShapeTracer *pointMark = nullptr;
    TShapeTracer *lineMark = nullptr;

    explicit Scene(bool withMarks)
    {
        TParents2Children::setGuidanceNameCreator(&creator);
        registerModelRelationClasses(factory);
        registerGraphRelationClasses(factory);
        registerTraceRelationClasses(factory);
        // The point and the line stand on one of their records.
        p = point(0.3, 0);
        a = point(3, -1);
        TShapeDot *b = point(3, 0);
        TShapeList ends;
        ends.add(a);
        ends.add(b);
        TShape *line = add(factory.createSilently(TFiguretype::FIG_line, ends));
        if (!withMarks)
            return;
        pointMark = mark(p);
        lineMark = mark(line);
        // A spiral of 20000 positions, and 10000 tangents of the circle of radius 3.
        TAbstractTracer &dots = pointMark->tracerRelation()->tracer();
        for (int i = 0; i < 20000; ++i) {
            const double t = i * 0.01, r = 0.3 + 3.7 * i / 20000;
            dots.addRecord(std::make_unique<TTraceRecordOfDot>(r * std::cos(t), r * std::sin(t)));
        }
        TAbstractTracer &lines = lineMark->tracerRelation()->tracer();
        // The line itself is the tangent at 0, recorded at the first redraw.
        for (int i = 1; i < 10000; ++i) {
            const double t = i * 2 * M_PI / 10000;
            TMathCyokusen l;
            l.setABC(std::cos(t), std::sin(t), -3);
            lines.addRecord(TTraceRecordOfCyokusen::of(l));
        }
    }
    ~Scene() { TParents2Children::setGuidanceNameCreator(nullptr); }

    TShape *add(TShapeStore made)
    {
        TShape *s = made.first();
        field.takeAllFrom(made);
        return s;
    }
    TShapeDot *point(double x, double y)
    {
        auto *d = static_cast<TShapeDot *>(
            add(factory.createSilently(TFiguretype::FIG_dotOnField, TShapeList())));
        d->setXY({ x, y });
        return d;
    }
    TShapeTracer *mark(TShape *traced)
    {
        TShapeList ps;
        ps.add(traced);
        return static_cast<TShapeTracer *>(
            add(factory.createSilently(TFiguretype::FIG_tracer, ps)));
    }
};

void redraw(TDisplayAdapter &screen, Scene &scene, TCurrentDrawStatus s)
{
    TDrawStatus status;
    status.value = s;
    screen.redraw(scene.field, status);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TFixedDrawingBox box(QSize(1600, 1000));
    TDisplayAdapter screen;
    screen.attachMainWindow(&box);

    Scene loci(true);
    screen.setController(&loci.field);
    screen.fitToView();
    redraw(screen, loci, TCurrentDrawStatus::DocumentChanged);
    const int dots = loci.pointMark->tracerRelation()->tracer().count();
    const int lines = loci.lineMark->tracerRelation()->tracer().count();
    const double thinned
        = medianMs([&] { redraw(screen, loci, TCurrentDrawStatus::Scrolling); }, 31);
    const double full
        = medianMs([&] { redraw(screen, loci, TCurrentDrawStatus::DocumentChanged); }, 11);
    if (argc > 1 && QString::fromLocal8Bit(argv[argc - 1]).endsWith(QLatin1String(".png")))
        screen.getBitmap().saveToFile(QString::fromLocal8Bit(argv[argc - 1]));

    // A drag step moves the line's point back and forth by a pixel or so.
    auto dragSteps = [&](Scene &scene) {
        int step = 0;
        return medianMs(
                   [&] {
                       for (int i = 0; i < 50; ++i) {
                           const double d = (step++ % 2 ? -1 : 1) * 0.013;
                           scene.a->moveXYOffsetXY(d, d / 2);
                           redraw(screen, scene, TCurrentDrawStatus::Dragging);
                       }
                   },
                   9)
            / 50;
    };
    const double dragWith = dragSteps(loci);
    Scene plain(false);
    screen.setController(&plain.field);
    redraw(screen, plain, TCurrentDrawStatus::DocumentChanged);
    const double dragWithout = dragSteps(plain);

    std::printf("%d point records, %d line records; drag step %.3f ms with the loci, %.3f ms "
                "without\n",
        dots, lines, dragWith, dragWithout);
    printBenchSummary("loci",
        { { "thinned_ms", thinned }, { "full_ms", full },
            { "drag_step_ms", dragWith - dragWithout } });
    return 0;
}
