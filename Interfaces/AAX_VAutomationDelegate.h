#pragma once

#include "AAX_IAutomationDelegate.h"

class AAX_IACFAutomationDelegate;
class IACFUnknown;

/** Forwards parameter automation to the host's automation delegate. */
class AAX_VAutomationDelegate final : public AAX_IAutomationDelegate
{
public:
    /** Asks the object for the host's automation delegate; a null object or a refusal leaves the
        wrapper without one. */
    explicit AAX_VAutomationDelegate (IACFUnknown* hostUnknown);
    ~AAX_VAutomationDelegate() override;

    AAX_VAutomationDelegate (const AAX_VAutomationDelegate&) = delete;
    AAX_VAutomationDelegate& operator= (const AAX_VAutomationDelegate&) = delete;

    AAX_Result RegisterParameter (AAX_CParamID parameterId) override;
    AAX_Result UnregisterParameter (AAX_CParamID parameterId) override;
    AAX_Result RequestValue (AAX_CParamID parameterId, double normalized) override;
    AAX_Result PostCurrentValue (AAX_CParamID parameterId, double normalized) override;
    AAX_Result Touch (AAX_CParamID parameterId) override;
    AAX_Result Release (AAX_CParamID parameterId) override;
    AAX_Result AutomationCall9 (AAX_CParamID parameterId, void* argument) override;

private:
    AAX_IACFAutomationDelegate* mDelegate = nullptr;
};
