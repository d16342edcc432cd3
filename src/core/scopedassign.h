#pragma once

#include <utility>

namespace zarno {

// Gives a variable one value for the life of the guard and another when the
// guard goes, also when an exception leaves the scope: the input lock around
// a save that may fail, the ready flag around a property dialog.
template <typename T> class TScopedAssign
{
public:
    TScopedAssign(T &target, T during, T after)
        : fTarget(target)
        , fAfter(std::move(after))
    {
        fTarget = std::move(during);
    }
    ~TScopedAssign() { fTarget = std::move(fAfter); }
    TScopedAssign(const TScopedAssign &) = delete;
    TScopedAssign &operator=(const TScopedAssign &) = delete;

private:
    T &fTarget;
    T fAfter;
};

} // namespace zarno
