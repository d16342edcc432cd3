// A drag on a large construction: the axes of a new document shown with
// their scale numbers and a grid on both axes, 1000 free points with 1000
// lines and segments, 500 circumcircles, 300 parallels and perpendiculars,
// 200 ellipses, 500 typeset labels of points and 500 points whose coordinates
// are formulas in a point, a line and a circle (p1.x+c1.r/10 …) built on them
// through the program's own factory, on a 1600 × 1000 screen.
//
// recompute: the recomputation of every shape in field order; the drag step
// (one root point moved, then the full screen redraw, which recomputes as it
// draws); and the same pixel primitives drawn straight with QPainter on an
// RGB32 QImage. shape_variables: the 500 formula points alone, against the
// 500 circumcircles alone.
// interaction: a press (with hit testing) then 100 moves and a release
// through the controller, timed per move event, against the bare drag step.
#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/logic/model.h"
#include "labels/labelclasses.h"
#include "labels/shapewriting.h"
#include "labels/zahyoujiku.h"
#include "model/field.h"
#include "model/geometry/mathdaen.h"
#include "model/geometry/mathen.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/relation.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "model/shapevariable2dot.h"
#include "platform/bitmap.h"
#include "platform/qtfontcatalog.h"
#include "quietwindow.h"
#include "render/displayadapter.h"
#include "render/dpi.h"
#include "render/renderclasses.h"
#include "summary.h"
#include "typeset/typesetting.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

using namespace zarno;

namespace {

constexpr int kWidth = 1600, kHeight = 1000;

// The pixel primitives of the field as it stands, for QPainter to draw.
struct PixelFrame
{
    std::vector<QLine> lines;
    std::vector<QRect> outlines, dots;
    // Labels as plain text at the place and size of their bitmaps.
    std::vector<std::pair<QRect, QString>> texts;

    void collect(TField &field, const TImageAdapter &screen)
    {
        lines.clear();
        outlines.clear();
        dots.clear();
        texts.clear();
        const TUnitTransformer &t = screen.transformer();
        auto px = [&](const TMathZahyo &p) { return t.modelToPixel(p.toPoint()); };
        auto box = [&](const TMathZahyo &c, double a, double b) {
            return QRect(
                t.modelToPixel({ c.x - a, c.y + b }), t.modelToPixel({ c.x + a, c.y - b }));
        };
        for (TShape *s : field.items()) {
            if (!s->isDrawable() || !s->isViewAtScreen(false))
                continue;
            if (auto *w = dynamic_cast<TShapeWriting *>(s)) {
                const TModelViewRect b = w->writing().bounds();
                texts.emplace_back(
                    QRect(t.modelToPixel({ b.left, b.top }), t.modelToPixel({ b.right, b.bottom })),
                    w->writing().text());
            } else if (auto *d = dynamic_cast<TShapeDot *>(s)) {
                const QPoint p = t.modelToPixel(d->getXY());
                dots.push_back(QRect(p.x() - 2, p.y() - 2, 4, 4));
            } else if (auto *l = dynamic_cast<TShapeLine *>(s)) {
                // The screen draw left the clipped ends of full lines in the boundary.
                const TBoundaryOfLine &b = l->boundary();
                if (b.type == TBoundaryType::btBothSides)
                    lines.push_back(QLine(px(b.first), px(b.second)));
                else
                    lines.push_back(QLine(px(b.edge1), px(b.edge2)));
            } else if (auto *c = dynamic_cast<TShapeCircle *>(s)) {
                outlines.push_back(box(c->circle().centre, c->circle().radius, c->circle().radius));
            } else if (auto *e = dynamic_cast<TShapeEllipse *>(s)) {
                outlines.push_back(
                    box(e->ellipse().centre, e->ellipse().semiAxisX, e->ellipse().semiAxisY));
            }
        }
    }

    void draw(QImage &img) const
    {
        img.fill(Qt::white);
        QPainter p(&img);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawLines(lines.data(), int(lines.size()));
        for (const QRect &r : outlines)
            p.drawEllipse(r);
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(Qt::black);
        for (const QRect &r : dots)
            p.drawEllipse(r);
        QFont f = p.font();
        f.setPixelSize(14);
        p.setFont(f);
        for (const auto &[r, text] : texts)
            p.drawText(r, Qt::AlignLeft | Qt::AlignTop, text);
    }
};

struct Setup
{
    TGuidanceNameCreator creator;
    TShapeFactory factory;
    TModel model;
    QuietWindow window;
    TFixedDrawingBox box { QSize(kWidth, kHeight) };
    TDisplayAdapter screen;
    std::unique_ptr<TController> controller;
    std::vector<TShapeDot *> points;
    std::vector<TShape *> lines;
    std::vector<TShapeWriting *> labels;
    std::vector<TShape *> circles;
    std::vector<TShape *> formulaPoints;
    PixelFrame pixels;
    QImage image { kWidth, kHeight, QImage::Format_RGB32 };
    TDrawStatus status;
    int step = 0;

