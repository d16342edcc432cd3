#pragma once

#include "model/relation.h"

#include <QString>
#include <memory>
#include <vector>

namespace zarno {

// One snapshot of a traced shape. Records are kept sorted and free of
// duplicates, so each kind orders itself against a record of its own kind.
class TAbstractTraceRecordOf : public TTraceRecord
{
public:
    // compare's answers.
    static constexpr int kEqual = 0;
    static constexpr int kGreater = 1;
    static constexpr int kSmaller = 2;

    virtual int compare(const TAbstractTraceRecordOf &other) const = 0;
    virtual QString asText() const = 0;
};

// Equal within the geometric tolerance (1e-5), otherwise by sign: the
// answers of compare.
int compareTraceDoubles(double a, double b);

// A snapshot of the attributes of one shape a shape-variable graph depends
// on: ordered against the same shape's other snapshots, and able to put its
// values into that shape's variables (restore) and let them follow the live
// shape again (release).
class TAbstractValueRecord
{
public:
    virtual ~TAbstractValueRecord() = default;
    virtual int compare(const TAbstractValueRecord &other) const = 0;
    virtual QString asText() const = 0;
    virtual void restore() = 0;
    virtual void release() = 0;
};

// The state of a shape-variable graph: one value record per shape it
// depends on, at most five.
class TTraceRecordOfSomething2function : public TAbstractTraceRecordOf
{
public:
    static constexpr int kMaxRecords = 5;

    void add(std::unique_ptr<TAbstractValueRecord> record);
    int count() const { return int(fRecords.size()); }
    const std::vector<std::unique_ptr<TAbstractValueRecord>> &records() const { return fRecords; }
    // Puts every recorded value into its variables, and lets them go again.
    void pushAll();
    void popAll();
    // Record by record, stopping at the first difference.
    int compare(const TAbstractTraceRecordOf &other) const override;
    bool differs(const TTraceRecordOfSomething2function &other) const
    {
        return compare(other) != kEqual;
    }
    QString asText() const override;

private:
    std::vector<std::unique_ptr<TAbstractValueRecord>> fRecords;
};

} // namespace zarno
