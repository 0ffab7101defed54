#include "AAX_CParameter.h"

#include "AAX_Assert.h"
#include "AAX_IAutomationDelegate.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace
{
bool isFinite (double value) noexcept
{
    return std::isfinite (value);
}
} // namespace

AAX_CParameter<float>::AAX_CParameter (AAX_CParamID identifier, const AAX_IString& name, float defaultValue,
                                       const AAX_ITaperDelegate<float>& taper,
                                       const AAX_IDisplayDelegate<float>& display, bool automatable)
    : mName (name)
    , mAutomatable (automatable)
    , mTaper (taper.Clone())
    , mDisplay (display.Clone())
    , mValue (identifier, 0.0f)
    , mDefaultValue (defaultValue)
{
    if (mNumSteps == 0 && mType == 1)
        SetStepCount (128);
    SetToDefaultValue();
}

AAX_CParameter<float>::~AAX_CParameter()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->UnregisterParameter (Identifier());
}

AAX_IParameterValue* AAX_CParameter<float>::CloneValue() const
{
    return new AAX_CParameterValue<float> (mValue);
}

AAX_CParamID AAX_CParameter<float>::Identifier() const
{
    return mValue.Identifier();
}

void AAX_CParameter<float>::SetName (const AAX_CString& name)
{
    mName = name;
}

const AAX_CString& AAX_CParameter<float>::Name() const
{
    return mName;
}

void AAX_CParameter<float>::AddShortenedName (const AAX_CString& name)
{
    mShortenedNames[name.Length()] = name;
}

const AAX_CString& AAX_CParameter<float>::ShortenedName (int32_t maxLength) const
{
    if (maxLength < 0 || static_cast<uint32_t> (maxLength) >= mName.Length() || mShortenedNames.empty())
        return mName;

    // The longest abbreviation that fits, else the shortest there is.
    auto fitting = mShortenedNames.upper_bound (static_cast<uint32_t> (maxLength));
    if (fitting == mShortenedNames.begin())
        return fitting->second;
    return (--fitting)->second;
}

void AAX_CParameter<float>::ClearShortenedNames()
{
    mShortenedNames.clear();
}

bool AAX_CParameter<float>::IsAutomatable() const
{
    return mAutomatable;
}

void AAX_CParameter<float>::SetAutomationDelegate (AAX_IAutomationDelegate* automationDelegate)
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->UnregisterParameter (Identifier());
    mAutomationDelegate = automationDelegate;
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->RegisterParameter (Identifier());
}

void AAX_CParameter<float>::Touch()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->Touch (Identifier());
}

void AAX_CParameter<float>::Release()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->Release (Identifier());
}

void AAX_CParameter<float>::SetNormalizedValue (double normalizedValue)
{
    if (! isFinite (normalizedValue))
        return;
    RequestNormalizedValue (mTaper->RealToNormalized (mTaper->NormalizedToReal (normalizedValue)));
}

double AAX_CParameter<float>::NormalizedValue() const
{
    return mTaper->RealToNormalized (mValue.Value());
}

void AAX_CParameter<float>::SetNormalizedDefaultValue (double normalizedDefault)
{
    if (! isFinite (normalizedDefault))
        return;
    mDefaultValue = mTaper->ConstrainRealValue (mTaper->NormalizedToReal (normalizedDefault));
}

double AAX_CParameter<float>::NormalizedDefaultValue() const
{
    return mTaper->RealToNormalized (mDefaultValue);
}

void AAX_CParameter<float>::SetToDefaultValue()
{
    RequestNormalizedValue (mTaper->RealToNormalized (mDefaultValue));
}

void AAX_CParameter<float>::SetStepCount (uint32_t numSteps)
{
    if (AAX_CheckAssertion (0 < numSteps, AAX_AssertionSites::ParameterStepCountZero))
        mNumSteps = numSteps;
}

uint32_t AAX_CParameter<float>::StepCount() const
{
    return mNumSteps;
}

int32_t AAX_CParameter<float>::StepValue() const
{
    return StepValueFromNormalized (NormalizedValue());
}

