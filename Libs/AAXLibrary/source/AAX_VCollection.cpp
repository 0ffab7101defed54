#include "AAX_VCollection.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFCollection.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"

namespace
{
AAX_IACFCollection* createHostCollection (IACFUnknown* hostUnknown)
{
    auto* factory = AAX_QueryHostInterface<AAX_IACFObjectFactory> (hostUnknown, AAX_IID_ObjectFactory);
    auto* collection = AAX_CreateHostObject<AAX_IACFCollection> (factory, AAX_CLSID_Collection, AAX_IID_Collection);
    AAX_ReleaseHostInterface (factory);
    return collection;
}
} // namespace

AAX_VCollection::AAX_VCollection (IACFUnknown* hostUnknown)
    : mHostUnknown (AAX_RetainHostInterface (hostUnknown))
    , mCollection (createHostCollection (hostUnknown))
    , mDescriptionHost (hostUnknown)
{
}

AAX_VCollection::~AAX_VCollection()
{
    mEffectDescriptors.clear();
    mPropertyMaps.clear();
    AAX_ReleaseHostInterface (mCollection);
    AAX_ReleaseHostInterface (mHostUnknown);
}

IACFUnknown* AAX_VCollection::HostObject() const noexcept
{
    return mCollection;
}

AAX_IEffectDescriptor* AAX_VCollection::NewEffectDescriptor()
{
    mEffectDescriptors.push_back (std::make_unique<AAX_VEffectDescriptor> (mHostUnknown));
    return mEffectDescriptors.back().get();
}

AAX_Result AAX_VCollection::AddEffect (const char* effectId, AAX_IEffectDescriptor* descriptor)
{
    auto* effect = dynamic_cast<AAX_VEffectDescriptor*> (descriptor);
    if (mCollection == nullptr || effect == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mCollection->AddEffect (effectId, effect->HostObject());
}

AAX_Result AAX_VCollection::SetManufacturerName (const char* name)
{
    return mCollection != nullptr ? mCollection->SetManufacturerName (name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VCollection::AddPackageName (const char* name)
{
    return mCollection != nullptr ? mCollection->AddPackageName (name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VCollection::SetPackageVersion (uint32_t version)
{
    return mCollection != nullptr ? mCollection->SetPackageVersion (version) : AAX_ERROR_NULL_OBJECT;
}

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    mPropertyMaps.emplace_back (AAX_VPropertyMap::Create (mHostUnknown));
    return mPropertyMaps.back().get();
}

AAX_Result AAX_VCollection::SetProperties (AAX_IPropertyMap* properties)
{
    return mCollection != nullptr ? mCollection->SetProperties (AAX_VPropertyMap::HostObjectOf (properties))
                                  : AAX_ERROR_NULL_OBJECT;
}

AAX_IDescriptionHost* AAX_VCollection::DescriptionHost()
{
    return mDescriptionHost.Supported() ? &mDescriptionHost : nullptr;
}

const AAX_IDescriptionHost* AAX_VCollection::DescriptionHost() const
{
    return mDescriptionHost.Supported() ? &mDescriptionHost : nullptr;
}

IACFUnknown* AAX_VCollection::HostDefinition() const
{
    return mDescriptionHost.HostDefinition();
}
