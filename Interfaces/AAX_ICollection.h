#pragma once

#include "AAX.h"

class AAX_IDescriptionHost;
class AAX_IEffectDescriptor;
class AAX_IPropertyMap;
class IACFUnknown;

/** The plug-in's view of the host collection that a description fills. Descriptors and maps
    that it hands out belong to it. */
class AAX_ICollection
{
public:
    virtual ~AAX_ICollection() = default;

    virtual AAX_IEffectDescriptor* NewEffectDescriptor() = 0;                                   // 1
    virtual AAX_Result AddEffect (const char* effectId, AAX_IEffectDescriptor* descriptor) = 0; // 2
    virtual AAX_Result SetManufacturerName (const char* name) = 0;                              // 3
    virtual AAX_Result AddPackageName (const char* name) = 0;                                   // 4
    virtual AAX_Result SetPackageVersion (uint32_t version) = 0;                                // 5
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;                                             // 6
    virtual AAX_Result SetProperties (AAX_IPropertyMap* properties) = 0;                        // 7
    virtual AAX_IDescriptionHost* DescriptionHost() = 0;                                        // 8
    virtual const AAX_IDescriptionHost* DescriptionHost() const = 0;                            // 9
    virtual IACFUnknown* HostDefinition() const = 0;                                            // 10
};
