// Typeset labels: parse, layout and drawing of the 42 worksheet formulas, per
// formula, on a screen canvas and on a 300-dpi canvas, against drawing the
// very glyph strings each formula puts on the canvas as plain glyph runs
// (the same calls, replayed without parsing or layout); and one screen
// frame of 200 labels. Parsing alone and layout alone are timed as well, to
// see where the time goes.
#include "platform/bitmap.h"
#include "platform/qtfontcatalog.h"
#include "summary.h"
#include "typeset/drawformulafacade.h"
#include "typeset/school_formulas.h"
#include "typeset/tex2list.h"
#include "typeset/typesetting.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <vector>

using namespace zarno;

namespace {

const TFixedTeXResolution kScreen;
const TFixedTeXResolution kPrint(300, 300);

QStringList formulas()
{
    QStringList texts;
    for (const char16_t *f : test::kSchoolFormulas)
        texts << QString::fromUtf16(f);
    return texts;
}

// A canvas that draws on a bitmap and keeps every glyph run it is given.
class CapturingCanvas : public TCanvas
{
public:
    struct Run
    {
        double x, baseline;
        QString text;
        TGlyphFont font;
    };
    explicit CapturingCanvas(TCanvas &target)
        : fT(target)
    { }
    std::vector<Run> runs;

