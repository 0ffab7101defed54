#pragma once

#include "AAX.h"
#include "AAX_Properties.h"

class IACFUnknown;

/** The plug-in's view of a description property map.

    A numbered operation carries the number of the host interface's slot that it forwards to;
    the comment after it gives its position here. */
class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;

    virtual bool GetProperty (AAX_EProperty id, AAX_CPropertyValue* value) const = 0; // 1
    virtual bool GetPointerProperty (AAX_EProperty id, const void** value) const = 0; // 2
    virtual AAX_Result AddProperty (AAX_EProperty id, AAX_CPropertyValue value) = 0;  // 3
    virtual AAX_Result AddPointerProperty (AAX_EProperty id, const char* value) = 0;  // 4
    virtual AAX_Result AddPointerProperty (AAX_EProperty id, const void* value) = 0;  // 5
    virtual AAX_Result RemoveProperty (AAX_EProperty id) = 0;                         // 6
    virtual AAX_Result PropertyMapCall6 (AAX_EProperty id, const void* data) = 0;     // 7
    virtual bool PropertyMapQuery7 (AAX_EProperty id, const void** data) const = 0;   // 8
    /** 9: the host object to hand to the host (the newest version present), or null. */
    virtual IACFUnknown* HostObject() const = 0;
};
