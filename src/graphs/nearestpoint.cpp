#include "graphs/nearestpoint.h"

#include "core/exceptions.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TNearestPointForDotOnFunction");
} // namespace

void TNearestPointForDotOnFunction::setCapacity(int n)
{
    if (n > capacity()) {
        fItems.resize(std::size_t(n));
        fPieceStart.resize(std::size_t(n));
    }
    reset();
}

void TNearestPointForDotOnFunction::add(bool startsPiece, const TModelPointST &point)
{
    const int index = fLastIndex + 1;
    if (index >= capacity())
        throw ESouteigai(kClass, { fmtArg(index) }, QStringLiteral("範囲を超えました。array[%d]"),
            QStringLiteral("add"));
    fLastIndex = index;
    fPieceStart[std::size_t(index)] = startsPiece ? 1 : 0;
    fItems[std::size_t(index)] = point;
    if (std::isnan(point.s) || std::isnan(point.t))
        throw ESouteigai(kClass, { fmtArg(index) }, QStringLiteral("NaNが渡されました。array[%d]"),
            QStringLiteral("add"));
}

T_intRangeMinMax TNearestPointForDotOnFunction::findRange(double sMin, double sMax) const
{
    if (fLastIndex < 0 || !(sMin <= sMax))
        return {};
    const auto begin = fItems.begin(), end = fItems.begin() + (fLastIndex + 1);
    const auto first = std::lower_bound(
        begin, end, sMin, [](const TModelPointST &p, double s) { return p.s < s; });
    if (first == end || first->s > sMax)
        return {};
    const auto past = std::upper_bound(
        first, end, sMax, [](double s, const TModelPointST &p) { return s < p.s; });
    return T_intRangeMinMax(int(first - begin), int(past - begin) - 1);
}

bool TNearestPointForDotOnFunction::hitsBox(const TModelRectST &box) const
{
    const T_intRangeMinMax r = findRange(box.sMin, box.sMax);
    if (!r.isSet())
        return false;
    for (int i = r.getMin(); i <= r.getMax(); ++i) {
        const TModelPointST &p = fItems[std::size_t(i)];
        if (box.containsPoint({ p.s, p.t }))
            return true;
        // A drawn segment from above the box to below it (or back) crosses it.
        if (i > r.getMin() && !pieceStart(i)) {
            const TModelPointST &q = fItems[std::size_t(i - 1)];
            if (box.checkRange_inOrOut({ q.s, q.t }) != box.checkRange_inOrOut({ p.s, p.t }))
                return true;
        }
    }
    return false;
}

int TNearestPointForDotOnFunction::nearestIndex(double s) const
{
    int lo = 0, hi = fLastIndex;
    if (hi < 0)
        return 0;
    while (hi - lo >= 4) {
        const int m = (lo + hi) / 2;
        if (fItems[std::size_t(m)].s > s)
            hi = m;
        else
            lo = m;
    }
    int result = lo;
    double best = 1.7e308;
    for (int i = lo; i <= hi; ++i) {
        const double d = std::fabs(s - fItems[std::size_t(i)].s);
        if (d < best) {
            best = d;
            result = i;
        }
    }
    return result;
}

TModelPointST TNearestPointForDotOnFunction::pointNearestS(double s) const
{
    if (fLastIndex < 0)
        return { std::nan(""), std::nan("") };
    return fItems[std::size_t(nearestIndex(s))];
}

} // namespace zarno
