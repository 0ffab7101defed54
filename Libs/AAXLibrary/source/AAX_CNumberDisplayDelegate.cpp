#include "AAX_CNumberDisplayDelegate.h"

#include "AAX_CString.h"

#include <cmath>

AAX_CNumberDisplayDelegate<float, 3, 0>* AAX_CNumberDisplayDelegate<float, 3, 0>::Clone() const
{
    return new AAX_CNumberDisplayDelegate (*this);
}

bool AAX_CNumberDisplayDelegate<float, 3, 0>::ValueToString (float value, int32_t maxNumChars,
                                                             AAX_CString* valueString) const
{
    valueString->SetCString ("");
    valueString->NumberToText (double (value));

    const uint32_t limit = maxNumChars >= 0 ? static_cast<uint32_t> (maxNumChars) : 0u;
    const uint32_t length = valueString->Length();
    if (length > limit)
        valueString->Erase (limit, length - limit);

    if (limit != 0 && valueString->Length() == limit && valueString->CString()[limit - 1] == '.')
        valueString->Erase (limit - 1, 1);
    return true;
}

bool AAX_CNumberDisplayDelegate<float, 3, 0>::ValueToString (float value, AAX_CString* valueString) const
{
    valueString->SetCString ("");
    valueString->NumberToText (double (value));
    return true;
}

bool AAX_CNumberDisplayDelegate<float, 3, 0>::StringToValue (const AAX_CString& valueString, float* value) const
{
    double parsed = 0.0;
    if (! valueString.TextToNumber (parsed))
    {
        *value = 0.0f;
        return false;
    }

    // A number beyond the float range would become an infinite parameter value.
    const float narrowed = static_cast<float> (parsed);
    if (! std::isfinite (narrowed))
    {
        *value = 0.0f;
        return false;
    }
    *value = narrowed;
    return true;
}
