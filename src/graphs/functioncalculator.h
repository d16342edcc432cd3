#pragma once

#include "core/valuetypes.h"
#include "graphs/nearestpoint.h"

#include <functional>
#include <vector>

namespace zarno {

// Turns samples of a formula, one per pixel column, into the polyline
// pieces that are drawn: a piece ends where the formula has no value and
// where the curve leaves the view, and enters and leaves along the view's
// edge in the curve's own direction, so that poles are never bridged.
class TFunctionCalculator
{
public:
    // Fills t for the n values of s.
    using Sampler = std::function<void(const double *s, double *t, qsizetype n)>;
    // Receives one piece: points 0 .. lastIndex in local (s, t) coordinates.
    using PieceSink = std::function<void(const double *s, const double *t, int lastIndex)>;

    // Record keeps the drawn points for hit tests and the anchor (the
    // domain part); DontRecord keeps nothing (the parts outside the domain).
    enum class RecordMode { Record = 0, DontRecord = 1 };

    // One run over [sStart, sEnd] with the given step; t0 .. t1 is the
    // visible t range.
    void run(RecordMode recordMode, const Sampler &sampler, double sStart, double sEnd, double step,
        double t0, double t1, const PieceSink &sink);

    // The recorded curve passes through the box.
    bool hitsBox(double s0, double s1, double t0, double t1) const;
    // The drawn points of the last recorded run.
    const TNearestPointForDotOnFunction &record() const { return fRecord; }
    // A recorded point near the middle of the drawn s range; NaN when none.
    TModelPoint anchor() const { return fAnchor; }
    qsizetype sampleCount() const { return fCount; }

private:
    enum Side { Inside, Above, Below, Undefined };
    Side sideOf(qsizetype i) const;
    void append(double s, double t, bool pieceStart);
    bool nextPiece();

    std::vector<double> fS;
    std::vector<double> fT;
    qsizetype fCount = 0;
    qsizetype fPos = 0;
    double fT0 = 0;
    double fT1 = 0;
    RecordMode fRecordMode = RecordMode::Record;
    std::vector<double> fPieceS;
    std::vector<double> fPieceT;
    double fLeast = 0;
    double fGreatest = 0;

    TNearestPointForDotOnFunction fRecord;
    TModelPoint fAnchor { std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::quiet_NaN() };
};

} // namespace zarno
