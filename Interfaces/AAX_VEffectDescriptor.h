#pragma once

#include "AAX_IEffectDescriptor.h"

#include <memory>
#include <vector>

class AAX_IACFEffectDescriptor;
class AAX_IACFEffectDescriptor_V2;
class AAX_VComponentDescriptor;
class AAX_VPropertyMap;
class IACFUnknown;

/** Forwards to the versions of a host effect descriptor and owns the component descriptors and
    property maps it makes. */
class AAX_VEffectDescriptor final : public AAX_IEffectDescriptor
{
public:
    /** Creates the host descriptor through the host unknown's object factory. */
    explicit AAX_VEffectDescriptor (IACFUnknown* hostUnknown);
    ~AAX_VEffectDescriptor() override;

    AAX_VEffectDescriptor (const AAX_VEffectDescriptor&) = delete;
    AAX_VEffectDescriptor& operator= (const AAX_VEffectDescriptor&) = delete;

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    AAX_Result AddComponent (AAX_IComponentDescriptor* componentDescriptor) override;
    AAX_Result AddName (const char* name) override;
    AAX_Result AddCategory (uint32_t category) override;
    AAX_Result EffectCall6 (uint32_t first, uint32_t second) override;
    AAX_Result AddProcPointer (void* procedure, uint32_t procId) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties (AAX_IPropertyMap* properties) override;
    AAX_Result EffectCall9 (uint32_t type, const char* name) override;
    AAX_Result AddMeterDescription (uint32_t meterId, const char* name, AAX_IPropertyMap* properties) override;
    AAX_Result EffectCall11 (const char* name, const void* data) override;

    /** The version-1 host object handed to the collection, or null. */
    IACFUnknown* HostObject() const noexcept;

private:
    IACFUnknown* mHostUnknown = nullptr;
    AAX_IACFEffectDescriptor* mDescriptor = nullptr;
    AAX_IACFEffectDescriptor_V2* mDescriptorV2 = nullptr;
    std::vector<std::unique_ptr<AAX_VComponentDescriptor>> mComponentDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
