#pragma once

#include "AAX.h"
#include "ACFTypes.h"

class AAX_IPropertyMap;

/** What the host says about one feature (for example a stem format). */
class AAX_IFeatureInfo
{
public:
    virtual ~AAX_IFeatureInfo() = default;

    virtual AAX_Result SupportLevel (int32_t* supportLevel) const = 0; // 1
    /** 2: a new property map owned by the caller, or null. */
    virtual AAX_IPropertyMap* AcquireProperties() = 0;
    virtual const AAX_GUID* FeatureId() const = 0; // 3
};
