#pragma once

#include "AAX_CParameterValue.h"
#include "AAX_CString.h"
#include "AAX_IDisplayDelegate.h"
#include "AAX_IParameter.h"
#include "AAX_ITaperDelegate.h"

#include <map>
#include <memory>

/** A host parameter; only the float form exists. */
template <typename T>
class AAX_CParameter;

/** A float host parameter. It owns clones of its taper and display and refers to the host's
    automation delegate without owning it. Values that are not finite never become its value. */
template <>
class AAX_CParameter<float> : public AAX_IParameter
{
public:
    AAX_CParameter (AAX_CParamID identifier, const AAX_IString& name, float defaultValue,
                    const AAX_ITaperDelegate<float>& taper, const AAX_IDisplayDelegate<float>& display,
                    bool automatable);
    ~AAX_CParameter() override;

    AAX_CParameter (const AAX_CParameter&) = delete;
    AAX_CParameter& operator= (const AAX_CParameter&) = delete;

    AAX_IParameterValue* CloneValue() const override;
    AAX_CParamID Identifier() const override;
    void SetName (const AAX_CString& name) override;
    const AAX_CString& Name() const override;
    void AddShortenedName (const AAX_CString& name) override;
    const AAX_CString& ShortenedName (int32_t maxLength) const override;
    void ClearShortenedNames() override;
    bool IsAutomatable() const override;
    void SetAutomationDelegate (AAX_IAutomationDelegate* automationDelegate) override;
    void Touch() override;
    void Release() override;

    void SetNormalizedValue (double normalizedValue) override;
    double NormalizedValue() const override;
    void SetNormalizedDefaultValue (double normalizedDefault) override;
    double NormalizedDefaultValue() const override;
    void SetToDefaultValue() override;

    void SetStepCount (uint32_t numSteps) override;
    uint32_t StepCount() const override;
    int32_t StepValue() const override;
    double NormalizedValueFromStep (int32_t step) const override;
    int32_t StepValueFromNormalized (double normalizedValue) const override;
    void SetStepValue (int32_t step) override;

    bool ValueString (int32_t maxLength, AAX_CString* valueString) const override;
    bool ValueString (AAX_CString* valueString) const override;

    bool NormalizedValueFromBool (bool value, double* normalizedValue) const override;
    bool NormalizedValueFromInt32 (int32_t value, double* normalizedValue) const override;
    bool NormalizedValueFromFloat (float value, double* normalizedValue) const override;
    bool NormalizedValueFromDouble (double value, double* normalizedValue) const override;
    bool NormalizedValueFromString (const AAX_CString& text, double* normalizedValue) const override;
    bool BoolFromNormalizedValue (double normalizedValue, bool* value) const override;
    bool Int32FromNormalizedValue (double normalizedValue, int32_t* value) const override;
    bool FloatFromNormalizedValue (double normalizedValue, float* value) const override;
    bool DoubleFromNormalizedValue (double normalizedValue, double* value) const override;
    bool StringFromNormalizedValue (double normalizedValue, int32_t maxLength, AAX_CString* valueString) const override;
    bool StringFromNormalizedValue (double normalizedValue, AAX_CString* valueString) const override;
    bool SetValueFromString (const AAX_CString& text) override;

    bool ValueAsBool (bool* value) const override;
    bool ValueAsInt32 (int32_t* value) const override;
    bool ValueAsFloat (float* value) const override;
    bool ValueAsDouble (double* value) const override;
    bool ValueAsString (AAX_IString* value) const override;
    bool SetValueFromBool (bool value) override;
    bool SetValueFromInt32 (int32_t value) override;
    bool SetValueFromFloat (float value) override;
    bool SetValueFromDouble (double value) override;
    bool SetValueFromIString (const AAX_IString& text) override;

    void SetType (uint32_t type) override;
    uint32_t Type() const override;
    void SetOrientation (uint32_t orientation) override;
    uint32_t Orientation() const override;

    void SetTaperDelegate (const AAX_ITaperDelegateBase& taper, bool preserveRealValue) override;
    void SetDisplayDelegate (const AAX_IDisplayDelegateBase& display) override;

    void UpdateNormalizedValue (double normalizedValue) override;

private:
    /** Every value change that starts inside the plug-in: through the host when there is an
        automation delegate, else stored at once. */
    void RequestNormalizedValue (double normalizedValue);

    AAX_CString mName;
    std::map<uint32_t, AAX_CString> mShortenedNames;
    bool mAutomatable;
    uint32_t mNumSteps = 0;
    uint32_t mType = 1;
    uint32_t mOrientation = 0;
    std::unique_ptr<AAX_ITaperDelegate<float>> mTaper;
    std::unique_ptr<AAX_IDisplayDelegate<float>> mDisplay;
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr;
    /** When set, the next UpdateNormalizedValue stores and posts even an unchanged value. */
    bool mNeedNotify = true;
    AAX_CParameterValue<float> mValue;
    float mDefaultValue;
};
