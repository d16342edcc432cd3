#include "model/dialogfacades.h"

#include "model/zahyou.h"

namespace zarno {

namespace {
std::unique_ptr<TZahyouDialogFacade> &zahyouDialog()
{
    static std::unique_ptr<TZahyouDialogFacade> dialog;
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

} // namespace zarno
