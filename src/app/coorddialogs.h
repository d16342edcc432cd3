#pragma once

#include "core/enums.h"
#include "labels/labeldialogs.h"
#include "model/dialogfacades.h"

#include <QDialog>
#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zarno {

class TCalcFormulaFacade;
class TCanvas;
class TPreviewBox;
class TWriting;
class TZahyou;

// "点の座標の入力": for each coordinate of a point, free movement or a
// formula. Formulas are never typed here: a click on a preview opens the
// formula dialog. OK is offered only when each coordinate is free or its
// formula reads without a syntax error.
class TFrmInputZahyou : public QDialog
{
public:
    explicit TFrmInputZahyou(QWidget *parent = nullptr);
    ~TFrmInputZahyou() override;

    // Edits the zahyou in place; 1 OK, 2 cancel. The caller keeps the saved
    // state around it.
    int run(TCalcFormulaFacade &facadeX, TCalcFormulaFacade &facadeY, TZahyou &zahyou);

    QCheckBox *freeBox(int axis) const { return fFree[std::size_t(axis)]; }
    TPreviewBox *preview(int axis) const { return fPreview[std::size_t(axis)]; }
    QPushButton *okButton() const { return fOk; }
    int errorFlag(int axis) const { return fError[std::size_t(axis)]; }
    // A click on the preview (or Alt with its letter).
    void editFormula(int axis);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void freeClicked(int axis);
    void paintPreview(int axis, TCanvas &canvas, int height);
    void refresh();

    std::array<QGroupBox *, 2> fGroup {};
    std::array<QCheckBox *, 2> fFree {};
    std::array<TPreviewBox *, 2> fPreview {};
    std::array<int, 2> fError { 1, 1 };
    QPushButton *fOk;
    TCalcFormulaFacade *fFacade[2] = { nullptr, nullptr };
    TZahyou *fZahyou = nullptr;
};

// Puts the coordinate dialog behind the model's coordinate dialog facade.
class TZahyouFacade : public TZahyouDialogFacade
{
public:
    explicit TZahyouFacade(QWidget *owner);
    ~TZahyouFacade() override;
    int editZahyou(
        TCalcFormulaFacade &facadeX, TCalcFormulaFacade &facadeY, TZahyou &zahyou) override;
    TFrmInputZahyou &form() { return *fForm; }

private:
    std::unique_ptr<TFrmInputZahyou> fForm;
};

// What the value display dialog edits of a value label: its name label,
// the formula, the number form (a TZahyouScaletype) and the digits. The
// label's owner keeps the saved state around the dialog.
struct TValueDisplay
{
    TWriting *name = nullptr;
    QString valueStr;
    TZahyouScaletype scaletype = TZahyouScaletype::zstDouble;
    int digits = 1;
};

// One form for "座標の表示設定" (a coordinate read-out: name, number form of
// x and y, digits) and "形の属性を使った式の表示設定" (a value label: name,
// formula, number form, digits).
class TFrmInputZahyouProperty : public QDialog
{
public:
    explicit TFrmInputZahyouProperty(QWidget *parent = nullptr);
    ~TFrmInputZahyouProperty() override;

    bool editZahyouProperty(TZahyouProperty &property);
    // 1 OK (the display holds the choices), 2 cancel (untouched).
    int editValue(TCalcFormulaFacade &facade, TValueDisplay &value);

    bool isValueMode() const { return fValueMode; }
    TPreviewBox *namePreview() const { return fNamePreview; }
    TPreviewBox *valuePreview() const { return fValuePreview; }
    QSpinBox *digits() const { return fDigits; }
    QRadioButton *scaleRadio(int group, int index) const;
    QGroupBox *group(int index) const { return fGroupBox[std::size_t(index)]; }
    QPushButton *okButton() const { return fOk; }
    void editName();
    void editValueFormula();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int checkedIn(int group) const;
    void check(int group, TZahyouScaletype type);
    void layoutForMode();

    bool fValueMode = false;
    TWriting *fName = nullptr;
    TCalcFormulaFacade *fFacade = nullptr;
    QString fValueStr;
    TPreviewBox *fNamePreview;
    QLabel *fValueLabel;
    TPreviewBox *fValuePreview;
    QSpinBox *fDigits;
    std::array<QGroupBox *, 2> fGroupBox {};
    std::array<QButtonGroup *, 2> fGroup {};
    QPushButton *fOk;
};

// Puts the display dialog behind the labels' read-out dialog facade.
class TZahyouPropertyFacade : public TZahyouPropertyDialogFacade
{
public:
    explicit TZahyouPropertyFacade(QWidget *owner);
    ~TZahyouPropertyFacade() override;
    bool editZahyouProperty(TZahyouProperty &property) override;
    int editValue(TCalcFormulaFacade &facade, TValueDisplay &value);
    TFrmInputZahyouProperty &form() { return *fForm; }

private:
    std::unique_ptr<TFrmInputZahyouProperty> fForm;
};

// The value dialog of a value label: the same form in its value mode, on
// the label's settings.
class TValueLabelFacade : public TValueDialogFacade
{
public:
    explicit TValueLabelFacade(QWidget *owner);
    ~TValueLabelFacade() override;
    bool editValue(TCalcFormulaFacade &facade, TShapeVariable2value &value) override;
    TFrmInputZahyouProperty &form() { return *fForm; }

private:
    std::unique_ptr<TFrmInputZahyouProperty> fForm;
};

} // namespace zarno
