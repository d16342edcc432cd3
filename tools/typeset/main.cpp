// Draws one typeset text into a PNG with its box outlined (blue) and its
// baseline marked (red), the way the program draws labels:
//
//   zarno_typeset_tool 'TEXT' OUT.png [--pt N] [--dpi N] [--dump] [--formula] [--clean]
//   zarno_typeset_tool --list LIST DIR [--pt N] [--dpi N] [--clean]
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

#include <QDir>
#include <QFile>
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
        "[--clean]\n       zarno_typeset_tool --list LIST DIR [--pt N] [--dpi N] [--clean]\n");
    return 2;
}

} // namespace

// Draws one text (or formula) into a PNG; false when it cannot be written.
bool draw(const QString &source, bool formula, double points, int dpi, bool clean, bool dump,
    const QString &out)
{
    QString text = source;
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
    if (!bmp.saveToFile(out)) {
        std::fprintf(stderr, "cannot write %s\n", out.toUtf8().constData());
        return false;
    }
    return true;
}

// Draws every picture listed in a file, one "name|mode|text" per line (mode
// "formula" or "tex"; lines starting with # are comments), to DIR/name.png.
// The list is read here rather than by the build, which would take the
// semicolons of "\\;" for list separators.
int drawList(const QString &listFile, const QString &dir, double points, int dpi, bool clean)
{
    QFile in(listFile);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(listFile));
        return 1;
    }
    QDir().mkpath(dir);
    int failed = 0;
    for (const QString &line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = line.split(QLatin1Char('|'));
        if (parts.size() < 3
            || (parts[1] != QLatin1String("formula") && parts[1] != QLatin1String("tex"))) {
            std::fprintf(stderr, "%s: not name|formula|text or name|tex|text: %s\n",
                qPrintable(listFile), qPrintable(line));
            ++failed;
            continue;
        }
        const QString text = parts.mid(2).join(QLatin1Char('|'));
        if (!draw(text, parts[1] == QLatin1String("formula"), points, dpi, clean, false,
                QDir(dir).filePath(parts[0] + QStringLiteral(".png"))))
            ++failed;
    }
    return failed > 0 ? 1 : 0;
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    double points = 10;
    int dpi = 96;
    bool dump = false, formula = false, clean = false;
    QString list;
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
        else if (a == QLatin1String("--list") && i + 1 < args.size())
            list = args[++i];
        else if (a.startsWith(QLatin1String("--")))
            return usage();
        else
            positional << a;
        if (!ok || points <= 0 || points > 500 || dpi < 10 || dpi > 2400)
            return usage();
    }
    if (positional.size() != (list.isEmpty() ? 2 : 1))
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

    if (!list.isEmpty())
        return drawList(list, positional.value(0), points, dpi, clean);
    return draw(positional[0], formula, points, dpi, clean, dump, positional[1]) ? 0 : 1;
}
