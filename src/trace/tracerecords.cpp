#include "trace/tracerecords.h"

#include "core/exceptions.h"
#include "model/geometry/mathcyokusen.h"
#include "model/geometry/mathdaen.h"
#include "model/geometry/mathen.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace zarno {

namespace {

// The first of the pairs that differs decides; all equal is equal.
int compareInOrder(std::initializer_list<std::pair<double, double>> pairs)
{
    for (const auto &[a, b] : pairs)
        if (const int c = compareTraceDoubles(a, b); c != TAbstractTraceRecordOf::kEqual)
            return c;
    return TAbstractTraceRecordOf::kEqual;
}

QString f5(double v)
{
    return QString::asprintf("%.5f", v);
}

QString pairText(double x, double y)
{
    return QLatin1Char('(') + f5(x) + QLatin1Char(',') + f5(y) + QLatin1Char(')');
}

bool allFinite(const QList<double> &v)
{
    return std::all_of(v.begin(), v.end(), [](double d) { return std::isfinite(d); });
}

// A full circle has no defining points: whatever its boundary still holds
// must not make two snapshots of one circle differ.
bool isFullCircle(TBoundaryType t)
{
    return t == TBoundaryType::btAll || t == TBoundaryType::btAllVec;
}

} // namespace

int TTraceRecordOfDot::compare(const TAbstractTraceRecordOf &other) const
{
    const auto &o = static_cast<const TTraceRecordOfDot &>(other);
    return compareInOrder({ { x, o.x }, { y, o.y } });
}

QString TTraceRecordOfDot::asText() const
{
    return QStringLiteral("dot:") + pairText(x, y);
}

int TTraceRecordOfBoundary::compare(const TAbstractTraceRecordOf &other) const
{
    const auto &o = static_cast<const TTraceRecordOfBoundary &>(other);
    return compareInOrder({ { first.x, o.first.x }, { first.y, o.first.y },
        { second.x, o.second.x }, { second.y, o.second.y } });
}

QString TTraceRecordOfBoundary::asText() const
{
    const QString name = TEnumConverter<TBoundaryType>::name(type);
    if (type == TBoundaryType::btAll)
        return QStringLiteral("boundary:(") + name + QLatin1Char(')');
    return QStringLiteral("boundary:(") + name + pairText(first.x, first.y) + QLatin1Char(',')
        + pairText(second.x, second.y) + QLatin1Char(')');
}

TTraceRecordOfCyokusen::TTraceRecordOfCyokusen(
    double a, double b, double c, std::unique_ptr<TTraceRecordOfBoundary> bd)
    : a(a)
    , b(b)
    , c(c)
    , boundary(std::move(bd))
{ }

std::unique_ptr<TTraceRecordOfCyokusen> TTraceRecordOfCyokusen::of(const TMathCyokusen &line)
{
    const double n = std::hypot(line.a, line.b);
    const double k = n > 0 ? 1 / n : 1;
    const TBoundaryOfLine &bd = line.boundary;
    // Only a ray's start and a segment's ends belong to the snapshot.
    TMathZahyo first, second;
    if (bd.type == TBoundaryType::btOneSide || bd.type == TBoundaryType::btBothSides)
        first = bd.first;
    if (bd.type == TBoundaryType::btBothSides)
        second = bd.second;
    return std::make_unique<TTraceRecordOfCyokusen>(line.a * k, line.b * k, line.c * k,
        std::make_unique<TTraceRecordOfBoundary>(bd.type, first, second));
}

void TTraceRecordOfCyokusen::assignTo(TMathCyokusen &line) const
{
    line.a = a;
    line.b = b;
    line.c = c;
    TBoundaryOfLine &bd = line.boundary;
    bd.type = boundary->type;
    bd.first = boundary->first;
    bd.second = boundary->second;
    // The line travels along (−b, a); a ray keeps that direction.
    bd.setDirectionBy(bd.first, TMathZahyo(bd.first.x - b, bd.first.y + a));
}

