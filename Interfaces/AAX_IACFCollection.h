#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's collection: receives the effects of a plug-in package. Places 3 to 6 belong to the
    host's general definition interface, which the plug-in does not use. */
class AAX_IACFCollection : public IACFUnknown
{
public:
    virtual ACFRESULT DefinitionCall3 (void* data) = 0;                                     // 3
    virtual ACFRESULT DefinitionCall4 (void* data) = 0;                                     // 4
    virtual ACFRESULT DefinitionCall5 (void* data) = 0;                                     // 5
    virtual ACFRESULT DefinitionCall6 (void* data) = 0;                                     // 6
    virtual AAX_Result AddEffect (const char* effectId, IACFUnknown* effectDescriptor) = 0; // 7
    virtual AAX_Result SetManufacturerName (const char* name) = 0;                          // 8
    virtual AAX_Result AddPackageName (const char* name) = 0;                               // 9
    virtual AAX_Result SetPackageVersion (uint32_t version) = 0;                            // 10
    virtual AAX_Result SetProperties (IACFUnknown* propertyMap) = 0;                        // 11

protected:
    ~AAX_IACFCollection() = default;
};
