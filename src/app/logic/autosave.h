#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QLockFile;

namespace zarno {

class TSteppedSnapshot;
class TZarnofile;

// A recovery copy left behind by a program that did not end cleanly.
struct TRecoveryCopy
{
    QString folder; // the instance's folder under the recovery root
    QString documentPath; // the copy itself
    QString originalName; // the document's own file name; empty when unnamed
    QDateTime written;
};

// Keeps a recovery copy of the open document while it has unsaved changes.
//
// Each running program has a folder of its own under the root, held by a
// lock file, so several programs never touch each other's copies; a folder
// whose lock is gone (the program was killed, the machine lost power) holds
// a copy to offer at the next start. Copies are written on a worker thread
// from a snapshot taken on the caller's thread, so a large document does not
// hold up the window while it goes to disk.
class TAutosave
{
public:
    static constexpr qint64 kEditingIntervalMs = 60000;
    static constexpr qint64 kStructuralIntervalMs = 10000;
    static constexpr qint64 kDiscardedKeepDays = 7;
    // How long one step of a snapshot may hold up the window, and when an
    // interrupted snapshot is tried again.
    static constexpr int kStepBudgetMs = 20;
    static constexpr int kRetryMs = 2000;

    // root: the recovery folder (created when needed).
    explicit TAutosave(QString root);
    ~TAutosave();

    // The platform's per-user place: AppDataLocation/recovery.
    static QString defaultRoot();

    // Claims this program's folder; false when the root cannot be written
    // (then nothing is ever copied and nothing else changes).
    bool start();
    QString root() const { return fRoot; }
    QString ownFolder() const { return fOwnFolder; }
    QString ownCopyPath() const;

    void setDocument(TZarnofile *document);
    // 0 takes each snapshot in one go (tests); else the budget of a step.
    void setStepBudgetMs(int ms) { fStepBudgetMs = ms; }
    // For tests: the time in milliseconds.
    void setClock(std::function<qint64()> clock) { fClock = std::move(clock); }

    // After every input that may have changed the document; structural
    // changes (a construction, a deletion) copy at once when the last copy
    // is older than kStructuralIntervalMs and else as soon as it is, other
    // edits within kEditingIntervalMs.
    void edited(bool structural);
    // The editing interval has passed (the timer, or a test).
    void intervalPassed();
    // The document was saved, closed or replaced: its copy goes.
    void documentClean();
    // Input is about to change the document: a snapshot being taken is
    // thrown away and tried again a little later.
    void interrupt();
    // One step of the snapshot being taken (the step timer, or a test);
    // true when it completed and went to the writer.
    bool stepSnapshot();
    bool isTakingSnapshot() const { return fSnapshot != nullptr; }
    // Waits for a copy being written.
    void waitForWriter();

    bool isCopyDue() const { return fDue; }
    // When the next copy is written, in ms; -1 when none is due.
    int nextCopyInMs() const { return fDue ? fTimer.remainingTime() : -1; }
    // Copies written so far by this program (for tests and the benchmark).
    int copiesWritten() const;
    // The message of the last copy that could not be written, once.
    QString takeWriteError();

    // Copies of programs that are no longer running, newest first; the
    // empty folders of such programs are removed on the way.
    QList<TRecoveryCopy> orphans();
    // Makes an orphan this program's own copy (after it was restored).
    void adopt(const TRecoveryCopy &copy);
    // Moves an orphan into "discarded" (declined) or "damaged" (unreadable)
    // and forgets discarded copies older than kDiscardedKeepDays.
    void moveAside(const TRecoveryCopy &copy, const QString &into);
    void purgeDiscarded();

private:
    void writeNow();

    QString fRoot;
    QString fOwnFolder;
    std::unique_ptr<QLockFile> fLock;
    TZarnofile *fDocument = nullptr;
    std::function<qint64()> fClock;
    QTimer fTimer;
    QTimer fStepTimer;
    int fStepBudgetMs = kStepBudgetMs;
    std::unique_ptr<TSteppedSnapshot> fSnapshot;
    QString fSnapshotOrigin;
    bool fDue = false;
    qint64 fLastCopyAt = -1;
    std::thread fWriter;
    mutable std::mutex fMutex; // guards what the writer reports
    int fCopies = 0;
    QString fWriteError;
};

} // namespace zarno