    Setup()
    {
        TDpi::useScreenResolution();
        initializeTypesetting(TQtFontCatalog::instance());
        TParents2Children::setGuidanceNameCreator(&creator);
        registerModelRelationClasses(factory);
        registerLabelRelationClasses(factory);
        registerRenderRelationClasses(factory);
        screen.attachMainWindow(&box);
        controller = std::make_unique<TController>(model, factory, window, screen);
        model.setFactory(&factory);
        model.setController(controller.get());
        controller->startUp();
        showAxesWithGrid();
        buildField();
        controller->field().renumber();
        dragStep();
        pixels.collect(field(), screen);
    }
    ~Setup()
    {
        controller.reset();
        TParents2Children::setGuidanceNameCreator(nullptr);
    }

    TField &field() { return controller->field(); }

    std::vector<TShape *> build(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore made = factory.create(type, ps);
        std::vector<TShape *> out(made.items().begin(), made.items().end());
        field().takeAllFrom(made);
        return out;
    }

    // The axes every document has, shown, with grid lines every half unit.
    void showAxesWithGrid()
    {
        field().setAxesShown(true);
        auto &axes = static_cast<TShapeZahyoujiku &>(*field().axes());
        for (int i = 0; i < 2; ++i) {
            TWriting &grid = axes.axe(i).gridlineInterval();
            grid.setRationalNumber(QStringLiteral("1"), QStringLiteral("2"), grid.pt());
            grid.setView(true);
        }
    }

    void buildField()
    {
        std::mt19937 rng(2025);
        const TModelViewRect v = screen.getModelViewRect();
        std::uniform_real_distribution<double> x(v.left * 0.95, v.right * 0.95),
            y(v.bottom * 0.95, v.top * 0.95);
        std::uniform_int_distribution<int> pick(0, 999);
        for (int i = 0; i < 1000; ++i) {
            auto *d = static_cast<TShapeDot *>(build(TFiguretype::FIG_dotOnField, {}).front());
            d->setInitialXY({ x(rng), y(rng) });
            points.push_back(d);
        }
        for (int i = 0; i < 1000; ++i) {
            int j = pick(rng);
            while (j == i)
                j = pick(rng);
            const TFiguretype t = i % 2 ? TFiguretype::FIG_senbun : TFiguretype::FIG_line;
            lines.push_back(build(t, { points[i], points[j] }).front());
        }
        // Circles of sensible size: three points far from collinear.
        auto xy = [&](int i) { return TMathZahyo(points[i]->getXY()); };
        for (int n = 0; n < 500;) {
            const int a = pick(rng), b = pick(rng), c = pick(rng);
            TMathEn en;
            if (a == b || b == c || a == c || !en.setCircumcircle(xy(a), xy(b), xy(c))
                || en.radius > 6)
                continue;
            circles.push_back(
                build(TFiguretype::FIG_gaisetsuen, { points[a], points[b], points[c] }).front());
            ++n;
        }
        std::uniform_int_distribution<int> pickLine(0, 999);
        for (int i = 0; i < 300; ++i) {
            const TFiguretype t
                = i % 2 ? TFiguretype::FIG_line_1tenSuicyoku : TFiguretype::FIG_line_1tenHeikou;
            build(t, { points[pick(rng)], lines[pickLine(rng)] });
        }
        for (int n = 0; n < 200;) {
            const int c = pick(rng), a = pick(rng), b = pick(rng);
            TMathDaen e;
            if (c == a || c == b || a == b || !e.setBy3Points(xy(c), xy(a), xy(b))
                || e.semiAxisX > 6 || e.semiAxisY > 6)
                continue;
            build(TFiguretype::FIG_ellipse, { points[c], points[a], points[b] });
            ++n;
        }
        // Labels of the first 500 points, the most used one among them.
        for (int i = 0; i < 500; ++i) {
            TShapeList parent;
            parent.add(points[std::size_t(i)]);
            TShapeStore made = factory.createSilently(TFiguretype::FIG_writing, parent);
            auto *label = static_cast<TShapeWriting *>(made.first());
            label->setTextAndPt(i % 3 == 0 ? QStringLiteral("P_{%1}").arg(i)
                                           : QStringLiteral("\\frac{%1}{2}").arg(i),
                11);
            labels.push_back(label);
            field().takeAllFrom(made);
        }
        // Points over other shapes' attributes: a point, a line and a circle.
        const auto &formulaClass = static_cast<const TParentShapeVariable2dotClass &>(
            *factory.relationClassFor(TFiguretype::FIG_shapeVariable2dot));
        for (std::size_t i = 0; i < 500; ++i) {
            TShapeList parents;
            parents.add(points[500 + i]);
            parents.add(lines[i]);
            parents.add(circles[i]);
            std::unique_ptr<TShapeDot> d = formulaClass.createWithFormulas(
                parents, QStringLiteral("p1.x+c1.r/10"), QStringLiteral("p1.y+sin(l1.angle)/10"));
            formulaPoints.push_back(d.get());
            field().add(std::move(d));
        }
    }

