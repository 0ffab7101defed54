#pragma once

#include "CACFUnknown.h"

// Stand-in for the GUI object until the editor joins the product. It is a counted component (so
// the host can tell when the library may be unloaded) that answers only the unknown interface: a
// host asking for the real interfaces is refused instead of being handed an object that cannot
// serve them.
class PlaceholderEffectGUI final : public IACFUnknown, public CACFUnknown
{
public:
    AAX_FORWARD_UNKNOWN_TO_CONTROLLER

    // The creation procedure registered on the effect: a new object with no reference yet.
    static IACFUnknown* Create();
};
