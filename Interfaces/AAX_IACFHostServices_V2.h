#pragma once

#include "AAX_IACFHostServices.h"

/** The host's services, version 2 (AAX_IID_HostServices_V2), operation 5. */
class AAX_IACFHostServices_V2 : public AAX_IACFHostServices
{
public:
    /** 5: not called by this plug-in. */
    virtual AAX_Result HostServicesCall5 (void* argument) = 0;

protected:
    ~AAX_IACFHostServices_V2() = default;
};
