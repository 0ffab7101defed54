#pragma once

#include "ACFTypes.h"

class AAX_IFeatureInfo;

/** The plug-in's view of the host's description host. */
class AAX_IDescriptionHost
{
public:
    virtual ~AAX_IDescriptionHost() = default;

    /** A new feature info owned by the caller, or null when the host has none for the feature. */
    virtual AAX_IFeatureInfo* AcquireFeatureInfo (const AAX_GUID& featureId) const = 0;
};
