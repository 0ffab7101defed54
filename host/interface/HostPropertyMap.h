#pragma once

#include "AAX_IACFPropertyMap.h"
#include "HostComponent.h"

#include <map>
#include <string>
#include <vector>

/** The properties a map held at one moment. */
struct PropertySnapshot
{
    std::map<AAX_EProperty, AAX_CPropertyValue> values;
    std::map<AAX_EProperty, const void*> pointers;
};

/** The stand-in host's property map. It offers the versions up to the one it was made with. */
class HostPropertyMap final : public HostComponent, public AAX_IACFPropertyMap_V3
{
public:
    explicit HostPropertyMap (int version);

    LARKSPUR_HOST_COMPONENT_UNKNOWN

    bool GetValue (AAX_EProperty id, AAX_CPropertyValue* value) override;
    AAX_Result AddProperty (AAX_EProperty id, AAX_CPropertyValue value) override;
    AAX_Result RemoveProperty (AAX_EProperty id) override;
    AAX_Result PropertyMapCall6 (AAX_EProperty id, const void* data) override;
    bool PropertyMapQuery7 (AAX_EProperty id, const void** data) override;
    bool GetPointerValue (AAX_EProperty id, const void** value) override;
    AAX_Result AddPointerProperty (AAX_EProperty id, const void* value) override;

    PropertySnapshot snapshot() const;
    std::vector<std::string> calls() const { return callLog; }

    /** The properties of a map this host made, or nothing for any other object. */
    static PropertySnapshot snapshotOf (IACFUnknown* map);

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    const int version;
    PropertySnapshot properties;
    std::vector<std::string> callLog;
};
