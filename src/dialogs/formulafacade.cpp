#include "dialogs/formulafacade.h"

#include "core/exceptions.h"
#include "dialogs/frmformula.h"
#include "formula/calcformulafacade.h"
#include "persist/inifile.h"
#include "platform/bitmap.h"
#include "typeset/drawformulafacade.h"
#include "typeset/tex2list.h"

#include <QStringList>
#include <cmath>

namespace zarno {

namespace {
constexpr int kDefaultPt = 14;

QString sectionName(const QString &name)
{
    return QStringLiteral("inputFormula") + name;
}
} // namespace

std::unique_ptr<TFormulaFacade> TFormulaFacade::createFormulaFacade(const QString &name)
{
    return std::unique_ptr<TFormulaFacade>(new TFormulaFacade(name));
}

TFormulaFacade::TFormulaFacade(const QString &name)
    : fName(name)
    , fParser(std::make_unique<TTeX2ListFacade>())
    , fDrawer(std::make_unique<TDrawFormulaFacade>())
{
    // Without a settings file (tests, the command-line exporter) every place
    // starts at the default size and keeps nothing.
    if (TXmlIniFile::isOpen())
        fFontPt
            = TXmlIniFile::getMyRootHash(this, QStringLiteral("TFormulaFacade"), sectionName(fName))
                  .readInteger(QStringLiteral("fontPt"), kDefaultPt);
}

TFormulaFacade::~TFormulaFacade()
{
    if (TXmlIniFile::isOpen())
        TXmlIniFile::getMyRootHash(this, QStringLiteral("TFormulaFacade"), sectionName(fName))
            .writeInteger(QStringLiteral("fontPt"), fFontPt);
}

TWhdXy TFormulaFacade::measure(const QString &tex, double pt, TCanvas &canvas)
{
    fParser->analyze(tex);
    if (!fParser->tokenList())
        return {};
    return fDrawer->measure(canvas, *fParser->tokenList(), pt);
}

QImage TFormulaFacade::renderToImage(
    const QString &tex, double pt, TColor colour, TColor background)
{
    TBitmap probe(1, 1);
    const TWhdXy box = measure(tex, pt, probe.canvas());
    TBitmap bitmap(int(std::ceil(box.width() + 6)), int(std::ceil(box.totalHeight() + 6)));
    TCanvas &canvas = bitmap.canvas();
    canvas.setBrushColor(background);
    canvas.setBrushStyle(TBrushStyle::bsSolid);
    canvas.fillRect(QRect(0, 0, bitmap.width(), bitmap.height()));
    canvas.setPenColor(colour);
    canvas.setFont(canvas.fontFamily(), canvas.fontPixelSize(), colour);
    // The box starts 5 pixels below the given top; the bitmap keeps 3 above it.
    if (fParser->tokenList())
        fDrawer->drawAt(canvas, 3, *fParser->tokenList(), pt, -2);
    return bitmap.toImage();
}

bool TFormulaFacade::drawTeX(const QString &tex, TCanvas &canvas, double pt, int x, int yTop)
{
    const bool error = fParser->analyze(tex);
    if (fParser->tokenList())
        fDrawer->drawAt(canvas, x, *fParser->tokenList(), pt, yTop);
    return error;
}

QString TFormulaFacade::errorMessage() const
{
    return fParser->errorMessage();
}

bool TFormulaFacade::drawCalc(
    TCalcFormulaFacade &facade, const QString &text, double pt, int x, int yTop, TCanvas &canvas)
{
    facade.analyzeFormula(text);
    const bool texError = drawTeX(facade.getTeXString(), canvas, pt, x, yTop);
    return facade.errorFlag() != 0 || texError;
}

int TFormulaFacade::finish(int modal)
{
    TInputFormulaFacade &input = TInputFormulaFacade::instance();
    fResultModal = modal;
    fResultText = input.resultText();
    fFontPt = input.resultPt();
    return modal;
}

int TFormulaFacade::inputCalc(
    TCalcFormulaFacade &facade, const QString &text, bool selectAll, int pt)
{
    return finish(TInputFormulaFacade::instance().runCalc(facade, text, selectAll, pt));
}

int TFormulaFacade::inputCalcOwnPt(TCalcFormulaFacade &facade, const QString &text, bool selectAll)
{
    return inputCalc(facade, text, selectAll, fFontPt);
}

int TFormulaFacade::inputTeX(const QString &text, int pt, bool selectAll)
{
    return finish(TInputFormulaFacade::instance().runTeX(text, pt, selectAll));
}

int TFormulaFacade::inputTeXOwnPt(const QString &text)
{
    return inputTeX(text, fFontPt, true);
}

const QStringList &TFormulaFacadeList::names()
{
    static const QStringList list { QStringLiteral("toolButton"), QStringLiteral("dot2Function"),
        QStringLiteral("dot2FunctionY"), QStringLiteral("writing"), QStringLiteral("inputZahyou"),
        QStringLiteral("variableSetter"), QStringLiteral("something2dot"),
        QStringLiteral("zahyouProperty"), QStringLiteral("shapeVariable2value"),
        QStringLiteral("inputZahyouProperty"), QStringLiteral("shapeVariable2function") };
    return list;
}

TFormulaFacadeList::TFormulaFacadeList()
{
    for (const QString &name : names())
        fFacades.push_back(TFormulaFacade::createFormulaFacade(name));
}

TFormulaFacadeList::~TFormulaFacadeList() = default;

TFormulaFacade &TFormulaFacadeList::facade(const QString &name) const
{
    for (const auto &f : fFacades)
        if (f->name() == name)
            return *f;
    throw ESouteigai(QStringLiteral("TFormulaFacadeList"), { fmtArg(name) },
        QStringLiteral("数式入力の場所(%s)はありません。"), QStringLiteral("facade"));
}

} // namespace zarno
