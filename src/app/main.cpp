#include "app/appli.h"
#include "app/commandlineexport.h"
#include "app/logic/commandline.h"
#include "app/logic/controller.h"
#include "app/mainwindow.h"
#include "app/qtfiledialogs.h"
#include "app/savegraphicfiledialog.h"
#include "app/singleinstance.h"
#include "app/splash.h"
#include "app/zarnoapplication.h"
#include "core/appinfo.h"
#include "core/messagedialogs.h"
#include "platform/widgets/qtmessagedialogs.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

int main(int argc, char **argv)
{
    using namespace zarno;
    QElapsedTimer startTime;
    startTime.start();
    TAppInfo::setUp();
    bool measureStartup = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", TAppInfo::productName().toUtf8().constData(),
                TAppInfo::versionString().toUtf8().constData());
            return 0;
        }
        // Prints the time from launch until the window is shown and the event
        // loop is idle, then ends.
        if (std::strcmp(argv[i], "--measure-startup") == 0)
            measureStartup = true;
    }

    // An export from the command line needs fonts but no display and no
    // window, and never meets a running program.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--export") == 0) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            QGuiApplication app(argc, argv);
            const int rc = runCommandLineExport(QCoreApplication::arguments());
            TAppInfo::clear();
            return rc;
        }
    }

    TZarnoApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("zarno"));
    TZarnoApplication::installQtTranslations();
    const QString document = TCommandLine::documentPath(QCoreApplication::arguments());
    TSingleInstance instance(QStringLiteral("zarno_mutex"));
    if (!instance.claim(document))
        return 0; // the running program opens it and comes forward instead

    TMessageDialogs::install(std::make_unique<TQtMessageDialogs>());
    int rc = 0;
    {
        auto splash = std::make_unique<TfrmSplash>();
        splash->setWindowFlag(Qt::SplashScreen);
        splash->show();
        app.processEvents();

        TfrmMain window;
        TFileDialogs::install(std::make_unique<TQtFileDialogs>(&window));
        TSaveGraphicfileDialog::install(std::make_unique<TQtSaveGraphicfileDialog>(&window));
        std::unique_ptr<TAppli> appli;
        try {
            appli = std::make_unique<TAppli>(window);
        } catch (...) {
            TZarnoApplication::handleCurrentException();
            return 1;
        }
        // A document handed over while a dialog is open (or the document
        // is being saved) waits until the window takes input again.
        std::function<void(const QString &)> openWhenFree = [&](const QString &file) {
            if (QApplication::activeModalWidget() || !appli->controller().acceptsInput()) {
                QTimer::singleShot(250, &window, [&openWhenFree, file] { openWhenFree(file); });
                return;
            }
            appli->controller().openNamedFile(file);
        };
        instance.onActivate = [&window, &openWhenFree](const QString &file) {
            window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
            window.show();
            window.raise();
            window.activateWindow();
            if (!file.isEmpty())
                openWhenFree(file);
        };
        window.show();
        splash.reset();
        if (measureStartup) {
            QTimer::singleShot(0, &app, [&startTime] {
                std::printf("startup_ms %.1f\n", startTime.nsecsElapsed() / 1e6);
                QCoreApplication::quit();
            });
        } else if (TfrmTutorial::shouldShowAtStart()) {
            auto *tutorial = new TfrmTutorial(&window);
            tutorial->setAttribute(Qt::WA_DeleteOnClose);
            QTimer::singleShot(0, tutorial, [tutorial] { tutorial->show(); });
        }
        // After the welcome window, so that the question shows above it.
        if (!measureStartup)
            QTimer::singleShot(0, &window, [&appli] { appli->controller().offerRecovery(); });
        // After the welcome window, so that a message about the document
        // shows above it.
        if (!document.isEmpty())
            QTimer::singleShot(0, &window, [&openWhenFree, &document] { openWhenFree(document); });
        rc = app.exec();
        instance.onActivate = nullptr;
        appli.reset();
        TFileDialogs::install(nullptr);
        TSaveGraphicfileDialog::install(nullptr);
    }
    TMessageDialogs::install(nullptr);
    TAppInfo::clear();
    return rc;
}
