#include "PlaceholderComponents.h"

IACFUnknown* PlaceholderEffectGUI::Create()
{
    return static_cast<IACFUnknown*> (new PlaceholderEffectGUI());
}
