#pragma once

#include "graphs/dot2function.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zarno {

class TCalcFormulaFacade;

// The interim formula dialog of function graphs: the formula and its domain,
// with the parser's message and the formula typeset as the user types. OK is
// offered only for a formula and bounds without errors.
class TInterimFunctionDialog : public QDialog
{
public:
    TInterimFunctionDialog(bool isY, QWidget *parent = nullptr);
    ~TInterimFunctionDialog() override;

    void setValues(const QString &text, const TRange &range);
    QString text() const;
    void applyRange(TRange &range) const;

    QLineEdit *formulaEdit() const { return fFormula; }
    QLabel *messageLabel() const { return fMessage; }
    QPushButton *okButton() const { return fOk; }
    QCheckBox *minInfinite() const { return fMinInf; }
    QLineEdit *minEdit() const { return fMin; }
    // What the typeset preview shows now.
    const QImage &previewImage() const { return fPreviewImage; }

private:
    void check();
    void updatePreview();

    bool fIsY;
    std::unique_ptr<TCalcFormulaFacade> fFacade;
    std::unique_ptr<TCalcFormulaFacade> fBoundFacade;
    QLineEdit *fFormula;
    QLabel *fMessage;
    QLabel *fPreview;
    QImage fPreviewImage;
    QCheckBox *fMinInf;
    QCheckBox *fMaxInf;
    QLineEdit *fMin;
    QLineEdit *fMax;
    QPushButton *fOk;
};

// Puts the interim dialog behind the graphs' dialog facade.
class TInterimFunctionDialogFacade : public TFunctionDialogFacade
{
public:
    explicit TInterimFunctionDialogFacade(QWidget *owner)
        : fOwner(owner)
    { }
    bool editFunction(QString &text, TRange &range, bool isY) override;

private:
    QWidget *fOwner;
};

} // namespace zarno
