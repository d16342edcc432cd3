#include "app/singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace zarno {

namespace {

// "activate", a line end and the document's path in UTF-8 (nothing for none).
const QByteArray kActivate = QByteArrayLiteral("activate\n");
// A path is far shorter; whatever is longer is not one of ours.
constexpr qsizetype kMaxMessage = 65536;

} // namespace

TSingleInstance::TSingleInstance(const QString &name)
    : fName(name)
{ }

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::claim(const QString &document)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // Lock and socket live in the user's own runtime folder: another user's
    // program neither blocks this one nor receives its documents.
    const QString base = dir + QLatin1Char('/') + fName;
    const QString serverName = base + QStringLiteral(".socket");
    fLock = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    fLock->setStaleLockTime(0);
    if (!fLock->tryLock(100)) {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (socket.waitForConnected(1000)) {
            socket.write(kActivate + document.toUtf8());
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(1000);
        }
        return false;
    }
    QLocalServer::removeServer(serverName);
    fServer = new QLocalServer(this);
    fServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(fServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = fServer->nextPendingConnection()) {
            // The message is complete when the later start hangs up.
            auto message = std::make_shared<QByteArray>();
            connect(s, &QLocalSocket::readyRead, s, [s, message] {
                *message += s->readAll();
                if (message->size() > kMaxMessage)
                    s->abort();
            });
            connect(s, &QLocalSocket::disconnected, this, [this, s, message] {
                *message += s->readAll();
                s->deleteLater();
                received(*message);
            });
        }
    });
    fServer->listen(serverName);
    return true;
}

void TSingleInstance::received(const QByteArray &message)
{
    if (!message.startsWith(kActivate) || message.size() > kMaxMessage)
        return;
    if (onActivate)
        onActivate(QString::fromUtf8(message.sliced(kActivate.size())));
}

} // namespace zarno
