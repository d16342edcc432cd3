#pragma once

#include <QIcon>
#include <QString>

namespace zarno {

// The program's pictures, by the names the tools and commands carry
// ("line32", "save16"). A missing picture gives an empty icon.
struct TIcons
{
    static QIcon icon(const QString &name);
    // A tool's icon with its own drawing for the disabled state.
    static QIcon toolIcon(const QString &id, int size);
};

} // namespace zarno
