#pragma once

#include "core/enums.h"
#include "core/valuetypes.h"

#include <QString>
#include <memory>

namespace zarno {

class TWriting;

// How a coordinate read-out shows its point: a name, the form of each
// coordinate (plain, times π, degrees) and the digits after the point.
// Not part of the document: a read-out read from a file starts afresh.
class TZahyouProperty
{
public:
    static constexpr int kMinDigits = 1;
    static constexpr int kMaxDigits = 5;

    TZahyouProperty();
    ~TZahyouProperty();
    TZahyouProperty(const TZahyouProperty &) = delete;
    TZahyouProperty &operator=(const TZahyouProperty &) = delete;

    // The name part, typeset text ("A" at first).
    TWriting &name() { return *fName; }
    const TWriting &name() const { return *fName; }

    TZahyouScaletype xScaletype = TZahyouScaletype::zstDouble;
    TZahyouScaletype yScaletype = TZahyouScaletype::zstDouble;
    TZahyouViewtype kind = TZahyouViewtype::zvtBoth;
    int digits = 1;

    // The typeset text of the read-out of a point: name(x, y), or name and
    // one coordinate.
    QString text(const TModelPoint &point) const;

    // x with digits after the point: plain, as a multiple of π ("\pi"
    // after it) or in degrees (a raised circle after it); the hidden form
    // shows degrees too.
    static QString formatNumber(TZahyouScaletype scaletype, int digits, double x);

private:
    std::unique_ptr<TWriting> fName;
};

} // namespace zarno
