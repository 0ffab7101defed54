#pragma once

#include "AAX_IPropertyMap.h"

#include <map>

class AAX_IACFDescriptionHost;
class AAX_IACFPropertyMap;
class AAX_IACFPropertyMap_V2;
class AAX_IACFPropertyMap_V3;
class IACFUnknown;

/** Forwards to the versions of a host property map. Hosts without version 3 cannot hold
    pointer properties, so the procedure pointers (36 to 42) are then kept here for the manual
    registration of process procedures. */
class AAX_VPropertyMap final : public AAX_IPropertyMap
{
public:
    /** A new host map made through the host unknown's object factory; without a factory the map
        has no interfaces. */
    static AAX_VPropertyMap* Create (IACFUnknown* hostUnknown);
    /** A wrapper over an existing host map object (for example one a feature info answers). */
    static AAX_VPropertyMap* Acquire (IACFUnknown* hostMap);

    ~AAX_VPropertyMap() override;

    AAX_VPropertyMap (const AAX_VPropertyMap&) = delete;
    AAX_VPropertyMap& operator= (const AAX_VPropertyMap&) = delete;

    bool GetProperty (AAX_EProperty id, AAX_CPropertyValue* value) const override;
    bool GetPointerProperty (AAX_EProperty id, const void** value) const override;
    AAX_Result AddProperty (AAX_EProperty id, AAX_CPropertyValue value) override;
    AAX_Result AddPointerProperty (AAX_EProperty id, const char* value) override;
    AAX_Result AddPointerProperty (AAX_EProperty id, const void* value) override;
    AAX_Result RemoveProperty (AAX_EProperty id) override;
    AAX_Result PropertyMapCall6 (AAX_EProperty id, const void* data) override;
    bool PropertyMapQuery7 (AAX_EProperty id, const void** data) const override;
    IACFUnknown* HostObject() const override;

    /** Returns the host map object of any property map made by this layer, or null. */
    static IACFUnknown* HostObjectOf (AAX_IPropertyMap* map);

private:
    AAX_VPropertyMap() = default;

    AAX_IACFPropertyMap* mMap = nullptr;
    AAX_IACFPropertyMap_V2* mMapV2 = nullptr;
    AAX_IACFPropertyMap_V3* mMapV3 = nullptr;
    AAX_IACFDescriptionHost* mDescriptionHost = nullptr;
    std::map<AAX_EProperty, const void*> mPointerProperties;
};
