#include "platform/widgets/qtmessagedialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace zarno {

namespace {

QMessageBox::Icon iconOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void TQtMessageDialogs::showMessage(const QString &text, const QString &caption, TMsgDlgType type)
{
    QMessageBox box(iconOf(type), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

TModalResult TQtMessageDialogs::askMessage(
    const QString &text, const QString &caption, TMsgDlgButtons buttons, TMsgDlgType type)
{
    QMessageBox::StandardButtons qb;
    if (buttons & mbYes)
        qb |= QMessageBox::Yes;
    if (buttons & mbNo)
        qb |= QMessageBox::No;
    if (buttons & mbOK)
        qb |= QMessageBox::Ok;
    if (buttons & mbCancel)
        qb |= QMessageBox::Cancel;
    QMessageBox box(iconOf(type), caption, text, qb, QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Yes: return TModalResult::mrYes;
    case QMessageBox::No: return TModalResult::mrNo;
    case QMessageBox::Ok: return TModalResult::mrOk;
    case QMessageBox::Cancel: return TModalResult::mrCancel;
    default: return TModalResult::mrCancel;
    }
}

} // namespace zarno
