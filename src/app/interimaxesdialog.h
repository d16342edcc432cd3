#pragma once

#include "labels/labeldialogs.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zarno {

class TWriting;

// One interval of an axis as the interim axes dialog edits it: the number
// mode, a fraction or a number, and (for scales) the size of the numbers.
class TIntervalEditor : public QWidget
{
public:
    TIntervalEditor(bool withSize, QWidget *parent);

    void load(const TWriting &writing);
    // Whether the input is a positive number; the message says what is wrong.
    bool check(QString &message) const;
    void store(TWriting &writing) const;

    QComboBox *modeBox() const { return fMode; }
    QLineEdit *numeratorEdit() const { return fNumerator; }
    QLineEdit *denominatorEdit() const { return fDenominator; }
    QLineEdit *realEdit() const { return fReal; }

private:
    void showMode();

    QComboBox *fMode;
    QLineEdit *fNumerator;
    QLineEdit *fDenominator;
    QLineEdit *fReal;
    QComboBox *fSize = nullptr;
};

// The interim dialog of the coordinate axes: for each axis its name, the
// scale (on or off, interval, size of the numbers) and the grid (on or off,
// interval). Nothing changes until OK, which is offered only for positive
// intervals.
class TInterimAxesDialog : public QDialog
{
public:
    explicit TInterimAxesDialog(QWidget *parent = nullptr);
    ~TInterimAxesDialog() override;

    void load(const TZahyoujikuProperty &property);
    void store(TZahyoujikuProperty &property) const;

    struct Axis
    {
        QLineEdit *name = nullptr;
        QCheckBox *scaleOn = nullptr;
        TIntervalEditor *scale = nullptr;
        QCheckBox *gridOn = nullptr;
        TIntervalEditor *grid = nullptr;
    };
    const Axis &axis(int index) const { return fAxes[std::size_t(index)]; }
    QPushButton *okButton() const { return fOk; }
    QLabel *messageLabel() const { return fMessage; }

private:
    void check();

    std::array<Axis, 2> fAxes;
    QLabel *fMessage;
    QPushButton *fOk;
};

// Puts the interim dialog behind the axes' dialog facade.
class TInterimAxesDialogFacade : public TZahyoujikuDialogFacade
{
public:
    explicit TInterimAxesDialogFacade(QWidget *owner)
        : fOwner(owner)
    { }
    bool editZahyoujikuProperty(TZahyoujikuProperty &property) override;

private:
    QWidget *fOwner;
};

} // namespace zarno
