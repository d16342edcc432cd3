#include "render/functionpolyline.h"

#include "core/exceptions.h"

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TFunctionPolyline");
}

TFunctionPolyline::TFunctionPolyline()
    : fXs(kInitialCapacity)
    , fYs(kInitialCapacity)
{ }

void TFunctionPolyline::ensureCapacity(int n)
{
    if (int(fXs.size()) < n) {
        fXs.resize(std::size_t(n));
        fYs.resize(std::size_t(n));
    }
    fCount = 0;
}

void TFunctionPolyline::append(const TModelPoint &p)
{
    if (fCount == int(fXs.size())) {
        const std::size_t grown = fXs.size() * 2 + 1;
        fXs.resize(grown);
        fYs.resize(grown);
    }
    fXs[std::size_t(fCount)] = p.x;
    fYs[std::size_t(fCount)] = p.y;
    ++fCount;
    if (p.x < fLeast)
        fLeast = p.x;
    if (p.x > fGreatest)
        fGreatest = p.x;
}

void TFunctionPolyline::resetRange()
{
    fLeast = 1.7e308;
    fGreatest = -1.7e308;
}

TModelPoint TFunctionPolyline::last() const
{
    if (fCount < 1)
        throw ESouteigai(kClass, QStringLiteral("リストが空です。"), QStringLiteral("last"));
    return { fXs[std::size_t(fCount - 1)], fYs[std::size_t(fCount - 1)] };
}

TModelPoint TFunctionPolyline::secondLast() const
{
    if (fCount < 2)
        throw ESouteigai(kClass, QStringLiteral("リストに2つ以上のデータがありません。"),
            QStringLiteral("secondLast"));
    return { fXs[std::size_t(fCount - 2)], fYs[std::size_t(fCount - 2)] };
}

} // namespace zarno
