#include "app/singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace zarno {

TSingleInstance::TSingleInstance(const QString &name)
    : fName(name)
{ }

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::claim()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    fLock = std::make_unique<QLockFile>(dir + QLatin1Char('/') + fName + QStringLiteral(".lock"));
    fLock->setStaleLockTime(0);
    if (!fLock->tryLock(100)) {
        QLocalSocket socket;
        socket.connectToServer(fName);
        if (socket.waitForConnected(1000)) {
            socket.write("activate");
            socket.waitForBytesWritten(1000);
        }
        return false;
    }
    QLocalServer::removeServer(fName);
    fServer = new QLocalServer(this);
    connect(fServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = fServer->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            if (onActivate)
                onActivate();
        }
    });
    fServer->listen(fName);
    return true;
}

} // namespace zarno
