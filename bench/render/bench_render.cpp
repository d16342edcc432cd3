// One screen frame of a stress field through the surfaces, against the same
// pixel primitives drawn straight with QPainter on an RGB32 QImage.
//
// The field: 500 lines and 500 segments clipped to the view, 500 circles,
// 200 arcs, 300 wide dashed lines and 1000 points, on a 1600 × 1000 view.
#include "base/penbrush.h"
#include "model/field.h"
#include "model/geometry/mathcyokusen.h"
#include "platform/bitmap.h"
#include "render/displayadapter.h"
#include "render/dpi.h"
#include "renderdemo/demofield.h"
#include "summary.h"

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

// The model data of the stress field and its pixel primitives.
struct Stress
{
    struct Line
    {
        double x1, y1, x2, y2;
        bool segment;
    };
    struct Circle
    {
        double cx, cy, r;
    };
    struct Arc
    {
        double cx, cy, r, a0, a1;
    };
    std::vector<Line> lines, dashed;
    std::vector<Circle> circles;
    std::vector<Arc> arcs;
    std::vector<TModelPoint> dots;

    Stress()
    {
        std::mt19937 rng(2024);
        std::uniform_real_distribution<double> x(-14, 14), y(-9, 9), r(0.2, 6), a(-M_PI, M_PI);
        for (int i = 0; i < 1000; ++i)
            lines.push_back({ x(rng), y(rng), x(rng), y(rng), i % 2 == 1 });
        for (int i = 0; i < 300; ++i)
            dashed.push_back({ x(rng), y(rng), x(rng), y(rng), true });
        for (int i = 0; i < 500; ++i)
            circles.push_back({ x(rng), y(rng), r(rng) });
        for (int i = 0; i < 200; ++i)
            arcs.push_back({ x(rng), y(rng), r(rng), a(rng), a(rng) });
        for (int i = 0; i < 1000; ++i)
            dots.push_back({ x(rng), y(rng) });
    }
};

const Stress &stress()
{
    static Stress s;
    return s;
}

std::unique_ptr<TDemoShape> shape(TShapetype type, TDemoShape::Drawer d, int widthIndex = 0,
    TPenStyle style = TPenStyle::psSolid, bool front = false)
{
    auto s = std::make_unique<TDemoShape>(type, std::move(d), front);
    s->penBrush().setPenWidthIndex(widthIndex);
    s->penBrush().setPenStyle(style);
    return s;
}

std::shared_ptr<TMathCyokusen> mathLine(const Stress::Line &l)
{
    auto m = std::make_shared<TMathCyokusen>();
    m->setBy2Points(l.x1, l.y1, l.x2, l.y2);
    m->boundary.type = l.segment ? TBoundaryType::btBothSides : TBoundaryType::btAll;
    m->boundary.first.setXY(l.x1, l.y1);
    m->boundary.second.setXY(l.x2, l.y2);
    return m;
}

void buildStressField(TField &field)
{
    const Stress &s = stress();
    for (const auto &l : s.lines) {
        auto m = mathLine(l);
        field.add(shape(TShapetype::SHAPE_line,
            [m](TAbstractImageAdapter &sf, TPenBrush &pb) { m->drawLine(sf, pb); }));
    }
    for (const auto &c : s.circles)
        field.add(shape(TShapetype::SHAPE_circle,
            [c](TAbstractImageAdapter &sf, TPenBrush &pb) { sf.drawCircle(pb, c.cx, c.cy, c.r); }));
    for (const auto &a : s.arcs)
        field.add(shape(TShapetype::SHAPE_circle, [a](TAbstractImageAdapter &sf, TPenBrush &pb) {
            sf.drawArc(pb, a.cx, a.cy, a.r, a.cx + std::cos(a.a0), a.cy + std::sin(a.a0),
                a.cx + std::cos(a.a1), a.cy + std::sin(a.a1));
        }));
    for (const auto &l : s.dashed) {
        auto m = mathLine(l);
        field.add(shape(
            TShapetype::SHAPE_line,
            [m](TAbstractImageAdapter &sf, TPenBrush &pb) { m->drawLine(sf, pb); }, 2,
            TPenStyle::psDash));
    }
    for (const auto &d : s.dots) {
        auto dot = shape(
            TShapetype::SHAPE_dot,
            [d](TAbstractImageAdapter &sf, TPenBrush &pb) { sf.drawDot(pb, d.x, d.y); }, 0,
            TPenStyle::psSolid, true);
        dot->penBrush().setBrushStyle(TBrushStyle::bsSolid);
        field.add(std::move(dot));
    }
}

