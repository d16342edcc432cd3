#pragma once

#include "core/messagedialogs.h"

#include <QList>
#include <QString>
#include <deque>

namespace zarno::test {

// Stands in for the modal message dialogs: records every text shown and
// answers questions from a queue (an empty queue answers mrCancel).
class TScriptedDialogs : public TMessageDialogs
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
    };

    void showMessage(const QString &text, const QString &caption, TMsgDlgType type) override;
    TModalResult askMessage(const QString &text, const QString &caption, TMsgDlgButtons buttons,
        TMsgDlgType type) override;

    QList<Shown> shown;
    std::deque<TModalResult> answers;
};

// Installs a scripted dialog object for the life of a test and restores the
// previous one afterwards.
class ScopedScriptedDialogs
{
public:
    ScopedScriptedDialogs();
    ~ScopedScriptedDialogs();
    TScriptedDialogs &operator*() { return *fDialogs; }
    TScriptedDialogs *operator->() { return fDialogs; }

private:
    TScriptedDialogs *fDialogs;
    std::unique_ptr<TMessageDialogs> fPrevious;
};

} // namespace zarno::test
