#pragma once

#include "persist/loadsave.h"

class QWidget;

namespace zarno {

// The open and save dialogs on Qt. Filters come as "text|pattern".
class TQtFileDialogs : public TFileDialogs
{
public:
    explicit TQtFileDialogs(QWidget *owner)
        : fOwner(owner)
    { }
    QString openDialog(const QString &initialFolder, const QString &filter) override;
    QString saveDialog(
        const QString &fileName, const QString &filter, const QString &title) override;

private:
    QWidget *fOwner;
};

} // namespace zarno
