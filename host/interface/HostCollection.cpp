#include "HostCollection.h"

#include "AAX_DescriptionInterfaceIDs.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "HostState.h"

HostCollection::HostCollection (std::shared_ptr<HostState> hostState)
    : state (std::move (hostState))
{
}

void* HostCollection::findInterface (const AAX_GUID& interfaceId) noexcept
{
    if (interfaceId == IID_IACFUnknown || interfaceId == AAX_IID_Collection)
        return static_cast<AAX_IACFCollection*> (this);
    // The plug-in definition the host gets back from registration.
    if (interfaceId == AAX_IID_PluginDefinition && state->config.pluginDefinition)
        return static_cast<AAX_IACFCollection*> (this);
    return nullptr;
}

ACFRESULT HostCollection::DefinitionCall3 (void*)
{
    return ACF_OK;
}

ACFRESULT HostCollection::DefinitionCall4 (void*)
{
    return ACF_OK;
}

ACFRESULT HostCollection::DefinitionCall5 (void*)
{
    return ACF_OK;
}

ACFRESULT HostCollection::DefinitionCall6 (void*)
{
    return ACF_OK;
}

AAX_Result HostCollection::AddEffect (const char* effectId, IACFUnknown* effectDescriptor)
{
    auto* effect = dynamic_cast<HostEffectDescriptor*> (effectDescriptor);
    if (effect == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const std::string id = effectId != nullptr ? effectId : "";
    for (const auto& existing : effects)
        if (existing.first == id)
            return AAX_ERROR_DUPLICATE_EFFECT_ID;
    effects.emplace_back (id, HostReference<HostEffectDescriptor>::retain (effect));
    return AAX_SUCCESS;
}

AAX_Result HostCollection::SetManufacturerName (const char* name)
{
    manufacturerName = name != nullptr ? name : "";
    return AAX_SUCCESS;
}

AAX_Result HostCollection::AddPackageName (const char* name)
{
    packageNames.emplace_back (name != nullptr ? name : "");
    return AAX_SUCCESS;
}

AAX_Result HostCollection::SetPackageVersion (uint32_t version)
{
    packageVersion = version;
    return AAX_SUCCESS;
}

AAX_Result HostCollection::SetProperties (IACFUnknown* propertyMap)
{
    properties = HostPropertyMap::snapshotOf (propertyMap);
    return AAX_SUCCESS;
}
