#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

// The host's automation delegate: the host side of parameter touch, value requests and release.
class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    virtual AAX_Result RegisterParameter (AAX_CParamID parameterId) = 0;                      // 3
    virtual AAX_Result UnregisterParameter (AAX_CParamID parameterId) = 0;                    // 4
    virtual AAX_Result PostSetValueRequest (AAX_CParamID parameterId, double normalized) = 0; // 5
    virtual AAX_Result PostCurrentValue (AAX_CParamID parameterId, double normalized) = 0;    // 6
    virtual AAX_Result PostTouchRequest (AAX_CParamID parameterId) = 0;                       // 7
    virtual AAX_Result PostReleaseRequest (AAX_CParamID parameterId) = 0;                     // 8
    virtual AAX_Result AutomationCall9 (AAX_CParamID parameterId, uint32_t* value) = 0;       // 9

protected:
    ~AAX_IACFAutomationDelegate() = default;
};