    void setPenColor(TColor c) override { fT.setPenColor(c); }
    void setPenWidth(int w) override { fT.setPenWidth(w); }
    void setPenStyle(TPenStyle s) override { fT.setPenStyle(s); }
    void setGeometricPen(TPenStyle s, int w, TColor c) override { fT.setGeometricPen(s, w, c); }
    void releaseGeometricPen() override { fT.releaseGeometricPen(); }
    TColor penColor() const override { return fT.penColor(); }
    int penWidth() const override { return fT.penWidth(); }
    TPenStyle penStyle() const override { return fT.penStyle(); }
    void setBrushColor(TColor c) override { fT.setBrushColor(c); }
    void setBrushStyle(TBrushStyle s) override { fT.setBrushStyle(s); }
    TColor brushColor() const override { return fT.brushColor(); }
    TBrushStyle brushStyle() const override { return fT.brushStyle(); }
    void moveTo(int x, int y) override { fT.moveTo(x, y); }
    void lineTo(int x, int y) override { fT.lineTo(x, y); }
    void polyline(const QPoint *p, int n) override { fT.polyline(p, n); }
    void polygon(const QPoint *p, int n) override { fT.polygon(p, n); }
    void ellipse(int a, int b, int c, int d) override { fT.ellipse(a, b, c, d); }
    void arc(int a, int b, int c, int d, int e, int f, int g, int h) override
    {
        fT.arc(a, b, c, d, e, f, g, h);
    }
    void rectangle(int a, int b, int c, int d) override { fT.rectangle(a, b, c, d); }
    void fillRect(const QRect &r) override { fT.fillRect(r); }
    void setCopyMode(TCopyMode m) override { fT.setCopyMode(m); }
    TCopyMode copyMode() const override { return fT.copyMode(); }
    void drawBitmap(int x, int y, const TBitmap &b) override { fT.drawBitmap(x, y, b); }
    void copyRect(const QRect &d, const TBitmap &s, const QRect &r) override
    {
        fT.copyRect(d, s, r);
    }
    void setClipRects(const QVector<QRect> &r) override { fT.setClipRects(r); }
    void clearClip() override { fT.clearClip(); }
    void setFont(const QString &f, int s, TColor c) override { fT.setFont(f, s, c); }
    void textOut(int x, int y, const QString &t) override { fT.textOut(x, y, t); }
    QSize textExtent(const QString &t) override { return fT.textExtent(t); }
    TTextMetric textMetric() override { return fT.textMetric(); }
    QString fontFamily() const override { return fT.fontFamily(); }
    int fontPixelSize() const override { return fT.fontPixelSize(); }
    TColor fontColor() const override { return fT.fontColor(); }
    void drawGlyphText(double x, double y, const QString &t, const TGlyphFont &f) override
    {
        runs.push_back({ x, y, t, f });
        fT.drawGlyphText(x, y, t, f);
    }

private:
    TCanvas &fT;
};

// The parsed formulas and the glyph runs each draws, on one canvas.
struct Workload
{
    std::vector<std::unique_ptr<TTeX2ListFacade>> parsed;
    std::vector<std::vector<CapturingCanvas::Run>> runs;
};

Workload capture(TBitmap &bmp, const QStringList &texts)
{
    Workload w;
    for (const QString &t : texts) {
        auto p = std::make_unique<TTeX2ListFacade>();
        p->analyze(t);
        CapturingCanvas capture(bmp.canvas());
        capture.setFontResolution(bmp.canvas().fontResolution());
        TDrawFormulaFacade facade;
        facade.drawAt(capture, 20, *p->tokenList(), 10, 20);
        w.runs.push_back(capture.runs);
        w.parsed.push_back(std::move(p));
    }
    return w;
}

// Parse, layout and draw every formula once.
void typesetAll(TBitmap &bmp, const QStringList &texts)
{
    TDrawFormulaFacade facade;
    for (const QString &t : texts) {
        TTeX2ListFacade parser;
        parser.analyze(t);
        facade.drawAt(bmp.canvas(), 20, *parser.tokenList(), 10, 20);
    }
}

void plainAll(TBitmap &bmp, const Workload &w)
{
    for (const auto &formula : w.runs)
        for (const CapturingCanvas::Run &r : formula)
            bmp.canvas().drawGlyphText(r.x, r.baseline, r.text, r.font);
}

// 200 labels over a 1600 × 1000 screen, as a redraw draws them.
void frame(TBitmap &screen, const QStringList &texts)
{
    TDrawFormulaFacade facade;
    for (int i = 0; i < 200; ++i) {
        TTeX2ListFacade parser;
        parser.analyze(texts[i % texts.size()]);
        facade.drawAt(
            screen.canvas(), 20 + (i % 4) * 380, *parser.tokenList(), 10, 10 + (i / 4) * 19);
    }
}

struct Setup
{
    QStringList texts = formulas();
    TBitmap screen { 1600, 1000 };
    TBitmap print { 1200, 300 };
    TBitmap screenLabel { 600, 150 };
    Workload screenWork, printWork;
    Setup()
    {
        initializeTypesetting(TQtFontCatalog::instance());
        screen.canvas().setFontResolution(96);
        screenLabel.canvas().setFontResolution(96);
        print.canvas().setFontResolution(300);
        {
            TTeXResolutionScope s(kScreen);
            screenWork = capture(screenLabel, texts);
        }
        TTeXResolutionScope s(kPrint);
        printWork = capture(print, texts);
    }
};

Setup &setup()
{
    static Setup s;
    return s;
}

void BM_TypesetScreen(benchmark::State &state)
{
    Setup &s = setup();
    TTeXResolutionScope scope(kScreen);
    for (auto _ : state)
        typesetAll(s.screenLabel, s.texts);
    state.SetItemsProcessed(state.iterations() * s.texts.size());
}
BENCHMARK(BM_TypesetScreen)->Unit(benchmark::kMicrosecond);

void BM_PlainRunsScreen(benchmark::State &state)
{
    Setup &s = setup();
    for (auto _ : state)
        plainAll(s.screenLabel, s.screenWork);
    state.SetItemsProcessed(state.iterations() * s.texts.size());
}
BENCHMARK(BM_PlainRunsScreen)->Unit(benchmark::kMicrosecond);

void BM_Typeset300Dpi(benchmark::State &state)
{
    Setup &s = setup();
    TTeXResolutionScope scope(kPrint);
    for (auto _ : state)
        typesetAll(s.print, s.texts);
    state.SetItemsProcessed(state.iterations() * s.texts.size());
}
BENCHMARK(BM_Typeset300Dpi)->Unit(benchmark::kMicrosecond);

void BM_PlainRuns300Dpi(benchmark::State &state)
{
    Setup &s = setup();
    for (auto _ : state)
        plainAll(s.print, s.printWork);
    state.SetItemsProcessed(state.iterations() * s.texts.size());
}
BENCHMARK(BM_PlainRuns300Dpi)->Unit(benchmark::kMicrosecond);

void BM_ParseOnly(benchmark::State &state)
{
    Setup &s = setup();
    for (auto _ : state)
        for (const QString &t : s.texts) {
            TTeX2ListFacade parser;
            parser.analyze(t);
            benchmark::DoNotOptimize(parser.tokenList());
        }
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMicrosecond);

void BM_LayoutOnly(benchmark::State &state)
{
    Setup &s = setup();
    TTeXResolutionScope scope(kScreen);
    TDrawFormulaFacade facade;
    for (auto _ : state)
        for (const auto &p : s.screenWork.parsed)
            facade.placeAt(s.screenLabel.canvas(), 20, *p->tokenList(), 10, 20);
}
BENCHMARK(BM_LayoutOnly)->Unit(benchmark::kMicrosecond);

void BM_Frame200Labels(benchmark::State &state)
{
    Setup &s = setup();
    TTeXResolutionScope scope(kScreen);
    for (auto _ : state)
        frame(s.screen, s.texts);
}
BENCHMARK(BM_Frame200Labels)->Unit(benchmark::kMillisecond);

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
    const double n = s.texts.size();
    // Interleaved rounds, so that each path and its baseline see the same
    // machine load.
    double screen = 0, plainScreen = 0, print = 0, plainPrint = 0, frameMs = 0;
    const int rounds = 5;
    for (int r = 0; r < rounds; ++r) {
        {
            TTeXResolutionScope scope(kScreen);
            screen += medianMs([&] { typesetAll(s.screenLabel, s.texts); }, 15);
            frameMs += medianMs([&] { frame(s.screen, s.texts); }, 9);
        }
        plainScreen += medianMs([&] { plainAll(s.screenLabel, s.screenWork); }, 15);
        {
            TTeXResolutionScope scope(kPrint);
            print += medianMs([&] { typesetAll(s.print, s.texts); }, 15);
        }
        plainPrint += medianMs([&] { plainAll(s.print, s.printWork); }, 15);
    }
    screen /= rounds;
    plainScreen /= rounds;
    print /= rounds;
    plainPrint /= rounds;
    frameMs /= rounds;
    printBenchSummary("typeset",
        { { "per_label_us", screen * 1000 / n }, { "ratio_to_plain", screen / plainScreen },
            { "frame_200_labels_ms", frameMs }, { "per_label_us_300dpi", print * 1000 / n },
            { "ratio_to_plain_300dpi", print / plainPrint } });
    return 0;
}
