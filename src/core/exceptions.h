#pragma once

#include "core/safeformat.h"

#include <QByteArray>
#include <QString>
#include <exception>

namespace zarno {

// Root of every exception the program raises itself. It carries the finished
// message text; what() returns it as UTF-8 for foreign handlers.
class EZarnoBase : public std::exception
{
public:
    explicit EZarnoBase(QString message);
    const QString &message() const noexcept { return fMessage; }
    const char *what() const noexcept override { return fUtf8.constData(); }
    // The run-time class name, as shown by the last-chance error handler.
    virtual QString className() const { return QStringLiteral("Exception"); }

protected:
    void setMessage(QString message);

private:
    QString fMessage;
    QByteArray fUtf8;
};

// An error the program anticipated: class name, method name and a detail.
class EMyException : public EZarnoBase
{
public:
    EMyException(const QString &className, const QString &detail, const QString &methodName);
    EMyException(const QString &className, const FormatArgs &args, const QString &format,
        const QString &methodName);
    QString className() const override { return QStringLiteral("EMyException"); }
    const QString &raisingClass() const { return fClassName; }
    const QString &methodName() const { return fMethodName; }
    const QString &detail() const { return fDetail; }

protected:
    struct Prebuilt
    {
    };
    EMyException(Prebuilt, const QString &className, const QString &detail,
        const QString &methodName, const QString &message);

private:
    QString fClassName;
    QString fMethodName;
    QString fDetail;
};

// An error after which the program cannot go on.
class EMyFatalException : public EMyException
{
public:
    EMyFatalException(const QString &className, const QString &detail, const QString &methodName);
    QString className() const override { return QStringLiteral("EMyFatalException"); }

protected:
    using EMyException::EMyException;
};

// A broken internal invariant: a program fault.
class ESouteigai : public EMyFatalException
{
public:
    // The detail of every unimplemented abstract operation.
    ESouteigai(const QString &className, const QString &methodName);
    ESouteigai(const QString &className, const QString &detail, const QString &methodName);
    ESouteigai(const QString &className, const FormatArgs &args, const QString &format,
        const QString &methodName);
    QString className() const override { return QStringLiteral("ESouteigai"); }

    static QString notImplementedDetail();
};

class EInfix2TreeAnalyze : public EMyException
{
public:
    using EMyException::EMyException;
    QString className() const override { return QStringLiteral("EInfix2TreeAnalyze"); }
};

class ETeX2ListAnalyze : public EMyException
{
public:
    using EMyException::EMyException;
    QString className() const override { return QStringLiteral("ETeX2ListAnalyze"); }
};

class ERgnError : public EMyException
{
public:
    using EMyException::EMyException;
    QString className() const override { return QStringLiteral("ERgnError"); }
};

// A damaged or unreadable tagged text file. The message is complete as given.
class EFileFormatError : public EZarnoBase
{
public:
    using EZarnoBase::EZarnoBase;
    QString className() const override { return QStringLiteral("EFileFormatError"); }
};

// A file that cannot be opened or read at all. The message is complete as given.
class EFileStreamError : public EZarnoBase
{
public:
    using EZarnoBase::EZarnoBase;
    QString className() const override { return QStringLiteral("EFileStreamError"); }
};

// Writing a tagged text file failed; shown with its own caption.
class EXmlFileWriteError : public EZarnoBase
{
public:
    EXmlFileWriteError(const QString &message, const QString &caption, quint8 code);
    QString className() const override { return QStringLiteral("EXmlFileWriteError"); }
    const QString &caption() const { return fCaption; }
    quint8 code() const { return fCode; }

private:
    QString fCaption;
    quint8 fCode;
};

} // namespace zarno
