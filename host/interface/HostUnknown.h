#pragma once

#include "AAX_IACFDescriptionHost.h"
#include "AAX_IACFObjectFactory.h"
#include "HostComponent.h"

#include <memory>

class HostState;

/** The unknown the stand-in host hands to the plug-in: its object factory (services, collection,
    descriptors, property maps), its description host and its host definition. */
class HostUnknown final : public HostComponent, public AAX_IACFObjectFactory, public AAX_IACFDescriptionHost
{
public:
    explicit HostUnknown (std::shared_ptr<HostState> state);

    LARKSPUR_HOST_COMPONENT_UNKNOWN

    ACFRESULT CreateInstance (const AAX_GUID& classId, IACFUnknown* outer, const AAX_GUID& interfaceId,
                              void** out) override;
    AAX_Result AcquireFeatureProperties (const AAX_GUID& featureId, IACFUnknown** featureInfo) override;

    /** The pointer to hand to the plug-in's entry points. */
    IACFUnknown* asUnknown() noexcept { return static_cast<AAX_IACFObjectFactory*> (this); }

    HostState& hostState() noexcept { return *state; }

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    std::shared_ptr<HostState> state;
};
