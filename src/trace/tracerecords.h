#pragma once

#include "core/enums.h"
#include "model/geometry/mathzahyo.h"
#include "model/tracerecord.h"

#include <QList>
#include <memory>
#include <vector>

namespace zarno {

class TMathCyokusen;
class TMathEn;
class TMathDaen;

// The snapshots a locus keeps, one class per kind of traced shape. Besides
// ordering and text, each gives its numbers for the document (values) in
// the order its tracer reads them back.

class TTraceRecordOfDot : public TAbstractTraceRecordOf
{
public:
    TTraceRecordOfDot(double x, double y)
        : x(x)
        , y(y)
    { }
    int compare(const TAbstractTraceRecordOf &other) const override;
    QString asText() const override;

    double x;
    double y;
};

// The bounded part of a line or circle: its type and two defining points.
class TTraceRecordOfBoundary : public TAbstractTraceRecordOf
{
public:
    TTraceRecordOfBoundary(TBoundaryType type, const TMathZahyo &first, const TMathZahyo &second)
        : type(type)
        , first(first)
        , second(second)
    { }
    int compare(const TAbstractTraceRecordOf &other) const override;
    QString asText() const override;

    TBoundaryType type;
    TMathZahyo first;
    TMathZahyo second;
};

// A line, ray or segment. The coefficients are scaled to a unit normal
// (keeping the direction of travel), so one line drawn from differently
// spaced points is one record.
class TTraceRecordOfCyokusen : public TAbstractTraceRecordOf
{
public:
    TTraceRecordOfCyokusen(
        double a, double b, double c, std::unique_ptr<TTraceRecordOfBoundary> bd);
    static std::unique_ptr<TTraceRecordOfCyokusen> of(const TMathCyokusen &line);
    // Makes the line this record's line, ready to draw.
    void assignTo(TMathCyokusen &line) const;

    int compare(const TAbstractTraceRecordOf &other) const override;
    QString asText() const override;
    QList<double> values() const;
    // nullptr when the numbers are not a line of this kind.
    static std::unique_ptr<TTraceRecordOfCyokusen> fromValues(
        TBoundaryType type, const QList<double> &v);

    double a;
    double b;
    double c;
    std::unique_ptr<TTraceRecordOfBoundary> boundary;
};

class TTraceRecordOfCircle : public TAbstractTraceRecordOf
{
public:
    TTraceRecordOfCircle(
        const TMathZahyo &centre, double radius, std::unique_ptr<TTraceRecordOfBoundary> bd);
    static std::unique_ptr<TTraceRecordOfCircle> of(const TMathEn &circle);
    void assignTo(TMathEn &circle) const;

    int compare(const TAbstractTraceRecordOf &other) const override;
    QString asText() const override;
    QList<double> values() const;
    static std::unique_ptr<TTraceRecordOfCircle> fromValues(
        TBoundaryType type, const QList<double> &v);

    TMathZahyo centre;
    double radius;
    std::unique_ptr<TTraceRecordOfBoundary> boundary;
};

class TTraceRecordOfEllipse : public TAbstractTraceRecordOf
{
public:
    TTraceRecordOfEllipse(const TMathZahyo &centre, double semiAxisX, double semiAxisY)
        : centre(centre)
        , semiAxisX(semiAxisX)
        , semiAxisY(semiAxisY)
    { }
    static std::unique_ptr<TTraceRecordOfEllipse> of(const TMathDaen &ellipse);
    void assignTo(TMathDaen &ellipse) const;

    int compare(const TAbstractTraceRecordOf &other) const override;
    QString asText() const override;

    TMathZahyo centre;
    double semiAxisX;
    double semiAxisY;
};

// The origin of a y=f(x) or x=g(y) graph.
class TTraceRecordOfFunction : public TAbstractTraceRecordOf
{
public:
    TTraceRecordOfFunction(double x, double y)
        : x(x)
        , y(y)
    { }
    int compare(const TAbstractTraceRecordOf &other) const override;
    QString asText() const override;

    double x;
    double y;
};

// The defining points of a polynomial graph, sorted by x, then y.
class TTraceRecordOfSeishiki : public TAbstractTraceRecordOf
{
public:
    explicit TTraceRecordOfSeishiki(std::vector<TModelPoint> points);
    int compare(const TAbstractTraceRecordOf &other) const override;
    QString asText() const override;

    std::vector<TModelPoint> points;
};

} // namespace zarno
