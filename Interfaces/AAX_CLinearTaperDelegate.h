#pragma once

#include "AAX_ITaperDelegate.h"

#include <cstdint>

/** A linear taper between two bounds; RealPrecision 0 means real values are not rounded.
    Only the float form without rounding exists. */
template <typename T, int32_t RealPrecision>
class AAX_CLinearTaperDelegate;

/** The bounds are kept in the order given: a first bound above the second runs downwards. */
template <>
class AAX_CLinearTaperDelegate<float, 0> : public AAX_ITaperDelegate<float>
{
public:
    explicit AAX_CLinearTaperDelegate (float minValue = 0.0f, float maxValue = 1.0f);

    AAX_CLinearTaperDelegate* Clone() const override;
    float MaximumValue() const override;
    float MinimumValue() const override;
    float ConstrainRealValue (float value) const override;
    float NormalizedToReal (double normalizedValue) const override;
    double RealToNormalized (float realValue) const override;

private:
    float mMinValue;
    float mMaxValue;
};
