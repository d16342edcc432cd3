#pragma once

#include <QString>
#include <QStringList>

namespace zarno {

// What the program is asked to do when it starts: `zarno lesson.znt`, or a
// desktop's `zarno %f` after a double click on a document.
struct TCommandLine
{
    // The document named among the arguments (the program's name first, as
    // QCoreApplication::arguments() gives them), as an absolute path, since
    // a running instance that opens it works in another folder; empty when
    // none is named. Options ("-…") are not names, except after "--"; a
    // "file:" URL names its local file; of several names the first counts.
    static QString documentPath(const QStringList &arguments);
};

} // namespace zarno
