#include "HostFeatureInfo.h"

#include "AAX_DescriptionInterfaceIDs.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "HostPropertyMap.h"
#include "HostState.h"

HostFeatureInfo::HostFeatureInfo (std::shared_ptr<HostState> hostState)
    : state (std::move (hostState))
{
}

void* HostFeatureInfo::findInterface (const AAX_GUID& interfaceId) noexcept
{
    if (interfaceId == IID_IACFUnknown || interfaceId == AAX_IID_FeatureInfo)
        return static_cast<AAX_IACFFeatureInfo*> (this);
    return nullptr;
}

AAX_Result HostFeatureInfo::SupportLevel (int32_t* supportLevel)
{
    if (supportLevel == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *supportLevel = supported;
    return AAX_SUCCESS;
}

AAX_Result HostFeatureInfo::AcquireProperties (IACFUnknown** properties)
{
    if (properties == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *properties = static_cast<AAX_IACFPropertyMap_V3*> (new HostPropertyMap (state->config.propertyMapVersion));
    return AAX_SUCCESS;
}
