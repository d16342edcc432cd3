#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

namespace zarno {

// The undo history of one document. A state is the document as its writer
// puts it into memory; the history keeps the current state whole and each
// step as the pieces in which the states before and after it differ, so a
// step that moves one point costs a few lines, not a document.
//
// The history is bounded: the oldest steps go when there are more than
// maxSteps of them or when their pieces take more than maxBytes.
class TUndoHistory
{
public:
    struct Limits
    {
        int maxSteps = 100;
        qint64 maxBytes = 64 * 1048576;
    };

    TUndoHistory() = default;
    explicit TUndoHistory(Limits limits)
        : fLimits(limits)
    { }

    // A new or opened document: no steps, and this state is the saved one.
    void reset(QByteArray state);
    // The state after an edit. False, and nothing recorded, when it equals
    // the current state; otherwise one step, and the steps that could have
    // been redone are gone.
    bool record(QByteArray state);

    bool canUndo() const { return !fUndo.isEmpty(); }
    bool canRedo() const { return !fRedo.isEmpty(); }
    // Moves one step back (or forward): restore is given the state to show
    // and the history moves only when it returns; when it raises, the
    // history stays where it was.
    bool undo(const std::function<void(const QByteArray &)> &restore);
    bool redo(const std::function<void(const QByteArray &)> &restore);

    const QByteArray &current() const { return fCurrent; }
    // The current state is the one in the file now.
    void markSaved() { fSavedId = fCurrentId; }
    // The file holds a state the history does not know (saved in the middle
    // of a drag): no state counts as saved.
    void forgetSaved() { fSavedId = 0; }
    bool isAtSavedState() const { return fCurrentId == fSavedId; }

    int undoCount() const { return int(fUndo.size()); }
    int redoCount() const { return int(fRedo.size()); }
    // What the steps take, current state not counted.
    qint64 stepBytes() const { return fStepBytes; }
    const Limits &limits() const { return fLimits; }

private:
    // One place where two states differ: the bytes there before and after,
    // and where they stand in either state.
    struct Piece
    {
        qsizetype atBefore = 0;
        qsizetype atAfter = 0;
        QByteArray before;
        QByteArray after;
    };
    struct Step
    {
        QList<Piece> pieces;
        qint64 beforeId = 0;
        qint64 afterId = 0;
        qint64 bytes = 0;
    };

    static Step difference(const QByteArray &before, const QByteArray &after);
    static QByteArray apply(const QByteArray &state, const Step &step, bool forward);
    void trim();

    Limits fLimits;
    QByteArray fCurrent;
    QList<Step> fUndo; // oldest first
    QList<Step> fRedo; // next to redo last
    qint64 fStepBytes = 0;
    // Every state reached gets its own number, so the saved state is
    // recognised when undo or redo comes back to it.
    qint64 fCurrentId = 0;
    qint64 fSavedId = 0;
    qint64 fLastId = 0;
};

} // namespace zarno
