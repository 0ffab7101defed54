#include "PlaceholderComponents.h"

IACFUnknown* PlaceholderEffectParameters::Create()
{
    return static_cast<IACFUnknown*> (new PlaceholderEffectParameters());
}

IACFUnknown* PlaceholderEffectGUI::Create()
{
    return static_cast<IACFUnknown*> (new PlaceholderEffectGUI());
}
