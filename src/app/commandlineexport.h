#pragma once

#include <QStringList>

namespace zarno {

// Runs `zarno --export …` without a window: reads the document, writes the
// image of its output area, prints what it wrote and returns the exit code
// (0 written, 1 unreadable input or unwritable output, 2 wrong arguments).
// Needs a QGuiApplication (the offscreen platform is enough) for the fonts.
int runCommandLineExport(const QStringList &arguments);

} // namespace zarno
