// One undo step on a typical figure (200 shapes) and on a large one (10,000
// shapes: points, lines and segments, circles, circumcircles), each opened
// from a file through the controller on a 1600 × 1000 screen.
//
// A step is what the user waits for: recording it when an edit ends (the
// document written into memory and compared with the state before), and
// taking it back or doing it again (the state read back, the figure
// redrawn). step_ms is the slowest of the three. The baseline is saving the
// same figure to a file, timed in the same rounds.
#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/logic/model.h"
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/relation.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "persist/zarnofile.h"
#include "quietwindow.h"
#include "render/displayadapter.h"
#include "render/dpi.h"
#include "render/renderclasses.h"
#include "summary.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

using namespace zarno;

namespace {

constexpr int kWidth = 1600, kHeight = 1000;

double msOf(const std::function<void()> &f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Figure
{
    TShapeFactory &factory;
    TModel model;
    QuietWindow window;
    TFixedDrawingBox box { QSize(kWidth, kHeight) };
    TDisplayAdapter screen;
    std::unique_ptr<TController> controller;
    QTemporaryDir dir;
    QString path;
    int firstPoint = 0;
    int step = 0;

    Figure(TShapeFactory &f, int shapes)
        : factory(f)
    {
        screen.attachMainWindow(&box);
        controller = std::make_unique<TController>(model, factory, window, screen);
        model.setFactory(&factory);
        model.setController(controller.get());
        controller->startUp();
        firstPoint = field().count();
        build(shapes);
        path = dir.filePath(QStringLiteral("figure.znt"));
        TDocumentWriter::write(controller->document(), path);
        controller->openFile(path); // opened: the history starts here
    }
    ~Figure() { controller.reset(); }

    TField &field() { return controller->field(); }

    TShape *add(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore built = factory.createSilently(type, ps);
        TShape *s = built.first();
        field().takeAllFrom(built);
        return s;
    }

    // 40 % points on a grid inside the view, 30 % lines and segments, 15 %
    // circles, 15 % circumcircles.
    void build(int n)
    {
        const int points = n * 2 / 5, lines = n * 3 / 10, circles = n * 3 / 20;
        const int side = 1 + int(std::sqrt(double(points)));
        std::vector<TShape *> dots;
        for (int i = 0; i < points; ++i) {
            TShapeStore built = factory.create(TFiguretype::FIG_dotOnField, TShapeList());
            auto *d = static_cast<TShapeDot *>(built.first());
            d->setInitialXY({ (i % side) * 36.0 / side - 18, (i / side) * 22.0 / side - 11 });
            field().takeAllFrom(built);
            dots.push_back(d);
        }
        auto dot = [&](int i) { return dots[size_t(i % (points - side - 1))]; };
        for (int i = 0; i < lines; ++i)
            add(i % 2 ? TFiguretype::FIG_line : TFiguretype::FIG_senbun, { dot(i), dot(i + 1) });
        for (int i = 0; i < circles; ++i)
            add(TFiguretype::FIG_circle, { dot(i), dot(i + 1) });
        for (int i = 0; i < circles; ++i)
            add(TFiguretype::FIG_gaisetsuen, { dot(i), dot(i + 1), dot(i + side) });
    }

    // The edit: a point with lines and circles on it moves a little, as one
    // move of a drag does.
    void edit()
    {
        const double d = (step++ % 2 ? -1 : 1) * 0.05;
        TShape *p = field().items().at(firstPoint);
        p->moveXYOffsetXY(d, d);
        controller->refreshChanged(); // the shapes on it follow
    }
    double recordMs()
    {
        edit();
        return msOf([&] { controller->recordEdits(); });
    }
    double undoMs()
    {
        return msOf([&] { controller->executeAction(TCommandId::cmdUndo); });
    }
    double redoMs()
    {
        return msOf([&] { controller->executeAction(TCommandId::cmdRedo); });
    }
    double saveMs()
    {
        return msOf([&] { TDocumentWriter::write(controller->document(), path); });
    }
};

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
    registerRenderRelationClasses(factory);

    std::vector<std::pair<std::string, double>> summary;
    for (int n : { 200, 10000 }) {
        Figure figure(factory, n);
        const int rounds = n > 1000 ? 7 : 41;
        std::vector<double> record, undo, redo, save;
        for (int r = 0; r < rounds; ++r) {
            record.push_back(figure.recordMs());
            undo.push_back(figure.undoMs());
            redo.push_back(figure.redoMs());
            save.push_back(figure.saveMs());
        }
        if (figure.controller->history().undoCount() != std::min(rounds, 100)) {
            std::fprintf(stderr, "the edits were not recorded as steps\n");
            return 1;
        }
        const double recordMs = median(record), undoMs = median(undo), redoMs = median(redo),
                     saveMs = median(save);
        const double stepMs = std::max({ recordMs, undoMs, redoMs });
        std::printf("%d shapes (%d in the field), state %lld bytes, history %lld bytes in %d "
                    "steps: record %.3f ms, undo %.3f ms, redo %.3f ms, save %.3f ms\n",
            n, int(figure.field().count()),
            static_cast<long long>(figure.controller->history().current().size()),
            static_cast<long long>(figure.controller->history().stepBytes()),
            figure.controller->history().undoCount(), recordMs, undoMs, redoMs, saveMs);
        const std::string k = std::to_string(n);
        summary.push_back({ "step_ms_" + k, stepMs });
        summary.push_back({ "record_ms_" + k, recordMs });
        summary.push_back({ "undo_ms_" + k, undoMs });
        summary.push_back({ "save_ms_" + k, saveMs });
        summary.push_back({ "step_per_save_" + k, stepMs / saveMs });
    }
    TParents2Children::setGuidanceNameCreator(nullptr);
    printBenchSummary("undo", summary);
    return 0;
}
