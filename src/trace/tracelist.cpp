#include "trace/tracelist.h"

#include "core/exceptions.h"

namespace zarno {

TTraceList::TTraceList()
{
    fSorted.reserve(100);
}

bool TTraceList::addIfNewElseFree(std::unique_ptr<TAbstractTraceRecordOf> record)
{
    constexpr int kEqual = TAbstractTraceRecordOf::kEqual;
    constexpr int kGreater = TAbstractTraceRecordOf::kGreater;
    constexpr int kSmaller = TAbstractTraceRecordOf::kSmaller;
    std::size_t at = 0;
    if (fSorted.empty()) {
        at = 0;
    } else if (const int c = record->compare(*fSorted.front()); c == kEqual) {
        return false;
    } else if (c == kSmaller) {
        at = 0;
    } else if (const int d = record->compare(*fSorted.back()); d == kEqual) {
        return false;
    } else if (d == kGreater) {
        at = fSorted.size();
    } else {
        // The record lies strictly between the first and the last.
        std::size_t lo = 0, hi = fSorted.size() - 1;
        while (hi - lo > 1) {
            const std::size_t mid = (lo + hi) / 2;
            const int m = record->compare(*fSorted[mid]);
            if (m == kEqual)
                return false;
            if (m == kGreater)
                lo = mid;
            else
                hi = mid;
        }
        const int l = record->compare(*fSorted[lo]);
        if (l == kEqual)
            return false;
        if (l == kSmaller)
            throw ESouteigai(QStringLiteral("TTraceList"),
                QStringLiteral("2分探索が失敗しました。(small)"),
                QStringLiteral("addIfNewElseFree"));
        at = lo + 1;
    }
    fArrival.push_back(record.get());
    fSorted.insert(fSorted.begin() + std::ptrdiff_t(at), std::move(record));
    return true;
}

void TTraceList::clear()
{
    fArrival.clear();
    fSorted.clear();
}

} // namespace zarno