int TTraceRecordOfCyokusen::compare(const TAbstractTraceRecordOf &other) const
{
    const auto &o = static_cast<const TTraceRecordOfCyokusen &>(other);
    switch (o.boundary->type) {
    case TBoundaryType::btAll: return compareInOrder({ { a, o.a }, { b, o.b }, { c, o.c } });
    case TBoundaryType::btOneSide:
        return compareInOrder({ { boundary->first.x, o.boundary->first.x },
            { boundary->first.y, o.boundary->first.y }, { a, o.a }, { b, o.b }, { c, o.c } });
    case TBoundaryType::btBothSides: return boundary->compare(*o.boundary);
    default: break;
    }
    throw ESouteigai(QStringLiteral("TTraceRecordOfCyokusen"),
        { fmtArg(TEnumConverter<TBoundaryType>::name(o.boundary->type)) },
        QStringLiteral("直線境界タイプ(%s)の軌跡はサポートしていません。"),
        QStringLiteral("compare"));
}

QString TTraceRecordOfCyokusen::asText() const
{
    return QStringLiteral("cyokusen:") + f5(a) + QLatin1Char(',') + f5(b) + QLatin1Char(',') + f5(c)
        + boundary->asText();
}

QList<double> TTraceRecordOfCyokusen::values() const
{
    switch (boundary->type) {
    case TBoundaryType::btOneSide: return { a, b, c, boundary->first.x, boundary->first.y };
    case TBoundaryType::btBothSides:
        return { boundary->first.x, boundary->first.y, boundary->second.x, boundary->second.y };
    default: return { a, b, c };
    }
}

std::unique_ptr<TTraceRecordOfCyokusen> TTraceRecordOfCyokusen::fromValues(
    TBoundaryType type, const QList<double> &v)
{
    if (!allFinite(v))
        return nullptr;
    TMathCyokusen line;
    line.boundary.type = type;
    switch (type) {
    case TBoundaryType::btAll:
        if (v.size() != 3 || !line.setABC(v[0], v[1], v[2]))
            return nullptr;
        break;
    case TBoundaryType::btOneSide:
        if (v.size() != 5 || !line.setABC(v[0], v[1], v[2]))
            return nullptr;
        line.boundary.first.setXY(v[3], v[4]);
        break;
    case TBoundaryType::btBothSides:
        if (v.size() != 4 || !line.setBy2Points(v[0], v[1], v[2], v[3]))
            return nullptr;
        line.boundary.first.setXY(v[0], v[1]);
        line.boundary.second.setXY(v[2], v[3]);
        break;
    default: return nullptr;
    }
    return of(line);
}

TTraceRecordOfCircle::TTraceRecordOfCircle(
    const TMathZahyo &centre, double radius, std::unique_ptr<TTraceRecordOfBoundary> bd)
    : centre(centre)
    , radius(radius)
    , boundary(std::move(bd))
{ }

std::unique_ptr<TTraceRecordOfCircle> TTraceRecordOfCircle::of(const TMathEn &circle)
{
    const TBoundaryOfCircle &bd = circle.boundary;
    const bool full = isFullCircle(bd.type);
    return std::make_unique<TTraceRecordOfCircle>(circle.centre, circle.radius,
        std::make_unique<TTraceRecordOfBoundary>(
            bd.type, full ? TMathZahyo() : bd.first, full ? TMathZahyo() : bd.second));
}

void TTraceRecordOfCircle::assignTo(TMathEn &circle) const
{
    circle.setCentreRadius(centre, radius);
    circle.boundary.type = boundary->type;
    circle.boundary.first = boundary->first;
    circle.boundary.second = boundary->second;
}

int TTraceRecordOfCircle::compare(const TAbstractTraceRecordOf &other) const
{
    const auto &o = static_cast<const TTraceRecordOfCircle &>(other);
    if (const int c = compareInOrder(
            { { centre.x, o.centre.x }, { centre.y, o.centre.y }, { radius, o.radius } });
        c != kEqual)
        return c;
    return boundary->compare(*o.boundary);
}

