#pragma once

#include "AAX.h"

class AAX_IString;

/** A parameter's identifier with one value. Each typed getter answers true only for the value's
    own type. */
class AAX_IParameterValue
{
public:
    virtual ~AAX_IParameterValue() = default;

    virtual AAX_IParameterValue* Clone() const = 0;
    virtual AAX_CParamID Identifier() const = 0;
    virtual bool ValueAsBool (bool* value) const = 0;
    virtual bool ValueAsInt32 (int32_t* value) const = 0;
    virtual bool ValueAsFloat (float* value) const = 0;
    virtual bool ValueAsDouble (double* value) const = 0;
    virtual bool ValueAsString (AAX_IString* value) const = 0;
};
