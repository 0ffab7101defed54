#include "HostEffectDescriptor.h"

#include "AAX_DescriptionInterfaceIDs.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "HostState.h"

HostEffectDescriptor::HostEffectDescriptor (std::shared_ptr<HostState> hostState)
    : state (std::move (hostState))
{
}

void* HostEffectDescriptor::findInterface (const AAX_GUID& interfaceId) noexcept
{
    const int version = state->config.effectDescriptorVersion;
    if (interfaceId == IID_IACFUnknown)
        return static_cast<IACFUnknown*> (this);
    if (interfaceId == AAX_IID_EffectDescriptor && version >= 1)
        return static_cast<AAX_IACFEffectDescriptor*> (this);
    if (interfaceId == AAX_IID_EffectDescriptor_V2 && version >= 2)
        return static_cast<AAX_IACFEffectDescriptor_V2*> (this);
    return nullptr;
}

AAX_Result HostEffectDescriptor::AddComponent (IACFUnknown* componentDescriptor)
{
    auto* component = dynamic_cast<HostComponentDescriptor*> (componentDescriptor);
    if (component == nullptr)
        return AAX_ERROR_NULL_COMPONENT;
    components.push_back (HostReference<HostComponentDescriptor>::retain (component));
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddName (const char* name)
{
    if (name == nullptr || *name == '\0')
        return AAX_ERROR_EMPTY_EFFECT_NAME;
    names.emplace_back (name);
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddCategory (uint32_t category)
{
    categories.push_back (category);
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::EffectCall6 (uint32_t first, uint32_t second)
{
    otherCalls.push_back ("EffectCall6 " + std::to_string (first) + " " + std::to_string (second));
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddProcPtr (void* procedure, uint32_t procId)
{
    procPointers[procId] = procedure;
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::SetProperties (IACFUnknown* propertyMap)
{
    properties = HostPropertyMap::snapshotOf (propertyMap);
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::EffectCall9 (uint32_t type, const char* name)
{
    otherCalls.push_back ("EffectCall9 " + std::to_string (type) + " " + (name != nullptr ? name : ""));
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddMeterDescription (uint32_t meterId, const char* name, IACFUnknown* propertyMap)
{
    meters.push_back ({ meterId, name != nullptr ? name : "", HostPropertyMap::snapshotOf (propertyMap) });
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::EffectCall11 (const char* name, const void*)
{
    otherCalls.push_back (std::string ("EffectCall11 ") + (name != nullptr ? name : ""));
    return AAX_SUCCESS;
}
