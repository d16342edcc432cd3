#include "app/qtfiledialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace zarno {

namespace {
// "zarno file (*.znt)|*.znt" gives "zarno file (*.znt)".
QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i];
    return out.join(QStringLiteral(";;"));
}

QString defaultSuffix(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    return parts.size() >= 2 ? QFileInfo(parts[1]).suffix() : QString();
}
} // namespace

QString TQtFileDialogs::openDialog(const QString &initialFolder, const QString &filter)
{
    QFileDialog dialog(fOwner, QString(), initialFolder, qtFilter(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(defaultSuffix(filter));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
        ? dialog.selectedFiles().first()
        : QString();
}

QString TQtFileDialogs::saveDialog(
    const QString &fileName, const QString &filter, const QString &title)
{
    QFileDialog dialog(fOwner, title, fileName, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix(filter));
    dialog.selectFile(fileName);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
        ? dialog.selectedFiles().first()
        : QString();
}

} // namespace zarno
