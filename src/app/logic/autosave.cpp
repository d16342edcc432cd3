#include "app/logic/autosave.h"

#include "core/exceptions.h"
#include "persist/zarnofile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>
#include <algorithm>
#include <utility>

namespace zarno {

namespace {

const QString kCopyName = QStringLiteral("document.znt");
const QString kOriginName = QStringLiteral("origin.txt");
const QString kLockName = QStringLiteral("lock");

qint64 wallClock()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// Moves a whole folder; rename first, copying file by file only across
// file systems.
bool moveFolder(const QString &from, const QString &to)
{
    if (QDir().rename(from, to))
        return true;
    QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &f : source.entryInfoList(QDir::Files | QDir::Hidden))
        if (!QFile::copy(f.absoluteFilePath(), QDir(to).filePath(f.fileName())))
            return false;
    return source.removeRecursively();
}

} // namespace

TAutosave::TAutosave(QString root)
    : fRoot(std::move(root))
    , fClock(wallClock)
{
    fTimer.setSingleShot(true);
    fTimer.setTimerType(Qt::PreciseTimer); // what is said to be due is due
    QObject::connect(&fTimer, &QTimer::timeout, &fTimer, [this] { intervalPassed(); });
    fStepTimer.setSingleShot(true);
    QObject::connect(&fStepTimer, &QTimer::timeout, &fStepTimer, [this] { stepSnapshot(); });
}

void TAutosave::setDocument(TZarnofile *document)
{
    if (document != fDocument) {
        fSnapshot.reset(); // of the document that goes
        fStepTimer.stop();
    }
    fDocument = document;
}

TAutosave::~TAutosave()
{
    waitForWriter();
    // A clean end: the copy is not needed any more, whatever the document's
    // state (the user was asked about unsaved changes before).
    if (!fOwnFolder.isEmpty()) {
        fLock.reset();
        QDir(fOwnFolder).removeRecursively();
    }
}

QString TAutosave::defaultRoot()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("recovery"));
}

bool TAutosave::start()
{
    if (!fOwnFolder.isEmpty())
        return true;
    const QString folder = QDir(fRoot).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (!QDir().mkpath(folder))
        return false;
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(kLockName));
    lock->setStaleLockTime(0); // held for the program's whole life
    if (!lock->tryLock(0)) {
        QDir(folder).removeRecursively();
        return false;
    }
    fLock = std::move(lock);
    fOwnFolder = folder;
    return true;
}

QString TAutosave::ownCopyPath() const
{
    return fOwnFolder.isEmpty() ? QString() : QDir(fOwnFolder).filePath(kCopyName);
}

void TAutosave::edited(bool structural)
{
    if (fOwnFolder.isEmpty() || !fDocument || !fDocument->isChanged())
        return;
    if (!fDue) {
        fDue = true;
        fTimer.start(int(kEditingIntervalMs));
    }
    if (!structural)
        return;
    const qint64 sinceCopy = fLastCopyAt < 0 ? kStructuralIntervalMs : fClock() - fLastCopyAt;
    if (sinceCopy >= kStructuralIntervalMs) {
        writeNow();
        return;
    }
    // Too soon after the last copy: this one comes when the 10 s are over,
    // not a minute later.
    const qint64 wait = kStructuralIntervalMs - sinceCopy;
    if (fTimer.remainingTime() < 0 || fTimer.remainingTime() > wait)
        fTimer.start(int(wait));
}

void TAutosave::intervalPassed()
{
    if (fDue && fDocument && fDocument->isChanged())
        writeNow();
}

void TAutosave::writeNow()
{
    fDue = false;
    fTimer.stop();
    fLastCopyAt = fClock();
    fSnapshotOrigin = fDocument->isNamed() ? fDocument->documentFileName() : QString();
    fSnapshot = std::make_unique<TSteppedSnapshot>(*fDocument);
    stepSnapshot();
}

void TAutosave::interrupt()
{
    if (!fSnapshot)
        return;
    fSnapshot.reset();
    fStepTimer.stop();
    fDue = true;
    fTimer.start(kRetryMs);
}

bool TAutosave::stepSnapshot()
{
    if (!fSnapshot)
        return false;
    bool complete;
    if (fStepBudgetMs <= 0) {
        complete = fSnapshot->step([] { return true; });
    } else {
        QElapsedTimer elapsed;
        elapsed.start();
        int n = 0;
        // The clock is read every 16 shapes: a shape takes microseconds.
        complete
            = fSnapshot->step([&] { return ++n % 16 != 0 || !elapsed.hasExpired(fStepBudgetMs); });
    }
    if (!complete) {
        fStepTimer.start(0); // the rest after the window had its turn
        return false;
    }
    TDocumentWriter::Snapshot snapshot = fSnapshot->take();
    fSnapshot.reset();
    const QString origin = fSnapshotOrigin;
    const QString folder = fOwnFolder;
    waitForWriter();
    fWriter = std::thread([this, snapshot = std::move(snapshot), origin, folder]() mutable {
        QString error;
        try {
            // The name first: a copy is never found beside another one's name.
            QSaveFile name(QDir(folder).filePath(kOriginName));
            if (!name.open(QIODevice::WriteOnly) || name.write(origin.toUtf8()) < 0
                || !name.commit())
                error = QStringLiteral("復元用のコピー(%1)を保存できませんでした。")
                            .arg(QDir(folder).filePath(kOriginName));
            else
                TDocumentWriter::writeSnapshot(
                    std::move(snapshot), QDir(folder).filePath(kCopyName));
        } catch (const EZarnoBase &e) {
            error = e.message();
        } catch (const std::exception &) {
            error = QStringLiteral("復元用のコピーを保存できませんでした。");
        }
        const std::lock_guard<std::mutex> guard(fMutex);
        if (error.isEmpty())
            ++fCopies;
        else
            fWriteError = error;
    });
    return true;
}

