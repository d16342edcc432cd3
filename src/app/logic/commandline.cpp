#include "app/logic/commandline.h"

#include <QFileInfo>
#include <QUrl>

namespace zarno {

QString TCommandLine::documentPath(const QStringList &arguments)
{
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument.isEmpty() || (!optionsEnded && argument.startsWith(QLatin1Char('-'))))
            continue;
        const QString path = argument.startsWith(QStringLiteral("file:"))
            ? QUrl(argument).toLocalFile()
            : argument;
        if (!path.isEmpty())
            return QFileInfo(path).absoluteFilePath();
    }
    return QString();
}

bool TExportRequest::isRequested(const QStringList &arguments)
{
    return arguments.contains(QStringLiteral("--export"));
}

QString TExportRequest::usage()
{
    return QStringLiteral(
        "使い方: zarno --export 入力.znt 出力.{jpg,emf} [--width-mm N | --unit-mm N] "
        "[--text resize|display]");
}

std::optional<TExportRequest> TExportRequest::parse(const QStringList &arguments, QString &error)
{
    TExportRequest request;
    QStringList names;
    auto number = [&](qsizetype &i, std::optional<int> &into) {
        bool ok = false;
        const int v = i + 1 < arguments.size() ? arguments[i + 1].toInt(&ok) : 0;
        if (!ok || v <= 0) {
            error = arguments[i] + QStringLiteral(" には正の整数 (mm) を指定してください。");
            return false;
        }
        into = v;
        ++i;
        return true;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QStringLiteral("--export"))
            continue;
        if (a == QStringLiteral("--width-mm")) {
            if (!number(i, request.widthMm))
                return std::nullopt;
        } else if (a == QStringLiteral("--unit-mm")) {
            if (!number(i, request.unitMm))
                return std::nullopt;
        } else if (a == QStringLiteral("--text")) {
            const QString v = i + 1 < arguments.size() ? arguments[i + 1] : QString();
            if (v != QStringLiteral("resize") && v != QStringLiteral("display")) {
                error = QStringLiteral("--text には resize か display を指定してください。");
                return std::nullopt;
            }
            request.textResizes = v == QStringLiteral("resize");
            ++i;
        } else if (a.startsWith(QLatin1Char('-'))) {
            error = QStringLiteral("知らないオプションです: ") + a;
            return std::nullopt;
        } else {
            names << a;
        }
    }
    if (request.widthMm && request.unitMm) {
        error = QStringLiteral("--width-mm と --unit-mm は同時に指定できません。");
        return std::nullopt;
    }
    if (names.size() != 2) {
        error = QStringLiteral("入力ファイルと出力ファイルを1つずつ指定してください。");
        return std::nullopt;
    }
    request.input = names[0];
    request.output = names[1];
    return request;
}

} // namespace zarno
