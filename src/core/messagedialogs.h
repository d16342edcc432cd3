#pragma once

#include <QString>
#include <memory>

namespace zarno {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// Buttons as flags; a dialog returns the one pressed.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
};
using TMsgDlgButtons = unsigned;

enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

// Modal message dialogs, as the logic asks for them. The program installs a
// Qt implementation; tests install a scripted one.
class TMessageDialogs
{
public:
    virtual ~TMessageDialogs() = default;
    virtual void showMessage(const QString &text, const QString &caption, TMsgDlgType type) = 0;
    virtual TModalResult askMessage(
        const QString &text, const QString &caption, TMsgDlgButtons buttons, TMsgDlgType type)
        = 0;

    // Installs the implementation used from now on and returns the previous one.
    static std::unique_ptr<TMessageDialogs> install(std::unique_ptr<TMessageDialogs> dialogs);
    static TMessageDialogs *current();
};

// A modal dialog with an OK button and the caption product name + " " + version.
// Like every message below, asking without installed dialogs is a program
// fault: a message is never dropped silently.
void showAppMessage(const QString &text, TMsgDlgType dialogType);
// The same with a caption of its own (a write error names its file operation).
void showCaptionedMessage(const QString &text, const QString &caption, TMsgDlgType dialogType);
TModalResult askAppMessage(
    const QString &text, const QString &caption, TMsgDlgButtons buttons, TMsgDlgType dialogType);

} // namespace zarno
