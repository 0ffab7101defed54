#include "AAX_VDescriptionHost.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFDescriptionHost.h"
#include "AAX_VFeatureInfo.h"

AAX_VDescriptionHost::AAX_VDescriptionHost (IACFUnknown* hostUnknown)
    : mDescriptionHost (AAX_QueryHostInterface<AAX_IACFDescriptionHost> (hostUnknown, AAX_IID_DescriptionHost))
    , mHostDefinition (AAX_QueryHostInterface<IACFUnknown> (hostUnknown, AAX_IID_HostDefinition))
{
}

AAX_VDescriptionHost::~AAX_VDescriptionHost()
{
    AAX_ReleaseHostInterface (mHostDefinition);
    AAX_ReleaseHostInterface (mDescriptionHost);
}

AAX_IFeatureInfo* AAX_VDescriptionHost::AcquireFeatureInfo (const AAX_GUID& featureId) const
{
    if (mDescriptionHost == nullptr)
        return nullptr;

    IACFUnknown* featureObject = nullptr;
    const AAX_Result result = mDescriptionHost->AcquireFeatureProperties (featureId, &featureObject);
    AAX_IFeatureInfo* info = nullptr;
    if (result == AAX_SUCCESS && featureObject != nullptr)
        info = new AAX_VFeatureInfo (featureId, featureObject);
    AAX_ReleaseHostInterface (featureObject);
    return info;
}
