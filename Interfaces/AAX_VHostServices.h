#pragma once

#include "AAX_IHostServices.h"

class AAX_IACFHostServices;
class AAX_IACFHostServices_V2;
class AAX_IACFHostServices_V3;
class IACFUnknown;

/** Forwards trace output and assertion reports to the host's services. One instance per
    process, made at start-up and deleted at shut-down (Set). */
class AAX_VHostServices final : public AAX_IHostServices
{
public:
    /** Creates the three versions through the host unknown's object factory. */
    explicit AAX_VHostServices (IACFUnknown* hostUnknown);
    ~AAX_VHostServices() override;

    AAX_VHostServices (const AAX_VHostServices&) = delete;
    AAX_VHostServices& operator= (const AAX_VHostServices&) = delete;

    /** With a host unknown: makes the process-wide instance unless one exists (the first stays).
        With null: deletes the instance. Not re-entrant; called from the host's main thread. */
    static void Set (IACFUnknown* hostUnknown);

    AAX_Result ReportAssertion (const char* file, int32_t line, const char* expression, int32_t flags) override;
    AAX_Result Trace (uint32_t priority, const char* message) override;
    AAX_Result HostServicesCall5 (void* argument) override;

private:
    AAX_IACFHostServices* mServices = nullptr;
    AAX_IACFHostServices_V2* mServicesV2 = nullptr;
    AAX_IACFHostServices_V3* mServicesV3 = nullptr;
};
