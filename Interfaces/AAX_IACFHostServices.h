#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's services, version 1 (AAX_IID_HostServices), operations 3 and 4. */
class AAX_IACFHostServices : public IACFUnknown
{
public:
    /** 3: not called by this plug-in. */
    virtual AAX_Result HostServicesCall3 (void* argument) = 0;
    /** 4 */
    virtual AAX_Result Trace (uint32_t priority, const char* message) = 0;

protected:
    ~AAX_IACFHostServices() = default;
};
