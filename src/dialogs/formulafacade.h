#pragma once

#include "platform/canvas.h"
#include "typeset/whdxy.h"

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

namespace zarno {

class TCalcFormulaFacade;
class TDrawFormulaFacade;
class TTeX2ListFacade;

// The typeset preview colour of the formula and number dialogs (253, 252, 232).
constexpr TColor kPreviewBackground = 15268861;

// One place where formulas are typed (graphs, labels, coordinates ...): it
// typesets for that place and remembers the size the user last chose there,
// in the settings section "inputFormula" + name.
class TFormulaFacade
{
public:
    static std::unique_ptr<TFormulaFacade> createFormulaFacade(const QString &name);
    ~TFormulaFacade();
    TFormulaFacade(const TFormulaFacade &) = delete;
    TFormulaFacade &operator=(const TFormulaFacade &) = delete;

    const QString &name() const { return fName; }
    int fontPt() const { return fFontPt; }
    void setFontPt(int pt) { fFontPt = pt; }

    // The box of the typeset text; empty when nothing could be read.
    TWhdXy measure(const QString &tex, double pt, TCanvas &canvas);
    // The text drawn in a colour on a bitmap of its own size plus 6 pixels.
    QImage renderToImage(const QString &tex, double pt, TColor colour, TColor background);
    // Draws the text with its box's top-left corner at x, yTop; answers the
    // typeset parser's error flag.
    bool drawTeX(const QString &tex, TCanvas &canvas, double pt, int x, int yTop);
    // The message of the last typeset text's error, with its position.
    QString errorMessage() const;
    // The formula as typeset text (its unreadable rest marked), drawn as drawTeX.
    bool drawCalc(TCalcFormulaFacade &facade, const QString &text, double pt, int x, int yTop,
        TCanvas &canvas);

    // The formula dialog in calculation mode for a formula of facade: only
    // the variables the facade enables are offered. Answers the modal result
    // (1 OK); the text and the chosen size are kept as the results.
    int inputCalc(TCalcFormulaFacade &facade, const QString &text, bool selectAll, int pt);
    int inputCalcOwnPt(TCalcFormulaFacade &facade, const QString &text, bool selectAll);
    // The same for typeset text.
    int inputTeX(const QString &text, int pt, bool selectAll);
    int inputTeXOwnPt(const QString &text);

    const QString &resultText() const { return fResultText; }
    int resultPt() const { return fFontPt; }
    int resultModal() const { return fResultModal; }

private:
    explicit TFormulaFacade(const QString &name);
    int finish(int modal);

    QString fName;
    int fFontPt = 14;
    QString fResultText;
    int fResultModal = 0;
    std::unique_ptr<TTeX2ListFacade> fParser;
    std::unique_ptr<TDrawFormulaFacade> fDrawer;
};

// The named facades of the program, created at start-up and freed (writing
// their sizes back) at its end.
class TFormulaFacadeList
{
public:
    TFormulaFacadeList();
    ~TFormulaFacadeList();
    // The facade of that place; an unknown name is a program fault.
    TFormulaFacade &facade(const QString &name) const;
    static const QStringList &names();

private:
    std::vector<std::unique_ptr<TFormulaFacade>> fFacades;
};

} // namespace zarno