    // The most used point: every construction kind hangs on it somewhere.
    TShapeDot *root() { return points[0]; }

    void recompute()
    {
        for (TShape *s : field().items())
            if (TAbstractParents2Children *r = s->relation())
                r->calcChildren(&screen);
    }
    static void recomputeOnly(const std::vector<TShape *> &shapes, TDisplayAdapter &screen)
    {
        for (TShape *s : shapes)
            s->relation()->calcChildren(&screen);
    }
    void dragStep()
    {
        const double d = (step++ % 2 ? -1 : 1) * 0.02;
        root()->moveXYOffsetXY(d, d);
        status.value = TCurrentDrawStatus::Dragging;
        screen.redraw(field(), status);
    }
    void painterFrame() { pixels.draw(image); }

    // Press on the root point, 100 moves of 2 pixels back and forth, release.
    // Returns the time per move event in milliseconds.
    double interaction()
    {
        const QPoint p = screen.modelToPixel(root()->getXY());
        controller->mouse(TMouseKind::mkPress, TMouseButton::mbLeft, 0, p.x(), p.y());
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 1; i <= 100; ++i) {
            const int dx = i % 2 ? 2 : 0;
            controller->mouse(TMouseKind::mkMove, TMouseButton::mbLeft, 0, p.x() + dx, p.y() + dx);
        }
        const auto t1 = std::chrono::steady_clock::now();
        controller->mouse(TMouseKind::mkRelease, TMouseButton::mbLeft, 0, p.x(), p.y());
        return std::chrono::duration<double, std::milli>(t1 - t0).count() / 100;
    }
};

Setup &setup()
{
    static Setup s;
    return s;
}

void BM_Recompute(benchmark::State &state)
{
    for (auto _ : state)
        setup().recompute();
}
BENCHMARK(BM_Recompute)->Unit(benchmark::kMicrosecond);

void BM_DragStep(benchmark::State &state)
{
    for (auto _ : state)
        setup().dragStep();
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);

void BM_QPainterFrame(benchmark::State &state)
{
    for (auto _ : state)
        setup().painterFrame();
}
BENCHMARK(BM_QPainterFrame)->Unit(benchmark::kMillisecond);

void BM_PressMoveRelease(benchmark::State &state)
{
    for (auto _ : state)
        setup().interaction();
}
BENCHMARK(BM_PressMoveRelease)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // ZARNO_PROFILE=drag|move|recompute runs only that path a few times, for a profiler.
    const QByteArray profile = qgetenv("ZARNO_PROFILE");
    if (!profile.isEmpty()) {
        Setup &s = setup();
        for (int i = 0; i < 20; ++i) {
            if (profile == "drag")
                s.dragStep();
            else if (profile == "move")
                s.interaction();
            else
                s.recompute();
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    Setup &s = setup();
    std::printf("field: %d shapes\n", s.field().count());
    // Interleaved rounds, so that every path sees the same machine load; the
    // drag step and the move event are both means over 100 in a row, and
    // each figure is the median of its rounds.
    std::vector<double> recompute, drag, painter, move, formulas, circumcircles;
    for (int r = 0; r < 9; ++r) {
        recompute.push_back(medianMs([&] { s.recompute(); }, 51));
        drag.push_back(medianMs(
                           [&] {
                               for (int i = 0; i < 100; ++i)
                                   s.dragStep();
                           },
                           1)
            / 100);
        painter.push_back(medianMs([&] { s.painterFrame(); }, 11));
        move.push_back(s.interaction());
        formulas.push_back(medianMs([&] { Setup::recomputeOnly(s.formulaPoints, s.screen); }, 51));
        circumcircles.push_back(medianMs([&] { Setup::recomputeOnly(s.circles, s.screen); }, 51));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double recomputeMs = median(recompute), dragMs = median(drag),
                 painterMs = median(painter), moveMs = median(move);
    std::printf("labels: %zu, axes shown with a grid\n", s.labels.size());
    printBenchSummary("recompute",
        { { "recompute_ms", recomputeMs }, { "drag_step_ms", dragMs }, { "qpainter_ms", painterMs },
            { "ratio", dragMs / painterMs } });
    printBenchSummary("shape_variables",
        { { "points_500_ms", median(formulas) }, { "circumcircles_500_ms", median(circumcircles) },
            { "ratio", median(formulas) / median(circumcircles) } });
    printBenchSummary("interaction",
        { { "move_ms", moveMs }, { "drag_step_ms", dragMs }, { "ratio", moveMs / dragMs } });
    return 0;
}
