#pragma once

#include "render/graphicfilefacade.h"

#include <QDialog>

class QFileDialog;
class QLineEdit;
class QRadioButton;
class QLabel;

namespace zarno {

// The image file's save dialog: Qt's own (non-native) file dialog with the
// size and text-size panels below it.
class TSaveGraphicfileDialogWidget : public QDialog
{
    Q_OBJECT
public:
    TSaveGraphicfileDialogWidget(QWidget *parent, const QString &fileName,
        const TGraphicfileProperty &property, int unitMax);

    QString chosenFile() const { return fChosen; }
    // The property with the dialog's values (after OK).
    TGraphicfileProperty property() const { return fProperty; }

    QFileDialog *fileDialog() const { return fFiles; }
    QRadioButton *boxRadio() const { return fBoxRadio; }
    QRadioButton *unitRadio() const { return fUnitRadio; }
    QLineEdit *boxEdit() const { return fBoxEdit; }
    QLineEdit *unitEdit() const { return fUnitEdit; }
    QRadioButton *resizeRadio() const { return fResizeRadio; }
    QRadioButton *sameRadio() const { return fSameRadio; }
    // Whether the edit shows its value as out of range (red, underlined).
    static bool markedOutOfRange(const QLineEdit *edit);
    // Checks the selected row and, when it holds, takes the values.
    // Shows the range message and returns false otherwise.
    bool validateAndTake();

private:
    void filesChosen(const QString &file);
    void filterChosen(const QString &filter);
    void updateEdits();
    static void markRange(QLineEdit *edit, const TMmRange &range);

    QFileDialog *fFiles;
    QRadioButton *fBoxRadio;
    QRadioButton *fUnitRadio;
    QLineEdit *fBoxEdit;
    QLineEdit *fUnitEdit;
    QLabel *fUnitLabel;
    QRadioButton *fResizeRadio;
    QRadioButton *fSameRadio;
    TMmRange fBoxRange;
    TMmRange fUnitRange;
    bool fUnitOffered;
    TGraphicfileProperty fProperty;
    QString fChosen;
};

class TQtSaveGraphicfileDialog : public TSaveGraphicfileDialog
{
public:
    explicit TQtSaveGraphicfileDialog(QWidget *owner)
        : fOwner(owner)
    { }
    bool execute(QString &fileName, TGraphicfileProperty &property, int unitMax) override;

private:
    QWidget *fOwner;
};

} // namespace zarno
