#include "core/appinfo.h"

namespace zarno {

namespace {
QString gProductName;
QString gVersionString;
} // namespace

QString TAppInfo::productName()
{
    return gProductName;
}

QString TAppInfo::versionString()
{
    return gVersionString;
}

QString TAppInfo::fileVersion()
{
    return QStringLiteral(ZARNO_VERSION_FULL);
}

QString TAppInfo::versionFromFileVersion(const QString &fileVersion)
{
    const qsizetype dot = fileVersion.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileVersion : fileVersion.left(dot);
}

void TAppInfo::setUp()
{
    gProductName = QStringLiteral("zarno");
    gVersionString = versionFromFileVersion(fileVersion());
}

void TAppInfo::clear()
{
    gProductName.clear();
    gVersionString.clear();
}

QString TAppInfo::caption()
{
    return gProductName + QLatin1Char(' ') + gVersionString;
}

} // namespace zarno