QString TTraceRecordOfCircle::asText() const
{
    return QStringLiteral("circle:") + pairText(centre.x, centre.y) + QLatin1Char(',') + f5(radius)
        + boundary->asText();
}

QList<double> TTraceRecordOfCircle::values() const
{
    if (isFullCircle(boundary->type))
        return { centre.x, centre.y, radius };
    return { centre.x, centre.y, radius, boundary->first.x, boundary->first.y, boundary->second.x,
        boundary->second.y };
}

std::unique_ptr<TTraceRecordOfCircle> TTraceRecordOfCircle::fromValues(
    TBoundaryType type, const QList<double> &v)
{
    const bool full = isFullCircle(type);
    if (!allFinite(v) || v.size() != (full ? 3 : 7) || !(v[2] > 0))
        return nullptr;
    TMathEn circle;
    circle.setCentreRadius(TMathZahyo(v[0], v[1]), v[2]);
    circle.boundary.type = type;
    if (!full) {
        circle.boundary.first.setXY(v[3], v[4]);
        circle.boundary.second.setXY(v[5], v[6]);
    }
    return of(circle);
}

std::unique_ptr<TTraceRecordOfEllipse> TTraceRecordOfEllipse::of(const TMathDaen &ellipse)
{
    return std::make_unique<TTraceRecordOfEllipse>(
        ellipse.centre, ellipse.semiAxisX, ellipse.semiAxisY);
}

void TTraceRecordOfEllipse::assignTo(TMathDaen &ellipse) const
{
    ellipse.centre = centre;
    ellipse.semiAxisX = semiAxisX;
    ellipse.semiAxisY = semiAxisY;
}

int TTraceRecordOfEllipse::compare(const TAbstractTraceRecordOf &other) const
{
    const auto &o = static_cast<const TTraceRecordOfEllipse &>(other);
    return compareInOrder({ { centre.x, o.centre.x }, { centre.y, o.centre.y },
        { semiAxisX, o.semiAxisX }, { semiAxisY, o.semiAxisY } });
}

QString TTraceRecordOfEllipse::asText() const
{
    return QStringLiteral("ellipse:") + pairText(centre.x, centre.y) + QLatin1Char(',')
        + f5(semiAxisX) + QLatin1Char(',') + f5(semiAxisY);
}

int TTraceRecordOfFunction::compare(const TAbstractTraceRecordOf &other) const
{
    const auto &o = static_cast<const TTraceRecordOfFunction &>(other);
    return compareInOrder({ { x, o.x }, { y, o.y } });
}

QString TTraceRecordOfFunction::asText() const
{
    return QStringLiteral("function:") + pairText(x, y);
}

TTraceRecordOfSeishiki::TTraceRecordOfSeishiki(std::vector<TModelPoint> pts)
    : points(std::move(pts))
{
    std::sort(points.begin(), points.end(), [](const TModelPoint &p, const TModelPoint &q) {
        return p.x < q.x || (p.x == q.x && p.y < q.y);
    });
}

int TTraceRecordOfSeishiki::compare(const TAbstractTraceRecordOf &other) const
{
    const auto &o = static_cast<const TTraceRecordOfSeishiki &>(other);
    const std::size_t n = std::min(points.size(), o.points.size());
    for (std::size_t i = 0; i < n; ++i)
        if (const int c
            = compareInOrder({ { points[i].x, o.points[i].x }, { points[i].y, o.points[i].y } });
            c != kEqual)
            return c;
    if (points.size() == o.points.size())
        return kEqual;
    return points.size() > o.points.size() ? kGreater : kSmaller;
}

QString TTraceRecordOfSeishiki::asText() const
{
    QString t = QStringLiteral("seishiki:");
    for (const TModelPoint &p : points)
        t += pairText(p.x, p.y);
    return t;
}

} // namespace zarno
