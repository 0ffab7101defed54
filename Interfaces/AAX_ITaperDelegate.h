#pragma once

#include "AAX_ITaperDelegateBase.h"

/** Maps between the host's normalized value (0 to 1) and a parameter's real value. */
template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
    virtual AAX_ITaperDelegate* Clone() const = 0;
    /** The real value at normalized 1. */
    virtual T MaximumValue() const = 0;
    /** The real value at normalized 0. */
    virtual T MinimumValue() const = 0;
    virtual T ConstrainRealValue (T value) const = 0;
    virtual T NormalizedToReal (double normalizedValue) const = 0;
    virtual double RealToNormalized (T realValue) const = 0;
};
