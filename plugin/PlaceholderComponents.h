#pragma once

#include "CACFUnknown.h"

// Stand-ins for the effect-parameters and GUI objects until the plug-in wrapper provides them.
// They are counted components (so the host can tell when the library may be unloaded) that
// answer only the unknown interface: a host asking for the real interfaces is refused instead
// of being handed an object that cannot serve them.
class PlaceholderEffectParameters final : public IACFUnknown, public CACFUnknown
{
public:
    AAX_FORWARD_UNKNOWN_TO_CONTROLLER

    // The creation procedure registered on the effect: a new object with no reference yet.
    static IACFUnknown* Create();
};

class PlaceholderEffectGUI final : public IACFUnknown, public CACFUnknown
{
public:
    AAX_FORWARD_UNKNOWN_TO_CONTROLLER

    static IACFUnknown* Create();
};
