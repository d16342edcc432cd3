#include "app/logic/undohistory.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zarno {

namespace {

// States are UTF-16 little endian with CR LF line ends; every offset here
// is even, so a cut never falls inside a character.
constexpr qsizetype kBlock = 4096;

qsizetype commonPrefix(const char *a, const char *b, qsizetype n)
{
    qsizetype i = 0;
    while (i + kBlock <= n && std::memcmp(a + i, b + i, kBlock) == 0)
        i += kBlock;
    while (i < n && a[i] == b[i])
        ++i;
    return i & ~qsizetype(1);
}

// Of the last n bytes of a (ending at aEnd) and of b (ending at bEnd).
qsizetype commonSuffix(const char *aEnd, const char *bEnd, qsizetype n)
{
    qsizetype i = 0;
    while (i + kBlock <= n && std::memcmp(aEnd - i - kBlock, bEnd - i - kBlock, kBlock) == 0)
        i += kBlock;
    while (i < n && aEnd[-i - 1] == bEnd[-i - 1])
        ++i;
    return i & ~qsizetype(1);
}

bool endsLineAt(const char *data, qsizetype at)
{
    return at >= 2 && data[at - 2] == '\n' && data[at - 1] == 0;
}

// The start of the line that holds the byte at `at`.
qsizetype lineStart(const char *data, qsizetype at)
{
    while (at > 0 && !endsLineAt(data, at))
        at -= 2;
    return at;
}

// Just after the end of the line that holds the byte at `at` (at itself
// when a line starts there), or size when the text ends first.
qsizetype lineEnd(const char *data, qsizetype size, qsizetype at)
{
    while (at < size && !endsLineAt(data, at))
        at += 2;
    return at;
}

// Where each line of data[from, to) starts, and to at the end.
std::vector<qsizetype> lineStarts(const char *data, qsizetype from, qsizetype to)
{
    std::vector<qsizetype> starts { from };
    const char *p = data + from;
    const char *end = data + to;
    while (p < end) {
        const void *hit = std::memchr(p, '\n', size_t(end - p));
        if (!hit)
            break;
        const char *nl = static_cast<const char *>(hit);
        p = nl + 1;
        const qsizetype after = nl - data + 2;
        if ((nl - data) % 2 == 0 && after <= to && data[after - 1] == 0 && after < to)
            starts.push_back(after);
    }
    starts.push_back(to);
    return starts;
}

} // namespace

void TUndoHistory::reset(QByteArray state)
{
    fCurrent = std::move(state);
    fUndo.clear();
    fRedo.clear();
    fStepBytes = 0;
    fCurrentId = fSavedId = ++fLastId;
}

TUndoHistory::Step TUndoHistory::difference(const QByteArray &a, const QByteArray &b)
{
    const char *pa = a.constData();
    const char *pb = b.constData();
    const qsizetype shorter = std::min(a.size(), b.size());
    // Whole lines from the first difference to the last.
    const qsizetype prefix = commonPrefix(pa, pb, shorter);
    const qsizetype suffix = commonSuffix(pa + a.size(), pb + b.size(), shorter - prefix);
    const qsizetype from = lineStart(pa, prefix);
    const qsizetype aTo = lineEnd(pa, a.size(), a.size() - suffix);
    const qsizetype bTo = b.size() - (a.size() - aTo);

    Step step;
    auto add = [&](qsizetype a0, qsizetype a1, qsizetype b0, qsizetype b1) {
        Piece piece { a0, b0, a.mid(a0, a1 - a0), b.mid(b0, b1 - b0) };
        step.bytes += piece.before.size() + piece.after.size() + qint64(sizeof(Piece));
        step.pieces.append(std::move(piece));
    };
    // Values changed in place (a drag, a property) leave the number of
    // lines alone: then only the lines that differ are kept.
    const std::vector<qsizetype> la = lineStarts(pa, from, aTo);
    const std::vector<qsizetype> lb = lineStarts(pb, from, bTo);
    if (la.size() != lb.size() || la.size() <= 2) {
        add(from, aTo, from, bTo);
        return step;
    }
    const size_t lines = la.size() - 1;
    size_t i = 0;
    while (i < lines) {
        auto same = [&](size_t k) {
            const qsizetype n = la[k + 1] - la[k];
            return n == lb[k + 1] - lb[k] && std::memcmp(pa + la[k], pb + lb[k], size_t(n)) == 0;
        };
        if (same(i)) {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < lines && !same(j))
            ++j;
        add(la[i], la[j], lb[i], lb[j]);
        i = j;
    }
    return step;
}

QByteArray TUndoHistory::apply(const QByteArray &state, const Step &step, bool forward)
{
    qsizetype size = state.size();
    for (const Piece &p : step.pieces)
        size += forward ? p.after.size() - p.before.size() : p.before.size() - p.after.size();
    QByteArray out;
    out.reserve(size);
    qsizetype from = 0;
    for (const Piece &p : step.pieces) {
        const qsizetype at = forward ? p.atBefore : p.atAfter;
        const QByteArray &old = forward ? p.before : p.after;
        out.append(state.constData() + from, at - from);
        out.append(forward ? p.after : p.before);
        from = at + old.size();
    }
    out.append(state.constData() + from, state.size() - from);
    return out;
}

bool TUndoHistory::record(QByteArray state)
{
    if (state == fCurrent)
        return false;
    Step step = difference(fCurrent, state);
    step.beforeId = fCurrentId;
    step.afterId = fCurrentId = ++fLastId;
    for (const Step &s : fRedo)
        fStepBytes -= s.bytes;
    fRedo.clear();
    fStepBytes += step.bytes;
    fUndo.append(std::move(step));
    fCurrent = std::move(state);
    trim();
    return true;
}

void TUndoHistory::trim()
{
    while (!fUndo.isEmpty() && (fUndo.size() > fLimits.maxSteps || fStepBytes > fLimits.maxBytes)) {
        fStepBytes -= fUndo.first().bytes;
        fUndo.removeFirst();
    }
}

bool TUndoHistory::undo(const std::function<void(const QByteArray &)> &restore)
{
    if (fUndo.isEmpty())
        return false;
    QByteArray earlier = apply(fCurrent, fUndo.last(), false);
    restore(earlier);
    fCurrent = std::move(earlier);
    fCurrentId = fUndo.last().beforeId;
    fRedo.append(fUndo.takeLast());
    return true;
}

bool TUndoHistory::redo(const std::function<void(const QByteArray &)> &restore)
{
    if (fRedo.isEmpty())
        return false;
    QByteArray later = apply(fCurrent, fRedo.last(), true);
    restore(later);
    fCurrent = std::move(later);
    fCurrentId = fRedo.last().afterId;
    fUndo.append(fRedo.takeLast());
    return true;
}

} // namespace zarno
