#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's answer about one feature: its support level and its properties. */
class AAX_IACFFeatureInfo : public IACFUnknown
{
public:
    virtual AAX_Result SupportLevel (int32_t* supportLevel) = 0;         // 3
    virtual AAX_Result AcquireProperties (IACFUnknown** properties) = 0; // 4

protected:
    ~AAX_IACFFeatureInfo() = default;
};
