#pragma once

#include "model/geometry/mathcyokusen.h"
#include "model/geometry/mathdaen.h"
#include "model/geometry/mathen.h"
#include "trace/tracelist.h"

#include <QList>
#include <memory>

namespace zarno {

class TShape;
class TPenBrush;
class TAbstractImageAdapter;

// What a locus mark keeps of its traced shape: the sorted records, how many
// it keeps at most (recordLimit; recording stops after recordLimit + 1) and
// how many a quick redraw after a scroll or zoom draws (drawLimit: every
// k-th record).
class TAbstractTracer
{
public:
    virtual ~TAbstractTracer() = default;

    // The shape's state now; nullptr when it has none to record.
    virtual std::unique_ptr<TAbstractTraceRecordOf> snapshot(const TShape &shape) const = 0;
    virtual void drawRecord(TAbstractImageAdapter &surface, TPenBrush &penBrush,
        const TAbstractTraceRecordOf &record, TShape &shape)
        = 0;
    virtual int drawLimit() const = 0;
    virtual int recordLimit() const = 0;
    // Where the mark stands on the traced shape.
    virtual TModelPoint placeMark(const TShape &shape) const = 0;

    // Records the current state within the limit; true when a new record came.
    bool record(const TShape &shape);
    // Records the current state and draws it straight away (while dragging).
    void recordAndDrawCurrent(TAbstractImageAdapter &surface, TPenBrush &penBrush, TShape &shape);

    int count() const { return fList.count(); }
    const TTraceList &list() const { return fList; }
    void clearRecords() { fList.clear(); }
    void drawEvery(int stride, TAbstractImageAdapter &surface, TShape &shape, TPenBrush &penBrush);
    void drawAll(TAbstractImageAdapter &surface, TShape &shape, TPenBrush &penBrush)
    {
        drawEvery(1, surface, shape, penBrush);
    }
    // Every (count div drawLimit)-th record once there are drawLimit of them.
    void drawThinned(TAbstractImageAdapter &surface, TShape &shape, TPenBrush &penBrush);
    int thinnedStride() const;

