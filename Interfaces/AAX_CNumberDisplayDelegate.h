#pragma once

#include "AAX_IDisplayDelegate.h"

#include <cstdint>

/** Shows a real value as a number. Only the float form with three decimals and no exponent
    exists. */
template <typename T, uint32_t Precision, uint32_t Exponent>
class AAX_CNumberDisplayDelegate;

template <>
class AAX_CNumberDisplayDelegate<float, 3, 0> : public AAX_IDisplayDelegate<float>
{
public:
    AAX_CNumberDisplayDelegate* Clone() const override;
    /** The three-decimal text cut to maxNumChars bytes (none when it is 0 or negative); a cut
        that ends on the decimal point drops the point. */
    bool ValueToString (float value, int32_t maxNumChars, AAX_CString* valueString) const override;
    bool ValueToString (float value, AAX_CString* valueString) const override;
    /** Reads a number from the start of the text; text that does not start with a finite number
        gives 0 and false. */
    bool StringToValue (const AAX_CString& valueString, float* value) const override;
};
