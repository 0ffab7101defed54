#include "AAX_VFeatureInfo.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFFeatureInfo.h"
#include "AAX_VPropertyMap.h"

AAX_VFeatureInfo::AAX_VFeatureInfo (const AAX_GUID& featureId, IACFUnknown* featureObject)
    : mFeatureId (featureId)
    , mFeatureInfo (AAX_QueryHostInterface<AAX_IACFFeatureInfo> (featureObject, AAX_IID_FeatureInfo))
{
}

AAX_VFeatureInfo::~AAX_VFeatureInfo()
{
    AAX_ReleaseHostInterface (mFeatureInfo);
}

AAX_Result AAX_VFeatureInfo::SupportLevel (int32_t* supportLevel) const
{
    return mFeatureInfo != nullptr ? mFeatureInfo->SupportLevel (supportLevel) : AAX_ERROR_NULL_OBJECT;
}

AAX_IPropertyMap* AAX_VFeatureInfo::AcquireProperties()
{
    if (mFeatureInfo == nullptr)
        return nullptr;

    IACFUnknown* properties = nullptr;
    const AAX_Result result = mFeatureInfo->AcquireProperties (&properties);
    AAX_IPropertyMap* map = nullptr;
    if (result == AAX_SUCCESS && properties != nullptr)
        map = AAX_VPropertyMap::Acquire (properties);
    AAX_ReleaseHostInterface (properties);
    return map;
}

const AAX_GUID* AAX_VFeatureInfo::FeatureId() const
{
    return &mFeatureId;
}
