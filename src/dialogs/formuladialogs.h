#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace zarno {

class TFormulaFacade;
class TFormulaFacadeList;
class TFrmInputNumber;
class TInputFormulaFacade;
class TRangeInput;

// The formula and number dialogs of the program, made once and put behind
// the dialog facades of graphs (formula and domain), labels (typeset text,
// numbers) and coordinates (calculation formulas). Freeing it takes them
// away again, so no facade outlives its dialog.
class TFormulaDialogs
{
public:
    explicit TFormulaDialogs(QWidget *owner);
    ~TFormulaDialogs();
    TFormulaDialogs(const TFormulaDialogs &) = delete;
    TFormulaDialogs &operator=(const TFormulaDialogs &) = delete;

    TFormulaFacade &facade(const QString &name) const;
    TInputFormulaFacade &input() const { return *fInput; }
    TFrmInputNumber &numberForm() const { return *fNumber; }
    TRangeInput &rangeInput() const { return *fRange; }

private:
    std::unique_ptr<TFormulaFacadeList> fFacades;
    std::unique_ptr<TInputFormulaFacade> fInput;
    std::unique_ptr<TFrmInputNumber> fNumber;
    TRangeInput *fRange; // lives in the formula dialog's option panel
};

} // namespace zarno
