#include "core/exceptions.h"

#include <utility>

namespace zarno {

namespace {

const QString kErrorOccurred = QStringLiteral("で以下のエラーが発生しました。");
const QString kUnexpected = QStringLiteral(
    "で作者の想定外のエラーが起こりました。\r\n（おそらくプログラムのバグです。）");
const QString kCrLf = QStringLiteral("\r\n");

QString myMessage(const QString &className, const QString &methodName, const QString &detail)
{
    return className + QLatin1Char('.') + methodName + kErrorOccurred + kCrLf + detail;
}

QString souteigaiMessage(const QString &className, const QString &methodName, const QString &detail)
{
    return className + QLatin1Char('.') + methodName + kUnexpected + kCrLf + kCrLf + detail;
}

} // namespace

EZarnoBase::EZarnoBase(QString message)
{
    setMessage(std::move(message));
}

void EZarnoBase::setMessage(QString message)
{
    fMessage = std::move(message);
    fUtf8 = fMessage.toUtf8();
}

EMyException::EMyException(
    const QString &className, const QString &detail, const QString &methodName)
    : EMyException(
        Prebuilt {}, className, detail, methodName, myMessage(className, methodName, detail))
{ }

EMyException::EMyException(const QString &className, const FormatArgs &args, const QString &format,
    const QString &methodName)
    : EMyException(className, safeFormat(format, args), methodName)
{ }

EMyException::EMyException(Prebuilt, const QString &className, const QString &detail,
    const QString &methodName, const QString &message)
    : EZarnoBase(message)
    , fClassName(className)
    , fMethodName(methodName)
    , fDetail(detail)
{ }

EMyFatalException::EMyFatalException(
    const QString &className, const QString &detail, const QString &methodName)
    : EMyException(className, detail, methodName)
{ }

QString ESouteigai::notImplementedDetail()
{
    return QStringLiteral("上記の関数はインプリメントされていません。");
}

ESouteigai::ESouteigai(const QString &className, const QString &methodName)
    : ESouteigai(className, notImplementedDetail(), methodName)
{ }

ESouteigai::ESouteigai(const QString &className, const QString &detail, const QString &methodName)
    : EMyFatalException(
        Prebuilt {}, className, detail, methodName, souteigaiMessage(className, methodName, detail))
{ }

ESouteigai::ESouteigai(const QString &className, const FormatArgs &args, const QString &format,
    const QString &methodName)
    : ESouteigai(className, safeFormat(format, args), methodName)
{ }

EXmlFileWriteError::EXmlFileWriteError(const QString &message, const QString &caption, quint8 code)
    : EZarnoBase(message)
    , fCaption(caption)
    , fCode(code)
{ }

} // namespace zarno
