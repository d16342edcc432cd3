#include "app/zarnoapplication.h"
#include "core/appinfo.h"
#include "core/messagedialogs.h"
#include "platform/qtmessagedialogs.h"

#include <QMainWindow>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    using namespace zarno;
    TAppInfo::setUp();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", TAppInfo::productName().toUtf8().constData(),
                        TAppInfo::versionString().toUtf8().constData());
            return 0;
        }
    }

    TZarnoApplication app(argc, argv);
    TMessageDialogs::install(std::make_unique<TQtMessageDialogs>());
    int rc = 0;
    {
        QMainWindow window;
        window.setWindowTitle(TAppInfo::productName());
        window.resize(800, 600);
        window.show();
        rc = app.exec();
    }
    TMessageDialogs::install(nullptr);
    TAppInfo::clear();
    return rc;
}