void TAutosave::waitForWriter()
{
    if (fWriter.joinable())
        fWriter.join();
}

void TAutosave::documentClean()
{
    fSnapshot.reset();
    fStepTimer.stop();
    fDue = false;
    fTimer.stop();
    fLastCopyAt = -1;
    waitForWriter();
    if (fOwnFolder.isEmpty())
        return;
    QFile::remove(QDir(fOwnFolder).filePath(kCopyName));
    QFile::remove(QDir(fOwnFolder).filePath(kOriginName));
}

int TAutosave::copiesWritten() const
{
    const std::lock_guard<std::mutex> guard(fMutex);
    return fCopies;
}

QString TAutosave::takeWriteError()
{
    const std::lock_guard<std::mutex> guard(fMutex);
    return std::exchange(fWriteError, QString());
}

QList<TRecoveryCopy> TAutosave::orphans()
{
    QList<TRecoveryCopy> found;
    const QDir root(fRoot);
    for (const QFileInfo &f : root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = f.absoluteFilePath();
        if (folder == QFileInfo(fOwnFolder).absoluteFilePath()
            || f.fileName() == QStringLiteral("discarded")
            || f.fileName() == QStringLiteral("damaged"))
            continue;
        const QString copyPath = QDir(folder).filePath(kCopyName);
        // A lock that can be taken belongs to nobody running now; Qt sees
        // a lock of a process that no longer exists as stale.
        QLockFile lock(QDir(folder).filePath(kLockName));
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        if (!QFileInfo::exists(copyPath)) {
            // A program that ended without unsaved work: nothing to offer.
            QDir(folder).removeRecursively();
            continue;
        }
        TRecoveryCopy copy;
        copy.folder = folder;
        copy.documentPath = copyPath;
        QFile origin(QDir(folder).filePath(kOriginName));
        if (origin.open(QIODevice::ReadOnly))
            copy.originalName = QString::fromUtf8(origin.read(4096));
        copy.written = QFileInfo(copyPath).lastModified();
        found.append(copy);
    }
    std::sort(found.begin(), found.end(),
        [](const TRecoveryCopy &a, const TRecoveryCopy &b) { return a.written > b.written; });
    return found;
}

void TAutosave::adopt(const TRecoveryCopy &copy)
{
    if (fOwnFolder.isEmpty())
        return;
    waitForWriter();
    for (const QString &name : { kCopyName, kOriginName }) {
        const QString target = QDir(fOwnFolder).filePath(name);
        QFile::remove(target);
        QFile::rename(QDir(copy.folder).filePath(name), target);
    }
    QDir(copy.folder).removeRecursively();
    fLastCopyAt = fClock();
}

void TAutosave::moveAside(const TRecoveryCopy &copy, const QString &into)
{
    const QString target
        = QDir(QDir(fRoot).filePath(into)).filePath(QFileInfo(copy.folder).fileName());
    QDir().mkpath(QDir(fRoot).filePath(into));
    QFile::remove(QDir(copy.folder).filePath(kLockName));
    if (!moveFolder(copy.folder, target))
        QDir(copy.folder).removeRecursively(); // never offered again either way
    // The folder's time is when it was set aside: what the 7 days count from.
    QFile marker(QDir(target).filePath(QStringLiteral("set-aside")));
    if (marker.open(QIODevice::WriteOnly))
        marker.write(QByteArray::number(fClock()));
    purgeDiscarded();
}

void TAutosave::purgeDiscarded()
{
    const qint64 keepMs = kDiscardedKeepDays * 24 * 3600 * 1000;
    for (const QString &kind : { QStringLiteral("discarded"), QStringLiteral("damaged") }) {
        const QDir dir(QDir(fRoot).filePath(kind));
        for (const QFileInfo &f : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile marker(QDir(f.absoluteFilePath()).filePath(QStringLiteral("set-aside")));
            qint64 at = -1;
            if (marker.open(QIODevice::ReadOnly))
                at = marker.readAll().toLongLong();
            if (at <= 0)
                at = f.lastModified().toMSecsSinceEpoch();
            if (fClock() - at > keepMs)
                QDir(f.absoluteFilePath()).removeRecursively();
        }
    }
}

} // namespace zarno
