#pragma once

#include "AAX_IACFHostServices_V3.h"
#include "HostComponent.h"

#include <memory>

class HostState;

/** The stand-in host's services: traces and assertion reports go to the host's log. */
class HostServices final : public HostComponent, public AAX_IACFHostServices_V3
{
public:
    explicit HostServices (std::shared_ptr<HostState> state);

    LARKSPUR_HOST_COMPONENT_UNKNOWN

    AAX_Result HostServicesCall3 (void* argument) override;
    AAX_Result Trace (uint32_t priority, const char* message) override;
    AAX_Result HostServicesCall5 (void* argument) override;
    AAX_Result ReportAssertion (const char* file, int32_t line, const char* expression, int32_t flags) override;

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    std::shared_ptr<HostState> state;
};
