#pragma once

#include "core/messagedialogs.h"

namespace zarno {

// Message dialogs shown with QMessageBox.
class TQtMessageDialogs : public TMessageDialogs
{
public:
    void showMessage(const QString &text, const QString &caption, TMsgDlgType type) override;
    TModalResult askMessage(const QString &text, const QString &caption, TMsgDlgButtons buttons,
        TMsgDlgType type) override;
};

} // namespace zarno
