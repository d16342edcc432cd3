#include "model/dialogfacades.h"

#include "model/zahyou.h"

namespace zarno {

namespace {
std::unique_ptr<TZahyouDialogFacade> &zahyouDialog()
{
    static std::unique_ptr<TZahyouDialogFacade> dialog;
    return dialog;
}
std::unique_ptr<TCalcFormulaDialogFacade> &calcDialog()
{
    static std::unique_ptr<TCalcFormulaDialogFacade> dialog;
    return dialog;
}
} // namespace

std::unique_ptr<TZahyouDialogFacade> TZahyouDialogFacade::install(
    std::unique_ptr<TZahyouDialogFacade> dialog)
{
    std::swap(zahyouDialog(), dialog);
    return dialog;
}

int TZahyouDialogFacade::edit(
    TCalcFormulaFacade &facadeX, TCalcFormulaFacade &facadeY, TZahyou &zahyou)
{
    if (!zahyouDialog())
        return mrCancel;
    zahyou.pushCurrent();
    int result = mrCancel;
    try {
        result = zahyouDialog()->editZahyou(facadeX, facadeY, zahyou);
    } catch (...) {
        zahyou.pop();
        throw;
    }
    if (result == mrOk)
        zahyou.clearPushed();
    else
        zahyou.pop();
    return result;
}

std::unique_ptr<TCalcFormulaDialogFacade> TCalcFormulaDialogFacade::install(
    std::unique_ptr<TCalcFormulaDialogFacade> dialog)
{
    std::swap(calcDialog(), dialog);
    return dialog;
}

bool TCalcFormulaDialogFacade::edit(
    const QString &place, TCalcFormulaFacade &facade, QString &text, int &pt, bool selectAll)
{
    if (!calcDialog())
        return false;
    QString t = text;
    int p = pt;
    if (!calcDialog()->editCalc(place, facade, t, p, selectAll) || t.trimmed().isEmpty())
        return false;
    text = t;
    pt = p;
    return true;
}

} // namespace zarno
