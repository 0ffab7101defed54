#include "HostPropertyMap.h"

#include "AAX_DescriptionInterfaceIDs.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"

HostPropertyMap::HostPropertyMap (int mapVersion)
    : version (mapVersion)
{
}

void* HostPropertyMap::findInterface (const AAX_GUID& interfaceId) noexcept
{
    if (interfaceId == IID_IACFUnknown)
        return static_cast<IACFUnknown*> (this);
    if (interfaceId == AAX_IID_PropertyMap && version >= 1)
        return static_cast<AAX_IACFPropertyMap*> (this);
    if (interfaceId == AAX_IID_PropertyMap_V2 && version >= 2)
        return static_cast<AAX_IACFPropertyMap_V2*> (this);
    if (interfaceId == AAX_IID_PropertyMap_V3 && version >= 3)
        return static_cast<AAX_IACFPropertyMap_V3*> (this);
    return nullptr;
}

bool HostPropertyMap::GetValue (AAX_EProperty id, AAX_CPropertyValue* value)
{
    const auto found = properties.values.find (id);
    if (found == properties.values.end())
        return false;
    if (value != nullptr)
        *value = found->second;
    return true;
}

AAX_Result HostPropertyMap::AddProperty (AAX_EProperty id, AAX_CPropertyValue value)
{
    properties.values[id] = value;
    return AAX_SUCCESS;
}

AAX_Result HostPropertyMap::RemoveProperty (AAX_EProperty id)
{
    properties.values.erase (id);
    properties.pointers.erase (id);
    return AAX_SUCCESS;
}

AAX_Result HostPropertyMap::PropertyMapCall6 (AAX_EProperty id, const void*)
{
    callLog.push_back ("PropertyMapCall6 " + std::to_string (id));
    return AAX_SUCCESS;
}

bool HostPropertyMap::PropertyMapQuery7 (AAX_EProperty id, const void**)
{
    callLog.push_back ("PropertyMapQuery7 " + std::to_string (id));
    return true;
}

bool HostPropertyMap::GetPointerValue (AAX_EProperty id, const void** value)
{
    const auto found = properties.pointers.find (id);
    if (found == properties.pointers.end())
        return false;
    if (value != nullptr)
        *value = found->second;
    return true;
}

AAX_Result HostPropertyMap::AddPointerProperty (AAX_EProperty id, const void* value)
{
    properties.pointers[id] = value;
    return AAX_SUCCESS;
}

PropertySnapshot HostPropertyMap::snapshot() const
{
    return properties;
}

PropertySnapshot HostPropertyMap::snapshotOf (IACFUnknown* map)
{
    if (auto* hostMap = dynamic_cast<HostPropertyMap*> (map))
        return hostMap->snapshot();
    return {};
}
