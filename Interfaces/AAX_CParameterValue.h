#pragma once

#include "AAX_IParameterValue.h"

#include <cstddef>

/** An identifier (at most 31 characters) with one value; only the float form exists. */
template <typename T>
class AAX_CParameterValue;

template <>
class AAX_CParameterValue<float> : public AAX_IParameterValue
{
public:
    /** The room for an identifier, its NUL included. */
    static constexpr size_t identifierCapacity = 32;

    /** An identifier of 32 or more characters is reported to the host and cut to 31. */
    AAX_CParameterValue (AAX_CParamID identifier, float value);
    AAX_CParameterValue (const AAX_CParameterValue& other);

    AAX_CParameterValue* Clone() const override;
    AAX_CParamID Identifier() const override;
    bool ValueAsBool (bool* value) const override;
    bool ValueAsInt32 (int32_t* value) const override;
    bool ValueAsFloat (float* value) const override;
    bool ValueAsDouble (double* value) const override;
    bool ValueAsString (AAX_IString* value) const override;

    float Value() const noexcept { return mValue; }
    void SetValue (float value) noexcept { mValue = value; }

private:
    char mIdentifier[identifierCapacity];
    float mValue;
};
