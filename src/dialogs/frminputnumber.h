#pragma once

#include "core/enums.h"

#include <QDialog>
#include <QLineEdit>
#include <functional>
#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zarno {

class TCalcFormulaFacade;
class TFormulaPreviewBox;
class TWriting;

// An edit for integers and decimals: mode 0 or 1 takes real numbers, 2
// integers, 3 positive integers. Other characters are dropped as typed; an
// emptied edit gets its default text back, selected.
class TNumberEdit : public QLineEdit
{
public:
    explicit TNumberEdit(QWidget *parent = nullptr);
    int mode() const { return fMode; }
    void setMode(int mode) { fMode = mode; }
    void setIntegerAndDefault(const QString &text);
    // Raises the conversion error for a text that is no integer above 0.
    void mode2PlusIntegerAndSetDefault(const QString &text);
    const QString &defaultText() const { return fDefault; }
    // Run on Enter, which it then consumes; without one Enter goes to the dialog.
    void setEnterHandler(std::function<void()> handler) { fEnter = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    int fMode = 0;
    QString fDefault;
    std::function<void()> fEnter;
};

// The number dialog: how a number label's number is written (a fraction, a
// fraction times π, a real number given by a formula, degrees), its size,
// with the label drawn as it will look. OK is offered only for a value inside
// the open range the label allows.
class TFrmInputNumber : public QDialog
{
public:
    explicit TFrmInputNumber(QWidget *parent = nullptr);
    ~TFrmInputNumber() override;

    // Runs the dialog on the writing; OK keeps the new number, cancel leaves
    // the writing exactly as it was. Answers 1 for OK, 2 for cancel.
    int editNumber(double min, double max, TWriting &writing);

    QRadioButton *typeButton(TNumberMode mode) const;
    TNumberEdit *numeratorEdit() const { return fNumerator; }
    TNumberEdit *denominatorEdit() const { return fDenominator; }
    QLineEdit *formulaEdit() const { return fFormula; }
    QComboBox *sizeBox() const { return fSize; }
    QLabel *statusLabel() const { return fStatus; }
    QPushButton *okButton() const { return fOk; }
    QPushButton *cancelButton() const { return fCancel; }
    QGroupBox *fractionGroup() const { return fFraction; }
    const QImage &previewImage() const;
    TNumberMode numberMode() const;

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void typeChanged();
    void check();
    void takeInput();
    void updatePreview();
    bool inside(double v) const;
    int pt() const;

    TWriting *fWriting = nullptr;
    double fMin = 0;
    double fMax = 0;
    bool fLoading = false;
    std::unique_ptr<TCalcFormulaFacade> fCalc;

    QButtonGroup *fTypes;
    QGroupBox *fFraction;
    TNumberEdit *fNumerator;
    TNumberEdit *fDenominator;
    QLabel *fFormulaIcon;
    QLabel *fFormulaLabel;
    QLineEdit *fFormula;
    QLabel *fSizeLabel;
    QComboBox *fSize;
    TFormulaPreviewBox *fPreview;
    QLabel *fStatus;
    QPushButton *fOk;
    QPushButton *fCancel;
};

} // namespace zarno
