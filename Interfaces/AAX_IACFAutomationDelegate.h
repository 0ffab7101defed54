#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's automation delegate (AAX_IID_AutomationDelegate), operations 3 to 9. */
class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    virtual AAX_Result RegisterParameter (AAX_CParamID identifier) = 0;
    virtual AAX_Result UnregisterParameter (AAX_CParamID identifier) = 0;
    virtual AAX_Result RequestValue (AAX_CParamID identifier, double normalizedValue) = 0;
    virtual AAX_Result PostCurrentValue (AAX_CParamID identifier, double normalizedValue) = 0;
    virtual AAX_Result TouchParameter (AAX_CParamID identifier) = 0;
    virtual AAX_Result ReleaseParameter (AAX_CParamID identifier) = 0;
    virtual AAX_Result AutomationCall9 (AAX_CParamID identifier, void* argument) = 0;

protected:
    ~AAX_IACFAutomationDelegate() = default;
};
