#include "typeset/typeset_support.h"

#include <QApplication>
#include <gtest/gtest.h>

// The dialogs are widgets: they need a QApplication, and typesetting set up
// from the installed fonts as the program has it.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zarno::test::useInstalledFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
