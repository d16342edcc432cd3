// 50 graphs of mixed formulas drawn on a 1600 × 1000 screen surface and on
// a surface as wide as a 300-dpi export (5000 columns). Reports the time per
// frame and the share of it spent evaluating formulas.
#include "graphs/dot2function.h"
#include "graphs/shapefunction.h"
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "platform/bitmap.h"
#include "render/displayadapter.h"
#include "summary.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace zarno;

namespace {

const char *kFormulas[] = { "x^2-3x+2", "sin(x)cos(2x)", "1/x", "sqrt(4-x^2)", "tan(x)", "x^3/10-x",
    "exp(-x^2/2)*3", "abs(x)-2", "cos(3x)+x/4", "1.5x^4-2x^3+x-7" };

struct Scene
{
    TGuidanceNameCreator creator;
    TShapeFactory factory;
    TField field;
    Scene()
    {
        TParents2Children::setGuidanceNameCreator(&creator);
        registerModelRelationClasses(factory);
        registerGraphRelationClasses(factory);
        for (int i = 0; i < 50; ++i) {
            TShapeStore point = factory.create(TFiguretype::FIG_dotOnField, TShapeList());
            auto *p = static_cast<TShapeDot *>(point.first());
            p->setInitialXY({ (i % 7) * 0.3 - 1, (i % 5) * 0.4 - 1 });
            field.takeAllFrom(point);
            TShapeList ps;
            ps.add(p);
            auto built = factory.createSilently(TFiguretype::FIG_function, ps);
            auto *g = static_cast<TShapeFunction *>(built.first());
            static_cast<TParentDot2Function *>(g->relation())
                ->setFormula(QString::fromLatin1(kFormulas[i % 10]));
            field.takeAllFrom(built);
        }
    }
};

double frameMs(Scene &scene, TDisplayAdapter &surface, int frames)
{
    TDrawStatus status;
    surface.redraw(scene.field, status);
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        surface.redraw(scene.field, status);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count()
        / frames;
}

// The evaluation alone: every graph's batch over the same columns.
double evalMs(Scene &scene, int columns, double left, double step, int frames)
{
    std::vector<double> s(static_cast<std::size_t>(columns));
    std::vector<double> t(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i)
        s[std::size_t(i)] = left + i * step;
    const auto t0 = std::chrono::steady_clock::now();
    for (int f = 0; f < frames; ++f)
        for (TShape *shape : scene.field.items())
            if (auto *g = dynamic_cast<TShapeFunction *>(shape))
                static_cast<TParentSomething2function *>(g->relation())
                    ->valuesAt(s.data(), t.data(), columns);
    benchmark::DoNotOptimize(t.data());
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count()
        / frames;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Scene scene;
    TFixedDrawingBox screenBox(QSize(1600, 1000)), exportBox(QSize(5000, 3125));
    TDisplayAdapter screen, wide;
    screen.attachMainWindow(&screenBox);
    wide.attachMainWindow(&exportBox);
    for (TDisplayAdapter *s : { &screen, &wide }) {
        s->setController(&scene.field);
        s->fitToView();
    }
    const double screenMs = frameMs(scene, screen, 30);
    const double exportMs = frameMs(scene, wide, 8);
    const TModelViewRect v = screen.getModelViewRect();
    const double eval = evalMs(scene, 1600, v.left, screen.getModelPerPixel().x, 30);
    if (argc > 1 && QString::fromLocal8Bit(argv[argc - 1]).endsWith(QLatin1String(".png")))
        screen.getBitmap().saveToFile(QString::fromLocal8Bit(argv[argc - 1]));
    std::printf("50 graphs, screen 1600 columns, export 5000 columns; evaluation alone %.2f ms per "
                "screen frame\n",
        eval);
    printBenchSummary("graphs",
        { { "screen_frame_ms", screenMs }, { "export_frame_ms", exportMs },
            { "eval_share", eval / screenMs } });
    return 0;
}
