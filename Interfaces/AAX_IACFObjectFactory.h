#pragma once

#include "IACFUnknown.h"

/** The host unknown's object factory: creates host objects by class identifier. */
class AAX_IACFObjectFactory : public IACFUnknown
{
public:
    /** 3: creates an object of the class and answers its interface (with one reference) in out. */
    virtual ACFRESULT CreateInstance (const AAX_GUID& classId, IACFUnknown* outer, const AAX_GUID& interfaceId,
                                      void** out) = 0;

protected:
    ~AAX_IACFObjectFactory() = default;
};
