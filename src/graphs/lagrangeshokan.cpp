#include "graphs/lagrangeshokan.h"

#include "core/exceptions.h"

#include <cmath>
#include <limits>

namespace zarno {

TCombinationsIterator::TCombinationsIterator(int n, int offset, int k)
    : fN(n)
    , fOffset(offset)
{
    if (n + offset > 31)
        throw ESouteigai(QStringLiteral("TCombinationsIterator"),
            QStringLiteral("combinationのパラメータが範囲を超えています。"),
            QStringLiteral("Create"));
    fHasNext = k > 0 && k <= n;
    for (int i = 0; i < k; ++i)
        fIndices.push_back(i);
}

quint32 TCombinationsIterator::next()
{
    if (!fHasNext)
        throw ESouteigai(QStringLiteral("TCombinationsIterator"),
            QStringLiteral("次の要素はありません。"), QStringLiteral("next"));
    quint32 mask = 0;
    for (int i : fIndices)
        mask |= quint32(1) << (i + fOffset);
    // The rightmost index that can still move up moves by one; those after
    // it follow it closely.
    const int k = int(fIndices.size());
    int i = k - 1;
    while (i >= 0 && fIndices[std::size_t(i)] == fN - k + i)
        --i;
    if (i < 0) {
        fHasNext = false;
    } else {
        ++fIndices[std::size_t(i)];
        for (int j = i + 1; j < k; ++j)
            fIndices[std::size_t(j)] = fIndices[std::size_t(j - 1)] + 1;
    }
    return mask;
}

void TLagrangesHokan::setPoints(const std::vector<TModelPoint> &points)
{
    fWeights.clear();
    fPoints = points;
    fCoefficients = TDimensionInfo();
    const int count = int(fPoints.size());
    if (count < 3)
        return;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(fPoints[std::size_t(i)].x) || !std::isfinite(fPoints[std::size_t(i)].y))
            return;
        for (int j = 0; j < i; ++j)
            if (std::fabs(fPoints[std::size_t(i)].x - fPoints[std::size_t(j)].x) <= kSameX)
                return;
    }

    std::vector<double> weights(std::size_t(count), 0.0);
    for (int i = 0; i < count; ++i) {
        double denominator = 1;
        for (int j = 0; j < count; ++j)
            if (j != i)
                denominator *= fPoints[std::size_t(i)].x - fPoints[std::size_t(j)].x;
        weights[std::size_t(i)] = fPoints[std::size_t(i)].y / denominator;
    }
    fWeights = std::move(weights);

    // Π_{j≠i}(x − x_j) = Σ_m (−1)^m e_m x^(n−m), with e_m the sum of the
    // products of the m-element subsets of the other x_j.
    const int n = count - 1;
    fCoefficients.setDegree(n);
    for (int k = n; k >= 0; --k) {
        const int m = n - k;
        double sum = 0;
        for (int i = 0; i < count; ++i) {
            double e = m == 0 ? 1 : 0;
            for (TCombinationsIterator it(count, 0, m); it.hasNext();) {
                const quint32 mask = it.next();
                if (mask & (quint32(1) << i))
                    continue;
                double product = 1;
                for (int j = 0; j < count; ++j)
                    if (mask & (quint32(1) << j))
                        product *= fPoints[std::size_t(j)].x;
                e += product;
            }
            sum += fWeights[std::size_t(i)] * e;
        }
        fCoefficients.setCoefficient(k, m % 2 == 0 ? sum : -sum);
    }
}

double TLagrangesHokan::valueAt(double x) const
{
    if (!isValid())
        return std::numeric_limits<double>::quiet_NaN();
    double value = 0;
    for (std::size_t i = 0; i < fPoints.size(); ++i) {
        double term = fWeights[i];
        for (std::size_t j = 0; j < fPoints.size(); ++j)
            if (j != i)
                term *= x - fPoints[j].x;
        value += term;
    }
    return value;
}

} // namespace zarno
