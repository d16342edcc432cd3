#pragma once

#include "core/valuetypes.h"

#include <vector>

namespace zarno {

// The record of a graph's last drawing of its domain part: the drawn points
// in local (s, t) coordinates, in order of s (which never decreases), each
// marked where a new polyline piece starts. Selection and point creation ask
// it whether the curve passes through a small box; labels and loci ask for
// the drawn point nearest to an s. Both by bisection, so a hit test costs the
// logarithm of the record's length plus the few points inside the box.
class TNearestPointForDotOnFunction
{
public:
    // Makes room for n points (the arrays only grow) and empties the record.
    void setCapacity(int n);
    // Empties the record; the room stays.
    void reset() { fLastIndex = -1; }
    // Appends one point; beyond the room, or with a NaN coordinate, it is a
    // programming error.
    void add(bool startsPiece, const TModelPointST &point);

    // Whether the recorded curve passes through the box (local coordinates,
    // edges included). Only segments with both ends in the box's s interval
    // are looked at.
    bool hitsBox(const TModelRectST &box) const;
    // The indexes of the points whose s lies in [sMin, sMax]; unset when none.
    T_intRangeMinMax findRange(double sMin, double sMax) const;
    // The index of the point whose s is nearest; the first of equally near
    // ones; 0 on an empty record.
    int nearestIndex(double s) const;
    TModelPointST pointNearestS(double s) const;

    int lastIndex() const { return fLastIndex; }
    int capacity() const { return int(fItems.size()); }
    bool isEmpty() const { return fLastIndex < 0; }
    const TModelPointST &item(int i) const { return fItems[std::size_t(i)]; }
    bool pieceStart(int i) const { return fPieceStart[std::size_t(i)] != 0; }

private:
    int fLastIndex = -1;
    std::vector<TModelPointST> fItems;
    std::vector<char> fPieceStart;
};

} // namespace zarno
