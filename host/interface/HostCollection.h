#pragma once

#include "AAX_IACFCollection.h"
#include "HostComponent.h"
#include "HostEffectDescriptor.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class HostState;

/** The stand-in host's collection: what a plug-in package described. Registration hands it back
    to the host as the plug-in definition. */
class HostCollection final : public HostComponent, public AAX_IACFCollection
{
public:
    explicit HostCollection (std::shared_ptr<HostState> state);

    LARKSPUR_HOST_COMPONENT_UNKNOWN

    ACFRESULT DefinitionCall3 (void* data) override;
    ACFRESULT DefinitionCall4 (void* data) override;
    ACFRESULT DefinitionCall5 (void* data) override;
    ACFRESULT DefinitionCall6 (void* data) override;
    AAX_Result AddEffect (const char* effectId, IACFUnknown* effectDescriptor) override;
    AAX_Result SetManufacturerName (const char* name) override;
    AAX_Result AddPackageName (const char* name) override;
    AAX_Result SetPackageVersion (uint32_t version) override;
    AAX_Result SetProperties (IACFUnknown* propertyMap) override;

    std::string manufacturerName;
    std::vector<std::string> packageNames;
    uint32_t packageVersion = 0;
    std::vector<std::pair<std::string, HostReference<HostEffectDescriptor>>> effects;
    PropertySnapshot properties;

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    std::shared_ptr<HostState> state;
};
