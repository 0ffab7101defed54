#include "AAX_CLinearTaperDelegate.h"

AAX_CLinearTaperDelegate<float, 0>::AAX_CLinearTaperDelegate (float minValue, float maxValue)
    : mMinValue (minValue)
    , mMaxValue (maxValue)
{
}

AAX_CLinearTaperDelegate<float, 0>* AAX_CLinearTaperDelegate<float, 0>::Clone() const
{
    return new AAX_CLinearTaperDelegate (*this);
}

float AAX_CLinearTaperDelegate<float, 0>::MaximumValue() const
{
    return mMaxValue;
}

float AAX_CLinearTaperDelegate<float, 0>::MinimumValue() const
{
    return mMinValue;
}

float AAX_CLinearTaperDelegate<float, 0>::ConstrainRealValue (float value) const
{
    if (mMinValue == mMaxValue)
        return mMinValue;

    const float high = mMaxValue > mMinValue ? mMaxValue : mMinValue;
    const float low = mMaxValue > mMinValue ? mMinValue : mMaxValue;
    if (value > high)
        return high;
    if (low > value)
        return low;
    return value;
}

float AAX_CLinearTaperDelegate<float, 0>::NormalizedToReal (double normalizedValue) const
{
    const double real = (double (mMaxValue) - double (mMinValue)) * normalizedValue + double (mMinValue);
    return ConstrainRealValue (static_cast<float> (real));
}

double AAX_CLinearTaperDelegate<float, 0>::RealToNormalized (float realValue) const
{
    const float constrained = ConstrainRealValue (realValue);
    if (mMinValue == mMaxValue)
        return 0.5;
    return (double (constrained) - double (mMinValue)) / (double (mMaxValue) - double (mMinValue));
}
