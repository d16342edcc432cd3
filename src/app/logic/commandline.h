#pragma once

#include <QString>
#include <QStringList>
#include <optional>

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

// `zarno --export IN.znt OUT.{jpg,emf} [--width-mm N | --unit-mm N]
// [--text resize|display]`: an image written without a window. What is not
// given comes from the document's own export property.
struct TExportRequest
{
    QString input;
    QString output;
    std::optional<int> widthMm;
    std::optional<int> unitMm;
    std::optional<bool> textResizes;

    // Whether the arguments ask for an export at all.
    static bool isRequested(const QStringList &arguments);
    // The request, or the reason the arguments make none (in error).
    static std::optional<TExportRequest> parse(const QStringList &arguments, QString &error);
    static QString usage();
};

} // namespace zarno
