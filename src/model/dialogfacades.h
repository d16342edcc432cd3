#pragma once

#include <QString>
#include <memory>

namespace zarno {

class TCalcFormulaFacade;
class TZahyou;

// The coordinate dialog as the model asks for it. The program registers the
// real dialog; until one is registered, every edit counts as cancelled.
class TZahyouDialogFacade
{
public:
    enum Result { mrOk = 1, mrCancel = 2 };
    virtual ~TZahyouDialogFacade() = default;
    virtual int editZahyou(
        TCalcFormulaFacade &facadeX, TCalcFormulaFacade &facadeY, TZahyou &zahyou)
        = 0;

    static std::unique_ptr<TZahyouDialogFacade> install(
        std::unique_ptr<TZahyouDialogFacade> dialog);
    // Runs the registered dialog around the zahyou's saved state: a cancel
    // leaves it as it was.
    static int edit(TCalcFormulaFacade &facadeX, TCalcFormulaFacade &facadeY, TZahyou &zahyou);
};

// The formula dialog in calculation mode as its callers see it. place names
// the use ("inputZahyou", "zahyouProperty", ...), so that each use keeps its
// own font size; only the variables the facade enables may be offered. The
// program registers the real dialog; without one every request counts as
// cancelled.
class TCalcFormulaDialogFacade
{
public:
    virtual ~TCalcFormulaDialogFacade() = default;
    // Edits text and pt; false when cancelled.
    virtual bool editCalc(
        const QString &place, TCalcFormulaFacade &facade, QString &text, int &pt, bool selectAll)
        = 0;

    static std::unique_ptr<TCalcFormulaDialogFacade> install(
        std::unique_ptr<TCalcFormulaDialogFacade> dialog);
    // Leaves text and pt alone unless the dialog confirms a non-empty text.
    static bool edit(
        const QString &place, TCalcFormulaFacade &facade, QString &text, int &pt, bool selectAll);
};

} // namespace zarno
