#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's effect descriptor, versions 1 and 2. */
class AAX_IACFEffectDescriptor : public IACFUnknown
{
public:
    virtual AAX_Result AddComponent (IACFUnknown* componentDescriptor) = 0;                                    // 3
    virtual AAX_Result AddName (const char* name) = 0;                                                         // 4
    virtual AAX_Result AddCategory (uint32_t category) = 0;                                                    // 5
    virtual AAX_Result EffectCall6 (uint32_t first, uint32_t second) = 0;                                      // 6
    virtual AAX_Result AddProcPtr (void* procedure, uint32_t procId) = 0;                                      // 7
    virtual AAX_Result SetProperties (IACFUnknown* propertyMap) = 0;                                           // 8
    virtual AAX_Result EffectCall9 (uint32_t type, const char* name) = 0;                                      // 9
    virtual AAX_Result AddMeterDescription (uint32_t meterId, const char* name, IACFUnknown* propertyMap) = 0; // 10

protected:
    ~AAX_IACFEffectDescriptor() = default;
};

class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor
{
public:
    virtual AAX_Result EffectCall11 (const char* name, const void* data) = 0; // 11

protected:
    ~AAX_IACFEffectDescriptor_V2() = default;
};
