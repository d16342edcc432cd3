#pragma once

#include "labels/labeldialogs.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QGroupBox;
class QPushButton;

namespace zarno {

class TAxeProperty;
class TCheckInputBox;

// The three rows of one axis in its group box: the axis name, the scale
// (with the position editor of its numbers) and the grid.
class TAxeInput
{
public:
    TAxeInput(QGroupBox &groupBox, int axisIndex);
    ~TAxeInput();
    void load(TAxeProperty &axe);
    void finish(int result);
    bool key(QChar letter);
    TCheckInputBox &row(int index) { return *fRows[std::size_t(index)]; }

private:
    QGroupBox &fGroupBox;
    std::array<std::unique_ptr<TCheckInputBox>, 3> fRows;
};

// "座標軸の設定": both axes' names, scales and grids. Edits go to the labels
// at once; the rows keep them on OK and restore them otherwise.
class TFrmZahyoujikuProperty : public QDialog
{
public:
    explicit TFrmZahyoujikuProperty(QWidget *parent = nullptr);
    ~TFrmZahyoujikuProperty() override;

    QGroupBox *gbxHAxe() const { return fH; }
    QGroupBox *gbxVAxe() const { return fV; }
    QPushButton *btnOk() const { return fOk; }
    QPushButton *btnCancel() const { return fCancel; }
    // The rows of each axis (owned by the facade).
    TAxeInput &axeInput(int index) const { return *fAxes[std::size_t(index)]; }
    void setAxeInputs(TAxeInput *h, TAxeInput *v) { fAxes = { h, v }; }
    // Alt with a letter, offered to every row of both axes.
    std::function<bool(QChar)> onAltLetter;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QGroupBox *fH;
    QGroupBox *fV;
    QPushButton *fOk;
    QPushButton *fCancel;
    std::array<TAxeInput *, 2> fAxes {};
};

// Puts the axes dialog behind the labels' axes dialog facade.
class TZahyoujikuPropertyFacade : public TZahyoujikuDialogFacade
{
public:
    explicit TZahyoujikuPropertyFacade(QWidget *owner);
    ~TZahyoujikuPropertyFacade() override;
    bool editZahyoujikuProperty(TZahyoujikuProperty &property) override;

    TFrmZahyoujikuProperty &form() { return *fForm; }
    TAxeInput &axeInput(int index) { return *fAxes[std::size_t(index)]; }

private:
    std::unique_ptr<TFrmZahyoujikuProperty> fForm;
    std::array<std::unique_ptr<TAxeInput>, 2> fAxes;
};

} // namespace zarno
