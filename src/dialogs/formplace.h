#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace zarno {

// Where the dialogs keep their places in the settings (formPositionAndSize /
// key). Without a settings file a dialog opens where the platform puts it
// and nothing is kept.
void readFormPos(QWidget &form, const QString &key);
void writeFormPos(const QWidget &form, const QString &key);
void readFormBounds(QWidget &form, const QString &key);
void writeFormBounds(const QWidget &form, const QString &key);
// The common set-up on show: the dialogs' 9-point font.
void setFormFont(QWidget &form);
// The row of "OK" (the default button) and "キャンセル" at the right of a
// dialog; the caller connects them.
QHBoxLayout *okCancelRow(QDialog &dialog, QPushButton *&ok, QPushButton *&cancel);

} // namespace zarno
