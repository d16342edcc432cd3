#pragma once

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

} // namespace zarno
