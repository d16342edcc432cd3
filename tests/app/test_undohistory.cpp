// The history on its own: states are texts of lines as the document writer
// makes them (UTF-16 little endian, CR LF), and every state undo or redo
// hands back must be exactly the one recorded.
#include "app/logic/undohistory.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <vector>

using namespace zarno;

namespace {

QByteArray utf16(const QStringList &lines)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QString &line : lines) {
        const QString l = line + QStringLiteral("\r\n");
        bytes.append(reinterpret_cast<const char *>(l.utf16()), 2 * l.size());
    }
    return bytes;
}

QStringList numberedLines(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines << QStringLiteral("\t\t<x>%1</x><y>%2</y>").arg(i).arg(i * 0.5);
    return lines;
}

// Records each state; undo and redo must give them back.
struct Recorder
{
    TUndoHistory history;
    std::vector<QByteArray> states; // states[k] after k steps
    int at = 0;

    explicit Recorder(QByteArray first, TUndoHistory::Limits limits = {})
        : history(limits)
    {
        history.reset(first);
        states.push_back(first);
    }
    void record(const QByteArray &s)
    {
        ASSERT_TRUE(history.record(s));
        states.resize(at + 1);
        states.push_back(s);
        ++at;
    }
    void undo()
    {
        QByteArray shown;
        ASSERT_TRUE(history.undo([&](const QByteArray &s) { shown = s; }));
        --at;
        ASSERT_EQ(shown, states[at]) << "undo to " << at;
        ASSERT_EQ(history.current(), states[at]);
    }
    void redo()
    {
        QByteArray shown;
        ASSERT_TRUE(history.redo([&](const QByteArray &s) { shown = s; }));
        ++at;
        ASSERT_EQ(shown, states[at]) << "redo to " << at;
    }
};

TEST(UndoHistory, RandomEditsUndoAndRedoToExactlyTheRecordedStates)
{
    std::mt19937 rng(23);
    for (int round = 0; round < 40; ++round) {
        QStringList lines = numberedLines(1 + int(rng() % 60));
        Recorder r(utf16(lines));
        for (int op = 0; op < 60; ++op) {
            const unsigned what = rng() % 10;
            if (what < 2 && r.history.canUndo()) {
                r.undo();
                lines.clear(); // the next edit starts from the state shown
                continue;
            }
            if (what == 2 && r.history.canRedo()) {
                r.redo();
                continue;
            }
            // Edit the current state: values in place, lines in and out,
            // lines that grow or shrink, at the ends and in the middle.
            QString text = QString::fromUtf16(
                reinterpret_cast<const char16_t *>(r.states[r.at].constData() + 2),
                (r.states[r.at].size() - 2) / 2);
            lines = text.split(QStringLiteral("\r\n"));
            lines.removeLast();
            const int n = int(lines.size());
            const int i = n ? int(rng() % n) : 0;
            switch (rng() % 6) {
            case 0:
                for (int k = 0; k < 1 + int(rng() % 4) && n; ++k)
                    lines[int(rng() % n)] += QString::number(rng() % 7);
                break;
            case 1: lines.insert(i, QStringLiteral("\t<new>%1</new>").arg(rng())); break;
            case 2:
                if (n > 1)
                    lines.removeAt(i);
                break;
            case 3: lines.append(QStringLiteral("<tail/>")); break;
            case 4:
                if (n)
                    lines[i].chop(std::min<qsizetype>(lines[i].size(), 1 + rng() % 3));
                break;
            default:
                if (n)
                    lines[0] = QStringLiteral("<head>%1</head>").arg(rng() % 1000);
            }
            const QByteArray next = utf16(lines);
            if (next == r.states[r.at]) {
                EXPECT_FALSE(r.history.record(next));
                continue;
            }
            r.record(next);
        }
        while (r.history.canUndo())
            r.undo();
        EXPECT_EQ(r.at, 0);
        while (r.history.canRedo())
            r.redo();
        EXPECT_EQ(r.at, int(r.states.size()) - 1);
    }
}

TEST(UndoHistory, ANewEditAfterUndoDropsWhatCouldBeRedone)
{
    const QStringList lines = numberedLines(5);
    Recorder r(utf16(lines));
    QStringList a = lines, b = lines, c = lines;
    a[1] = QStringLiteral("a");
    b[2] = QStringLiteral("b");
    c[3] = QStringLiteral("c");
    r.record(utf16(a));
    r.record(utf16(b));
    r.undo();
    EXPECT_TRUE(r.history.canRedo());
    r.record(utf16(c));
    EXPECT_FALSE(r.history.canRedo());
    EXPECT_EQ(r.history.undoCount(), 2);
    r.undo();
    r.undo();
    EXPECT_FALSE(r.history.canUndo());
    r.redo();
    r.redo();
    EXPECT_EQ(r.history.current(), utf16(c));
}

