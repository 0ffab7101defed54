#pragma once

#include "ACFTypes.h"

/** The host's base interface: every interface exchanged with the host starts with these three
    operations. The host implements interfaces of this form too, so there is no virtual destructor
    in front of them; objects are destroyed through Release only. */
class IACFUnknown
{
public:
    /** On success stores the interface and adds a reference; otherwise stores null and answers
        ACF_E_NOINTERFACE. */
    virtual ACFRESULT QueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IACFUnknown() = default;
};
