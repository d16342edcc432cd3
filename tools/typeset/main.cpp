// Draws one typeset text into a PNG with its box outlined (blue) and its
// baseline marked (red), the way the program draws labels:
//
//   zarno_typeset_tool 'TEXT' OUT.png [--pt N] [--dpi N] [--dump] [--formula] [--clean]
//
// --clean leaves out the box and the baseline (the manual's pictures).
// --formula reads TEXT as a formula and draws its typeset text; --dump prints
// the box tree. Errors in the text are reported and drawn as the program
// draws them.
#include "formula/calcformulafacade.h"
#include "platform/bitmap.h"
#include "platform/qtfontcatalog.h"
#include "typeset/drawformulafacade.h"
#include "typeset/fontmanage.h"
#include "typeset/tex2list.h"
#include "typeset/typesetting.h"

#include <QGuiApplication>
#include <QStringList>
#include <cmath>
#include <cstdio>

using namespace zarno;

namespace {

int usage()
{
    std::fprintf(stderr,
        "usage: zarno_typeset_tool 'TEXT' OUT.png [--pt N] [--dpi N] [--dump] [--formula] "
        "[--clean]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    double points = 10;
    int dpi = 96;
    bool dump = false, formula = false, clean = false;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        bool ok = true;
        if (a == QLatin1String("--pt") && i + 1 < args.size())
            points = args[++i].toDouble(&ok);
        else if (a == QLatin1String("--dpi") && i + 1 < args.size())
            dpi = args[++i].toInt(&ok);
        else if (a == QLatin1String("--dump"))
            dump = true;
        else if (a == QLatin1String("--formula"))
            formula = true;
        else if (a == QLatin1String("--clean"))
            clean = true;
        else if (a.startsWith(QLatin1String("--")))
            return usage();
        else
            positional << a;
        if (!ok || points <= 0 || points > 500 || dpi < 10 || dpi > 2400)
            return usage();
    }
    if (positional.size() != 2)
        return usage();

    try {
        initializeTypesetting(TQtFontCatalog::instance());
    } catch (const EZarnoBase &e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    // Millimetre sizes (rules, strokes) at the drawing's resolution, as an
    // image export draws them.
    const TFixedTeXResolution resolution(dpi, dpi);
    TTeXResolutionScope scope(resolution);

    QString text = positional[0];
    if (formula) {
        auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
        TCalcSymbolOnOff onOff;
        onOff.xOn = onOff.yOn = true;
        onOff.pointCount = onOff.circleCount = onOff.ellipseCount = onOff.lineCount = 5;
        calc->setCalcSymbolOnOff(onOff);
        if (calc->analyzeFormula(text) != 0)
            std::fprintf(stderr, "formula: %s\n", calc->errorMessage().toUtf8().constData());
        text = calc->getTeXString();
        std::printf("typeset text: %s\n", text.toUtf8().constData());
    }
    TTeX2ListFacade parser;
    if (parser.analyze(text))
        std::fprintf(stderr, "typeset text: %s\n", parser.errorMessage().toUtf8().constData());

    TDrawFormulaFacade facade;
    TBitmap probe(1, 1);
    probe.canvas().setFontResolution(dpi);
    const TWhdXy box = facade.measure(probe.canvas(), *parser.tokenList(), points);
    const int margin = std::max(10, dpi / 8);
    TBitmap bmp(
        int(std::ceil(box.width())) + 2 * margin, int(std::ceil(box.totalHeight())) + 2 * margin);
    TCanvas &canvas = bmp.canvas();
    canvas.setFontResolution(dpi);
    facade.drawAt(canvas, margin, *parser.tokenList(), points, margin - 5);

    const TWhdXy &placed = facade.box();
    if (!clean) {
        canvas.setPenColor(makeColor(0x40, 0x80, 0xFF));
        canvas.setBrushStyle(TBrushStyle::bsClear);
        canvas.rectangle(int(std::floor(placed.x())) - 1, int(std::floor(placed.top())) - 1,
            int(std::ceil(placed.right())), int(std::ceil(placed.bottom())));
        canvas.setPenColor(makeColor(0xFF, 0x60, 0x60));
        const int baseline = int(std::lround(placed.y()));
        canvas.moveTo(0, baseline);
        canvas.lineTo(int(std::floor(placed.x())) - 3, baseline);
        canvas.moveTo(int(std::ceil(placed.right())) + 3, baseline);
        canvas.lineTo(bmp.width() - 1, baseline);
    }

    if (dump)
        std::printf("%s", facade.dump().toUtf8().constData());
    std::printf("box: width %.2f height %.2f depth %.2f\n", box.width(), box.height(), box.depth());
    if (!bmp.saveToFile(positional[1])) {
        std::fprintf(stderr, "cannot write %s\n", positional[1].toUtf8().constData());
        return 1;
    }
    return 0;
}
