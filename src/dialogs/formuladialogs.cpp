#include "dialogs/formuladialogs.h"

#include "dialogs/formulafacade.h"
#include "dialogs/frmformula.h"
#include "dialogs/frminputnumber.h"
#include "dialogs/rangeinput.h"
#include "formula/calcformulafacade.h"
#include "graphs/dot2function.h"
#include "graphs/range.h"
#include "labels/labeldialogs.h"
#include "model/dialogfacades.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zarno {

namespace {

// The text and size the user confirmed: only an OK with some text counts.
bool takeResult(int modalResult, const TFormulaFacade &facade, QString &text, int &pt)
{
    if (modalResult != 1 || facade.resultText().trimmed().isEmpty())
        return false;
    text = facade.resultText();
    pt = facade.resultPt();
    return true;
}

// The height of the option panel while it holds the domain.
constexpr int kRangePanelHeight = 115;

class TFunctionDialog : public TFunctionDialogFacade
{
public:
    explicit TFunctionDialog(TFormulaDialogs &dialogs)
        : fDialogs(dialogs)
    { }
    bool editFunction(QString &text, TRange &range, bool isY) override
    {
        // A graph's formula may use its free variable and nothing else.
        auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
        TCalcSymbolOnOff onOff;
        (isY ? onOff.yOn : onOff.xOn) = true;
        calc->setCalcSymbolOnOff(onOff);
        return edit(isY ? QStringLiteral("dot2FunctionY") : QStringLiteral("dot2Function"), *calc,
            text, range);
    }
    // The graph's own facade enables x and its parents' attributes.
    bool editFunctionWithVariables(TCalcFormulaFacade &calc, QString &text, TRange &range) override
    {
        return edit(QStringLiteral("shapeVariable2function"), calc, text, range);
    }

private:
    bool edit(const QString &place, TCalcFormulaFacade &calc, QString &text, TRange &range)
    {
        TFormulaFacade &facade = fDialogs.facade(place);
        TRangeInput &rangeInput = fDialogs.rangeInput();
        QWidget *panel = fDialogs.input().optionPanel();
        rangeInput.load(range);
        rangeInput.show();
        // At least its usual height; larger fonts get what they need.
        panel->setFixedHeight(std::max(kRangePanelHeight, rangeInput.sizeHint().height()));
        struct Hide
        {
            TRangeInput &input;
            QWidget *panel;
            ~Hide()
            {
                input.hide();
                panel->setFixedHeight(0);
            }
        } hide { rangeInput, panel };

        int pt = 0; // the graph keeps no size: the place's own is used
        if (!takeResult(facade.inputCalcOwnPt(calc, text, text.isEmpty()), facade, text, pt))
            return false;
        rangeInput.apply(range);
        return true;
    }

    TFormulaDialogs &fDialogs;
};

class TWritingDialog : public TWritingDialogFacade
{
public:
    explicit TWritingDialog(TFormulaDialogs &dialogs)
        : fDialogs(dialogs)
    { }
    bool editWriting(QString &text, int &pt) override
    {
        TFormulaFacade &facade = fDialogs.facade(QStringLiteral("writing"));
        return takeResult(facade.inputTeX(text, pt, true), facade, text, pt);
    }

private:
    TFormulaDialogs &fDialogs;
};

class TCalcFormulaDialog : public TCalcFormulaDialogFacade
{
public:
    explicit TCalcFormulaDialog(TFormulaDialogs &dialogs)
        : fDialogs(dialogs)
    { }
    bool editCalc(const QString &place, TCalcFormulaFacade &calc, QString &text, int &pt,
        bool selectAll) override
    {
        TFormulaFacade &facade = fDialogs.facade(place);
        // A caller without a size of its own uses the one kept for the place.
        const int size = pt > 0 ? pt : facade.fontPt();
        return takeResult(facade.inputCalc(calc, text, selectAll, size), facade, text, pt);
    }

private:
    TFormulaDialogs &fDialogs;
};

class TNumberDialog : public TNumberDialogFacade
{
public:
    explicit TNumberDialog(TFormulaDialogs &dialogs)
        : fDialogs(dialogs)
    { }
    bool editNumber(double min, double max, TWriting &writing) override
    {
        return fDialogs.numberForm().editNumber(min, max, writing) == 1;
    }

private:
    TFormulaDialogs &fDialogs;
};

} // namespace

TFormulaDialogs::TFormulaDialogs(QWidget *owner)
    : fFacades(std::make_unique<TFormulaFacadeList>())
    , fInput(std::make_unique<TInputFormulaFacade>(owner))
    , fNumber(std::make_unique<TFrmInputNumber>(owner))
{
    fRange = new TRangeInput(fInput->optionPanel());
    fInput->form().optionLayout()->addWidget(fRange);
    fRange->hide();
    // Tab goes from the palette through the domain to the buttons.
    TFrmFormula &form = fInput->form();
    QWidget *chain[] = { form.palette(), fRange->infiniteButton(0), fRange->finiteButton(0),
        fRange->preview(0), fRange->infiniteButton(1), fRange->finiteButton(1), fRange->preview(1),
        form.okButton(), form.cancelButton() };
    for (std::size_t i = 0; i + 1 < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    TFunctionDialogFacade::install(std::make_unique<TFunctionDialog>(*this));
    TWritingDialogFacade::install(std::make_unique<TWritingDialog>(*this));
    TCalcFormulaDialogFacade::install(std::make_unique<TCalcFormulaDialog>(*this));
    TNumberDialogFacade::install(std::make_unique<TNumberDialog>(*this));
}

TFormulaDialogs::~TFormulaDialogs()
{
    TFunctionDialogFacade::install(nullptr);
    TWritingDialogFacade::install(nullptr);
    TCalcFormulaDialogFacade::install(nullptr);
    TNumberDialogFacade::install(nullptr);
}

TFormulaFacade &TFormulaDialogs::facade(const QString &name) const
{
    return fFacades->facade(name);
}

} // namespace zarno
