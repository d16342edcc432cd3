#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace zarno {

// One running program per user: the first start holds a lock and listens;
// a second start hands it the document it was asked to open, tells it to
// come forward and ends.
class TSingleInstance : public QObject
{
public:
    explicit TSingleInstance(const QString &name);
    ~TSingleInstance() override;

    // True for the first instance. A later one has already handed its
    // document (empty for none) to the first when this returns false.
    bool claim(const QString &document = QString());
    // Called in the first instance for every later start, with its document.
    std::function<void(const QString &document)> onActivate;

private:
    void received(const QByteArray &message);

    QString fName;
    std::unique_ptr<QLockFile> fLock;
    QLocalServer *fServer = nullptr;
};

} // namespace zarno
