#include "HostServices.h"

#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "HostState.h"

HostServices::HostServices (std::shared_ptr<HostState> hostState)
    : state (std::move (hostState))
{
}

void* HostServices::findInterface (const AAX_GUID& interfaceId) noexcept
{
    const int version = state->config.hostServicesVersion;
    if (interfaceId == IID_IACFUnknown)
        return static_cast<IACFUnknown*> (this);
    if (interfaceId == AAX_IID_HostServices && version >= 1)
        return static_cast<AAX_IACFHostServices*> (this);
    if (interfaceId == AAX_IID_HostServices_V2 && version >= 2)
        return static_cast<AAX_IACFHostServices_V2*> (this);
    if (interfaceId == AAX_IID_HostServices_V3 && version >= 3)
        return static_cast<AAX_IACFHostServices_V3*> (this);
    return nullptr;
}

AAX_Result HostServices::HostServicesCall3 (void*)
{
    return AAX_SUCCESS;
}

AAX_Result HostServices::Trace (uint32_t priority, const char* message)
{
    state->log.addTrace (priority, message);
    return AAX_SUCCESS;
}

AAX_Result HostServices::HostServicesCall5 (void*)
{
    return AAX_SUCCESS;
}

AAX_Result HostServices::ReportAssertion (const char* file, int32_t line, const char* expression, int32_t flags)
{
    state->log.addAssertion (file, line, expression, flags);
    return AAX_SUCCESS;
}
