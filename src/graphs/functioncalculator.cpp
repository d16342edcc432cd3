#include "graphs/functioncalculator.h"

#include "core/exceptions.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TFunctionCalculator");
constexpr double kEdge = 10000;
} // namespace

TFunctionCalculator::Side TFunctionCalculator::sideOf(qsizetype i) const
{
    const double t = fT[std::size_t(i)];
    if (std::isnan(t))
        return Undefined;
    if (t > fT1)
        return Above;
    if (t < fT0)
        return Below;
    return Inside;
}

void TFunctionCalculator::append(double s, double t, bool pieceStart)
{
    fPieceS.push_back(s);
    fPieceT.push_back(t);
    fLeast = std::min(fLeast, s);
    fGreatest = std::max(fGreatest, s);
    if (fRecordMode == RecordMode::Record)
        fRecord.add(pieceStart, { s, t });
}

void TFunctionCalculator::run(RecordMode recordMode, const Sampler &sampler, double sStart,
    double sEnd, double step, double t0, double t1, const PieceSink &sink)
{
    fRecordMode = recordMode;
    fT0 = t0;
    fT1 = t1;
    fCount = 0;
    if (recordMode == RecordMode::Record) {
        fRecord.reset();
        fAnchor = { std::nan(""), std::nan("") };
    }
    if (!(step > 0) || !(sEnd >= sStart) || !std::isfinite(sStart) || !std::isfinite(sEnd))
        return;
    // One sample per pixel column; s is computed, not accumulated, so the
    // last column is not lost to rounding.
    const auto n = qsizetype(std::floor((sEnd - sStart) / step + 1e-9)) + 1;
    // A sample is drawn at most twice: as the exit of one piece and the
    // entry of the next.
    if (recordMode == RecordMode::Record)
        fRecord.setCapacity(int(2 * n + 2));
    fS.resize(std::size_t(n));
    fT.resize(std::size_t(n));
    for (qsizetype i = 0; i < n; ++i)
        fS[std::size_t(i)] = sStart + double(i) * step;
    sampler(fS.data(), fT.data(), n);
    fCount = n;
    fPos = 0;
    fLeast = 1.7e308;
    fGreatest = -1.7e308;
    try {
        // Pieces of a single point draw nothing, but the curve goes on after them.
        while (nextPiece()) {
            if (fPieceS.size() >= 2)
                sink(fPieceS.data(), fPieceT.data(), int(fPieceS.size()) - 1);
        }
    } catch (...) {
        fPieceS.clear();
        fPieceT.clear();
        throw;
    }
    if (recordMode == RecordMode::Record && !fRecord.isEmpty() && std::isfinite(fLeast)
        && std::isfinite(fGreatest)) {
        const TModelPointST best = fRecord.pointNearestS((fLeast + fGreatest) / 2);
        fAnchor = { best.s, best.t };
    }
}

bool TFunctionCalculator::nextPiece()
{
    fPieceS.clear();
    fPieceT.clear();
    auto clampT = [this](double t) { return std::clamp(t, fT0, fT1); };
    auto top = [&](double) { return clampT(kEdge); };
    auto bottom = [&](double) { return clampT(-kEdge); };

    // 1. Skip what is not inside, remembering the side of the last skipped sample.
    Side lastSkipped = Undefined;
    while (fPos < fCount && sideOf(fPos) != Inside) {
        lastSkipped = sideOf(fPos);
        ++fPos;
    }
    if (fPos >= fCount)
        return false;
    if (lastSkipped == Above || lastSkipped == Below)
        --fPos; // read the outside sample again as the entry

    const qsizetype qi = fPos++;
    const double qs = fS[std::size_t(qi)], qt = fT[std::size_t(qi)];
    const Side qSide = sideOf(qi);
    if (qSide == Inside) {
        append(qs, qt, true);
    } else {
        if (fPos >= fCount || sideOf(fPos) != Inside)
            throw ESouteigai(kClass, QStringLiteral("2つ連続でフィールドの範囲外の点があります。"),
                QStringLiteral("firstIsOutRange"));
        const qsizetype pi = fPos++;
        const double ps = fS[std::size_t(pi)], pt = fT[std::size_t(pi)];
        if (fPos >= fCount) {
            append(qs, clampT(qt), true);
            append(ps, pt, false);
        } else {
            const qsizetype ri = fPos++;
            const double rs = fS[std::size_t(ri)], rt = fT[std::size_t(ri)];
            const Side rSide = sideOf(ri);
            if (rSide == Inside) {
                append(qs, pt > rt ? top(qs) : bottom(qs), true);
                append(ps, pt, false);
                append(rs, rt, false);
            } else if (rSide == Undefined) {
                append(qs, clampT(qt), true);
                append(ps, pt, false);
                append(rs, qSide == Above ? bottom(rs) : top(rs), false);
                // No value at r: the piece ends here and never bridges the gap.
                return true;
            } else if (rSide != qSide) {
                append(qs, clampT(qt), true);
                append(ps, pt, false);
                append(rs, clampT(rt), false);
                --fPos;
            }
        }
    }

    // 5. Continue while inside.
    while (fPos < fCount) {
        const Side side = sideOf(fPos);
        const double s = fS[std::size_t(fPos)], t = fT[std::size_t(fPos)];
        if (side == Inside) {
            append(s, t, fPieceS.empty());
            ++fPos;
            continue;
        }
        if (side == Undefined) {
            ++fPos;
            break;
        }
        // Leave along the edge the curve is heading for.
        if (fPieceS.size() < 2)
            append(s, clampT(t), fPieceS.empty());
        else
            append(s, fPieceT.back() > fPieceT[fPieceT.size() - 2] ? top(s) : bottom(s), false);
        break;
    }
    return true;
}

bool TFunctionCalculator::hitsBox(double s0, double s1, double t0, double t1) const
{
    return fRecord.hitsBox(TModelRectST { s0, s1, t0, t1 });
}

} // namespace zarno
