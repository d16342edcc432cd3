#include "labels/labeldialogs.h"

#include "labels/shapevariable2value.h"

namespace zarno {

namespace {

std::unique_ptr<TWritingDialogFacade> &writingSlot()
{
    static std::unique_ptr<TWritingDialogFacade> dialog;
    return dialog;
}

int &rememberedPt()
{
    static int pt = 14;
    return pt;
}

std::unique_ptr<TZahyouPropertyDialogFacade> &zahyouPropertySlot()
{
    static std::unique_ptr<TZahyouPropertyDialogFacade> dialog;
    return dialog;
}

std::unique_ptr<TZahyoujikuDialogFacade> &zahyoujikuSlot()
{
    static std::unique_ptr<TZahyoujikuDialogFacade> dialog;
    return dialog;
}

std::unique_ptr<TNumberDialogFacade> &numberSlot()
{
    static std::unique_ptr<TNumberDialogFacade> dialog;
    return dialog;
}

std::unique_ptr<TValueDialogFacade> &valueSlot()
{
    static std::unique_ptr<TValueDialogFacade> dialog;
    return dialog;
}

} // namespace

std::unique_ptr<TWritingDialogFacade> TWritingDialogFacade::install(
    std::unique_ptr<TWritingDialogFacade> dialog)
{
    std::swap(writingSlot(), dialog);
    return dialog;
}

bool TWritingDialogFacade::edit(QString &text, int &pt)
{
    if (!writingSlot())
        return false;
    QString t = text;
    int p = pt;
    if (!writingSlot()->editWriting(t, p) || t.trimmed().isEmpty())
        return false;
    text = t;
    pt = p;
    rememberedPt() = p;
    return true;
}

int TWritingDialogFacade::lastPt()
{
    return rememberedPt();
}

std::unique_ptr<TZahyouPropertyDialogFacade> TZahyouPropertyDialogFacade::install(
    std::unique_ptr<TZahyouPropertyDialogFacade> dialog)
{
    std::swap(zahyouPropertySlot(), dialog);
    return dialog;
}

bool TZahyouPropertyDialogFacade::edit(TZahyouProperty &property)
{
    return zahyouPropertySlot() && zahyouPropertySlot()->editZahyouProperty(property);
}

std::unique_ptr<TZahyoujikuDialogFacade> TZahyoujikuDialogFacade::install(
    std::unique_ptr<TZahyoujikuDialogFacade> dialog)
{
    std::swap(zahyoujikuSlot(), dialog);
    return dialog;
}

bool TZahyoujikuDialogFacade::edit(TZahyoujikuProperty &property)
{
    return zahyoujikuSlot() && zahyoujikuSlot()->editZahyoujikuProperty(property);
}

std::unique_ptr<TNumberDialogFacade> TNumberDialogFacade::install(
    std::unique_ptr<TNumberDialogFacade> dialog)
{
    std::swap(numberSlot(), dialog);
    return dialog;
}

bool TNumberDialogFacade::edit(double min, double max, TWriting &writing)
{
    return numberSlot() && numberSlot()->editNumber(min, max, writing);
}

std::unique_ptr<TValueDialogFacade> TValueDialogFacade::install(
    std::unique_ptr<TValueDialogFacade> dialog)
{
    std::swap(valueSlot(), dialog);
    return dialog;
}

bool TValueDialogFacade::edit(TCalcFormulaFacade &facade, TShapeVariable2value &value)
{
    if (!valueSlot())
        return false;
    value.pushCurrent();
    bool ok = false;
    try {
        ok = valueSlot()->editValue(facade, value);
    } catch (...) {
        value.pop();
        throw;
    }
    if (ok)
        value.clearPushed();
    else
        value.pop();
    return ok;
}

} // namespace zarno
