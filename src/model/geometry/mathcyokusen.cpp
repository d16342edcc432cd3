#include "model/geometry/mathcyokusen.h"

#include "base/fileio.h"
#include "base/penbrush.h"
#include "base/surface.h"
#include "core/exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TMathCyokusen");
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

QString generalFloatText(double v, int significantDigits)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (v == 0)
        return QStringLiteral("0");
    const int precision = significantDigits < 1 ? 1 : significantDigits;
    // Rounding to the significant digits first decides the exponent (9.9996
    // becomes 10.00 and so has two integer digits).
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, v);
    const char *e = std::strchr(buf, 'e');
    const int exponent = std::atoi(e + 1);
    const double rounded = std::strtod(buf, nullptr);
    QString text;
    if (exponent < precision && std::fabs(rounded) >= 1e-5) {
        const int decimals = std::max(0, precision - 1 - exponent);
        std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
        text = QString::fromLatin1(buf);
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
        }
        return text;
    }
    QString mantissa = QString::fromLatin1(buf, int(e - buf));
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    return mantissa + QLatin1Char('E') + QString::number(exponent);
}

bool TMathCyokusen::setBy2Points(double x1, double y1, double x2, double y2)
{
    if (isGeomZero(x1 - x2) && isGeomZero(y1 - y2))
        return false;
    a = y2 - y1;
    b = x1 - x2;
    c = x2 * y1 - x1 * y2;
    return true;
}

bool TMathCyokusen::setABC(double na, double nb, double nc)
{
    if (na == 0 && nb == 0)
        return false;
    a = na;
    b = nb;
    c = nc;
    return true;
}

double TMathCyokusen::yAt(double x) const
{
    if (isGeomZero(b))
        return kNaN;
    return -(a * x + c) / b;
}

double TMathCyokusen::xAt(double y) const
{
    if (isGeomZero(a))
        return kNaN;
    return -(b * y + c) / a;
}

void TMathCyokusen::setParallel(const TMathCyokusen &line, double x0, double y0)
{
    const double la = line.a, lb = line.b;
    a = la;
    b = lb;
    c = -la * x0 - lb * y0;
}

void TMathCyokusen::setPerpendicular(const TMathCyokusen &line, double x0, double y0)
{
    const double la = line.a, lb = line.b;
    a = lb;
    b = -la;
    c = la * y0 - lb * x0;
}

bool TMathCyokusen::setPerpendicularBisector(const TMathZahyo &p, const TMathZahyo &q)
{
    if (p.isSame(q))
        return false;
    a = 2 * (q.x - p.x);
    b = 2 * (q.y - p.y);
    c = p.x * p.x + p.y * p.y - q.x * q.x - q.y * q.y;
    return true;
}

bool TMathCyokusen::isParallel(const TMathCyokusen &line) const
{
    return isGeomZero(a * line.b - line.a * b);
}

double TMathCyokusen::angle() const
{
    if (isGeomZero(b))
        return M_PI / 2;
    return std::atan(-a / b);
}

double TMathCyokusen::distance(const TMathZahyo &p) const
{
    TMathZahyo nearest;
    nearest.setNearestOnLine(p, *this);
    return nearest.distance(p);
}

double TMathCyokusen::distanceXY(double x, double y) const
{
    return distance(TMathZahyo(x, y));
}

QString TMathCyokusen::equationString() const
{
    QString s = generalFloatText(a, 4) + QLatin1Char('x');
    if (b > 0)
        s += QLatin1Char('+');
    s += generalFloatText(b, 4) + QLatin1Char('y');
    if (c > 0)
        s += QLatin1Char('+');
    s += generalFloatText(c, 4) + QStringLiteral("=0");
    return s;
}

void TMathCyokusen::getEdgePoint(const TModelViewRect &view)
{
    const double L = view.left, R = view.right, T = view.top, B = view.bottom;
    const bool dir = boundary.getDirection();
    TMathZahyo entry, exit;
    TMathZahyo e1, e2;
    if (isGeomZero(b)) {
        const double x0 = -c / a;
        e1.setXY(x0, T);
        e2.setXY(x0, B);
        if (!dir)
            std::swap(e1, e2);
    } else if (isGeomZero(a)) {
        const double y0 = -c / b;
        e1.setXY(R, y0);
        e2.setXY(L, y0);
        if (!dir)
            std::swap(e1, e2);
    } else {
        TMathZahyo pt(xAt(T), T), pb(xAt(B), B);
        const TMathZahyo pl(L, yAt(L)), pr(R, yAt(R));
        if (a * b > 0) // the line falls as x grows
            std::swap(pt, pb);
        entry = pl.x > pb.x ? pl : pb;
        exit = pr.x > pt.x ? pt : pr;
        const bool exitFirst = dir ? exit.x >= entry.x : exit.x <= entry.x;
        e1 = exitFirst ? exit : entry;
        e2 = exitFirst ? entry : exit;
    }
    // Floating point here never traps; what would have been an arithmetic
    // fault shows up as a value that is not finite, and must not go on to
    // the canvas as a coordinate.
    const bool finite
        = std::isfinite(e1.x) && std::isfinite(e1.y) && std::isfinite(e2.x) && std::isfinite(e2.y);
    if (!finite) {
        const bool invalid
            = std::isnan(e1.x) || std::isnan(e1.y) || std::isnan(e2.x) || std::isnan(e2.y);
        const QString arithmetic = invalid
            ? QStringLiteral("浮動小数点数の演算が不正です。")
            : QStringLiteral("浮動小数点数の演算でオーバーフローしました。");
        throw ESouteigai(kClass,
            { fmtArg(exit.x), fmtArg(exit.y), fmtArg(entry.x), fmtArg(entry.y) },
            QStringLiteral("Fp1=(%f,%f), Fp2=(%f,%f)") + arithmetic,
            QStringLiteral("getEdgePoint"));
    }
    boundary.setEdgePoints(e1, e2);
}

void TMathCyokusen::drawLine(TAbstractImageAdapter &surface, TPenBrush &penBrush)
{
    getEdgePoint(surface.getModelViewRect());
    boundary.drawInner(surface, penBrush);
}

void TMathCyokusen::drawOuterLine(TAbstractImageAdapter &surface, TPenBrush &penBrush)
{
    getEdgePoint(surface.getModelViewRect());
    penBrush.setUseOuterStyle(true);
    try {
        boundary.drawOuter(surface, penBrush);
    } catch (...) {
        penBrush.setUseOuterStyle(false);
        throw;
    }
    penBrush.setUseOuterStyle(false);
}

void TMathCyokusen::assign(const TMathCyokusen &other)
{
    a = other.a;
    b = other.b;
    c = other.c;
    boundary.assign(other.boundary);
}

void TMathCyokusen::saveToFile(TAbstractFileWriter &writer) const
{
    writer.openTag(id());
    writer.writeDouble(QStringLiteral("a"), a);
    writer.writeDouble(QStringLiteral("b"), b);
    writer.writeDouble(QStringLiteral("c"), c);
    writer.newLine();
    boundary.saveToFile(writer);
    writer.closeTag(id());
}

void TMathCyokusen::loadFromFile(TAbstractXmlNode &parentNode)
{
    TAbstractXmlNode &group = parentNode.getThisTagNode(id());
    a = group.readDouble(QStringLiteral("a"));
    b = group.readDouble(QStringLiteral("b"));
    c = group.readDouble(QStringLiteral("c"));
    boundary.loadFromFile(group.getThisTagNode(boundary.tagName()));
}

} // namespace zarno
