#include "HostUnknown.h"

#include "AAX_DescriptionInterfaceIDs.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "HostCollection.h"
#include "HostComponentDescriptor.h"
#include "HostEffectDescriptor.h"
#include "HostFeatureInfo.h"
#include "HostPropertyMap.h"
#include "HostServices.h"
#include "HostState.h"

HostUnknown::HostUnknown (std::shared_ptr<HostState> hostState)
    : state (std::move (hostState))
{
}

void* HostUnknown::findInterface (const AAX_GUID& interfaceId) noexcept
{
    const HostConfiguration& config = state->config;
    if (interfaceId == IID_IACFUnknown)
        return asUnknown();
    if (interfaceId == AAX_IID_ObjectFactory && config.objectFactory)
        return static_cast<AAX_IACFObjectFactory*> (this);
    if (interfaceId == AAX_IID_DescriptionHost && config.descriptionHost)
        return static_cast<AAX_IACFDescriptionHost*> (this);
    if (interfaceId == AAX_IID_HostDefinition && config.hostDefinition)
        return asUnknown();
    return nullptr;
}

ACFRESULT HostUnknown::CreateInstance (const AAX_GUID& classId, IACFUnknown* outer, const AAX_GUID& interfaceId,
                                       void** out)
{
    if (out == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *out = nullptr;
    if (outer != nullptr)
        return ACF_E_NOINTERFACE;

    HostComponent* created = nullptr;
    const char* className = nullptr;
    if (classId == AAX_CLSID_HostServices)
    {
        created = new HostServices (state);
        className = "host services";
    }
    else if (classId == AAX_CLSID_Collection)
    {
        created = new HostCollection (state);
        className = "collection";
    }
    else if (classId == AAX_CLSID_EffectDescriptor)
    {
        created = new HostEffectDescriptor (state);
        className = "effect descriptor";
    }
    else if (classId == AAX_CLSID_ComponentDescriptor)
    {
        created = new HostComponentDescriptor (state);
        className = "component descriptor";
    }
    else if (classId == AAX_CLSID_PropertyMap)
    {
        created = new HostPropertyMap (state->config.propertyMapVersion);
        className = "property map";
    }
    else
    {
        return ACF_E_NOINTERFACE;
    }

    const ACFRESULT result = created->queryInterface (interfaceId, out);
    if (result == ACF_OK)
        state->countCreation (className);
    created->releaseReference();
    return result;
}

// Every feature is answered alike.
AAX_Result HostUnknown::AcquireFeatureProperties (const AAX_GUID&, IACFUnknown** featureInfo)
{
    if (featureInfo == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *featureInfo = static_cast<AAX_IACFFeatureInfo*> (new HostFeatureInfo (state));
    return AAX_SUCCESS;
}
