#pragma once

#include "AAX_InterfaceIDs.h"
#include "CACFUnknown.h"

// Minimal components shaped like the plug-in's effect-parameters and GUI objects: a host-facing
// interface first, the reference-counted base second.

class TestHostFacingInterface : public IACFUnknown
{
public:
    virtual int32_t Marker() const = 0;

protected:
    ~TestHostFacingInterface() = default;
};

template <int32_t marker>
class TestComponent : public TestHostFacingInterface, public CACFUnknown
{
public:
    AAX_FORWARD_UNKNOWN_TO_CONTROLLER

    int32_t Marker() const override { return marker; }

    ACFRESULT InternalQueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) override
    {
        if (interfaceOut != nullptr && AnswersInterface (interfaceId))
        {
            *interfaceOut = static_cast<TestHostFacingInterface*> (this);
            static_cast<TestHostFacingInterface*> (this)->AddRef();
            return ACF_OK;
        }
        return CACFUnknown::InternalQueryInterface (interfaceId, interfaceOut);
    }

    static bool AnswersInterface (const AAX_GUID& interfaceId)
    {
        if (marker == 1)
            return interfaceId == AAX_IID_EffectGUI;
        return interfaceId == AAX_IID_EffectParameters || interfaceId == AAX_IID_EffectParameters_V2 ||
               interfaceId == AAX_IID_EffectParameters_V3 || interfaceId == AAX_IID_EffectParameters_V4;
    }
};

using TestGuiComponent = TestComponent<1>;
using TestEffectComponent = TestComponent<2>;
