#include "AAX_CParameterValue.h"

#include "AAX_Assert.h"

#include <cstring>

AAX_CParameterValue<float>::AAX_CParameterValue (AAX_CParamID identifier, float value)
    : mValue (value)
{
    const char* const text = identifier != nullptr ? identifier : "";
    const size_t length = std::strlen (text);
    const bool fits = AAX_CheckAssertion (length < identifierCapacity, AAX_AssertionSites::ParameterIdentifierTooLong);
    const size_t kept = fits ? length : identifierCapacity - 1;
    std::memcpy (mIdentifier, text, kept);
    mIdentifier[kept] = '\0';
}

AAX_CParameterValue<float>::AAX_CParameterValue (const AAX_CParameterValue& other)
    : mValue (other.mValue)
{
    std::memcpy (mIdentifier, other.mIdentifier, identifierCapacity);
}

AAX_CParameterValue<float>* AAX_CParameterValue<float>::Clone() const
{
    return new AAX_CParameterValue (*this);
}

AAX_CParamID AAX_CParameterValue<float>::Identifier() const
{
    return mIdentifier;
}

bool AAX_CParameterValue<float>::ValueAsBool (bool*) const
{
    return false;
}

bool AAX_CParameterValue<float>::ValueAsInt32 (int32_t*) const
{
    return false;
}

bool AAX_CParameterValue<float>::ValueAsFloat (float* value) const
{
    if (value == nullptr)
        return false;
    *value = mValue;
    return true;
}

bool AAX_CParameterValue<float>::ValueAsDouble (double*) const
{
    return false;
}

bool AAX_CParameterValue<float>::ValueAsString (AAX_IString*) const
{
    return false;
}
