#include "trace/tracers.h"

#include "base/surface.h"
#include "formula/calcsymbollist.h"
#include "graphs/dots2seishiki.h"
#include "graphs/shapefunction.h"
#include "graphs/shapevariable2function.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "trace/tracerecords.h"

namespace zarno {

bool TAbstractTracer::record(const TShape &shape)
{
    if (count() > recordLimit())
        return false;
    std::unique_ptr<TAbstractTraceRecordOf> r = snapshot(shape);
    return r && fList.addIfNewElseFree(std::move(r));
}

void TAbstractTracer::recordAndDrawCurrent(
    TAbstractImageAdapter &surface, TPenBrush &penBrush, TShape &shape)
{
    std::unique_ptr<TAbstractTraceRecordOf> r = snapshot(shape);
    if (!r)
        return;
    drawRecord(surface, penBrush, *r, shape);
    if (count() <= recordLimit())
        fList.addIfNewElseFree(std::move(r));
}

bool TAbstractTracer::addRecord(std::unique_ptr<TAbstractTraceRecordOf> record)
{
    return count() <= recordLimit() && fList.addIfNewElseFree(std::move(record));
}

void TAbstractTracer::drawEvery(
    int stride, TAbstractImageAdapter &surface, TShape &shape, TPenBrush &penBrush)
{
    for (int i = 0; i < count(); i += stride)
        drawRecord(surface, penBrush, fList.item(i), shape);
}

int TAbstractTracer::thinnedStride() const
{
    return count() >= drawLimit() ? count() / drawLimit() : 1;
}

void TAbstractTracer::drawThinned(
    TAbstractImageAdapter &surface, TShape &shape, TPenBrush &penBrush)
{
    drawEvery(thinnedStride(), surface, shape, penBrush);
}

QList<double> TAbstractTracer::valuesOf(const TAbstractTraceRecordOf &) const
{
    return {};
}

std::unique_ptr<TAbstractTraceRecordOf> TAbstractTracer::fromValues(
    const TShape &, const QList<double> &) const
{
    return nullptr;
}

namespace {

bool allFinite(const QList<double> &v)
{
    for (double d : v)
        if (!std::isfinite(d))
            return false;
    return true;
}

} // namespace

// ---- points

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfDot::snapshot(const TShape &shape) const
{
    const TModelPoint p = static_cast<const TShapeDot &>(shape).getXY();
    return std::make_unique<TTraceRecordOfDot>(p.x, p.y);
}

void TTracerOfDot::drawRecord(
    TAbstractImageAdapter &surface, TPenBrush &pb, const TAbstractTraceRecordOf &record, TShape &)
{
    const auto &r = static_cast<const TTraceRecordOfDot &>(record);
    surface.drawDot(pb, r.x, r.y);
}

TModelPoint TTracerOfDot::placeMark(const TShape &shape) const
{
    return static_cast<const TShapeDot &>(shape).getXY();
}

QList<double> TTracerOfDot::valuesOf(const TAbstractTraceRecordOf &record) const
{
    const auto &r = static_cast<const TTraceRecordOfDot &>(record);
    return { r.x, r.y };
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfDot::fromValues(
    const TShape &, const QList<double> &v) const
{
    if (v.size() != 2 || !allFinite(v))
        return nullptr;
    return std::make_unique<TTraceRecordOfDot>(v[0], v[1]);
}

// ---- lines, rays, segments

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfCyokusen::snapshot(const TShape &shape) const
{
    return TTraceRecordOfCyokusen::of(static_cast<const TShapeLine &>(shape).line());
}

void TTracerOfCyokusen::drawRecord(
    TAbstractImageAdapter &surface, TPenBrush &pb, const TAbstractTraceRecordOf &record, TShape &)
{
    static_cast<const TTraceRecordOfCyokusen &>(record).assignTo(fScratch);
    fScratch.drawLine(surface, pb);
}

TModelPoint TTracerOfCyokusen::placeMark(const TShape &shape) const
{
    const TBoundaryOfLine &bd = static_cast<const TShapeLine &>(shape).line().boundary;
    const TMathZahyo &p = bd.endPoint(0), &q = bd.endPoint(1);
    return { (p.x + q.x) / 2, (p.y + q.y) / 2 };
}

QList<double> TTracerOfCyokusen::valuesOf(const TAbstractTraceRecordOf &record) const
{
    return static_cast<const TTraceRecordOfCyokusen &>(record).values();
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfCyokusen::fromValues(
    const TShape &shape, const QList<double> &v) const
{
    return TTraceRecordOfCyokusen::fromValues(
        static_cast<const TShapeLine &>(shape).getLineKind(), v);
}

// ---- circles and arcs

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfCircle::snapshot(const TShape &shape) const
{
    return TTraceRecordOfCircle::of(static_cast<const TShapeCircle &>(shape).circle());
}

void TTracerOfCircle::drawRecord(
    TAbstractImageAdapter &surface, TPenBrush &pb, const TAbstractTraceRecordOf &record, TShape &)
{
    static_cast<const TTraceRecordOfCircle &>(record).assignTo(fScratch);
    fScratch.drawCircleOrArc(surface, pb);
}

TModelPoint TTracerOfCircle::placeMark(const TShape &shape) const
{
    return static_cast<const TShapeCircle &>(shape).anchorPoint().toPoint();
}

QList<double> TTracerOfCircle::valuesOf(const TAbstractTraceRecordOf &record) const
{
    return static_cast<const TTraceRecordOfCircle &>(record).values();
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfCircle::fromValues(
    const TShape &shape, const QList<double> &v) const
{
    return TTraceRecordOfCircle::fromValues(
        static_cast<const TShapeCircle &>(shape).circle().boundary.type, v);
}

// ---- ellipses

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfEllipse::snapshot(const TShape &shape) const
{
    return TTraceRecordOfEllipse::of(static_cast<const TShapeEllipse &>(shape).ellipse());
}

void TTracerOfEllipse::drawRecord(
    TAbstractImageAdapter &surface, TPenBrush &pb, const TAbstractTraceRecordOf &record, TShape &)
{
    static_cast<const TTraceRecordOfEllipse &>(record).assignTo(fScratch);
    fScratch.drawEllipseShape(surface, pb);
}

TModelPoint TTracerOfEllipse::placeMark(const TShape &shape) const
{
    return static_cast<const TShapeEllipse &>(shape).anchorPoint().toPoint();
}

QList<double> TTracerOfEllipse::valuesOf(const TAbstractTraceRecordOf &record) const
{
    const auto &r = static_cast<const TTraceRecordOfEllipse &>(record);
    return { r.centre.x, r.centre.y, r.semiAxisX, r.semiAxisY };
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfEllipse::fromValues(
    const TShape &, const QList<double> &v) const
{
    if (v.size() != 4 || !allFinite(v) || !(v[2] > 0) || !(v[3] > 0))
        return nullptr;
    return std::make_unique<TTraceRecordOfEllipse>(TMathZahyo(v[0], v[1]), v[2], v[3]);
}

// ---- graphs

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfFunction::snapshot(const TShape &shape) const
{
    const TModelPoint o = static_cast<const TShapeFunction &>(shape).origin();
    return std::make_unique<TTraceRecordOfFunction>(o.x, o.y);
}

void TTracerOfFunction::drawRecord(TAbstractImageAdapter &surface, TPenBrush &pb,
    const TAbstractTraceRecordOf &record, TShape &shape)
{
    auto &graph = static_cast<TShapeFunction &>(shape);
    const auto &r = static_cast<const TTraceRecordOfFunction &>(record);
    // Picking and labels go on using the live origin.
    const TModelPoint live = graph.origin();
    graph.setOrigin({ r.x, r.y });
    try {
        graph.drawReplay(surface, pb);
    } catch (...) {
        graph.setOrigin(live);
        throw;
    }
    graph.setOrigin(live);
}

TModelPoint TTracerOfFunction::placeMark(const TShape &shape) const
{
    return static_cast<const TShapeFunction &>(shape).anchorPoint();
}

QList<double> TTracerOfFunction::valuesOf(const TAbstractTraceRecordOf &record) const
{
    const auto &r = static_cast<const TTraceRecordOfFunction &>(record);
    return { r.x, r.y };
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfFunction::fromValues(
    const TShape &, const QList<double> &v) const
{
    if (v.size() != 2 || !allFinite(v))
        return nullptr;
    return std::make_unique<TTraceRecordOfFunction>(v[0], v[1]);
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfSeishiki::snapshot(const TShape &shape) const
{
    std::vector<TModelPoint> points;
    for (const TShape *p : shape.parents().items())
        points.push_back(static_cast<const TShapeDot *>(p)->getXY());
    return std::make_unique<TTraceRecordOfSeishiki>(std::move(points));
}

void TTracerOfSeishiki::drawRecord(TAbstractImageAdapter &surface, TPenBrush &pb,
    const TAbstractTraceRecordOf &record, TShape &shape)
{
    auto &graph = static_cast<TShapeFunction &>(shape);
    auto *relation = dynamic_cast<TParentDots2seishiki *>(graph.relation());
    if (!relation)
        return;
    relation->replacePoints(static_cast<const TTraceRecordOfSeishiki &>(record).points);
    // The live polynomial comes back from the live points.
    struct Restore
    {
        TParentDots2seishiki &relation;
        ~Restore() { relation.calcChildren(nullptr); }
    } restore { *relation };
    graph.drawReplay(surface, pb);
}

TModelPoint TTracerOfSeishiki::placeMark(const TShape &shape) const
{
    return static_cast<const TShapeFunction &>(shape).anchorPoint();
}

QList<double> TTracerOfSeishiki::valuesOf(const TAbstractTraceRecordOf &record) const
{
    QList<double> v;
    for (const TModelPoint &p : static_cast<const TTraceRecordOfSeishiki &>(record).points)
        v << p.x << p.y;
    return v;
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfSeishiki::fromValues(
    const TShape &shape, const QList<double> &v) const
{
    if (v.size() != 2 * shape.parents().count() || !allFinite(v))
        return nullptr;
    std::vector<TModelPoint> points;
    for (qsizetype i = 0; i + 1 < v.size(); i += 2)
        points.push_back({ v[i], v[i + 1] });
    return std::make_unique<TTraceRecordOfSeishiki>(std::move(points));
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfSomething2function::snapshot(
    const TShape &shape) const
{
    std::unique_ptr<TTraceRecord> r(shape.traceRecord());
    if (auto *s = dynamic_cast<TTraceRecordOfSomething2function *>(r.get())) {
        r.release();
        return std::unique_ptr<TAbstractTraceRecordOf>(s);
    }
    return nullptr;
}

void TTracerOfSomething2function::drawRecord(TAbstractImageAdapter &surface, TPenBrush &pb,
    const TAbstractTraceRecordOf &record, TShape &shape)
{
    // The values go into the variables for this one drawing only.
    auto &r = const_cast<TTraceRecordOfSomething2function &>(
        static_cast<const TTraceRecordOfSomething2function &>(record));
    r.pushAll();
    struct Release
    {
        TTraceRecordOfSomething2function &record;
        ~Release() { record.popAll(); }
    } release { r };
    static_cast<TShapeFunction &>(shape).drawReplay(surface, pb);
}

TModelPoint TTracerOfSomething2function::placeMark(const TShape &shape) const
{
    return static_cast<const TShapeFunction &>(shape).anchorPoint();
}

QList<double> TTracerOfSomething2function::valuesOf(const TAbstractTraceRecordOf &record) const
{
    QList<double> v;
    for (const auto &r : static_cast<const TTraceRecordOfSomething2function &>(record).records()) {
        const auto *values = dynamic_cast<const TValueRecordOfShape *>(r.get());
        if (!values)
            return {};
        for (double x : values->values())
            v << x;
    }
    return v;
}

std::unique_ptr<TAbstractTraceRecordOf> TTracerOfSomething2function::fromValues(
    const TShape &shape, const QList<double> &values) const
{
    const auto *graph = dynamic_cast<const TParentShapeVariable2function *>(shape.relation());
    if (!graph || !allFinite(values))
        return nullptr;
    auto record = std::make_unique<TTraceRecordOfSomething2function>();
    qsizetype at = 0;
    for (const auto &setter : graph->valueSetters().setters()) {
        const qsizetype n = TCalcSymbolTable::shapeAttributes(setter->kind()).size();
        if (at + n > values.size()
            || record->count() == TTraceRecordOfSomething2function::kMaxRecords)
            return nullptr;
        record->add(std::make_unique<TValueRecordOfShape>(setter, setter->kind(),
            std::vector<double>(values.begin() + at, values.begin() + at + n)));
        at += n;
    }
    if (at != values.size() || record->count() == 0)
        return nullptr;
    return record;
}

} // namespace zarno
