#pragma once

#include "AAX_IACFHostServices_V2.h"

/** The host's services, version 3 (AAX_IID_HostServices_V3), operation 6. */
class AAX_IACFHostServices_V3 : public AAX_IACFHostServices_V2
{
public:
    /** 6 */
    virtual AAX_Result ReportAssertion (const char* file, int32_t line, const char* expression, int32_t flags) = 0;

protected:
    ~AAX_IACFHostServices_V3() = default;
};
