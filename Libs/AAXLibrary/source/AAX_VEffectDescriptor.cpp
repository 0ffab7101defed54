#include "AAX_VEffectDescriptor.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFEffectDescriptor.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"

AAX_VEffectDescriptor::AAX_VEffectDescriptor (IACFUnknown* hostUnknown)
    : mHostUnknown (AAX_RetainHostInterface (hostUnknown))
{
    auto* factory = AAX_QueryHostInterface<AAX_IACFObjectFactory> (hostUnknown, AAX_IID_ObjectFactory);
    mDescriptor =
        AAX_CreateHostObject<AAX_IACFEffectDescriptor> (factory, AAX_CLSID_EffectDescriptor, AAX_IID_EffectDescriptor);
    mDescriptorV2 = AAX_QueryHostInterface<AAX_IACFEffectDescriptor_V2> (mDescriptor, AAX_IID_EffectDescriptor_V2);
    AAX_ReleaseHostInterface (factory);
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor()
{
    mComponentDescriptors.clear();
    mPropertyMaps.clear();
    AAX_ReleaseHostInterface (mDescriptorV2);
    AAX_ReleaseHostInterface (mDescriptor);
    AAX_ReleaseHostInterface (mHostUnknown);
}

IACFUnknown* AAX_VEffectDescriptor::HostObject() const noexcept
{
    return mDescriptor;
}

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    mComponentDescriptors.push_back (std::make_unique<AAX_VComponentDescriptor> (mHostUnknown));
    return mComponentDescriptors.back().get();
}

AAX_Result AAX_VEffectDescriptor::AddComponent (AAX_IComponentDescriptor* componentDescriptor)
{
    if (mDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    auto* component = dynamic_cast<AAX_VComponentDescriptor*> (componentDescriptor);
    return mDescriptor->AddComponent (component != nullptr ? component->HostObject() : nullptr);
}

AAX_Result AAX_VEffectDescriptor::AddName (const char* name)
{
    return mDescriptor != nullptr ? mDescriptor->AddName (name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddCategory (uint32_t category)
{
    return mDescriptor != nullptr ? mDescriptor->AddCategory (category) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::EffectCall6 (uint32_t first, uint32_t second)
{
    return mDescriptor != nullptr ? mDescriptor->EffectCall6 (first, second) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddProcPointer (void* procedure, uint32_t procId)
{
    return mDescriptor != nullptr ? mDescriptor->AddProcPtr (procedure, procId) : AAX_ERROR_NULL_OBJECT;
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    mPropertyMaps.emplace_back (AAX_VPropertyMap::Create (mHostUnknown));
    return mPropertyMaps.back().get();
}

AAX_Result AAX_VEffectDescriptor::SetProperties (AAX_IPropertyMap* properties)
{
    return mDescriptor != nullptr ? mDescriptor->SetProperties (AAX_VPropertyMap::HostObjectOf (properties))
                                  : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::EffectCall9 (uint32_t type, const char* name)
{
    return mDescriptor != nullptr ? mDescriptor->EffectCall9 (type, name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddMeterDescription (uint32_t meterId, const char* name, AAX_IPropertyMap* properties)
{
    return mDescriptor != nullptr
               ? mDescriptor->AddMeterDescription (meterId, name, AAX_VPropertyMap::HostObjectOf (properties))
               : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::EffectCall11 (const char* name, const void* data)
{
    return mDescriptorV2 != nullptr ? mDescriptorV2->EffectCall11 (name, data) : AAX_ERROR_UNIMPLEMENTED;
}
