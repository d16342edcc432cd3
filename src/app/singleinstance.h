#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace zarno {

// One running program per user: the first start holds a lock and listens;
// a second start tells it to come forward and ends.
class TSingleInstance : public QObject
{
public:
    explicit TSingleInstance(const QString &name);
    ~TSingleInstance() override;

    // True for the first instance. A later one has already asked the first
    // to come forward when this returns false.
    bool claim();
    std::function<void()> onActivate;

private:
    QString fName;
    std::unique_ptr<QLockFile> fLock;
    QLocalServer *fServer = nullptr;
};

} // namespace zarno
