#pragma once

#include <QString>

namespace zarno {

// The product name and version string used in every message caption. Set when
// the application object is created and cleared at program end.
struct TAppInfo
{
    static QString productName();
    static QString versionString();
    // The full four-component version compiled into the program.
    static QString fileVersion();
    // "1.2.3.4" gives "1.2.3".
    static QString versionFromFileVersion(const QString &fileVersion);
    static void setUp();
    static void clear();
    // product name + " " + version string: the caption of message dialogs.
    static QString caption();
};

} // namespace zarno