double AAX_CParameter<float>::NormalizedValueFromStep (int32_t step) const
{
    const double count = double (mNumSteps);
    if (count < 2.0)
        return 0.0;
    const double normalized = (1.0 / (count - 1.0)) * double (step);
    return std::fmin (1.0, std::fmax (0.0, normalized));
}

int32_t AAX_CParameter<float>::StepValueFromNormalized (double normalizedValue) const
{
    const double count = double (mNumSteps);
    if (count < 2.0 || std::isnan (normalizedValue))
        return 0;

    double step = normalizedValue / (1.0 / (count - 1.0)) + 0.5;
    if (step < 0.0)
        step = 0.0;
    if (step > count - 1.0)
        step = count - 1.0;
    // Counts beyond the int32 range cannot be answered as a step; stay inside it.
    constexpr double largestStep = double (std::numeric_limits<int32_t>::max());
    return static_cast<int32_t> (std::fmin (step, largestStep));
}

void AAX_CParameter<float>::SetStepValue (int32_t step)
{
    if (mNumSteps < 2)
        return;
    SetNormalizedValue (NormalizedValueFromStep (step));
}

bool AAX_CParameter<float>::ValueString (int32_t maxLength, AAX_CString* valueString) const
{
    return valueString != nullptr && mDisplay->ValueToString (mValue.Value(), maxLength, valueString);
}

bool AAX_CParameter<float>::ValueString (AAX_CString* valueString) const
{
    return valueString != nullptr && mDisplay->ValueToString (mValue.Value(), valueString);
}

bool AAX_CParameter<float>::NormalizedValueFromBool (bool, double*) const
{
    return false;
}

bool AAX_CParameter<float>::NormalizedValueFromInt32 (int32_t, double*) const
{
    return false;
}

bool AAX_CParameter<float>::NormalizedValueFromFloat (float value, double* normalizedValue) const
{
    if (normalizedValue == nullptr || ! isFinite (value))
        return false;
    *normalizedValue = mTaper->RealToNormalized (value);
    return true;
}

bool AAX_CParameter<float>::NormalizedValueFromDouble (double, double*) const
{
    return false;
}

bool AAX_CParameter<float>::NormalizedValueFromString (const AAX_CString& text, double* normalizedValue) const
{
    float parsed = 0.0f;
    if (normalizedValue == nullptr || ! mDisplay->StringToValue (text, &parsed))
        return false;
    *normalizedValue = mTaper->RealToNormalized (parsed);
    return true;
}

bool AAX_CParameter<float>::BoolFromNormalizedValue (double, bool*) const
{
    return false;
}

bool AAX_CParameter<float>::Int32FromNormalizedValue (double, int32_t*) const
{
    return false;
}

bool AAX_CParameter<float>::FloatFromNormalizedValue (double normalizedValue, float* value) const
{
    if (value == nullptr || ! isFinite (normalizedValue))
        return false;
    *value = mTaper->NormalizedToReal (normalizedValue);
    return true;
}

bool AAX_CParameter<float>::DoubleFromNormalizedValue (double, double*) const
{
    return false;
}

bool AAX_CParameter<float>::StringFromNormalizedValue (double normalizedValue, int32_t maxLength,
                                                       AAX_CString* valueString) const
{
    if (valueString == nullptr || ! isFinite (normalizedValue))
        return false;
    const float real = mTaper->NormalizedToReal (normalizedValue);
    if (! mDisplay->ValueToString (real, maxLength, valueString))
        return false;

    // The range check uses the ordered bounds, so that a taper running downwards still answers.
    const float minimum = std::fmin (mTaper->MinimumValue(), mTaper->MaximumValue());
    const float maximum = std::fmax (mTaper->MinimumValue(), mTaper->MaximumValue());
    return ! (real > maximum || minimum > real);
}

bool AAX_CParameter<float>::StringFromNormalizedValue (double normalizedValue, AAX_CString* valueString) const
{
    if (valueString == nullptr || ! isFinite (normalizedValue))
        return false;
    const float real = mTaper->NormalizedToReal (normalizedValue);
    if (! mDisplay->ValueToString (real, valueString))
        return false;

    const float minimum = std::fmin (mTaper->MinimumValue(), mTaper->MaximumValue());
    const float maximum = std::fmax (mTaper->MinimumValue(), mTaper->MaximumValue());
    return ! (real > maximum || minimum > real);
}

