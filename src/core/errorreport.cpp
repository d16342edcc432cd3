#include "core/errorreport.h"

#include "core/appinfo.h"
#include "core/exceptions.h"
#include "core/messagedialogs.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace zarno {

namespace {

QString demangledName(const std::type_info &type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? QString::fromUtf8(name.get()) : QString::fromUtf8(type.name());
}

QString wrap(const QString &report)
{
    return TAppInfo::productName() + TAppInfo::versionString() + QStringLiteral("の ") + report
        + QStringLiteral("\r\n\r\nプログラムを強制終了します。");
}

QString unhandled(const QString &className, const QString &message)
{
    return QStringLiteral("の例外ハンドラで対応できていない以下の例外が発生しました。\r\n\r\n")
        + className + QStringLiteral("\r\n") + message;
}

} // namespace

QString uncaughtExceptionText(const std::exception &e)
{
    if (auto fatal = dynamic_cast<const EMyFatalException *>(&e))
        return wrap(fatal->message());
    if (auto own = dynamic_cast<const EZarnoBase *>(&e))
        return wrap(unhandled(own->className(), own->message()));
    return wrap(unhandled(demangledName(typeid(e)), QString::fromUtf8(e.what())));
}

QString uncaughtUnknownExceptionText()
{
    return wrap(unhandled(QStringLiteral("(unknown)"), QString()));
}

void reportUncaughtException(const std::exception &e)
{
    showAppMessage(uncaughtExceptionText(e), TMsgDlgType::mtError);
}

void reportUncaughtUnknownException()
{
    showAppMessage(uncaughtUnknownExceptionText(), TMsgDlgType::mtError);
}

} // namespace zarno
