#pragma once

#include "AAX.h"

/** The plug-in's view of the host's automation delegate: host parameters route every value change
    that starts inside the plug-in through it. The wrapper over the host's interface implements it.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() = default;

    /** 1 */
    virtual AAX_Result RegisterParameter (AAX_CParamID identifier) = 0;
    /** 2 */
    virtual AAX_Result UnregisterParameter (AAX_CParamID identifier) = 0;
    /** 3: asks the host to set the value; the host confirms later. */
    virtual AAX_Result RequestValue (AAX_CParamID identifier, double normalizedValue) = 0;
    /** 4: tells the host the value now in force. */
    virtual AAX_Result PostCurrentValue (AAX_CParamID identifier, double normalizedValue) = 0;
    /** 5: the start of a gesture. */
    virtual AAX_Result Touch (AAX_CParamID identifier) = 0;
    /** 6: the end of a gesture. */
    virtual AAX_Result Release (AAX_CParamID identifier) = 0;
    /** 7: a further delegate call that this plug-in does not make; forwarded unchanged. */
    virtual AAX_Result AutomationCall9 (AAX_CParamID identifier, void* argument) = 0;
};
