#pragma once

#include "core/exceptions.h"

namespace zarno {

// An arithmetic fault (invalid operation, division by zero, overflow) met while
// computing with formula values. Evaluation turns it into "no value"; constant
// folding turns it into an erroneous formula.
class EMathError : public EZarnoBase
{
public:
    using EZarnoBase::EZarnoBase;
    QString className() const override { return QStringLiteral("EMathError"); }
};

} // namespace zarno