bool AAX_CParameter<float>::SetValueFromString (const AAX_CString& text)
{
    float parsed = 0.0f;
    if (! mDisplay->StringToValue (text, &parsed))
        return false;
    RequestNormalizedValue (mTaper->RealToNormalized (parsed));
    return true;
}

bool AAX_CParameter<float>::ValueAsBool (bool* value) const
{
    return mValue.ValueAsBool (value);
}

bool AAX_CParameter<float>::ValueAsInt32 (int32_t* value) const
{
    return mValue.ValueAsInt32 (value);
}

bool AAX_CParameter<float>::ValueAsFloat (float* value) const
{
    return mValue.ValueAsFloat (value);
}

bool AAX_CParameter<float>::ValueAsDouble (double* value) const
{
    return mValue.ValueAsDouble (value);
}

bool AAX_CParameter<float>::ValueAsString (AAX_IString* value) const
{
    if (value == nullptr)
        return false;
    AAX_CString text;
    const bool converted = ValueString (&text);
    if (converted)
        value->AssignString (text);
    return converted;
}

bool AAX_CParameter<float>::SetValueFromBool (bool)
{
    return false;
}

bool AAX_CParameter<float>::SetValueFromInt32 (int32_t)
{
    return false;
}

bool AAX_CParameter<float>::SetValueFromFloat (float value)
{
    if (! isFinite (value))
        return false;
    RequestNormalizedValue (mTaper->RealToNormalized (value));
    return true;
}

bool AAX_CParameter<float>::SetValueFromDouble (double)
{
    return false;
}

bool AAX_CParameter<float>::SetValueFromIString (const AAX_IString& text)
{
    return SetValueFromString (AAX_CString (text));
}

void AAX_CParameter<float>::SetType (uint32_t type)
{
    mType = type;
}

uint32_t AAX_CParameter<float>::Type() const
{
    return mType;
}

void AAX_CParameter<float>::SetOrientation (uint32_t orientation)
{
    mOrientation = orientation;
}

uint32_t AAX_CParameter<float>::Orientation() const
{
    return mOrientation;
}

void AAX_CParameter<float>::SetTaperDelegate (const AAX_ITaperDelegateBase& taper, bool preserveRealValue)
{
    const auto* floatTaper = dynamic_cast<const AAX_ITaperDelegate<float>*> (&taper);
    if (floatTaper == nullptr)
        return;

    const double oldPosition = NormalizedValue();
    mTaper.reset (floatTaper->Clone());
    mNeedNotify = true;

    if (preserveRealValue)
        RequestNormalizedValue (mTaper->RealToNormalized (mValue.Value()));
    else
        UpdateNormalizedValue (oldPosition);
}

void AAX_CParameter<float>::SetDisplayDelegate (const AAX_IDisplayDelegateBase& display)
{
    const auto* floatDisplay = dynamic_cast<const AAX_IDisplayDelegate<float>*> (&display);
    if (floatDisplay == nullptr)
        return;

    mDisplay.reset (floatDisplay->Clone());
    // The host refreshes the value's text.
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostCurrentValue (Identifier(), NormalizedValue());
}

void AAX_CParameter<float>::UpdateNormalizedValue (double normalizedValue)
{
    if (! isFinite (normalizedValue))
        return;

    const float real = mTaper->NormalizedToReal (normalizedValue);
    if (! mNeedNotify && real == mValue.Value())
        return;

    mValue.SetValue (real);
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostCurrentValue (Identifier(), normalizedValue);
    mNeedNotify = false;
}

void AAX_CParameter<float>::RequestNormalizedValue (double normalizedValue)
{
    if (! isFinite (normalizedValue))
        return;

    if (mAutomationDelegate != nullptr)
    {
        // The stored value changes only when the host confirms it.
        Touch();
        mAutomationDelegate->RequestValue (Identifier(), normalizedValue);
        Release();
        return;
    }
    mNeedNotify = true;
    UpdateNormalizedValue (normalizedValue);
}
