#pragma once

#include "AAX.h"
#include "IACFUnknown.h"

/** The host's description host: answers what the host supports while the plug-in describes itself. */
class AAX_IACFDescriptionHost : public IACFUnknown
{
public:
    /** 3: answers the host's feature-info object for the feature, with one reference. */
    virtual AAX_Result AcquireFeatureProperties (const AAX_GUID& featureId, IACFUnknown** featureInfo) = 0;

protected:
    ~AAX_IACFDescriptionHost() = default;
};