    // The document form of a record: its numbers; and back, nullptr when
    // the numbers are no record of this traced shape. Tracers whose records
    // are not kept in documents give nothing.
    virtual QList<double> valuesOf(const TAbstractTraceRecordOf &record) const;
    virtual std::unique_ptr<TAbstractTraceRecordOf> fromValues(
        const TShape &shape, const QList<double> &values) const;
    // A record read from a document: kept like a recorded one, limit included.
    bool addRecord(std::unique_ptr<TAbstractTraceRecordOf> record);

protected:
    TTraceList fList;
};

class TTracerOfDot : public TAbstractTracer
{
public:
    std::unique_ptr<TAbstractTraceRecordOf> snapshot(const TShape &shape) const override;
    void drawRecord(TAbstractImageAdapter &surface, TPenBrush &penBrush,
        const TAbstractTraceRecordOf &record, TShape &shape) override;
    int drawLimit() const override { return 5000; }
    int recordLimit() const override { return 20000; }
    TModelPoint placeMark(const TShape &shape) const override;
    QList<double> valuesOf(const TAbstractTraceRecordOf &record) const override;
    std::unique_ptr<TAbstractTraceRecordOf> fromValues(
        const TShape &shape, const QList<double> &values) const override;
};

// Lines, rays and segments.
class TTracerOfCyokusen : public TAbstractTracer
{
public:
    std::unique_ptr<TAbstractTraceRecordOf> snapshot(const TShape &shape) const override;
    void drawRecord(TAbstractImageAdapter &surface, TPenBrush &penBrush,
        const TAbstractTraceRecordOf &record, TShape &shape) override;
    int drawLimit() const override { return 1000; }
    int recordLimit() const override { return 10000; }
    TModelPoint placeMark(const TShape &shape) const override;
    QList<double> valuesOf(const TAbstractTraceRecordOf &record) const override;
    std::unique_ptr<TAbstractTraceRecordOf> fromValues(
        const TShape &shape, const QList<double> &values) const override;

private:
    TMathCyokusen fScratch;
};

// Circles and arcs.
class TTracerOfCircle : public TAbstractTracer
{
public:
    std::unique_ptr<TAbstractTraceRecordOf> snapshot(const TShape &shape) const override;
    void drawRecord(TAbstractImageAdapter &surface, TPenBrush &penBrush,
        const TAbstractTraceRecordOf &record, TShape &shape) override;
    int drawLimit() const override { return 1000; }
    int recordLimit() const override { return 10000; }
    TModelPoint placeMark(const TShape &shape) const override;
    QList<double> valuesOf(const TAbstractTraceRecordOf &record) const override;
    std::unique_ptr<TAbstractTraceRecordOf> fromValues(
        const TShape &shape, const QList<double> &values) const override;

private:
    TMathEn fScratch;
};

class TTracerOfEllipse : public TAbstractTracer
{
public:
    std::unique_ptr<TAbstractTraceRecordOf> snapshot(const TShape &shape) const override;
    void drawRecord(TAbstractImageAdapter &surface, TPenBrush &penBrush,
        const TAbstractTraceRecordOf &record, TShape &shape) override;
    int drawLimit() const override { return 1000; }
    int recordLimit() const override { return 10000; }
    TModelPoint placeMark(const TShape &shape) const override;
    QList<double> valuesOf(const TAbstractTraceRecordOf &record) const override;
    std::unique_ptr<TAbstractTraceRecordOf> fromValues(
        const TShape &shape, const QList<double> &values) const override;

private:
    TMathDaen fScratch;
};

// Graphs of y=f(x) and x=g(y): the origin moves the curve.
class TTracerOfFunction : public TAbstractTracer
{
public:
    std::unique_ptr<TAbstractTraceRecordOf> snapshot(const TShape &shape) const override;
    void drawRecord(TAbstractImageAdapter &surface, TPenBrush &penBrush,
        const TAbstractTraceRecordOf &record, TShape &shape) override;
    int drawLimit() const override { return 100; }
    int recordLimit() const override { return 2000; }
    TModelPoint placeMark(const TShape &shape) const override;
    QList<double> valuesOf(const TAbstractTraceRecordOf &record) const override;
    std::unique_ptr<TAbstractTraceRecordOf> fromValues(
        const TShape &shape, const QList<double> &values) const override;
};

// The polynomial through points: its points make the curve.
class TTracerOfSeishiki : public TAbstractTracer
{
public:
    std::unique_ptr<TAbstractTraceRecordOf> snapshot(const TShape &shape) const override;
    void drawRecord(TAbstractImageAdapter &surface, TPenBrush &penBrush,
        const TAbstractTraceRecordOf &record, TShape &shape) override;
    int drawLimit() const override { return 1000; }
    int recordLimit() const override { return 10000; }
    TModelPoint placeMark(const TShape &shape) const override;
    QList<double> valuesOf(const TAbstractTraceRecordOf &record) const override;
    std::unique_ptr<TAbstractTraceRecordOf> fromValues(
        const TShape &shape, const QList<double> &values) const override;
};

// Graphs whose formula reads other shapes' attributes: the record is the
// one the graph's relation gives (the values of those shapes), replayed by
// putting the values into the variables for one drawing.
class TTracerOfSomething2function : public TAbstractTracer
{
public:
    std::unique_ptr<TAbstractTraceRecordOf> snapshot(const TShape &shape) const override;
    void drawRecord(TAbstractImageAdapter &surface, TPenBrush &penBrush,
        const TAbstractTraceRecordOf &record, TShape &shape) override;
    int drawLimit() const override { return 50; }
    int recordLimit() const override { return 2000; }
    TModelPoint placeMark(const TShape &shape) const override;
    // The values of every shape in turn; read back against the graph's
    // setters, so a record that does not fit them is refused.
    QList<double> valuesOf(const TAbstractTraceRecordOf &record) const override;
    std::unique_ptr<TAbstractTraceRecordOf> fromValues(
        const TShape &shape, const QList<double> &values) const override;
};

} // namespace zarno
