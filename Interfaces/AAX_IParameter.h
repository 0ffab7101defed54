#pragma once

#include "AAX.h"

class AAX_CString;
class AAX_IAutomationDelegate;
class AAX_IDisplayDelegateBase;
class AAX_IParameterValue;
class AAX_IString;
class AAX_ITaperDelegateBase;

/** The host-side face of one plug-in parameter. Normalized values run from 0 to 1; real values
    are the parameter's own units. Every value change that starts inside the plug-in goes through
    the automation delegate; values the host confirms come back through UpdateNormalizedValue. */
class AAX_IParameter
{
public:
    virtual ~AAX_IParameter() = default;

    virtual AAX_IParameterValue* CloneValue() const = 0;
    virtual AAX_CParamID Identifier() const = 0;
    virtual void SetName (const AAX_CString& name) = 0;
    virtual const AAX_CString& Name() const = 0;
    virtual void AddShortenedName (const AAX_CString& name) = 0;
    virtual const AAX_CString& ShortenedName (int32_t maxLength) const = 0;
    virtual void ClearShortenedNames() = 0;
    virtual bool IsAutomatable() const = 0;
    virtual void SetAutomationDelegate (AAX_IAutomationDelegate* automationDelegate) = 0;
    virtual void Touch() = 0;
    virtual void Release() = 0;

    virtual void SetNormalizedValue (double normalizedValue) = 0;
    virtual double NormalizedValue() const = 0;
    virtual void SetNormalizedDefaultValue (double normalizedDefault) = 0;
    virtual double NormalizedDefaultValue() const = 0;
    virtual void SetToDefaultValue() = 0;

    virtual void SetStepCount (uint32_t numSteps) = 0;
    virtual uint32_t StepCount() const = 0;
    virtual int32_t StepValue() const = 0;
    virtual double NormalizedValueFromStep (int32_t step) const = 0;
    virtual int32_t StepValueFromNormalized (double normalizedValue) const = 0;
    virtual void SetStepValue (int32_t step) = 0;

    virtual bool ValueString (int32_t maxLength, AAX_CString* valueString) const = 0;
    virtual bool ValueString (AAX_CString* valueString) const = 0;

    virtual bool NormalizedValueFromBool (bool value, double* normalizedValue) const = 0;
    virtual bool NormalizedValueFromInt32 (int32_t value, double* normalizedValue) const = 0;
    virtual bool NormalizedValueFromFloat (float value, double* normalizedValue) const = 0;
    virtual bool NormalizedValueFromDouble (double value, double* normalizedValue) const = 0;
    virtual bool NormalizedValueFromString (const AAX_CString& text, double* normalizedValue) const = 0;
    virtual bool BoolFromNormalizedValue (double normalizedValue, bool* value) const = 0;
    virtual bool Int32FromNormalizedValue (double normalizedValue, int32_t* value) const = 0;
    virtual bool FloatFromNormalizedValue (double normalizedValue, float* value) const = 0;
    virtual bool DoubleFromNormalizedValue (double normalizedValue, double* value) const = 0;
    virtual bool StringFromNormalizedValue (double normalizedValue, int32_t maxLength,
                                            AAX_CString* valueString) const = 0;
    virtual bool StringFromNormalizedValue (double normalizedValue, AAX_CString* valueString) const = 0;
    virtual bool SetValueFromString (const AAX_CString& text) = 0;

    virtual bool ValueAsBool (bool* value) const = 0;
    virtual bool ValueAsInt32 (int32_t* value) const = 0;
    virtual bool ValueAsFloat (float* value) const = 0;
    virtual bool ValueAsDouble (double* value) const = 0;
    virtual bool ValueAsString (AAX_IString* value) const = 0;
    virtual bool SetValueFromBool (bool value) = 0;
    virtual bool SetValueFromInt32 (int32_t value) = 0;
    virtual bool SetValueFromFloat (float value) = 0;
    virtual bool SetValueFromDouble (double value) = 0;
    virtual bool SetValueFromIString (const AAX_IString& text) = 0;

    /** Opaque to the parameter: the host's parameter type and control orientation. */
    virtual void SetType (uint32_t type) = 0;
    virtual uint32_t Type() const = 0;
    virtual void SetOrientation (uint32_t orientation) = 0;
    virtual uint32_t Orientation() const = 0;

    /** A taper or display of another value type than the parameter's is ignored. */
    virtual void SetTaperDelegate (const AAX_ITaperDelegateBase& taper, bool preserveRealValue) = 0;
    virtual void SetDisplayDelegate (const AAX_IDisplayDelegateBase& display) = 0;

    /** The host's confirmation of a value (or a value the host sets itself). */
    virtual void UpdateNormalizedValue (double normalizedValue) = 0;
};
