#pragma once

#include "labels/labeldialogs.h"

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zarno {

// The interim input dialog of label texts: the typeset text and its size,
// with the parser's message and the text typeset as the user types. A text
// with an error may be confirmed after a question, as it still draws (the
// unreadable rest highlighted).
class TInterimWritingDialog : public QDialog
{
public:
    explicit TInterimWritingDialog(QWidget *parent = nullptr);
    ~TInterimWritingDialog() override;

    void setValues(const QString &text, int pt);
    QString text() const;
    int pt() const;

    QLineEdit *textEdit() const { return fText; }
    QComboBox *sizeBox() const { return fSize; }
    QLabel *messageLabel() const { return fMessage; }
    QPushButton *okButton() const { return fOk; }
    // What the typeset preview shows now.
    const QImage &previewImage() const { return fPreviewImage; }
    bool hasError() const { return fError; }

    // The sizes offered, as the number and formula dialogs have them.
    static const QList<int> &sizes();

    void accept() override;

private:
    void check();

    QLineEdit *fText;
    QComboBox *fSize;
    QLabel *fMessage;
    QLabel *fPreview;
    QImage fPreviewImage;
    QPushButton *fOk;
    bool fError = false;
};

// Puts the interim dialog behind the labels' dialog facade.
class TInterimWritingDialogFacade : public TWritingDialogFacade
{
public:
    explicit TInterimWritingDialogFacade(QWidget *owner)
        : fOwner(owner)
    { }
    bool editWriting(QString &text, int &pt) override;

private:
    QWidget *fOwner;
};

} // namespace zarno
