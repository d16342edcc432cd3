#include "app/icons.h"

#include <QFile>

namespace zarno {

QIcon TIcons::icon(const QString &name)
{
    const QString path = QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QIcon TIcons::toolIcon(const QString &id, int size)
{
    QIcon result;
    const QString normal
        = QStringLiteral(":/icons/") + id + QString::number(size) + QStringLiteral(".svg");
    const QString disabled = QStringLiteral(":/icons/") + id + QStringLiteral("32disabled.svg");
    if (QFile::exists(normal))
        result.addFile(normal, QSize(size, size), QIcon::Normal);
    if (QFile::exists(disabled))
        result.addFile(disabled, QSize(size, size), QIcon::Disabled);
    return result;
}

} // namespace zarno
