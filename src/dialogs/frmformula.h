#pragma once

#include "dialogs/formulabuttons.h"
#include "formula/calcsymbollist.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QVBoxLayout;

namespace zarno {

class TCalcFormulaFacade;
class TFormulaFacade;

// The box the dialogs draw their typeset preview into.
class TFormulaPreviewBox : public QWidget
{
public:
    explicit TFormulaPreviewBox(QWidget *parent = nullptr);
    void setImage(const QImage &image);
    const QImage &image() const { return fImage; }
    QSize sizeHint() const override { return { 420, 110 }; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QImage fImage;
};

// The font sizes the formula and number dialogs offer.
const QList<int> &formulaFontSizes();
// Selects pt in a size list, or the nearest size below it.
void selectFontSize(QComboBox &box, int pt);

// The formula dialog: a formula for calculation or a typeset text for
// display, typed with a typeset preview that follows every keystroke and
// palettes of symbols. OK is offered only for acceptable input.
class TFrmFormula : public QDialog
{
public:
    explicit TFrmFormula(TFormulaFacade &faces, QWidget *parent = nullptr);
    ~TFrmFormula() override;

    // Prepares a run: calculation mode when facade is given, else display
    // mode. The palette offers only what the facade's switch enables.
    void prepare(TCalcFormulaFacade *facade, const QString &text, int pt, bool selectAll);
    TFormulaMode mode() const { return fMode; }

    QString text() const;
    int pt() const;
    // The option panel below the preview (the domain of graphs); 0 pixels
    // tall unless something is put into it.
    QWidget *optionPanel() const { return fOptionPanel; }
    QVBoxLayout *optionLayout() const { return fOptionLayout; }

    // Replaces the selection with a template, the caret where its "@" was.
    void insertAtCaret(const QString &templateText);
    // Shows the tab of that caption; a caption that names no tab of the
    // visible palette is a program fault.
    void showTab(const QString &caption);

    QLineEdit *edit() const { return fEdit; }
    QComboBox *sizeBox() const { return fSize; }
    QPushButton *okButton() const { return fOk; }
    QPushButton *cancelButton() const { return fCancel; }
    QLabel *statusLabel() const { return fStatus; }
    QTabWidget *palette() const { return fPalette; }
    // The palette button of a symbol, or nullptr when it is not offered.
    QToolButton *button(const QString &name) const;
    const QImage &previewImage() const;
    // The typeset text the preview shows.
    const QString &previewTeX() const { return fPreviewTeX; }
    bool hasError() const { return fError; }

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildPalette(const TCalcSymbolOnOff &onOff);
    void nextTab(int step);
    void updatePreview();
    void drawIcon();

    TFormulaFacade &fFaces;
    TFormulaMode fMode = TFormulaMode::fmTeX;
    TCalcFormulaFacade *fCalc = nullptr;
    bool fSelectAll = false;
    bool fAcceptsErrors = true;
    QString fInitialText;
    QString fPreviewTeX;
    bool fError = true;
    bool fAcceptable = false;

    QLabel *fIcon;
    QLineEdit *fEdit;
    QComboBox *fSize;
    QLabel *fStatus;
    TFormulaPreviewBox *fPreview;
    QTabWidget *fPalette;
    QWidget *fOptionPanel;
    QVBoxLayout *fOptionLayout;
    QPushButton *fOk;
    QPushButton *fCancel;
};

// The one formula dialog of the program, with the facade that draws its
// button faces. Formula facades run it through instance().
class TInputFormulaFacade
{
public:
    explicit TInputFormulaFacade(QWidget *owner);
    ~TInputFormulaFacade();
    // The installed one; using it before one is made is a program fault.
    static TInputFormulaFacade &instance();
    static bool exists();

    // Runs the dialog modally; answers 1 for OK, 2 for cancel.
    int runCalc(TCalcFormulaFacade &facade, const QString &text, bool selectAll, int pt);
    int runTeX(const QString &text, int pt, bool selectAll);

    TFrmFormula &form() { return *fForm; }
    QWidget *optionPanel() const { return fForm->optionPanel(); }
    const QString &resultText() const { return fResultText; }
    int resultPt() const { return fResultPt; }
    int resultModal() const { return fResultModal; }

private:
    int run();

    std::unique_ptr<TFormulaFacade> fFaces;
    std::unique_ptr<TFrmFormula> fForm;
    QString fResultText;
    int fResultPt = 14;
    int fResultModal = 0;
};

} // namespace zarno
