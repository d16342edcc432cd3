#include "app/zarnoapplication.h"

#include "core/errorreport.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <exception>
#include <memory>

namespace zarno {

TZarnoApplication::TZarnoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{ }

bool TZarnoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleCurrentException();
        return false;
    }
}

void TZarnoApplication::handleCurrentException() noexcept
{
    static bool reporting = false;
    if (reporting)
        return; // a second fault while the first dialog is open changes nothing
    reporting = true;
    struct Reset
    {
        ~Reset() { reporting = false; }
    } reset;
    try {
        try {
            throw;
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s\n", uncaughtExceptionText(e).toLocal8Bit().constData());
            reportUncaughtException(e);
        } catch (...) {
            std::fprintf(stderr, "%s\n", uncaughtUnknownExceptionText().toLocal8Bit().constData());
            reportUncaughtUnknownException();
        }
    } catch (...) {
        // The dialog itself failed: the text is already on stderr.
    }
    QCoreApplication::exit(1);
}

QTranslator *TZarnoApplication::installQtTranslations()
{
    // The program speaks Japanese whatever the user's locale, so Qt's own
    // texts must too.
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(
            QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator.release();
}

} // namespace zarno
