#pragma once

#include "AAX.h"
#include "AAX_Properties.h"
#include "IACFUnknown.h"

/** The host's property map, versions 1 to 3. Version 3 adds pointer-valued properties. */
class AAX_IACFPropertyMap : public IACFUnknown
{
public:
    virtual bool GetValue (AAX_EProperty id, AAX_CPropertyValue* value) = 0;         // 3
    virtual AAX_Result AddProperty (AAX_EProperty id, AAX_CPropertyValue value) = 0; // 4
    virtual AAX_Result RemoveProperty (AAX_EProperty id) = 0;                        // 5

protected:
    ~AAX_IACFPropertyMap() = default;
};

class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap
{
public:
    virtual AAX_Result PropertyMapCall6 (AAX_EProperty id, const void* data) = 0; // 6
    virtual bool PropertyMapQuery7 (AAX_EProperty id, const void** data) = 0;     // 7

protected:
    ~AAX_IACFPropertyMap_V2() = default;
};

class AAX_IACFPropertyMap_V3 : public AAX_IACFPropertyMap_V2
{
public:
    virtual bool GetPointerValue (AAX_EProperty id, const void** value) = 0;         // 8
    virtual AAX_Result AddPointerProperty (AAX_EProperty id, const void* value) = 0; // 9

protected:
    ~AAX_IACFPropertyMap_V3() = default;
};