TEST(UndoHistory, AStateEqualToTheCurrentOneIsNoStep)
{
    TUndoHistory h;
    const QByteArray s = utf16(numberedLines(3));
    h.reset(s);
    EXPECT_FALSE(h.record(s));
    EXPECT_FALSE(h.canUndo());
    EXPECT_FALSE(h.undo([](const QByteArray &) { FAIL(); }));
    EXPECT_FALSE(h.redo([](const QByteArray &) { FAIL(); }));
}

TEST(UndoHistory, AValueChangedInPlaceKeepsOnlyTheLinesThatDiffer)
{
    // A drag: values far apart change, the number of lines stays.
    QStringList lines = numberedLines(20000);
    TUndoHistory h;
    h.reset(utf16(lines));
    const qint64 whole = h.current().size();
    lines[10] = QStringLiteral("\t\t<x>10.25</x><y>5</y>");
    lines[19990] = QStringLiteral("\t\t<x>19990.25</x><y>9995</y>");
    ASSERT_TRUE(h.record(utf16(lines)));
    EXPECT_LT(h.stepBytes(), 1000);
    EXPECT_GT(whole, 500000);
}

TEST(UndoHistory, StepsAreBoundedByCountAndByBytes)
{
    const QStringList lines = numberedLines(10);
    {
        Recorder r(utf16(lines), { 3, 1 << 20 });
        for (int k = 0; k < 5; ++k) {
            QStringList next = lines;
            next[k] = QStringLiteral("edit %1").arg(k);
            r.record(utf16(next));
        }
        EXPECT_EQ(r.history.undoCount(), 3);
        for (int k = 0; k < 3; ++k)
            r.undo(); // back to the state after the second edit, no further
        EXPECT_EQ(r.at, 2);
        EXPECT_FALSE(r.history.canUndo());
    }
    {
        // Each step keeps one line of 2000 characters before and after.
        const QString longText(2000, QLatin1Char('v'));
        Recorder r(utf16(lines), { 100, 20000 });
        for (int k = 0; k < 8; ++k) {
            QStringList next = lines;
            next[k] = longText + QString::number(k);
            r.record(utf16(next));
            EXPECT_LE(r.history.stepBytes(), 20000);
        }
        EXPECT_GE(r.history.undoCount(), 1);
        EXPECT_LT(r.history.undoCount(), 8);
        while (r.history.canUndo())
            r.undo();
    }
    {
        // A single step larger than the bound cannot be kept at all.
        TUndoHistory h({ 100, 100 });
        h.reset(utf16(lines));
        QStringList next = lines;
        next[4] = QString(500, QLatin1Char('w'));
        EXPECT_TRUE(h.record(utf16(next)));
        EXPECT_FALSE(h.canUndo());
        EXPECT_EQ(h.stepBytes(), 0);
        EXPECT_EQ(h.current(), utf16(next));
    }
}

TEST(UndoHistory, TheSavedStateIsRecognisedWhenUndoOrRedoComesBack)
{
    const QStringList lines = numberedLines(4);
    Recorder r(utf16(lines));
    EXPECT_TRUE(r.history.isAtSavedState());
    QStringList a = lines;
    a[0] = QStringLiteral("a");
    r.record(utf16(a));
    EXPECT_FALSE(r.history.isAtSavedState());
    r.undo();
    EXPECT_TRUE(r.history.isAtSavedState());
    r.redo();
    r.history.markSaved();
    r.undo();
    EXPECT_FALSE(r.history.isAtSavedState());
    // The saved state is gone with the redo branch: nothing comes back to
    // it, even a state with equal bytes reached by another way.
    QStringList b = lines;
    b[1] = QStringLiteral("b");
    r.record(utf16(b));
    r.record(utf16(a));
    EXPECT_FALSE(r.history.isAtSavedState());
}

TEST(UndoHistory, ARestoreThatFailsLeavesTheHistoryWhereItWas)
{
    const QStringList lines = numberedLines(4);
    TUndoHistory h;
    h.reset(utf16(lines));
    QStringList a = lines;
    a[2] = QStringLiteral("a");
    h.record(utf16(a));
    EXPECT_THROW(h.undo([](const QByteArray &) { throw std::runtime_error("unreadable"); }),
        std::runtime_error);
    EXPECT_EQ(h.current(), utf16(a));
    EXPECT_EQ(h.undoCount(), 1);
    EXPECT_FALSE(h.canRedo());
}

} // namespace