// The pixel primitives the surfaces produce for the stress field, for
// QPainter to draw directly.
struct PixelFrame
{
    std::vector<QLine> thin, wide;
    std::vector<QRect> circles, dots;
    struct PixelArc
    {
        QRect box;
        int start16, span16;
    };
    std::vector<PixelArc> arcs;

    explicit PixelFrame(const TImageAdapter &screen)
    {
        const TUnitTransformer &t = screen.transformer();
        const TModelViewRect view = t.getModelViewRect();
        const Stress &s = stress();
        auto clipped = [&](const Stress::Line &l) {
            auto m = mathLine(l);
            m->getEdgePoint(view);
            const TMathZahyo &a = l.segment ? m->boundary.first : m->boundary.edge1;
            const TMathZahyo &b = l.segment ? m->boundary.second : m->boundary.edge2;
            return QLine(t.modelToPixel(a.toPoint()), t.modelToPixel(b.toPoint()));
        };
        for (const auto &l : s.lines)
            thin.push_back(clipped(l));
        for (const auto &l : s.dashed)
            wide.push_back(clipped(l));
        auto box = [&](double cx, double cy, double r) {
            return QRect(t.modelToPixel({ cx - r, cy + r }), t.modelToPixel({ cx + r, cy - r }));
        };
        for (const auto &c : s.circles)
            circles.push_back(box(c.cx, c.cy, c.r));
        for (const auto &a : s.arcs) {
            double span = (a.a1 - a.a0) * 180 / M_PI;
            while (span <= 0)
                span += 360;
            arcs.push_back({ box(a.cx, a.cy, a.r), int(std::lround(a.a0 * 180 / M_PI * 16)),
                int(std::lround(span * 16)) });
        }
        for (const auto &d : s.dots) {
            const QPoint p = t.modelToPixel(d);
            dots.push_back(QRect(p.x() - 2, p.y() - 2, 4, 4));
        }
    }

    void draw(QImage &img) const
    {
        img.fill(Qt::white);
        QPainter p(&img);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawLines(thin.data(), int(thin.size()));
        for (const QRect &r : circles)
            p.drawEllipse(r);
        for (const PixelArc &a : arcs)
            p.drawArc(a.box, a.start16, a.span16);
        QPen dash(Qt::black, 3, Qt::DashLine, Qt::FlatCap);
        p.setPen(dash);
        p.drawLines(wide.data(), int(wide.size()));
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(Qt::black);
        for (const QRect &r : dots)
            p.drawEllipse(r);
    }
};

struct Setup
{
    TField field;
    TFixedDrawingBox box { QSize(kWidth, kHeight) };
    TDisplayAdapter screen;
    std::unique_ptr<PixelFrame> pixels;
    QImage image { kWidth, kHeight, QImage::Format_RGB32 };

    Setup()
    {
        TDpi::useScreenResolution();
        buildStressField(field);
        screen.attachMainWindow(&box);
        screen.setController(&field);
        screen.fitToView();
        pixels = std::make_unique<PixelFrame>(screen);
    }
    void surfaceFrame()
    {
        TDrawStatus status;
        screen.redraw(field, status);
    }
    void painterFrame() { pixels->draw(image); }
};

Setup &setup()
{
    static Setup s;
    return s;
}

void BM_SurfaceFrame(benchmark::State &state)
{
    for (auto _ : state)
        setup().surfaceFrame();
}
BENCHMARK(BM_SurfaceFrame)->Unit(benchmark::kMillisecond);

void BM_QPainterFrame(benchmark::State &state)
{
    for (auto _ : state)
        setup().painterFrame();
}
BENCHMARK(BM_QPainterFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    Setup &s = setup();
    s.surfaceFrame();
    s.painterFrame();
    // Interleaved rounds, so that both paths see the same machine load.
    double surface = 0, painter = 0;
    const int rounds = 5;
    for (int r = 0; r < rounds; ++r) {
        surface += medianMs([&] { s.surfaceFrame(); }, 11);
        painter += medianMs([&] { s.painterFrame(); }, 11);
    }
    surface /= rounds;
    painter /= rounds;
    printBenchSummary("render",
        { { "surface_ms", surface }, { "qpainter_ms", painter }, { "ratio", surface / painter } });
    return 0;
}
