#pragma once

#include "core/valuetypes.h"

namespace zarno {

// Where a transform reads the model scale, and through which a surface
// pushes a temporary one. The field answers directly; the application's
// controller forwards to the model's field.
class TScaleController
{
public:
    virtual ~TScaleController() = default;
    virtual TModelPoint getMmPerModel1() const = 0;
    virtual TModelPoint getCenterXy() const = 0;
    virtual void pushMmPerModel1(const TModelPoint &mm, const TModelPoint &centre) = 0;
    virtual void popMmPerModel1() = 0;
};

// Pops a pushed scale when it goes out of scope, so that an exception during
// an export cannot leave the temporary scale in place.
class TPushedScale
{
public:
    TPushedScale(TScaleController &controller, const TModelPoint &mm, const TModelPoint &centre)
        : fController(controller)
    {
        fController.pushMmPerModel1(mm, centre);
    }
    ~TPushedScale() { fController.popMmPerModel1(); }
    TPushedScale(const TPushedScale &) = delete;
    TPushedScale &operator=(const TPushedScale &) = delete;

private:
    TScaleController &fController;
};

} // namespace zarno
