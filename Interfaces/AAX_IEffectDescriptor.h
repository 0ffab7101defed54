#pragma once

#include "AAX.h"

class AAX_IComponentDescriptor;
class AAX_IPropertyMap;

/** The plug-in's view of one effect's descriptor. Component descriptors and maps that it hands
    out belong to it.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_IEffectDescriptor
{
public:
    virtual ~AAX_IEffectDescriptor() = default;

    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;                                                // 1
    virtual AAX_Result AddComponent (AAX_IComponentDescriptor* componentDescriptor) = 0;                           // 2
    virtual AAX_Result AddName (const char* name) = 0;                                                             // 3
    virtual AAX_Result AddCategory (uint32_t category) = 0;                                                        // 4
    virtual AAX_Result EffectCall6 (uint32_t first, uint32_t second) = 0;                                          // 5
    virtual AAX_Result AddProcPointer (void* procedure, uint32_t procId) = 0;                                      // 6
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;                                                                // 7
    virtual AAX_Result SetProperties (AAX_IPropertyMap* properties) = 0;                                           // 8
    virtual AAX_Result EffectCall9 (uint32_t type, const char* name) = 0;                                          // 9
    virtual AAX_Result AddMeterDescription (uint32_t meterId, const char* name, AAX_IPropertyMap* properties) = 0; // 10
    virtual AAX_Result EffectCall11 (const char* name, const void* data) = 0;                                      // 11
};
