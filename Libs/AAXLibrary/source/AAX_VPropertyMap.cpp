#include "AAX_VPropertyMap.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFDescriptionHost.h"
#include "AAX_IACFPropertyMap.h"

namespace
{
bool isLocalPointerProperty (AAX_EProperty id)
{
    return id >= AAX_eProperty_NativeProcessProc && id <= AAX_eProperty_TIBackgroundProc;
}

// Hosts without a description host know only the stem formats that existed before it.
bool isStemFormatUnknownToOlderHosts (AAX_EProperty id, AAX_CPropertyValue value)
{
    if (id != AAX_eProperty_InputStemFormat && id != AAX_eProperty_OutputStemFormat)
        return false;
    if (value == AAX_eStemFormat_None || value == AAX_eStemFormat_Any)
        return false;
    return (value >> 16) >= AAX_eStemFormatIndex_FirstNewer;
}
} // namespace

AAX_VPropertyMap* AAX_VPropertyMap::Create (IACFUnknown* hostUnknown)
{
    auto* map = new AAX_VPropertyMap();
    auto* factory = AAX_QueryHostInterface<AAX_IACFObjectFactory> (hostUnknown, AAX_IID_ObjectFactory);
    if (factory == nullptr)
        return map;

    map->mMap = AAX_CreateHostObject<AAX_IACFPropertyMap> (factory, AAX_CLSID_PropertyMap, AAX_IID_PropertyMap);
    map->mMapV2 = AAX_QueryHostInterface<AAX_IACFPropertyMap_V2> (map->mMap, AAX_IID_PropertyMap_V2);
    map->mMapV3 = AAX_QueryHostInterface<AAX_IACFPropertyMap_V3> (map->mMap, AAX_IID_PropertyMap_V3);

    IACFUnknown* const descriptionHostSources[] = { hostUnknown, factory, map->mMapV2, map->mMapV3, map->mMap };
    for (IACFUnknown* source : descriptionHostSources)
    {
        map->mDescriptionHost = AAX_QueryHostInterface<AAX_IACFDescriptionHost> (source, AAX_IID_DescriptionHost);
        if (map->mDescriptionHost != nullptr)
            break;
    }

    AAX_ReleaseHostInterface (factory);
    return map;
}

AAX_VPropertyMap* AAX_VPropertyMap::Acquire (IACFUnknown* hostMap)
{
    auto* map = new AAX_VPropertyMap();
    map->mMap = AAX_QueryHostInterface<AAX_IACFPropertyMap> (hostMap, AAX_IID_PropertyMap);
    map->mMapV2 = AAX_QueryHostInterface<AAX_IACFPropertyMap_V2> (hostMap, AAX_IID_PropertyMap_V2);
    map->mMapV3 = AAX_QueryHostInterface<AAX_IACFPropertyMap_V3> (hostMap, AAX_IID_PropertyMap_V3);
    return map;
}

AAX_VPropertyMap::~AAX_VPropertyMap()
{
    AAX_ReleaseHostInterface (mDescriptionHost);
    AAX_ReleaseHostInterface (mMapV3);
    AAX_ReleaseHostInterface (mMapV2);
    AAX_ReleaseHostInterface (mMap);
}

bool AAX_VPropertyMap::GetProperty (AAX_EProperty id, AAX_CPropertyValue* value) const
{
    return mMap != nullptr && mMap->GetValue (id, value);
}

bool AAX_VPropertyMap::GetPointerProperty (AAX_EProperty id, const void** value) const
{
    if (mMapV3 != nullptr)
        return mMapV3->GetPointerValue (id, value);

    const auto found = mPointerProperties.find (id);
    if (found == mPointerProperties.end())
        return false;
    if (value != nullptr)
        *value = found->second;
    return true;
}

AAX_Result AAX_VPropertyMap::AddProperty (AAX_EProperty id, AAX_CPropertyValue value)
{
    if (mDescriptionHost == nullptr && isStemFormatUnknownToOlderHosts (id, value))
        return AAX_ERROR_PROPERTY_UNDEFINED;
    return mMap != nullptr ? mMap->AddProperty (id, value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VPropertyMap::AddPointerProperty (AAX_EProperty id, const char* value)
{
    return AddPointerProperty (id, static_cast<const void*> (value));
}

AAX_Result AAX_VPropertyMap::AddPointerProperty (AAX_EProperty id, const void* value)
{
    if (mMapV3 != nullptr)
        return mMapV3->AddPointerProperty (id, value);

    if (! isLocalPointerProperty (id))
        return AAX_ERROR_UNIMPLEMENTED;
    mPointerProperties[id] = value;
    return AAX_SUCCESS;
}

AAX_Result AAX_VPropertyMap::RemoveProperty (AAX_EProperty id)
{
    return mMap != nullptr ? mMap->RemoveProperty (id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VPropertyMap::PropertyMapCall6 (AAX_EProperty id, const void* data)
{
    return mMapV2 != nullptr ? mMapV2->PropertyMapCall6 (id, data) : AAX_ERROR_UNIMPLEMENTED;
}

bool AAX_VPropertyMap::PropertyMapQuery7 (AAX_EProperty id, const void** data) const
{
    return mMapV2 != nullptr && mMapV2->PropertyMapQuery7 (id, data);
}

IACFUnknown* AAX_VPropertyMap::HostObject() const
{
    if (mMapV3 != nullptr)
        return mMapV3;
    if (mMapV2 != nullptr)
        return mMapV2;
    return mMap;
}

IACFUnknown* AAX_VPropertyMap::HostObjectOf (AAX_IPropertyMap* map)
{
    return map != nullptr ? map->HostObject() : nullptr;
}
