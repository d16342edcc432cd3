#include "support/scripted_dialogs.h"

namespace zarno::test {

void TScriptedDialogs::showMessage(const QString &text, const QString &caption, TMsgDlgType type)
{
    shown.append({ text, caption, type, mbOK });
}

TModalResult TScriptedDialogs::askMessage(
    const QString &text, const QString &caption, TMsgDlgButtons buttons, TMsgDlgType type)
{
    shown.append({ text, caption, type, buttons });
    if (answers.empty())
        return TModalResult::mrCancel;
    TModalResult r = answers.front();
    answers.pop_front();
    return r;
}

ScopedScriptedDialogs::ScopedScriptedDialogs()
{
    auto d = std::make_unique<TScriptedDialogs>();
    fDialogs = d.get();
    fPrevious = TMessageDialogs::install(std::move(d));
}

ScopedScriptedDialogs::~ScopedScriptedDialogs()
{
    TMessageDialogs::install(std::move(fPrevious));
}

} // namespace zarno::test
