#include "core/messagedialogs.h"

#include "core/appinfo.h"
#include "core/exceptions.h"

namespace zarno {

namespace {
std::unique_ptr<TMessageDialogs> &slot()
{
    static std::unique_ptr<TMessageDialogs> dialogs;
    return dialogs;
}

TMessageDialogs &require()
{
    TMessageDialogs *d = slot().get();
    if (!d)
        throw ESouteigai(QStringLiteral("TMessageDialogs"),
            QStringLiteral("メッセージダイアログが登録されていません。"),
            QStringLiteral("current"));
    return *d;
}
} // namespace

std::unique_ptr<TMessageDialogs> TMessageDialogs::install(std::unique_ptr<TMessageDialogs> dialogs)
{
    std::swap(slot(), dialogs);
    return dialogs;
}

TMessageDialogs *TMessageDialogs::current()
{
    return slot().get();
}

void showAppMessage(const QString &text, TMsgDlgType dialogType)
{
    require().showMessage(text, TAppInfo::caption(), dialogType);
}

void showCaptionedMessage(const QString &text, const QString &caption, TMsgDlgType dialogType)
{
    require().showMessage(text, caption, dialogType);
}

TModalResult askAppMessage(
    const QString &text, const QString &caption, TMsgDlgButtons buttons, TMsgDlgType dialogType)
{
    return require().askMessage(text, caption, buttons, dialogType);
}

} // namespace zarno
