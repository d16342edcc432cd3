#pragma once

#include "core/exceptions.h"

#include <QString>

namespace zarno::test {

// The text of the exception that f raises, or a marker when none was raised.
template <typename F> QString raisedMessage(F f)
{
    try {
        f();
    } catch (const EZarnoBase &e) {
        return e.message();
    }
    return QStringLiteral("(no exception)");
}

} // namespace zarno::test
