#pragma once

#include "AAX_IACFFeatureInfo.h"
#include "HostComponent.h"

#include <memory>

class HostState;

/** The stand-in host's answer about any feature: supported, with an empty property map. */
class HostFeatureInfo final : public HostComponent, public AAX_IACFFeatureInfo
{
public:
    explicit HostFeatureInfo (std::shared_ptr<HostState> state);

    LARKSPUR_HOST_COMPONENT_UNKNOWN

    AAX_Result SupportLevel (int32_t* supportLevel) override;
    AAX_Result AcquireProperties (IACFUnknown** properties) override;

    /** The level answered for every feature. */
    static constexpr int32_t supported = 1;

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    std::shared_ptr<HostState> state;
};
