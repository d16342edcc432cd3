#pragma once

#include "core/valuetypes.h"
#include "model/shapelist.h"

namespace zarno {

class TAbstractImageAdapter;

// Finds the shape nearest to the cursor within 6 pixels; points win over
// everything else once one is that near.
class TNearVisitor : public TShapeVisitor
{
public:
    static constexpr int kThresholdPixels = 6;

    explicit TNearVisitor(const TModelPoint &cursor)
        : fCursor(cursor)
    { }

    void setSurface(TAbstractImageAdapter *surface) { fSurface = surface; }
    int visitShape(TShape &shape) override;

    TShape *nearest() const { return fNearest; }
    const TShapeList &candidates() const { return fCandidates; }
    bool dotFound() const { return fDotFound; }

private:
    TModelPoint fCursor;
    TAbstractImageAdapter *fSurface = nullptr;
    bool fDotFound = false;
    double fBest = 1.7e308;
    TShape *fNearest = nullptr;
    TShapeList fCandidates;
};

// Collects, once each, the points a selection is built from: points
// themselves, and the points reachable upwards through the parents.
class TRootDotVisitor : public TShapeVisitor
{
public:
    int visitShape(TShape &shape) override;
    const TShapeList &dots() const { return fDots; }

private:
    TShapeList fDots;
};

} // namespace zarno
