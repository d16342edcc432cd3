#pragma once

#include "model/tracerecord.h"

#include <memory>
#include <vector>

namespace zarno {

// The records of one locus, owned, in ascending compare order and without
// two equal records. Also remembers the order in which they came, so that a
// document lists them oldest first and a drag adds lines only at the end.
class TTraceList
{
public:
    TTraceList();

    // Inserts in order; returns false (and frees the record) when an equal
    // one is present.
    bool addIfNewElseFree(std::unique_ptr<TAbstractTraceRecordOf> record);
    int count() const { return int(fSorted.size()); }
    const TAbstractTraceRecordOf &item(int i) const { return *fSorted[std::size_t(i)]; }
    const std::vector<const TAbstractTraceRecordOf *> &inArrivalOrder() const { return fArrival; }
    void clear();

private:
    std::vector<std::unique_ptr<TAbstractTraceRecordOf>> fSorted;
    std::vector<const TAbstractTraceRecordOf *> fArrival;
};

} // namespace zarno
