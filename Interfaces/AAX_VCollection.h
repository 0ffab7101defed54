#pragma once

#include "AAX_ICollection.h"
#include "AAX_VDescriptionHost.h"

#include <memory>
#include <vector>

class AAX_IACFCollection;
class AAX_VEffectDescriptor;
class AAX_VPropertyMap;
class IACFUnknown;

/** Forwards to the host's collection while a description is built, and owns every effect
    descriptor and property map made through it: deleting the collection frees the whole
    description. */
class AAX_VCollection final : public AAX_ICollection
{
public:
    /** Creates the host collection through the host unknown's object factory. */
    explicit AAX_VCollection (IACFUnknown* hostUnknown);
    ~AAX_VCollection() override;

    AAX_VCollection (const AAX_VCollection&) = delete;
    AAX_VCollection& operator= (const AAX_VCollection&) = delete;

    AAX_IEffectDescriptor* NewEffectDescriptor() override;
    AAX_Result AddEffect (const char* effectId, AAX_IEffectDescriptor* descriptor) override;
    AAX_Result SetManufacturerName (const char* name) override;
    AAX_Result AddPackageName (const char* name) override;
    AAX_Result SetPackageVersion (uint32_t version) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties (AAX_IPropertyMap* properties) override;
    AAX_IDescriptionHost* DescriptionHost() override;
    const AAX_IDescriptionHost* DescriptionHost() const override;
    IACFUnknown* HostDefinition() const override;

    /** The host's collection object, which registration hands back to the host; may be null. */
    IACFUnknown* HostObject() const noexcept;

private:
    IACFUnknown* mHostUnknown = nullptr;
    AAX_IACFCollection* mCollection = nullptr;
    AAX_VDescriptionHost mDescriptionHost;
    std::vector<std::unique_ptr<AAX_VEffectDescriptor>> mEffectDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
