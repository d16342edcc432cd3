#pragma once

#include <QApplication>

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
};

} // namespace zarno
