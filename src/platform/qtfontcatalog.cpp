#include "platform/qtfontcatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

namespace zarno {

namespace {

const char *const kTypesetFonts[]
    = { "cmr10", "cmr6", "cmmi10", "cmmi6", "cmsy10", "cmsy6", "cmex10" };

// Fonts the program names that this platform does not ship, with the
// families that take their place, under each name the family may be listed
// by (the Latin one, the Japanese one under a Japanese locale).
QStringList standInsFor(const QString &name)
{
    if (name == QStringLiteral("ＭＳ Ｐ明朝"))
        return { QStringLiteral("IPAPMincho"), QStringLiteral("IPA P明朝") };
    if (name == QStringLiteral("ＭＳ Ｐゴシック"))
        return { QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック") };
    return {};
}

} // namespace

QStringList TQtFontCatalog::fontFolders()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    QStringList folders { programDir + QStringLiteral("/fonts"),
        programDir + QStringLiteral("/../share/zarno/fonts") };
#ifdef ZARNO_SOURCE_FONT_DIR
    folders << QStringLiteral(ZARNO_SOURCE_FONT_DIR);
#endif
    return folders;
}

TQtFontCatalog &TQtFontCatalog::instance()
{
    static TQtFontCatalog catalog;
    return catalog;
}

TQtFontCatalog::TQtFontCatalog()
{
    const QStringList folders = fontFolders();
    for (const char *font : kTypesetFonts) {
        const QString file = QString::fromLatin1(font) + QStringLiteral(".ttf");
        for (const QString &folder : folders) {
            const QFileInfo info(QDir(folder), file);
            if (!info.isFile())
                continue;
            if (QFontDatabase::addApplicationFont(info.absoluteFilePath()) >= 0)
                fRegistered << QDir::cleanPath(info.absoluteFilePath());
            break;
        }
    }
}

QString TQtFontCatalog::resolve(const QString &name) const
{
    QStringList candidates { name };
    candidates << standInsFor(name);
    for (const QString &candidate : candidates)
        if (!candidate.isEmpty() && QFontDatabase::hasFamily(candidate))
            return QFontInfo(QFont(candidate)).family();
    return QString();
}

QString TQtFontCatalog::familyFor(const QString &name) const
{
    auto it = fFamilies.constFind(name);
    if (it == fFamilies.constEnd())
        it = fFamilies.insert(name, resolve(name));
    return *it;
}

bool TQtFontCatalog::isInstalled(const QString &name) const
{
    return !familyFor(name).isEmpty();
}

} // namespace zarno
