// The main of the tests that run the program's real main window: a
// QApplication named as the program's, whose settings and recovery copies go
// to folders of the run's own, never to the user's.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("zarno"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
