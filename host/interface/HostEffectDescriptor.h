#pragma once

#include "AAX_IACFEffectDescriptor.h"
#include "HostComponent.h"
#include "HostComponentDescriptor.h"
#include "HostPropertyMap.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class HostState;

struct MeterRecord
{
    uint32_t meterId = 0;
    std::string name;
    PropertySnapshot properties;
};

/** The stand-in host's effect descriptor. It keeps the component descriptors added to it. */
class HostEffectDescriptor final : public HostComponent, public AAX_IACFEffectDescriptor_V2
{
public:
    explicit HostEffectDescriptor (std::shared_ptr<HostState> state);

    LARKSPUR_HOST_COMPONENT_UNKNOWN

    AAX_Result AddComponent (IACFUnknown* componentDescriptor) override;
    AAX_Result AddName (const char* name) override;
    AAX_Result AddCategory (uint32_t category) override;
    AAX_Result EffectCall6 (uint32_t first, uint32_t second) override;
    AAX_Result AddProcPtr (void* procedure, uint32_t procId) override;
    AAX_Result SetProperties (IACFUnknown* propertyMap) override;
    AAX_Result EffectCall9 (uint32_t type, const char* name) override;
    AAX_Result AddMeterDescription (uint32_t meterId, const char* name, IACFUnknown* propertyMap) override;
    AAX_Result EffectCall11 (const char* name, const void* data) override;

    std::vector<std::string> names;
    std::vector<uint32_t> categories;
    std::map<uint32_t, void*> procPointers;
    std::vector<HostReference<HostComponentDescriptor>> components;
    PropertySnapshot properties;
    std::vector<MeterRecord> meters;
    std::vector<std::string> otherCalls;

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    std::shared_ptr<HostState> state;
};
