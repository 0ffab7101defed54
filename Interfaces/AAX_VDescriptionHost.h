#pragma once

#include "AAX_IDescriptionHost.h"

class AAX_IACFDescriptionHost;
class IACFUnknown;

/** Forwards to the host's description host while a description is built. */
class AAX_VDescriptionHost final : public AAX_IDescriptionHost
{
public:
    /** Asks the host unknown for the description host and the host definition. */
    explicit AAX_VDescriptionHost (IACFUnknown* hostUnknown);
    ~AAX_VDescriptionHost() override;

    AAX_VDescriptionHost (const AAX_VDescriptionHost&) = delete;
    AAX_VDescriptionHost& operator= (const AAX_VDescriptionHost&) = delete;

    AAX_IFeatureInfo* AcquireFeatureInfo (const AAX_GUID& featureId) const override;

    bool Supported() const noexcept { return mDescriptionHost != nullptr; }
    IACFUnknown* HostDefinition() const noexcept { return mHostDefinition; }

private:
    AAX_IACFDescriptionHost* mDescriptionHost = nullptr;
    IACFUnknown* mHostDefinition = nullptr;
};
