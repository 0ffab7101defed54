#pragma once

#include "AAX_IFeatureInfo.h"

class AAX_IACFFeatureInfo;
class IACFUnknown;

/** Forwards to the host's answer about one feature. Belongs to whoever acquired it. */
class AAX_VFeatureInfo final : public AAX_IFeatureInfo
{
public:
    /** Keeps a copy of the identifier and asks the object for its feature-info interface. */
    AAX_VFeatureInfo (const AAX_GUID& featureId, IACFUnknown* featureObject);
    ~AAX_VFeatureInfo() override;

    AAX_VFeatureInfo (const AAX_VFeatureInfo&) = delete;
    AAX_VFeatureInfo& operator= (const AAX_VFeatureInfo&) = delete;

    AAX_Result SupportLevel (int32_t* supportLevel) const override;
    AAX_IPropertyMap* AcquireProperties() override;
    const AAX_GUID* FeatureId() const override;

private:
    AAX_GUID mFeatureId;
    AAX_IACFFeatureInfo* mFeatureInfo = nullptr;
};
