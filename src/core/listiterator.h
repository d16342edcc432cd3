#pragma once

#include "core/exceptions.h"

#include <QList>

namespace zarno {

// Bidirectional iterator over a list that must not change while it is open.
// A forward iterator starts before the first item, a backward one after the
// last; skipStart / skipEnd narrow it to a sub-range.
template <typename T> class TListIterator
{
public:
    enum class Direction { Forward, Backward };

    TListIterator(const QList<T> &list, Direction direction = Direction::Forward,
        qsizetype skipStart = 0, qsizetype skipEnd = 0)
        : fList(list)
        , fLow(skipStart)
        , fHigh(list.size() - skipEnd)
    {
        if (fHigh < fLow)
            fHigh = fLow;
        fPos = direction == Direction::Forward ? fLow - 1 : fHigh;
    }

    bool hasNext() const { return fPos + 1 < fHigh; }
    bool hasPrevious() const { return fPos - 1 >= fLow; }
    bool hasCurrent() const { return fPos >= fLow && fPos < fHigh; }

    const T &next()
    {
        checkIndex(fPos + 1);
        ++fPos;
        return fList[fPos];
    }
    const T &previous()
    {
        checkIndex(fPos - 1);
        --fPos;
        return fList[fPos];
    }
    const T &current() const
    {
        if (!hasCurrent())
            throw ESouteigai(QStringLiteral("TListIterator"),
                QStringLiteral("currentは存在しません。"), QStringLiteral("current"));
        return fList[fPos];
    }

private:
    void checkIndex(qsizetype i) const
    {
        if (i < fLow || i >= fHigh)
            throw ESouteigai(QStringLiteral("TListIterator"), { fmtArg(qint64(i)) },
                QStringLiteral("リストのインデックスが範囲を超えています(%d)。"),
                QStringLiteral("index"));
    }

    const QList<T> &fList;
    qsizetype fLow;
    qsizetype fHigh;
    qsizetype fPos;
};

} // namespace zarno
