#pragma once

#include <QApplication>

class QTranslator;

namespace zarno {

// The Qt application with the program's last-chance error handler: an
// exception that escapes an event handler reaches one error dialog, after
// which the program ends.
class TZarnoApplication : public QApplication
{
public:
    TZarnoApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the report of the exception being handled and ends the program.
    static void handleCurrentException() noexcept;

    // Qt's own texts (standard buttons, file dialogs) in Japanese, from the
    // translations Qt is installed with. The translator belongs to the
    // application; nullptr when Qt has no Japanese translation here.
    static QTranslator *installQtTranslations();
};

} // namespace zarno
