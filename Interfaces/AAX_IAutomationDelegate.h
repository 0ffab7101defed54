#pragma once

#include "AAX.h"

// The plug-in's view of the host's automation delegate, through which parameter changes that
// start inside the plug-in reach the host as touch, value request and release.
class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() = default;

    virtual AAX_Result RegisterParameter (AAX_CParamID parameterId) = 0;                   // 1
    virtual AAX_Result UnregisterParameter (AAX_CParamID parameterId) = 0;                 // 2
    virtual AAX_Result RequestValue (AAX_CParamID parameterId, double normalized) = 0;     // 3
    virtual AAX_Result PostCurrentValue (AAX_CParamID parameterId, double normalized) = 0; // 4
    virtual AAX_Result Touch (AAX_CParamID parameterId) = 0;                               // 5
    virtual AAX_Result Release (AAX_CParamID parameterId) = 0;                             // 6
    virtual AAX_Result AutomationCall7 (AAX_CParamID parameterId, uint32_t* value) = 0;    // 7
};
