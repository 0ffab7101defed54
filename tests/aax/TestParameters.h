#pragma once

#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CParameterRegistry.h"
#include "AAX_Errors.h"

#include <memory>

// A float host parameter over [0, 1] with three decimals, as the plug-in makes them.
inline std::unique_ptr<AAX_CParameter<float>> makeUnitParameter (const char* identifier, float value)
{
    return std::make_unique<AAX_CParameter<float>> (identifier, AAX_CString (identifier), value,
                                                    AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                    AAX_CNumberDisplayDelegate<float, 3, 0>(), true);
}

// The base of the parameters below: a float parameter at 0 with the default taper.
class ZeroFloatParameter : public AAX_CParameter<float>
{
public:
    explicit ZeroFloatParameter (const char* identifier)
        : AAX_CParameter<float> (identifier, AAX_CString (identifier), 0.0f, AAX_CLinearTaperDelegate<float, 0>(),
                                 AAX_CNumberDisplayDelegate<float, 3, 0>(), true)
    {
    }
};

// Parameters that answer as another value kind, to exercise the typed probes.
class DoubleValuedParameter : public ZeroFloatParameter
{
public:
    DoubleValuedParameter (const char* identifier, double value)
        : ZeroFloatParameter (identifier)
        , mValue (value)
    {
    }
    bool ValueAsFloat (float*) const override { return false; }
    bool ValueAsDouble (double* value) const override
    {
        *value = mValue;
        return true;
    }

private:
    double mValue;
};

class BoolValuedParameter : public ZeroFloatParameter
{
public:
    BoolValuedParameter (const char* identifier, bool value)
        : ZeroFloatParameter (identifier)
        , mValue (value)
    {
    }
    bool ValueAsBool (bool* value) const override
    {
        *value = mValue;
        return true;
    }

private:
    bool mValue;
};

class ValuelessParameter : public ZeroFloatParameter
{
public:
    explicit ValuelessParameter (const char* identifier)
        : ZeroFloatParameter (identifier)
    {
    }
    bool ValueAsFloat (float*) const override { return false; }
};

// Finds parameters as the effect-parameters object does: through its registry.
class FakeParameterOwner
{
public:
    AAX_Result ParameterById (AAX_CParamID identifier, AAX_IParameter** parameter) const
    {
        *parameter = registry.FindParameterById (identifier);
        return *parameter != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
    }

    AAX_CParameterRegistry registry;
};
