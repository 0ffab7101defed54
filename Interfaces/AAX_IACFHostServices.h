#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

// The host's services: trace output (version 1), a further service (version 2) and assertion
// reports (version 3).
class AAX_IACFHostServices : public IACFUnknown
{
public:
    // 3: an older form of assertion report that the plug-in does not use.
    virtual AAX_Result HostServicesCall3 (const char* file, int32_t line, const char* expression) = 0;
    // 4
    virtual AAX_Result Trace (uint32_t priority, const char* message) = 0;

protected:
    ~AAX_IACFHostServices() = default;
};

class AAX_IACFHostServices_V2 : public AAX_IACFHostServices
{
public:
    virtual AAX_Result HostServicesCall5 (void* argument) = 0; // 5

protected:
    ~AAX_IACFHostServices_V2() = default;
};

class AAX_IACFHostServices_V3 : public AAX_IACFHostServices_V2
{
public:
    // 6
    virtual AAX_Result HandleAssertionFailure (const char* file, int32_t line, const char* expression,
                                               int32_t flags) = 0;

protected:
    ~AAX_IACFHostServices_V3() = default;
};
