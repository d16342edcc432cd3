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

} // namespace zarno
